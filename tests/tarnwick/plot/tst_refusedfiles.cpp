// A file of another kind with a plot's name (an archive that holds a plot) previewed through the
// real plot server: the preview ends without a word. The print run's message over such a file is in
// tst_printendtoend, as a run that went on would print.

#include "Form1Fixture.h"
#include "OtherFiles.h"
#include "PreviewWindows.h"
#include "tarnwick/browse/DirList.h"
#include "tarnwick/browse/FileList.h"

#include <QFile>

class tst_RefusedFiles : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cleanup() { QApplication::closeAllWindows(); }

    void previewEndsQuietly()
    {
        Form1Fixture f;
        startWithRealServer(f);
        auto *files = f.control<FileList>("File1");
        files->selectRows({ 0, 1 });
        QMetaObject::invokeMethod(files, "entryDoubleClicked");
        QCOMPARE(previewWindows().size(), 0);
        QCOMPARE(f.boxes.count(), 0);
        QVERIFY(!f.guard.hasEnded());
    }

private:
    /// The main window with the real plot server, showing a folder of an archive named as a plot and
    /// a plot after it.
    static void startWithRealServer(Form1Fixture &f)
    {
        f.env.makeFile(QStringLiteral("plots/an-archive.plt"), plotviewer::test::zipArchive());
        QFile plot(qEnvironmentVariable("TARNWICK_SOURCE_DIR") + QStringLiteral("/samples/drawing.plt"));
        QVERIFY(plot.open(QIODevice::ReadOnly));
        f.env.makeFile(QStringLiteral("plots/drawing.plt"), plot.readAll());
        f.server.reset(); // the real plot server, found beside the test in servers/
        f.start();
        QVERIFY2(f.loaded && f.boxes.count() == 0, "the main window did not start with the real plot server");
        QVERIFY(f.control<DirList>("Dir1")->setPath(f.env.makeDirectory(QStringLiteral("plots"))));
        QCOMPARE(f.control<FileList>("File1")->count(), 2);
    }
};

QTEST_MAIN(tst_RefusedFiles)
#include "tst_refusedfiles.moc"
