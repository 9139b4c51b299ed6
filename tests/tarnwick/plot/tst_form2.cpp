#include "PreviewWindows.h"
#include "tarnwick/base/RuntimeError.h"
#include "tarnwick/plot/Form2.h"

#include <QApplication>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>

class tst_Form2 : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cleanup()
    {
        QApplication::closeAllWindows();
        QTRY_VERIFY(previewWindows().isEmpty());
    }

    void windowFitsThePicture_data()
    {
        QTest::addColumn<QSize>("pictureSize");
        QTest::newRow("landscape") << QSize(210, 100);
        QTest::newRow("portrait") << QSize(120, 300);
    }
    void windowFitsThePicture()
    {
        QFETCH(QSize, pictureSize);
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("~plt000.jpg"));
        QImage picture(pictureSize, QImage::Format_RGB32);
        picture.fill(Qt::darkCyan);
        QVERIFY(picture.save(file, "JPG"));

        Form2::showPreview(file, QStringLiteral("a.plt"));
        QCOMPARE(previewWindows().size(), 1);
        QWidget *window = previewWindows().first();
        QCOMPARE(window->windowTitle(), QStringLiteral("Preview of : a.plt"));
        auto *box = window->findChild<QLabel *>(QStringLiteral("Picture1"));
        QVERIFY(box->isVisible());
        QCOMPARE(box->pos(), QPoint(0, 0));
        QCOMPARE(box->size(), pictureSize);
        // Outer size: the picture's width, its height plus 400 twips (27 pixels at 96 DPI).
        // A window manager frames the window some time after it is mapped; offscreen, nothing does.
        if (QGuiApplication::platformName() != u"offscreen")
            QTRY_VERIFY(window->frameGeometry() != window->geometry());
        QTRY_COMPARE(window->frameGeometry().size(), pictureSize + QSize(0, 27));
        QCOMPARE(window->minimumSize(), window->maximumSize());
        QVERIFY(!window->windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
        QVERIFY(!window->windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
        QVERIFY(!window->isModal());
        QVERIFY(window->testAttribute(Qt::WA_DeleteOnClose));
    }

    void unreadablePictureOpensNoWindow()
    {
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("~plt000.jpg"));
        QFile garbage(file);
        QVERIFY(garbage.open(QIODevice::WriteOnly));
        garbage.write("not a picture");
        garbage.close();
        try {
            Form2::showPreview(file, QStringLiteral("a.plt"));
            QFAIL("a broken picture was shown");
        } catch (const RuntimeError &error) {
            QVERIFY2(error.description().contains(QStringLiteral("cannot be loaded")), error.what());
        }
        QVERIFY(previewWindows().isEmpty());
    }
};

QTEST_MAIN(tst_Form2)
#include "tst_form2.moc"
