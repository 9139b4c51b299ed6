#include "Form1Fixture.h"
#include "ProcessProgress.h"
#include "UnprivilegedRun.h"
#include "tarnwick/app/Shutdown.h"
#include "tarnwick/browse/DirList.h"
#include "tarnwick/browse/FileList.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QPushButton>

// Where the settings file and the temporary files live when the program's own folder cannot be
// written, as for a system-wide install.

namespace {

void writeFile(const QString &path, const QByteArray &contents)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(contents), contents.size());
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

QStringList filesIn(const QString &folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

} // namespace

class tst_UserFolders : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cleanup() { QApplication::closeAllWindows(); }

    void foldersFollowTheApplicationFolder_data()
    {
        QTest::addColumn<bool>("writable");
        QTest::newRow("writable: beside the executable") << true;
        QTest::newRow("read-only: the user's folders") << false;
    }
    void foldersFollowTheApplicationFolder()
    {
        QFETCH(bool, writable);
        const QTemporaryDir scratch;
        const UserFolders user { scratch.filePath(QStringLiteral("config/tarnwick")),
            scratch.filePath(QStringLiteral("cache/tarnwick")) };
        const QString app = scratch.filePath(QStringLiteral("lib/tarnwick"));
        const AppEnvironment environment = AppEnvironment::forFolder(app, writable, user, nullptr);

        QCOMPARE(environment.applicationDirectory, app);
        QCOMPARE(environment.usesUserFolders(), !writable);
        QCOMPARE(environment.settingsFile(), (writable ? app : user.settingsDirectory) + "/tarnwick.ini");
        QCOMPARE(environment.temporaryFile(QStringLiteral("~plt000.jpg")),
            (writable ? app : user.temporaryDirectory) + "/~plt000.jpg");
        QCOMPARE(environment.defaultSettingsFile(), writable ? QString() : app + "/tarnwick.ini");
        // The user's folders are made only when they are used.
        QCOMPARE(QFileInfo::exists(user.settingsDirectory), !writable);
        QCOMPARE(QFileInfo::exists(user.temporaryDirectory), !writable);
    }

    void firstStartMakesTheUsersOwnFile_data()
    {
        QTest::addColumn<QByteArray>("administratorDefaults");
        QTest::addColumn<bool>("startsAtDefault");
        QTest::newRow("no administrator's defaults") << QByteArray() << false;
        QTest::newRow("administrator's defaults") << QByteArray("[UserSettings]\nDefault_Dir=") << true;
    }
    void firstStartMakesTheUsersOwnFile()
    {
        QFETCH(QByteArray, administratorDefaults);
        QFETCH(bool, startsAtDefault);
        Form1Fixture f;
        f.env.useReadOnlyApplicationFolder();
        const QString plots = f.env.makeDirectory(QStringLiteral("plots"));
        const QString beside = f.env.appDir() + QStringLiteral("/tarnwick.ini");
        QByteArray defaults;
        if (!administratorDefaults.isEmpty()) {
            defaults = administratorDefaults + plots.toUtf8() + '\n';
            writeFile(beside, defaults);
        }
        f.start();
        QVERIFY(f.loaded);
        QCOMPARE(f.boxes.count(), 0);
        const QString own = f.env.environment().settingsFile();
        QVERIFY(own.startsWith(f.env.scratch()));
        QCOMPARE(readAll(own), defaults);
        QCOMPARE(f.control<DirList>("Dir1")->path(),
            startsAtDefault ? plots : QDir::toNativeSeparators(QDir::rootPath()));
        // Nothing new beside the executable.
        QCOMPARE(filesIn(f.env.appDir()), startsAtDefault ? QStringList { "tarnwick.ini" } : QStringList {});

        // Default writes the user's file and leaves the administrator's alone.
        const QString elsewhere = f.env.makeDirectory(QStringLiteral("elsewhere"));
        QVERIFY(f.control<DirList>("Dir1")->setPath(elsewhere));
        f.control<QPushButton>("cmdDflt")->click();
        QVERIFY(readAll(own).contains("Default_Dir=" + elsewhere.toUtf8()));
        if (startsAtDefault)
            QCOMPARE(readAll(beside), defaults);
        else
            QVERIFY(!QFileInfo::exists(beside));
    }

    void usersOwnFileWinsOverTheAdministrators()
    {
        Form1Fixture f;
        f.env.useReadOnlyApplicationFolder();
        const QString mine = f.env.makeDirectory(QStringLiteral("mine"));
        const QString theirs = f.env.makeDirectory(QStringLiteral("theirs"));
        writeFile(f.env.appDir() + QStringLiteral("/tarnwick.ini"),
            "[UserSettings]\nDefault_Dir=" + theirs.toUtf8());
        writeFile(f.env.environment().settingsFile(), "[UserSettings]\nDefault_Dir=" + mine.toUtf8());
        f.start();
        QCOMPARE(f.form->defaultDirectory(), mine);
    }

    void previewAndShutdownUseTheUsersFolder()
    {
        Form1Fixture f;
        f.env.useReadOnlyApplicationFolder();
        f.start();
        const QString dir = f.env.makeDirectory(QStringLiteral("plots"));
        f.env.makeFile(QStringLiteral("plots/a.plt"));
        QVERIFY(f.control<DirList>("Dir1")->setPath(dir));
        f.control<FileList>("File1")->selectRows({ 0 });
        QMetaObject::invokeMethod(f.control<FileList>("File1"), "entryDoubleClicked");
        const QString picture = f.env.environment().temporaryFile(QStringLiteral("~plt000.jpg"));
        QVERIFY(picture.startsWith(f.env.scratch()));
        QCOMPARE(f.server->log().trace().last(), "SaveTo(" + picture + ")");
        QVERIFY(QFileInfo::exists(picture));

        // Files of the same names beside the executable belong to no one user and stay.
        writeFile(f.env.appDir() + QStringLiteral("/~plt000.jpg"), "shared");
        writeFile(f.env.appDir() + QStringLiteral("/temp.icx"), "shared");
        writeFile(f.env.environment().temporaryFile(QStringLiteral("temp.icx")), "mine");
        QVERIFY(f.form->close());
        QCOMPARE(f.exitCode, 0);
        QVERIFY(!QFileInfo::exists(picture));
        QVERIFY(!QFileInfo::exists(f.env.environment().temporaryFile(QStringLiteral("temp.icx"))));
        QCOMPARE(filesIn(f.env.appDir()), (QStringList { "temp.icx", "~plt000.jpg" }));
    }

    void installedProgramRunsForAnOrdinaryUser()
    {
        if (const QString reason = UnprivilegedRun::unavailableReason(); !reason.isEmpty())
            QSKIP(qPrintable(reason));
        const QString bin = QCoreApplication::applicationDirPath();
        const UnprivilegedRun run({ bin + QStringLiteral("/tarnwick") });
        // The installed layout: the program, its server beside it, the administrator's defaults.
        const QString servers = run.folder() + QStringLiteral("/servers");
        QVERIFY(QDir().mkpath(servers));
        QVERIFY(QFile::copy(bin + QStringLiteral("/servers/plotviewer_server.so"),
            servers + QStringLiteral("/plotviewer_server.so")));
        const QByteArray defaults = "[UserSettings]\nDefault_Dir=/\n";
        writeFile(run.folder() + QStringLiteral("/tarnwick.ini"), defaults);
        QVERIFY(QFile::setPermissions(run.folder() + QStringLiteral("/tarnwick.ini"),
            QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther));
        if (!UnprivilegedRun::isRoot()) // the caller owns the folder: take its write permission away
            QVERIFY(QFile::setPermissions(run.folder(), QFileDevice::ReadOwner | QFileDevice::ExeOwner));
        const QString home = run.makeUserFolder(QStringLiteral("home"));

        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char *name : { "XDG_CONFIG_HOME", "XDG_CACHE_HOME", "XDG_RUNTIME_DIR", "DISPLAY" })
            environment.remove(QString::fromLatin1(name));
        environment.insert(QStringLiteral("HOME"), home);
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        QProcess program;
        program.setProcessEnvironment(environment);
        program.setProcessChannelMode(QProcess::MergedChannels);
        run.start(program, {});
        QVERIFY2(program.waitForStarted(), qPrintable(program.errorString()));

        // The main window is up once the load step has made the user's settings file; a program
        // that ends, is stopped or sits blocked before that fails at once.
        const QString own = home + QStringLiteral("/.config/tarnwick/tarnwick.ini");
        ProcessProgress progress(program);
        QString stuck;
        QTRY_VERIFY2_WITH_TIMEOUT(QFileInfo::exists(own) || !(stuck = progress.stuckReason()).isEmpty(),
            "the program neither started nor ended", 60'000);
        if (stuck.isEmpty() && program.state() != QProcess::Running)
            stuck = QStringLiteral("the program has ended");
        program.kill();
        program.waitForFinished();
        if (!UnprivilegedRun::isRoot())
            QFile::setPermissions(
                run.folder(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        QVERIFY2(stuck.isEmpty(),
            qPrintable(stuck + QStringLiteral(": ") + QString::fromLocal8Bit(program.readAll())));
        QCOMPARE(readAll(own), defaults);
        QCOMPARE(filesIn(run.folder()), (QStringList { "tarnwick", "tarnwick.ini" }));
        QVERIFY(QFileInfo(home + QStringLiteral("/.cache/tarnwick")).isDir());
    }
};

QTEST_MAIN(tst_UserFolders)
#include "tst_userfolders.moc"
