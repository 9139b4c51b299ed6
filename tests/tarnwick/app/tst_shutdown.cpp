#include "Form1Fixture.h"
#include "tarnwick/app/Shutdown.h"
#include "tarnwick/base/RuntimeError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QPushButton>

#include <unistd.h>

namespace {

void touch(const QString &path)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
}

/// Makes deleting `file` fail, or undoes that. Root may delete anything, so it needs the immutable
/// attribute; anyone else is stopped by a write-protected folder.
bool protect(const QString &file, bool on)
{
    if (::geteuid() != 0) {
        const QString folder = QFileInfo(file).path();
        const auto permissions = QFile::permissions(folder);
        const auto writable = QFileDevice::WriteOwner | QFileDevice::WriteUser;
        return QFile::setPermissions(folder, on ? permissions & ~writable : permissions | writable);
    }
    return QProcess::execute(
               QStringLiteral("chattr"), { on ? QStringLiteral("+i") : QStringLiteral("-i"), file })
        == 0;
}

} // namespace

class tst_Shutdown : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void closingDeletesTheTemporaryFiles_data()
    {
        QTest::addColumn<bool>("tempIcx");
        QTest::addColumn<bool>("previewImage");
        QTest::newRow("neither") << false << false;
        QTest::newRow("temp.icx") << true << false;
        QTest::newRow("preview image") << false << true;
        QTest::newRow("both") << true << true;
    }
    void closingDeletesTheTemporaryFiles()
    {
        QFETCH(bool, tempIcx);
        QFETCH(bool, previewImage);
        Form1Fixture f;
        f.start();
        const QString app = f.env.appDir();
        if (tempIcx)
            touch(app + QStringLiteral("/temp.icx"));
        if (previewImage)
            touch(app + QStringLiteral("/~plt000.jpg"));
        // Files of the same names elsewhere are not the program's.
        const QString elsewhere = f.env.makeDirectory(QStringLiteral("elsewhere"));
        touch(elsewhere + QStringLiteral("/temp.icx"));
        touch(elsewhere + QStringLiteral("/~plt000.jpg"));
        QVERIFY(f.form->holdsPlotServer());

        f.form->show();
        QVERIFY(f.form->close());
        QVERIFY(!QFileInfo::exists(app + QStringLiteral("/temp.icx")));
        QVERIFY(!QFileInfo::exists(app + QStringLiteral("/~plt000.jpg")));
        QVERIFY(QFileInfo::exists(app + QStringLiteral("/tarnwick.ini")));
        QVERIFY(QFileInfo::exists(elsewhere + QStringLiteral("/temp.icx")));
        QVERIFY(QFileInfo::exists(elsewhere + QStringLiteral("/~plt000.jpg")));
        QCOMPARE(f.server->log().liveServers, 0);
        QCOMPARE(f.exitCode, 0);
        QCOMPARE(f.boxes.count(), 0);
    }

    void closingEndsWithEveryWindow()
    {
        Form1Fixture f;
        f.start();
        f.form->show();
        auto *about = f.form->findChild<QPushButton *>(QStringLiteral("cmdAbout"));
        about->click();
        QVERIFY(f.form->close());
        const auto anyVisible = [] {
            const QWidgetList windows = QApplication::topLevelWidgets();
            return std::any_of(windows.cbegin(), windows.cend(), [](QWidget *w) { return w->isVisible(); });
        };
        QTRY_VERIFY(!anyVisible());
        // No handler runs after the end: a further close or click does nothing.
        const qsizetype calls = f.server->log().calls.size();
        f.form->findChild<QPushButton *>(QStringLiteral("cmdPrintSet"))->click();
        QCOMPARE(f.server->log().calls.size(), calls);
    }

    void everyFileIsTriedWhenOneResists_data()
    {
        QTest::addColumn<QString>("resisting");
        QTest::addColumn<QString>("deleted");
        QTest::newRow("temp.icx resists") << "temp.icx"
                                          << "~plt000.jpg";
        QTest::newRow("preview image resists") << "~plt000.jpg"
                                               << "temp.icx";
    }
    void everyFileIsTriedWhenOneResists()
    {
        QFETCH(QString, resisting);
        QFETCH(QString, deleted);
        TestEnvironment env;
        const AppEnvironment &environment = env.environment();
        touch(environment.temporaryFile(resisting));
        touch(environment.temporaryFile(deleted));
        QStringList tried;
        const QStringList failures = Shutdown::deleteTemporaryFiles(environment, [&](const QString &file) {
            tried.append(QFileInfo(file).fileName());
            if (QFileInfo(file).fileName() == resisting)
                throw RuntimeError(QStringLiteral("%1 is held").arg(resisting));
            FileSystem::deleteFile(file);
        });
        QCOMPARE(tried, (QStringList { "temp.icx", "~plt000.jpg" }));
        QCOMPARE(failures, QStringList { resisting + " is held" });
        QVERIFY(QFileInfo::exists(environment.temporaryFile(resisting)));
        QVERIFY(!QFileInfo::exists(environment.temporaryFile(deleted)));
    }

    void onlyFilesThatExistAreDeleted()
    {
        TestEnvironment env;
        touch(env.environment().temporaryFile(QStringLiteral("~plt000.jpg")));
        QStringList tried;
        const QStringList failures = Shutdown::deleteTemporaryFiles(
            env.environment(), [&](const QString &file) { tried.append(QFileInfo(file).fileName()); });
        QCOMPARE(tried, QStringList { "~plt000.jpg" });
        QVERIFY(failures.isEmpty());
    }

    void failedDeletionIsReportedAndTheServerReleased()
    {
        Form1Fixture f;
        f.start();
        const QString held = f.env.appDir() + QStringLiteral("/temp.icx");
        touch(held);
        const QString picture = f.env.appDir() + QStringLiteral("/~plt000.jpg");
        touch(picture);
        if (!protect(held, true))
            QSKIP("chattr +i is not available here, so no deletion can be made to fail as root");
        f.form->close();
        protect(held, false);
        QCOMPARE(f.boxes.count(), 1);
        QVERIFY2(f.boxes.seen().first().text.contains(QStringLiteral("temp.icx")),
            qPrintable(f.boxes.seen().first().text));
        if (::geteuid() == 0) // as root only the held file resists; the other one is gone
            QVERIFY(!QFileInfo::exists(picture));
        QCOMPARE(f.server->log().liveServers, 0);
        QCOMPARE(f.exitCode, 1);
    }
};

QTEST_MAIN(tst_Shutdown)
#include "tst_shutdown.moc"
