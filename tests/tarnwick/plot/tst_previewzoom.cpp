// Zooming into a preview through the real plot server: the page is drawn again from its SVG for
// the zoom in use, sharp, and the first view stays the picture SaveTo gives.

#include "Form1Fixture.h"
#include "PreviewWindows.h"
#include "tarnwick/browse/DirList.h"
#include "tarnwick/browse/FileList.h"
#include "tarnwick/plot/PagePicture.h"

#include <QDir>
#include <QImageReader>
#include <QPainter>
#include <QProcess>
#include <QPushButton>
#include <QSvgRenderer>
#include <QTest>
#include <QWheelEvent>

namespace {

/// The preview of a sample through the real plot server, once its page can be zoomed.
struct ZoomablePreview
{
    explicit ZoomablePreview(const QString &sample)
    {
        f.startWithRealServer();
        if (!f.control<DirList>("Dir1")->setPath(
                qEnvironmentVariable("TARNWICK_SOURCE_DIR") + QStringLiteral("/samples")))
            return;
        auto *files = f.control<FileList>("File1");
        files->setPattern(sample);
        f.control<QPushButton>("cmdAll")->click();
        QMetaObject::invokeMethod(files, "entryDoubleClicked");
        window = previewWindows().value(0);
        picture = window ? window->findChild<PagePicture *>(QStringLiteral("Picture1")) : nullptr;
        if (picture && !QTest::qWaitFor([this] { return picture->canZoom(); }))
            picture = nullptr;
    }

    Form1Fixture f;
    QWidget *window = nullptr;
    PagePicture *picture = nullptr; // null when the page never became zoomable
};

void turnWheel(QWidget *target, QPointF at, int notches, Qt::KeyboardModifiers modifiers)
{
    QWheelEvent wheel(at, target->mapToGlobal(at), QPoint(), QPoint(0, 120 * notches), Qt::NoButton,
        modifiers, Qt::NoScrollPhase, false);
    QApplication::sendEvent(target, &wheel);
}

/// Whether the box shows the sharp view it asked for: no stand-in left.
QImage shownWhenSharp(PagePicture *picture)
{
    QImage shown;
    for (int tries = 0; tries < 200; ++tries) {
        QTest::qWait(20);
        const QImage now = picture->grab().toImage();
        if (now == shown)
            return now;
        shown = now;
    }
    return shown;
}

double agreement(const QImage &a, const QImage &b)
{
    if (a.size() != b.size())
        return 0;
    long same = 0, inked = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const bool inkA = qGray(a.pixel(x, y)) < 200;
            const bool inkB = qGray(b.pixel(x, y)) < 200;
            inked += inkA || inkB;
            same += inkA && inkB;
        }
    }
    return inked ? double(same) / double(inked) : 1;
}

} // namespace

class tst_PreviewZoom : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        if (!QDir(qEnvironmentVariable("TARNWICK_SOURCE_DIR") + QStringLiteral("/samples")).exists())
            QSKIP("the samples folder is not beside the tests (TARNWICK_SOURCE_DIR unset)");
    }
    void cleanup() { QApplication::closeAllWindows(); }

    void firstViewIsSaveTosPicture()
    {
        ZoomablePreview preview(QStringLiteral("drawing.plt"));
        QVERIFY(preview.picture);
        QWidget *window = preview.window;
        PagePicture *picture = preview.picture;
        const QImage saved = QImageReader(preview.f.env.appDir() + QStringLiteral("/~plt000.jpg")).read();
        QCOMPARE(picture->pos(), QPoint(0, 0));
        QCOMPARE(picture->grab().toImage().convertToFormat(QImage::Format_RGB32),
            saved.convertToFormat(QImage::Format_RGB32));
        QCOMPARE(window->windowTitle(), QStringLiteral("Preview of : drawing.plt"));
    }

    void zoomedViewIsDrawnSharpAtItsScale()
    {
        ZoomablePreview preview(QStringLiteral("drawing.plt"));
        QVERIFY(preview.picture);
        QWidget *window = preview.window;
        PagePicture *picture = preview.picture;
        const QSize view = picture->size();
        turnWheel(picture, QPointF(view.width() * 0.75, view.height() * 0.25), 8, Qt::ControlModifier);
        const double factor = std::pow(PageZoom::step, 8);
        QVERIFY(std::abs(picture->zoom().factor() - factor) < 1e-9);
        QCOMPARE(window->windowTitle(),
            QStringLiteral("Preview of : drawing.plt (%1 %)").arg(std::lround(factor * 100)));
        const QImage shown = shownWhenSharp(picture);

        // The same part of the page drawn directly at that scale from the server's SVG.
        const QString svg = preview.f.env.scratch() + QStringLiteral("/page.svg");
        QVERIFY(QFile::exists(QStringLiteral(TARNWICK_PLOTCONVERT)));
        QCOMPARE(QProcess::execute(QStringLiteral(TARNWICK_PLOTCONVERT),
                     { qEnvironmentVariable("TARNWICK_SOURCE_DIR") + QStringLiteral("/samples/drawing.plt"),
                         svg }),
            0);
        QImage direct(view, QImage::Format_RGB32);
        direct.fill(Qt::white);
        QPainter painter(&direct);
        painter.setRenderHint(QPainter::Antialiasing);
        QSvgRenderer(svg).render(&painter, picture->zoom().pageRect());
        painter.end();
        QVERIFY2(agreement(shown.convertToFormat(QImage::Format_RGB32), direct) > 0.95,
            qPrintable(QStringLiteral("%1").arg(agreement(shown, direct))));
    }

    void zoomKeepsItsLimits()
    {
        ZoomablePreview preview(QStringLiteral("drawing.plt"));
        QVERIFY(preview.picture);
        QWidget *window = preview.window;
        PagePicture *picture = preview.picture;
        QTest::keyClick(window, Qt::Key_Minus);
        QCOMPARE(picture->zoom().factor(), 1.0); // never smaller than the whole page
        for (int step = 0; step < 40; ++step)
            QTest::keyClick(window, Qt::Key_Plus);
        QCOMPARE(picture->zoom().factor(), PageZoom::largest);
        QCOMPARE(window->windowTitle(), QStringLiteral("Preview of : drawing.plt (6400 %)"));
        // Panning never leaves the page.
        for (int step = 0; step < 1000; ++step)
            QTest::keyClick(window, Qt::Key_Right);
        const QRectF page = picture->zoom().pageRect();
        QCOMPARE(page.right(), qreal(picture->width()));
        QTest::keyClick(window, Qt::Key_0, Qt::ControlModifier);
        QVERIFY(picture->zoom().isFirstView());
        QCOMPARE(window->windowTitle(), QStringLiteral("Preview of : drawing.plt"));
    }

    void pageTurnedWhileZoomedOpensWhole()
    {
        ZoomablePreview preview(QStringLiteral("pages.plt"));
        QVERIFY(preview.picture);
        QWidget *window = preview.window;
        PagePicture *picture = preview.picture;
        QTest::keyClick(window, Qt::Key_Plus);
        QTest::keyClick(window, Qt::Key_Plus);
        QCOMPARE(window->windowTitle(), QStringLiteral("Preview of : pages.plt (page 1 of 3, 156 %)"));
        QTest::keyClick(window, Qt::Key_PageDown);
        QTRY_COMPARE(window->windowTitle(), QStringLiteral("Preview of : pages.plt (page 2 of 3)"));
        QVERIFY(picture->zoom().isFirstView());
        QTRY_VERIFY(picture->canZoom()); // its own drawing
    }
};

QTEST_MAIN(tst_PreviewZoom)
#include "tst_previewzoom.moc"
