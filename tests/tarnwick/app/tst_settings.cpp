#include "UnprivilegedRun.h"
#include "tarnwick/app/Global.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

namespace {
const QString Section = QStringLiteral("UserSettings");
const QString Key = QStringLiteral("Default_Dir");
} // namespace

class tst_Settings : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString m_file;

    void writeFile(const QByteArray &contents)
    {
        QFile file(m_file);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(contents);
    }
    QByteArray fileContents() const
    {
        QFile file(m_file);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }

private Q_SLOTS:
    void init()
    {
        m_file = QDir(m_dir.path()).filePath(QStringLiteral("tarnwick.ini"));
        QFile::remove(m_file);
    }

    void read_data()
    {
        QTest::addColumn<QByteArray>("contents");
        QTest::addColumn<QString>("expected");
        const QString none = QStringLiteral("<default>");
        QTest::newRow("empty file") << QByteArray() << none;
        QTest::newRow("no section") << QByteArray("[Other]\nDefault_Dir=/x\n") << none;
        QTest::newRow("no key") << QByteArray("[UserSettings]\nOther=/x\n") << none;
        QTest::newRow("plain") << QByteArray("[UserSettings]\nDefault_Dir=/home/plots\n")
                               << QStringLiteral("/home/plots");
        QTest::newRow("names ignore case")
            << QByteArray("[usersettings]\nDEFAULT_DIR=/a\n") << QStringLiteral("/a");
        QTest::newRow("written on Windows") << QByteArray("[UserSettings]\r\nDefault_Dir=C:\\Plots\\new\r\n")
                                            << QStringLiteral("C:\\Plots\\new");
        QTest::newRow("blanks around")
            << QByteArray(" [ UserSettings ] \n  Default_Dir =  /a b  \n") << QStringLiteral("/a b");
        QTest::newRow("quoted keeps blanks")
            << QByteArray("[UserSettings]\nDefault_Dir=\" /a \"\n") << QStringLiteral(" /a ");
        QTest::newRow("first key wins")
            << QByteArray("[UserSettings]\nDefault_Dir=/1\nDefault_Dir=/2\n") << QStringLiteral("/1");
        QTest::newRow("key of another section")
            << QByteArray("[A]\nDefault_Dir=/a\n[UserSettings]\nX=1\n") << none;
        QTest::newRow("comment line")
            << QByteArray("[UserSettings]\n;Default_Dir=/c\nDefault_Dir=/d\n") << QStringLiteral("/d");
        QTest::newRow("empty value") << QByteArray("[UserSettings]\nDefault_Dir=\n") << QString();
        QTest::newRow("no line end") << QByteArray("[UserSettings]\nDefault_Dir=/end")
                                     << QStringLiteral("/end");
        QTest::newRow("UTF-8 name") << QByteArray("[UserSettings]\nDefault_Dir=/pl\xc3\xa4ne\n")
                                    << QStringLiteral("/pl\u00e4ne");
        QTest::newRow("single-byte code page")
            << QByteArray("[UserSettings]\nDefault_Dir=C:\\Pl\xe4ne\n") << QStringLiteral("C:\\Pl\u00e4ne");
        QTest::newRow("byte order mark")
            << QByteArray("\xef\xbb\xbf[UserSettings]\nDefault_Dir=/bom\n") << QStringLiteral("/bom");
        const QByteArray longPath = '/' + QByteArray(300, 'd');
        QTest::newRow("300 characters read whole")
            << QByteArray("[UserSettings]\nDefault_Dir=" + longPath + '\n') << QString::fromLatin1(longPath);
        QTest::newRow("binary junk") << QByteArray("\x00\x01\xff[\n=\n]]\n", 10) << none;
    }
    void read()
    {
        QFETCH(QByteArray, contents);
        QFETCH(QString, expected);
        writeFile(contents);
        QCOMPARE(Global::ReadSetting(Section, Key, QStringLiteral("<default>"), m_file), expected);
    }

    void readMissingFileGivesDefault()
    {
        QCOMPARE(Global::ReadSetting(Section, Key, QStringLiteral("dflt"), m_file), QStringLiteral("dflt"));
        QVERIFY(!QFile::exists(m_file));
    }

    void write_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QByteArray>("after");
        QTest::newRow("new file") << QByteArray() << QStringLiteral("/p")
                                  << QByteArray("[UserSettings]\nDefault_Dir=/p\n");
        QTest::newRow("replace keeps other lines")
            << QByteArray("; mine\n[UserSettings]\nA=1\nDefault_Dir=/old\nB=2\n\n[Z]\nq=3\n")
            << QStringLiteral("/new")
            << QByteArray("; mine\n[UserSettings]\nA=1\nDefault_Dir=/new\nB=2\n\n[Z]\nq=3\n");
        QTest::newRow("key added at section end, before blank lines")
            << QByteArray("[UserSettings]\nA=1\n\n[Z]\nq=3\n") << QStringLiteral("/d")
            << QByteArray("[UserSettings]\nA=1\nDefault_Dir=/d\n\n[Z]\nq=3\n");
        QTest::newRow("section appended") << QByteArray("[Z]\nq=3") << QStringLiteral("/d")
                                          << QByteArray("[Z]\nq=3\n[UserSettings]\nDefault_Dir=/d\n");
        QTest::newRow("CRLF kept") << QByteArray("[UserSettings]\r\nDefault_Dir=C:\\a\r\nX=1\r\n")
                                   << QStringLiteral("/b")
                                   << QByteArray("[UserSettings]\r\nDefault_Dir=/b\r\nX=1\r\n");
        QTest::newRow("section matched without case")
            << QByteArray("[USERSETTINGS]\ndefault_dir=/a\n") << QStringLiteral("/b")
            << QByteArray("[USERSETTINGS]\nDefault_Dir=/b\n");
        QTest::newRow("outer blanks quoted") << QByteArray() << QStringLiteral(" /sp ")
                                             << QByteArray("[UserSettings]\nDefault_Dir=\" /sp \"\n");
        QTest::newRow("line break refused")
            << QByteArray("[UserSettings]\nDefault_Dir=/a\n") << QStringLiteral("/x\ny")
            << QByteArray("[UserSettings]\nDefault_Dir=/a\n");
    }
    void write()
    {
        QFETCH(QByteArray, before);
        QFETCH(QString, value);
        QFETCH(QByteArray, after);
        if (!before.isEmpty())
            writeFile(before);
        Global::WriteSetting(Section, Key, value, m_file);
        QCOMPARE(fileContents(), after);
    }

    void roundTrip_data()
    {
        QTest::addColumn<QString>("value");
        QTest::newRow("root") << QStringLiteral("/");
        QTest::newRow("backslashes") << QStringLiteral("C:\\Plots\\");
        QTest::newRow("outside ASCII") << QStringLiteral("/home/j\u00fcrgen/\u56f3\u9762");
        QTest::newRow("2000 characters") << QString(2000, u'x');
        QTest::newRow("quotes inside") << QStringLiteral("\"/quoted\"");
        QTest::newRow("equals sign") << QStringLiteral("/a=b");
    }
    void roundTrip()
    {
        QFETCH(QString, value);
        Global::WriteSetting(Section, Key, value, m_file);
        QCOMPARE(Global::ReadSetting(Section, Key, QString(), m_file), value);
    }

    void writingTwiceKeepsOneLine()
    {
        Global::WriteSetting(Section, Key, QStringLiteral("/first"), m_file);
        Global::WriteSetting(Section, Key, QStringLiteral("/second"), m_file);
        QCOMPARE(fileContents(), QByteArray("[UserSettings]\nDefault_Dir=/second\n"));
    }

    void writeReplacesTheFileWhole()
    {
        // A write goes to a new file that then takes the old one's place, so the old file is never
        // half written: a reader holding the old file still sees it complete.
        writeFile("[UserSettings]\nDefault_Dir=/old\n");
        QFile old(m_file);
        QVERIFY(old.open(QIODevice::ReadOnly));
        Global::WriteSetting(Section, Key, QStringLiteral("/new"), m_file);
        QCOMPARE(old.readAll(), QByteArray("[UserSettings]\nDefault_Dir=/old\n"));
        QCOMPARE(fileContents(), QByteArray("[UserSettings]\nDefault_Dir=/new\n"));
        QVERIFY(QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden).size() == 1);
    }

    void writeInPlaceInProtectedFolder()
    {
        // Root writes anywhere, so the test runs itself as an unprivileged user to hold.
        if (UnprivilegedRun::isRoot()) {
            if (const QString reason = UnprivilegedRun::unavailableReason(); !reason.isEmpty())
                QSKIP(qPrintable(reason));
            const UnprivilegedRun run({ QCoreApplication::applicationFilePath() });
            QProcess child;
            run.start(child, { QStringLiteral("writeInPlaceInProtectedFolder") });
            QVERIFY(child.waitForFinished(60'000));
            const QByteArray output = child.readAllStandardOutput() + child.readAllStandardError();
            QVERIFY2(child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0, output.constData());
            QVERIFY2(output.contains("PASS   : tst_Settings::writeInPlaceInProtectedFolder()"),
                output.constData());
            return;
        }
        // No new file can be made beside it, so the file itself is rewritten.
        writeFile("[UserSettings]\nDefault_Dir=/old\n");
        const auto permissions = QFile::permissions(m_dir.path());
        QVERIFY(QFile::setPermissions(m_dir.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner));
        Global::WriteSetting(Section, Key, QStringLiteral("/new"), m_file);
        QVERIFY(QFile::setPermissions(m_dir.path(), permissions));
        QCOMPARE(fileContents(), QByteArray("[UserSettings]\nDefault_Dir=/new\n"));
    }

    void unreadableFileIsLeftAlone_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("directory") << "directory";
        QTest::newRow("pipe that would block") << "fifo";
        QTest::newRow("device that never ends") << "device";
        QTest::newRow("larger than any settings file") << "huge";
    }
    void unreadableFileIsLeftAlone()
    {
        QFETCH(QString, kind);
        if (kind == u"directory") {
            QVERIFY(QDir().mkpath(m_file));
        } else if (kind == u"fifo") {
            QCOMPARE(::mkfifo(QFile::encodeName(m_file).constData(), 0600), 0);
        } else if (kind == u"device") {
            QVERIFY(QFile::link(QStringLiteral("/dev/zero"), m_file));
        } else {
            QFile huge(m_file);
            QVERIFY(huge.open(QIODevice::WriteOnly) && huge.resize(17 * 1024 * 1024));
        }
        const QFileInfo before(m_file);
        QCOMPARE(Global::ReadSetting(Section, Key, QStringLiteral("d"), m_file), QStringLiteral("d"));
        Global::WriteSetting(Section, Key, QStringLiteral("/x"), m_file);
        const QFileInfo after(m_file);
        QCOMPARE(after.isDir(), before.isDir());
        QCOMPARE(after.isSymLink(), before.isSymLink());
        QCOMPARE(after.size(), before.size());
        if (kind == u"directory")
            QVERIFY(QDir().rmdir(m_file));
        else
            QVERIFY(QFile::remove(m_file));
    }
};

QTEST_GUILESS_MAIN(tst_Settings)
#include "tst_settings.moc"
