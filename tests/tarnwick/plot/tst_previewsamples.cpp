// The preview of every sample plot through the real plot server plugin.
#include "Form1Fixture.h"
#include "PreviewWindows.h"
#include "tarnwick/base/Twips.h"
#include "tarnwick/browse/DirList.h"
#include "tarnwick/browse/FileList.h"

#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QTest>

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

    void pagesOfAJobTurn()
    {
        const QString samples = qEnvironmentVariable("TARNWICK_SOURCE_DIR") + QStringLiteral("/samples");
        if (!QDir(samples).exists())
            QSKIP("the samples folder is not beside the tests (TARNWICK_SOURCE_DIR unset)");
        Form1Fixture f;
        f.server.reset();
        f.start();
        QVERIFY(f.loaded);
        QVERIFY(f.control<DirList>("Dir1")->setPath(samples));
        auto *files = f.control<FileList>("File1");
        files->setPattern(QStringLiteral("pages.plt"));
        f.control<QPushButton>("cmdAll")->click();
        QMetaObject::invokeMethod(files, "entryDoubleClicked");
        QCOMPARE(previewWindows().size(), 1);
        QWidget *window = previewWindows().first();
        auto *box = window->findChild<QLabel *>(QStringLiteral("Picture1"));

        // Landscape, portrait and square, as the job's three plots are.
        const auto shape = [box] {
            const QSize size = box->size();
            return size.width() > size.height() * 1.2 ? u'L'
                : size.height() > size.width() * 1.2  ? u'P'
                                                      : u'S';
        };
        QString seen;
        for (const Qt::Key key : { Qt::Key_unknown, Qt::Key_PageDown, Qt::Key_PageDown, Qt::Key_PageDown,
                 Qt::Key_Home, Qt::Key_End }) {
            if (key != Qt::Key_unknown)
                QTest::keyClick(window, key);
            // A page the server has not made yet shows once it has.
            QTRY_VERIFY(!window->windowTitle().contains(u"being made"));
            seen += shape();
            seen += window->windowTitle().section(u'(', 1).at(5);
            QTRY_COMPARE(window->frameGeometry().height(), box->height() + Twips(*window).y(400));
        }
        QCOMPARE(seen, QStringLiteral("L1P2S3S3L1S3"));
        QCOMPARE(window->windowTitle(), QStringLiteral("Preview of : pages.plt (page 3 of 3)"));
        QCOMPARE(f.boxes.count(), 0);
    }
};

QTEST_MAIN(tst_PreviewSamples)
#include "tst_previewsamples.moc"
