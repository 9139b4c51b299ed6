// The preview of every sample plot through the real plot server plugin.
#include "Form1Fixture.h"
#include "PreviewWindows.h"
#include "tarnwick/browse/DirList.h"
#include "tarnwick/browse/FileList.h"

#include <QDir>
#include <QLabel>
#include <QPushButton>

class tst_PreviewSamples : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cleanup() { QApplication::closeAllWindows(); }

    void everySampleShowsAPicture()
    {
        const QString samples = qEnvironmentVariable("TARNWICK_SOURCE_DIR") + QStringLiteral("/samples");
        if (!QDir(samples).exists())
            QSKIP("the samples folder is not beside the tests (TARNWICK_SOURCE_DIR unset)");
        Form1Fixture f;
        f.server.reset(); // the real plot server, found beside the test in servers/
        f.start();
        QVERIFY2(f.loaded && f.boxes.count() == 0, "the main window did not start with the real plot server");
        QVERIFY(f.control<DirList>("Dir1")->setPath(samples));
        auto *files = f.control<FileList>("File1");
        QVERIFY(files->count() >= 5);
        f.control<QPushButton>("cmdAll")->click();
        QMetaObject::invokeMethod(files, "entryDoubleClicked");

        QStringList shown;
        for (QWidget *window : previewWindows()) {
            shown.append(window->windowTitle());
            const QImage picture
                = window->findChild<QLabel *>(QStringLiteral("Picture1"))->pixmap().toImage();
            QVERIFY(picture.width() <= 1024 && picture.height() <= 768);
            QVERIFY(picture.width() == 1024 || picture.height() == 768);
            int inked = 0;
            for (int y = 0; y < picture.height(); y += 2) {
                for (int x = 0; x < picture.width(); x += 2)
                    inked += qGray(picture.pixel(x, y)) < 200;
            }
            QVERIFY2(inked > 50, qPrintable(window->windowTitle() + QStringLiteral(" is blank")));
        }
        QCOMPARE(shown.size(), files->count());
        QCOMPARE(f.boxes.count(), 0);
    }
};

QTEST_MAIN(tst_PreviewSamples)
#include "tst_previewsamples.moc"
