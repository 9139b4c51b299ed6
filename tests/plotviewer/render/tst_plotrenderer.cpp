// Sample renders against reference pictures, colour modes, actual size and labels.

#include "PictureComparison.h"
#include "PictureInk.h"
#include "SamplePage.h"
#include "plotviewer/render/PlotPicture.h"
#include "plotviewer/render/PlotRenderer.h"

#include <QPainter>

#include <QTest>
#include <cmath>

using namespace plotviewer;
using namespace plotviewer::test;

namespace {

constexpr Rgb black { 0, 0, 0 };
constexpr Rgb red { 255, 0, 0 };
constexpr Rgb green { 0, 160, 0 };
constexpr Rgb blue { 0, 0, 255 };
constexpr Rect sampleFrame { 0, 0, 4000, 3000 };
const QSize sampleSize(200, 150);

StrokeStyle styled(Rgb colour, double width, LineCap cap, LineJoin join)
{
    StrokeStyle style = pen(colour, width);
    style.cap = cap;
    style.join = join;
    return style;
}

FillStyle solid(Rgb colour, FillRule rule = FillRule::EvenOdd)
{
    FillStyle style;
    style.colour = colour;
    style.rule = rule;
    return style;
}

FillStyle hatched(Rgb colour, FillPattern pattern, double spacing, double angle)
{
    FillStyle style = solid(colour);
    style.pattern = pattern;
    style.hatchSpacing = spacing;
    style.hatchAngle = angle;
    style.hatchLineWidth = 10;
    return style;
}

std::vector<Point> square(double left, double bottom, double size)
{
    return { { left, bottom }, { left + size, bottom }, { left + size, bottom + size },
        { left, bottom + size } };
}

QImage renderSample(const Page &page, RenderOptions options = {})
{
    return renderPlotPicture(page, sampleSize, options);
}

QString referencePath(const char *name)
{
    return QStringLiteral(TARNWICK_RENDER_DATA "/%1.png").arg(QLatin1String(name));
}

} // namespace

class tst_PlotRenderer : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void sampleRenders_data();
    void sampleRenders();
    void colourModes_data();
    void colourModes();
    void actualSizeKeepsPhysicalSize();
    void labelsWithoutStrokeFontUseOutlines();
    void characterMissingFromStrokeFontIsStillDrawn();
    void malformedListsDrawWhatIsValid();
    void denseGeometryKeepsItsShape_data();
    void denseGeometryKeepsItsShape();
};

void tst_PlotRenderer::sampleRenders_data()
{
    QTest::addColumn<Page>("page");

    QTest::newRow("pens") << SamplePage()
                                 .frame(sampleFrame)
                                 .stroke({ { 200, 2700 }, { 3800, 2700 } }, pen(black, 0))
                                 .stroke({ { 200, 2300 }, { 3800, 2300 } }, pen(red, 20))
                                 .stroke({ { 200, 1900 }, { 3800, 1900 } }, pen(green, 60))
                                 .stroke({ { 200, 1400 }, { 3800, 1400 } }, pen(blue, 120))
                                 .stroke({ { 200, 300 }, { 1000, 1000 }, { 1800, 300 }, { 2600, 1000 },
                                             { 3400, 300 } },
                                     pen(black, 40))
                                 .build();
    QTest::newRow("caps-joins") << SamplePage()
                                       .frame(sampleFrame)
                                       .stroke({ { 300, 2500 }, { 1100, 2500 } },
                                           styled(black, 250, LineCap::Butt, LineJoin::Miter))
                                       .stroke({ { 1600, 2500 }, { 2400, 2500 } },
                                           styled(black, 250, LineCap::Square, LineJoin::Miter))
                                       .stroke({ { 2900, 2500 }, { 3700, 2500 } },
                                           styled(black, 250, LineCap::Round, LineJoin::Miter))
                                       .stroke({ { 300, 600 }, { 700, 1700 }, { 1100, 600 } },
                                           styled(red, 200, LineCap::Butt, LineJoin::Miter))
                                       .stroke({ { 1600, 600 }, { 2000, 1700 }, { 2400, 600 } },
                                           styled(red, 200, LineCap::Butt, LineJoin::Bevel))
                                       .stroke({ { 2900, 600 }, { 3300, 1700 }, { 3700, 600 } },
                                           styled(red, 200, LineCap::Butt, LineJoin::Round))
                                       .build();
    QTest::newRow("dots") << SamplePage()
                                 .frame(sampleFrame)
                                 .stroke({ { 1000, 1500 } }, pen(black, 0))
                                 .stroke({ { 2000, 1500 } }, pen(red, 200))
                                 .stroke(
                                     { { 3000, 1500 } }, styled(blue, 200, LineCap::Square, LineJoin::Miter))
                                 .build();
    QTest::newRow("hatches") << SamplePage()
                                    .frame(sampleFrame)
                                    .fill({ square(300, 700, 1600) },
                                        hatched(blue, FillPattern::Hatch, 150, 45))
                                    .fill({ square(2100, 700, 1600) },
                                        hatched(red, FillPattern::CrossHatch, 200, 0))
                                    .build();
    QTest::newRow("fill-rules") << SamplePage()
                                       .frame(sampleFrame)
                                       .fill({ square(300, 700, 1600), square(700, 1100, 800) }, solid(green))
                                       .fill({ square(2100, 700, 1600), square(2500, 1100, 800) },
                                           solid(green, FillRule::NonZero))
                                       .stroke(square(300, 700, 1600), pen(black, 0), true)
                                       .build();
    QTest::newRow("closed-outline") << SamplePage()
                                           .frame(sampleFrame)
                                           .stroke(square(800, 500, 2000),
                                               styled(blue, 200, LineCap::Butt, LineJoin::Miter), true)
                                           .build();
    QTest::newRow("stroke-label") << SamplePage()
                                         .frame(sampleFrame)
                                         .text(U"PLOT/2", { 300, 1800 }, 400, pen(black, 30))
                                         .text(U"Tilt", { 1500, 300 }, 400, pen(red, 30), 30)
                                         .build();
}

void tst_PlotRenderer::sampleRenders()
{
    QFETCH(Page, page);
    if (!StrokeFont::systemDefault() && !page.texts.empty())
        QSKIP("the Hershey fonts (hershey-fonts-data) are not installed");
    const QString mismatch = compareWithReference(renderSample(page), referencePath(QTest::currentDataTag()));
    QVERIFY2(mismatch.isEmpty(), qPrintable(mismatch));
}

void tst_PlotRenderer::colourModes_data()
{
    QTest::addColumn<ColourMode>("mode");
    QTest::addColumn<Page>("page");
    QTest::addColumn<QColor>("expected");

    const auto filled = [](Rgb colour, double tint = 100) {
        FillStyle style = solid(colour);
        style.tint = tint;
        return SamplePage().frame(sampleFrame).fill({ square(1000, 500, 2000) }, style).build();
    };
    const auto stroked = [](Rgb colour, double tint = 100) {
        StrokeStyle style = pen(colour, 600);
        style.tint = tint;
        return SamplePage().frame(sampleFrame).stroke({ { 500, 1500 }, { 3500, 1500 } }, style).build();
    };
    const Page whiteOnBlack = SamplePage()
                                  .frame(sampleFrame)
                                  .fill({ square(500, 0, 3000) }, solid(black))
                                  .fill({ square(1500, 1000, 1000) }, solid(white))
                                  .build();

    QTest::newRow("colour keeps red") << ColourMode::Colour << filled(red) << QColor(255, 0, 0);
    QTest::newRow("colour keeps a stroke's blue") << ColourMode::Colour << stroked(blue) << QColor(0, 0, 255);
    QTest::newRow("grey takes red's luminance") << ColourMode::GreyScale << filled(red) << QColor(76, 76, 76);
    QTest::newRow("grey takes a stroke's luminance")
        << ColourMode::GreyScale << stroked(Rgb { 0, 255, 0 }) << QColor(150, 150, 150);
    QTest::newRow("black and white blackens yellow")
        << ColourMode::BlackAndWhite << filled(Rgb { 255, 255, 0 }) << QColor(Qt::black);
    QTest::newRow("black and white blackens a light shade")
        << ColourMode::BlackAndWhite << filled(Rgb { 240, 240, 240 }) << QColor(Qt::black);
    QTest::newRow("black and white blackens a stroke")
        << ColourMode::BlackAndWhite << stroked(Rgb { 0, 255, 255 }) << QColor(Qt::black);
    QTest::newRow("black and white keeps white white")
        << ColourMode::BlackAndWhite << whiteOnBlack << QColor(Qt::white);
    QTest::newRow("colour tints red") << ColourMode::Colour << filled(red, 10) << QColor(255, 230, 230);
    QTest::newRow("grey takes a tinted red's luminance")
        << ColourMode::GreyScale << filled(red, 10) << QColor(237, 237, 237);
    QTest::newRow("black and white keeps a fill's tint")
        << ColourMode::BlackAndWhite << filled(red, 10) << QColor(230, 230, 230);
    QTest::newRow("black and white keeps a stroke's tint")
        << ColourMode::BlackAndWhite << stroked(blue, 50) << QColor(128, 128, 128);
    QTest::newRow("tint that is not a number is full strength")
        << ColourMode::Colour << filled(red, std::nan("")) << QColor(255, 0, 0);
}

void tst_PlotRenderer::colourModes()
{
    QFETCH(ColourMode, mode);
    QFETCH(Page, page);
    QFETCH(QColor, expected);
    RenderOptions options;
    options.colourMode = mode;
    const QImage picture = renderSample(page, options);
    QCOMPARE(picture.pixelColor(picture.rect().center()), expected);
}

void tst_PlotRenderer::actualSizeKeepsPhysicalSize()
{
    // A two-inch square at 100 dots per inch is 200 pixels wide whatever the target's size.
    const Page page = SamplePage().stroke(square(0, 0, 2 * 1016), pen(black, 0), true).build();
    QImage picture(600, 400, QImage::Format_RGB32);
    picture.setDotsPerMeterX(qRound(100 / 0.0254));
    picture.setDotsPerMeterY(qRound(100 / 0.0254));
    picture.fill(Qt::white);
    QPainter painter(&picture);
    RenderOptions options;
    options.placement = Placement::ActualSize;
    PlotRenderer(options).render(painter, page, QRectF(picture.rect()));
    painter.end();

    int left = picture.width(), right = -1;
    for (int x = 0; x < picture.width(); ++x) {
        if (picture.pixelColor(x, picture.height() / 2) != QColor(Qt::white)) {
            left = std::min(left, x);
            right = std::max(right, x);
        }
    }
    QVERIFY(right >= 0);
    QVERIFY2(
        std::abs((right - left) - 200) <= 1, qPrintable(QStringLiteral("%1 .. %2").arg(left).arg(right)));
    QVERIFY2(std::abs((left + right) / 2 - 300) <= 1, "the page is centred on the target");
}

void tst_PlotRenderer::labelsWithoutStrokeFontUseOutlines()
{
    // Cells 750 units wide from x = 500: the glyphs must land inside the label's cells.
    const Page page
        = SamplePage().frame(sampleFrame).text(U"HELLO", { 500, 1200 }, 500, pen(black, 0)).build();
    RenderOptions options;
    options.strokeFont = [] { return static_cast<const StrokeFont *>(nullptr); };
    const QImage picture = renderSample(page, options);
    QVERIFY(inkedPixelCount(picture) > 100);
    // 20 units a pixel: the label spans x 25..213 (cells) and y 75..100 from the top.
    const QImage outside = picture.copy(0, 0, picture.width(), 60);
    QCOMPARE(inkedPixelCount(outside), 0);
}

void tst_PlotRenderer::characterMissingFromStrokeFontIsStillDrawn()
{
    if (!StrokeFont::systemDefault())
        QSKIP("the Hershey fonts (hershey-fonts-data) are not installed");
    const Page page
        = SamplePage().frame(sampleFrame).text(U"\u00e9\u00df", { 500, 1200 }, 800, pen(black, 0)).build();
    QVERIFY(inkedPixelCount(renderSample(page)) > 50);
}

void tst_PlotRenderer::malformedListsDrawWhatIsValid()
{
    Page page
        = SamplePage().frame(sampleFrame).stroke({ { 500, 1500 }, { 3500, 1500 } }, pen(black, 200)).build();
    page.items.push_back({ ItemKind::Stroke, 7, 0, 1 }); // no such style
    page.items.push_back({ ItemKind::Fill, 0, 0, 1 }); // no fill styles at all
    page.items.push_back({ ItemKind::Text, 0, 9, 1 }); // no such text
    page.items.push_back({ ItemKind::Stroke, 0, 5, 3 }); // paths past the end
    page.paths.push_back({ 100, 50, false }); // points past the end
    page.items.push_back({ ItemKind::Stroke, 0, std::uint32_t(page.paths.size() - 1), 1 });
    const QImage picture = renderSample(page);
    QCOMPARE(picture.pixelColor(picture.rect().center()), QColor(Qt::black));
}

void tst_PlotRenderer::denseGeometryKeepsItsShape_data()
{
    QTest::addColumn<Page>("page");
    QTest::addColumn<QList<QPoint>>("inked");

    // 200 x 150 pixels for 4000 x 3000 units: 20 units a pixel.
    const auto wavePoint = [](int i) {
        return Point { 100 + i * 0.095, 1500 + 1000 * std::sin(i / 2000.0) };
    };
    const auto pixel = [](Point p) { return QPoint(qRound(p.x / 20), qRound(150 - p.y / 20)); };
    std::vector<Point> wave;
    for (int i = 0; i <= 40000; ++i)
        wave.push_back(wavePoint(i));
    const QList<QPoint> alongTheWave { pixel(wavePoint(0)), pixel(wavePoint(3142)), pixel(wavePoint(20000)),
        pixel(wavePoint(40000)) };
    QTest::newRow("forty thousand points in one polyline")
        << SamplePage().frame(sampleFrame).stroke(wave, pen(black, 0)).build() << alongTheWave;
    QTest::newRow("wide polyline of tiny steps")
        << SamplePage().frame(sampleFrame).stroke(wave, pen(blue, 60)).build() << alongTheWave;
    // Hairlines are painted a few thousand at a time: 4095 on one spot fill the first batch but
    // one, then short lines across the picture fall on both sides of that batch's end.
    SamplePage manyLines;
    manyLines.frame(sampleFrame);
    for (int i = 0; i < 4095; ++i)
        manyLines.stroke({ { 200, 2800 }, { 220, 2800 } }, pen(black, 0));
    QList<QPoint> eachLine;
    for (int i = 0; i < 30; ++i) {
        const Point start { 400 + (i % 6) * 600.0, 400 + (i / 6) * 400.0 };
        manyLines.stroke({ start, { start.x + 40, start.y } }, pen(black, 0));
        eachLine.append(pixel({ start.x + 20, start.y }));
    }
    QTest::newRow("thousands of hairlines, each drawn") << manyLines.build() << eachLine;
    std::vector<Point> tinyRing;
    for (int i = 0; i < 16; ++i)
        tinyRing.push_back({ 2000 + 2 * std::cos(i * M_PI / 8), 1500 + 2 * std::sin(i * M_PI / 8) });
    QTest::newRow("ring smaller than a pixel stays visible")
        << SamplePage().frame(sampleFrame).stroke(tinyRing, pen(black, 0), true).build()
        << QList<QPoint> { { 100, 75 } };
}

void tst_PlotRenderer::denseGeometryKeepsItsShape()
{
    QFETCH(Page, page);
    QFETCH(QList<QPoint>, inked);
    const QImage picture = renderSample(page);
    for (const QPoint p : inked) {
        const QRect around(p - QPoint(1, 1), QSize(3, 3));
        QVERIFY2(inkedPixelCount(picture.copy(around)) > 0,
            qPrintable(QStringLiteral("nothing near (%1, %2)").arg(p.x()).arg(p.y())));
    }
}

QTEST_MAIN(tst_PlotRenderer)
#include "tst_plotrenderer.moc"
