#include "UnprivilegedRun.h"
#include "tarnwick/app/FileArguments.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

// Which command-line files go to the print list. Arguments and expectations are written relative to
// a scratch folder ("{root}" stands for it); the program runs in its "plots" folder.

namespace {

const QString rootMark = QStringLiteral("{root}");

} // namespace

class tst_FileArguments : public QObject
{
    Q_OBJECT

private:
    QString underRoot(const QString &relative) const
    {
        return QDir::toNativeSeparators(m_root.path() + u'/' + relative);
    }
    QStringList underRoot(const QStringList &relatives) const
    {
        QStringList paths;
        for (const QString &relative : relatives)
            paths.append(underRoot(relative));
        return paths;
    }
    QString plotsDir() const { return m_root.filePath(QStringLiteral("plots")); }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_root.isValid());
        QVERIFY(QDir(m_root.path()).mkpath(QStringLiteral("plots/sub")));
        for (const char *name : { "a.plt", "b.PLT", "c.plt", "notes.txt" }) {
            QFile file(QDir(plotsDir()).filePath(QLatin1String(name)));
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        QVERIFY(QFile::link(QStringLiteral("a.plt"), QDir(plotsDir()).filePath(QStringLiteral("link.plt"))));
        QVERIFY(QFile::link(
            QStringLiteral("gone.plt"), QDir(plotsDir()).filePath(QStringLiteral("dangling.plt"))));
#ifdef Q_OS_UNIX
        QCOMPARE(::mkfifo(QFile::encodeName(QDir(plotsDir()).filePath(QStringLiteral("pipe.plt"))), 0644), 0);
#endif
    }

    void sort_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QStringList>("unreadable"); // names the injected readability check refuses
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QStringList>("leftOut");
        QTest::newRow("absolute and relative")
            << QStringList { "{root}/plots/a.plt", "b.PLT" } << QStringList()
            << QStringList { "plots/a.plt", "plots/b.PLT" } << QStringList();
        QTest::newRow("dot segments cleaned")
            << QStringList { "./a.plt", "sub/../b.PLT", "../plots/c.plt", "{root}//plots/a.plt" }
            << QStringList() << QStringList { "plots/a.plt", "plots/b.PLT", "plots/c.plt", "plots/a.plt" }
            << QStringList();
        QTest::newRow("any name, as the desktop passes it")
            << QStringList { "notes.txt" } << QStringList() << QStringList { "plots/notes.txt" }
            << QStringList();
        QTest::newRow("repeats kept")
            << QStringList { "a.plt", "c.plt", "a.plt" } << QStringList()
            << QStringList { "plots/a.plt", "plots/c.plt", "plots/a.plt" } << QStringList();
        QTest::newRow("double dash names no file") << QStringList { "--", "a.plt", "--" } << QStringList()
                                                   << QStringList { "plots/a.plt" } << QStringList();
        QTest::newRow("link keeps its own path") << QStringList { "link.plt" } << QStringList()
                                                 << QStringList { "plots/link.plt" } << QStringList();
        QTest::newRow("order kept around what is left out")
            << QStringList { "b.PLT", "gone.plt", "a.plt", "sub" } << QStringList()
            << QStringList { "plots/b.PLT", "plots/a.plt" }
            << QStringList { "plots/gone.plt: does not exist", "plots/sub: is a folder" };
        // What is left out.
        QTest::newRow("missing") << QStringList { "gone.plt" } << QStringList() << QStringList()
                                 << QStringList { "plots/gone.plt: does not exist" };
        QTest::newRow("missing twice, reported once")
            << QStringList { "gone.plt", "a.plt", "gone.plt" } << QStringList()
            << QStringList { "plots/a.plt" } << QStringList { "plots/gone.plt: does not exist" };
        QTest::newRow("link to nothing") << QStringList { "dangling.plt" } << QStringList() << QStringList()
                                         << QStringList { "plots/dangling.plt: does not exist" };
        QTest::newRow("folders") << QStringList { "sub", "{root}/plots", "." } << QStringList()
                                 << QStringList()
                                 << QStringList { "plots/sub: is a folder", "plots: is a folder" };
        QTest::newRow("empty argument")
            << QStringList { "" } << QStringList() << QStringList() << QStringList { "plots: is a folder" };
        QTest::newRow("unreadable") << QStringList { "c.plt", "a.plt" } << QStringList { "plots/c.plt" }
                                    << QStringList { "plots/a.plt" }
                                    << QStringList { "plots/c.plt: cannot be read" };
#ifdef Q_OS_UNIX
        QTest::newRow("named pipe") << QStringList { "pipe.plt" } << QStringList() << QStringList()
                                    << QStringList { "plots/pipe.plt: is not a plain file" };
#endif
    }
    void sort()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QStringList, unreadable);
        QFETCH(QStringList, files);
        QFETCH(QStringList, leftOut);
        arguments.replaceInStrings(rootMark, m_root.path());
        const QStringList refused = underRoot(unreadable);
        const auto mayRead = [&refused](const QString &path) { return !refused.contains(path); };

        const FileArguments::Sorted sorted = FileArguments::sort(arguments, plotsDir(), mayRead);
        QCOMPARE(sorted.files, underRoot(files));
        QCOMPARE(sorted.leftOut, underRoot(leftOut));
    }

    void userMayReadFollowsPermissions()
    {
        if (UnprivilegedRun::isRoot())
            QSKIP("root may read a file whatever its permissions say");
        const QString path = QDir(plotsDir()).filePath(QStringLiteral("locked.plt"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        QVERIFY(FileArguments::userMayRead(path));
        QVERIFY(file.setPermissions({}));
        QVERIFY(!FileArguments::userMayRead(path));
        QCOMPARE(FileArguments::sort({ path }, plotsDir()).leftOut,
            QStringList(QDir::toNativeSeparators(path) + ": cannot be read"));
    }

    void fileUnderAClosedFolderCannotBeRead()
    {
        // Root enters every folder: as root, this test runs itself again as an unprivileged user.
        const QString staged = qEnvironmentVariable(closedFolderVariable);
        if (UnprivilegedRun::isRoot()) {
            if (const QString reason = UnprivilegedRun::unavailableReason(); !reason.isEmpty())
                QSKIP(qPrintable(reason));
            const UnprivilegedRun run({ QCoreApplication::applicationFilePath() });
            const QString closed = makeClosedFolder(run.folder());
            QProcess process;
            QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
            environment.insert(closedFolderVariable, closed);
            process.setProcessEnvironment(environment);
            process.setProcessChannelMode(QProcess::MergedChannels);
            run.start(process, { QString::fromLatin1(QTest::currentTestFunction()) });
            QVERIFY(process.waitForFinished());
            const QString output = QString::fromLocal8Bit(process.readAll());
            QFile::setPermissions(closed, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
            QVERIFY2(
                process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0, qPrintable(output));
            QVERIFY2(output.contains(
                         QLatin1String("PASS   : tst_FileArguments::fileUnderAClosedFolderCannotBeRead")),
                qPrintable(output));
            return;
        }
        const QString closed = staged.isEmpty() ? makeClosedFolder(m_root.path()) : staged;
        const QString plot = QDir(closed).filePath(QStringLiteral("a.plt"));
        const QStringList leftOut = FileArguments::sort({ plot }, plotsDir()).leftOut;
        if (staged.isEmpty())
            QFile::setPermissions(closed, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QCOMPARE(leftOut,
            QStringList(plot
                + QStringLiteral(": cannot be read: permission denied (the folder \"%1\" cannot be entered)")
                      .arg(closed)));
    }

    void reportNamesTheFirstTenOnly_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("named");
        QTest::addColumn<QString>("lastLine");
        QTest::newRow("one") << 1 << 1 << "f1: does not exist";
        QTest::newRow("ten") << 10 << 10 << "f10: does not exist";
        QTest::newRow("hundreds") << 300 << 10 << "and 290 more.";
    }
    void reportNamesTheFirstTenOnly()
    {
        QFETCH(int, count);
        QFETCH(int, named);
        QFETCH(QString, lastLine);
        QStringList leftOut;
        for (int i = 1; i <= count; ++i)
            leftOut.append(QStringLiteral("f%1: does not exist").arg(i));
        const QStringList lines = FileArguments::leftOutReport(leftOut).split(u'\n');
        QCOMPARE(lines.first(), QStringLiteral("These files were not added to the print list:"));
        QCOMPARE(lines.mid(1, named), leftOut.mid(0, named));
        QCOMPARE(lines.last(), lastLine);
    }

private:
    static constexpr auto closedFolderVariable = "TARNWICK_TEST_CLOSED_FOLDER";

    /// A folder in `parent` holding a plot, which no one but root may enter.
    static QString makeClosedFolder(const QString &parent)
    {
        const QString closed = QDir(parent).filePath(QStringLiteral("closed"));
        QFile plot(QDir(closed).filePath(QStringLiteral("a.plt")));
        if (!QDir().mkpath(closed) || !plot.open(QIODevice::WriteOnly) || !QFile::setPermissions(closed, {}))
            qFatal("cannot make the closed folder %s", qPrintable(closed));
        return closed;
    }

    QTemporaryDir m_root;
};

QTEST_GUILESS_MAIN(tst_FileArguments)
#include "tst_filearguments.moc"
