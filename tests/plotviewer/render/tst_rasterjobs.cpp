// Raster jobs end to end: known images written as PCL raster (by the test's own encoder and by
// netpbm when installed) must come back as the same pixels and pictures; raster placement in
// HP-GL/2 pages; colour modes; size limits, broken data and rows that fall off the page.

#include "RasterEncoder.h"

#include "plotviewer/interpreter/PlotInterpreter.h"
#include "plotviewer/render/PlotPicture.h"
#include "plotviewer/render/RasterPainter.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace plotviewer;

namespace {

// RGB, CMY and KCMY planes (ESC*r3U, -3U, -4U), or 24-bit pixels.
enum class Colours { Monochrome, Planes, CmyPlanes, KcmyPlanes, Direct };

int planeCount(Colours colours)
{
    switch (colours) {
    case Colours::Planes:
    case Colours::CmyPlanes:
        return 3;
    case Colours::KcmyPlanes:
        return 4;
    default:
        return 1;
    }
}

// Whether `colour` sets `plane`: light for RGB, ink for CMY, and black first for KCMY.
bool setsPlane(QRgb colour, Colours colours, int plane)
{
    const int light[] = { qRed(colour), qGreen(colour), qBlue(colour) };
    switch (colours) {
    case Colours::Monochrome:
        return light[0] == 0;
    case Colours::Planes:
        return light[plane] != 0;
    case Colours::CmyPlanes:
        return light[plane] == 0;
    case Colours::KcmyPlanes: {
        const bool black = colour == qRgb(0, 0, 0);
        return plane == 0 ? black : !black && light[plane - 1] == 0;
    }
    case Colours::Direct:
        break;
    }
    return false;
}

// A picture with edges, areas and (for colour) every primary, `width` x `height`.
QImage knownImage(Colours colours, int width = 97, int height = 61)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const bool ink
                = (x / 7 + y / 5) % 3 == 0 || x == y || (x - 40) * (x - 40) + (y - 30) * (y - 30) < 150;
            QRgb colour = ink ? qRgb(0, 0, 0) : qRgb(255, 255, 255);
            if (planeCount(colours) > 1 && ink)
                colour = qRgb((x / 8) % 2 ? 255 : 0, (y / 8) % 2 ? 255 : 0, ((x + y) / 16) % 2 ? 255 : 0);
            if (colours == Colours::Direct && ink)
                colour = qRgb(x * 255 / width, y * 255 / height, (x * y) % 256);
            image.setPixel(x, y, colour);
        }
    }
    return image;
}

// The rows of `image` as PCL wants them: packed bits, one plane each, or RGB bytes.
QList<QByteArray> rowsOf(const QImage &image, Colours colours)
{
    QList<QByteArray> rows;
    for (int y = 0; y < image.height(); ++y) {
        QByteArray row;
        if (colours == Colours::Direct) {
            for (int x = 0; x < image.width(); ++x) {
                const QRgb c = image.pixel(x, y);
                row += char(qRed(c));
                row += char(qGreen(c));
                row += char(qBlue(c));
            }
        } else {
            for (int plane = 0; plane < planeCount(colours); ++plane) {
                QByteArray bits((image.width() + 7) / 8, '\0');
                for (int x = 0; x < image.width(); ++x) {
                    if (setsPlane(image.pixel(x, y), colours, plane))
                        bits[x / 8] = char(bits[x / 8] | 0x80 >> (x % 8));
                }
                row += bits;
            }
        }
        rows.append(row);
    }
    return rows;
}

QByteArray rasterJob(
    const QImage &image, Colours colours, int mode, bool opaque = false, bool combined = false)
{
    const QList<QByteArray> rows = rowsOf(image, colours);
    QByteArray job("\x1b"
                   "E\x1b*t150R\x1b*p300x300Y");
    if (colours == Colours::Planes)
        job += "\x1b*r3U";
    if (colours == Colours::CmyPlanes)
        job += "\x1b*r-3U";
    if (colours == Colours::KcmyPlanes)
        job += "\x1b*r-4U";
    if (colours == Colours::Direct)
        job += QByteArray("\x1b*v6W\x00\x03\x08\x08\x08\x08", 11);
    if (opaque)
        job += "\x1b*v1N";
    job += "\x1b*r" + QByteArray::number(image.width()) + "S\x1b*r1A\x1b*b" + QByteArray::number(mode) + "M";
    job += plottest::encodeTransfers(rows, mode, planeCount(colours), combined);
    return job
        + "\x1b*rB\x1b"
          "E";
}

InterpretResult interpret(const QByteArray &bytes)
{
    return interpretPlot({ bytes.constData(), std::size_t(bytes.size()) });
}

// The page's first image (or `index`-th) as the renderer sees it in colour, with transparent white
// shown white.
QImage firstImage(const InterpretResult &result, std::size_t index = 0)
{
    if (result.plot.pages.empty() || result.plot.pages.front().images.size() <= index)
        return {};
    const PageTransform transform = PageTransform::fit({ 0, 0, 1, 1 }, QRectF(0, 0, 1, 1), QSizeF(96, 96));
    QImage pixels = RasterPainter(transform, ColourMode::Colour)
                        .fullImage(result.plot.pages.front().images[index])
                        .convertToFormat(QImage::Format_ARGB32);
    QImage shown(pixels.size(), QImage::Format_RGB32);
    shown.fill(Qt::white);
    for (int y = 0; y < pixels.height(); ++y)
        for (int x = 0; x < pixels.width(); ++x)
            if (qAlpha(pixels.pixel(x, y)) > 0)
                shown.setPixel(x, y, pixels.pixel(x, y));
    return shown;
}

// Mean absolute channel difference, 0 to 255.
double difference(const QImage &a, const QImage &b)
{
    if (a.size() != b.size())
        return 255;
    double sum = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y);
            const QRgb q = b.pixel(x, y);
            sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q))
                + std::abs(qBlue(p) - qBlue(q));
        }
    }
    return sum / (3.0 * a.width() * a.height());
}

// The page cut down to its first image, pictured at `scale` times the image's size.
QImage pictureOfImage(const InterpretResult &result, double scale)
{
    Page page = result.plot.pages.front();
    const RasterImage &image = page.images.front();
    page.frame = { image.origin.x, image.origin.y + image.down.y * image.height,
        image.origin.x + image.across.x * image.width, image.origin.y };
    const QSize size(int(std::lround(image.width * scale)), int(std::lround(image.height * scale)));
    return renderPlotPicture(page, size, RenderOptions {});
}

} // namespace

class TestRasterJobs : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void roundTrip_data();
    void roundTrip();
    void netpbm_data();
    void netpbm();
    void seedRowsPerPlane_data();
    void seedRowsPerPlane();
    void placement_data();
    void placement();
    void presentation_data();
    void presentation();
    void rectangles_data();
    void rectangles();
    void textIsReported();
    void colourModes_data();
    void colourModes();
    void stackingOrder();
    void limits_data();
    void limits();
    void brokenData_data();
    void brokenData();
    void rowsOffThePage_data();
    void rowsOffThePage();
};

void TestRasterJobs::roundTrip_data()
{
    QTest::addColumn<int>("colours");
    QTest::addColumn<int>("mode");
    QTest::addColumn<bool>("combined");
    const std::pair<Colours, const char *> kinds[] = { { Colours::Monochrome, "monochrome" },
        { Colours::Planes, "RGB planes" }, { Colours::CmyPlanes, "CMY planes" },
        { Colours::KcmyPlanes, "KCMY planes" }, { Colours::Direct, "24-bit" } };
    for (const auto &[colours, name] : kinds) {
        for (int mode : { 0, 1, 2, 3, 5, 9 }) {
            if (planeCount(colours) > 1 && mode == 5)
                continue; // adaptive rows hold one plane only
            QTest::addRow("%s, mode %d", name, mode) << int(colours) << mode << false;
            // Inkjet drivers write a whole page as one escape sequence.
            if (mode == 0 || mode == 3 || mode == 9)
                QTest::addRow("%s, mode %d, one sequence", name, mode) << int(colours) << mode << true;
        }
    }
}

void TestRasterJobs::roundTrip()
{
    QFETCH(int, colours);
    QFETCH(int, mode);
    QFETCH(bool, combined);
    const QImage known = knownImage(Colours(colours));
    const InterpretResult result = interpret(rasterJob(known, Colours(colours), mode, false, combined));
    QVERIFY2(result.error.empty(), result.error.c_str());
    QVERIFY(result.plot.warnings.empty());
    QCOMPARE(result.plot.pages.size(), std::size_t(1));
    QCOMPARE(result.plot.pages.front().images.size(), std::size_t(1));
    QCOMPARE(firstImage(result), known);
    // Pictured larger and smaller, it still looks like the image.
    for (double scale : { 2.0, 0.5 }) {
        const QImage picture = pictureOfImage(result, scale);
        const QImage expected = known.scaled(picture.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        // Filters differ in how they average fine black and white detail, not in what they show.
        QVERIFY2(difference(picture, expected) < 32,
            qPrintable(
                QStringLiteral("scale %1: differs by %2").arg(scale).arg(difference(picture, expected))));
    }
}

void TestRasterJobs::netpbm_data()
{
    QTest::addColumn<QString>("program");
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<int>("colours");
    QTest::newRow("pbmtolj unencoded") << "pbmtolj" << QStringList() << int(Colours::Monochrome);
    QTest::newRow("pbmtolj packbits") << "pbmtolj" << QStringList { "-packbits" } << int(Colours::Monochrome);
    QTest::newRow("pbmtolj delta") << "pbmtolj" << QStringList { "-delta" } << int(Colours::Monochrome);
    QTest::newRow("pbmtolj both") << "pbmtolj" << QStringList { "-compress" } << int(Colours::Monochrome);
    QTest::newRow("ppmtolj unencoded") << "ppmtolj" << QStringList() << int(Colours::Direct);
    QTest::newRow("ppmtolj delta") << "ppmtolj" << QStringList { "-delta" } << int(Colours::Direct);
}

void TestRasterJobs::netpbm()
{
    QFETCH(QString, program);
    QFETCH(QStringList, options);
    QFETCH(int, colours);
    const QString path = QStandardPaths::findExecutable(program);
    if (path.isEmpty())
        QSKIP("netpbm is not installed");
    QTemporaryDir dir;
    const QImage known = knownImage(Colours(colours));
    const QString input = dir.filePath(colours == int(Colours::Monochrome) ? "known.pbm" : "known.ppm");
    QVERIFY(
        known
            .convertToFormat(colours == int(Colours::Monochrome) ? QImage::Format_Mono : QImage::Format_RGB32)
            .save(input));
    QProcess process;
    process.start(path, options << input);
    QVERIFY(process.waitForFinished());
    QCOMPARE(process.exitCode(), 0);
    const InterpretResult result = interpret(process.readAllStandardOutput());
    QVERIFY2(result.error.empty(), result.error.c_str());
    QCOMPARE(result.plot.pages.size(), std::size_t(1));
    // Without a declared width, rows are as wide as their bytes: the columns past the image are white.
    const QImage decoded = firstImage(result);
    QVERIFY(decoded.width() >= known.width() && decoded.width() < known.width() + 8);
    const QImage beyond = decoded.copy(known.width(), 0, decoded.width() - known.width(), decoded.height());
    QVERIFY(beyond.isNull() || beyond.allGray());
    const QImage inside = decoded.copy(0, 0, known.width(), known.height());
    QVERIFY2(difference(inside, known) < 1,
        qPrintable(QStringLiteral("differs by %1").arg(difference(inside, known))));
}

void TestRasterJobs::seedRowsPerPlane_data()
{
    QTest::addColumn<QByteArray>("rows");
    QTest::addColumn<QStringList>("colours"); // of each row's first pixel

    // CMY planes, a byte each: a set bit is ink. In the delta modes "\0\xff" sets the byte.
    const QByteArray set = QByteArray(1, '\0') + '\xff';
    const QByteArray clear = QByteArray(2, '\0');
    const QByteArray full = "\x1b*b1V\xff\x1b*b1V\xff\x1b*b1W\xff";
    const QByteArray deltaFull = "\x1b*b2V" + set + "\x1b*b2V" + set + "\x1b*b2W" + set;
    QTest::newRow("planes left out are blank in mode 0")
        << "\x1b*b0M" + full + "\x1b*b1W\xff" << QStringList { "#000000", "#00ffff" };
    QTest::newRow("planes left out repeat their seed row in mode 3")
        << "\x1b*b3M" + deltaFull + "\x1b*b0W" << QStringList { "#000000", "#000000" };
    QTest::newRow("planes left out repeat their seed row in mode 9")
        << "\x1b*b9M\x1b*b2V" + set + "\x1b*b0W\x1b*b0W" << QStringList { "#00ffff", "#00ffff" };
    QTest::newRow("each plane changes its own seed row")
        << "\x1b*b3M\x1b*b2V" + set + "\x1b*b0V\x1b*b0W\x1b*b0V\x1b*b2V" + set + "\x1b*b0W"
        << QStringList { "#00ffff", "#0000ff" };
    QTest::newRow("a Y offset clears every seed row") << "\x1b*b3M" + deltaFull
            + "\x1b*b1Y\x1b*b0V\x1b*b0V\x1b*b0W" << QStringList { "#000000", "#ffffff" };
    QTest::newRow("a plane past the set-up is dropped") << "\x1b*b0M\x1b*b1V\xff\x1b*b1V"
            + QByteArray(1, '\0') + "\x1b*b1V" + QByteArray(1, '\0')
            + "\x1b*b1W\xff" << QStringList { "#00ffff" };
    QTest::newRow("one sequence for the page") << "\x1b*b3m2v" + set + "2v" + set + "2w" + set + "0w0v2v"
            + clear + "0W" << QStringList { "#000000", "#000000", "#00ff00" };
}

void TestRasterJobs::seedRowsPerPlane()
{
    QFETCH(QByteArray, rows);
    QFETCH(QStringList, colours);
    const InterpretResult result = interpret("\x1b"
                                             "E\x1b*r-3U\x1b*r8S\x1b*v1N\x1b*r1A"
        + rows + "\x1b*rB");
    QVERIFY2(result.error.empty(), result.error.c_str());
    QVERIFY(result.plot.warnings.empty());
    // The rows of every image in turn: a Y offset starts a new one.
    QStringList found;
    for (std::size_t i = 0; i < result.plot.pages.front().images.size(); ++i) {
        const QImage image = firstImage(result, i);
        for (int y = 0; y < image.height(); ++y)
            found << QColor(image.pixel(0, y)).name();
    }
    QCOMPARE(found, colours);
}

void TestRasterJobs::placement_data()
{
    QTest::addColumn<QByteArray>("job");
    QTest::addColumn<QPointF>("expected"); // the image's top left, or the dot's position

    // Letter, portrait: the cursor's (0, 0) lies at the top margin, 10 inches above the frame's
    // bottom; 300 PCL units and 150-dpi pixels make an inch of 1016 plot units.
    // Each job resets the printer, runs its setup, and most then send one one-pixel raster row.
    const auto reset = [](const char *setup) {
        return QByteArray("\x1b"
                          "E")
            + setup;
    };
    const auto rowAfter
        = [&reset](const char *setup) { return reset(setup) + "\x1b*t150R\x1b*r1A\x1b*b1W\x80\x1b*rB"; };
    QTest::newRow("raster at the cursor") << rowAfter("\x1b*p300x600Y") << QPointF(1016, 10160 - 2032);
    QTest::newRow("left edge start ignores the cursor's x")
        << reset("\x1b*p300x600Y\x1b*t150R\x1b*r0A\x1b*b1W\x80\x1b*rB") << QPointF(0, 10160 - 2032);
    QTest::newRow("relative moves") << rowAfter("\x1b*p300x600Y\x1b*p+150x-300Y\x1b&a+720H")
                                    << QPointF(1016 + 508 + 1016, 10160 - 1016);
    QTest::newRow("units of measure") << rowAfter("\x1b&u600D\x1b*p600x1200Y") << QPointF(1016, 10160 - 2032);
    QTest::newRow("ESC%1A starts the cursor at the pen")
        << rowAfter("\x1b%1BIN;SP1;PA0,0;PR1000,2000;\x1b%1A") << QPointF(1000, 2000);
    QTest::newRow("ESC%0A keeps the cursor")
        << rowAfter("\x1b*p300x600Y\x1b%1BIN;SP1;PA0,0;PR1000,2000;\x1b%0A") << QPointF(1016, 10160 - 2032);
    QTest::newRow("the next image follows the rows drawn")
        << rowAfter("\x1b*p300x600Y\x1b*t150R\x1b*r1A\x1b*b1W\x80\x1b*b1W\x80\x1b*rB")
        << QPointF(1016, 10160 - 2032 - 2 * 1016 / 150.0);
    QTest::newRow("top margin 0") << rowAfter("\x1b&l0E\x1b*p300x600Y") << QPointF(1016, 10668 - 2032);
    QTest::newRow("top margin in lines of the line spacing")
        << rowAfter("\x1b&l12D\x1b&l3E\x1b*p300x600Y") << QPointF(1016, 10668 - 254 - 2032);
    QTest::newRow("top margin in lines of the motion index")
        << rowAfter("\x1b&l16C\x1b&l3E\x1b*p300x600Y") << QPointF(1016, 10668 - 1016 - 2032);
    QTest::newRow("top margin past the page is ignored")
        << rowAfter("\x1b&l99E\x1b*p300x600Y") << QPointF(1016, 10160 - 2032);
    QTest::newRow("a new orientation restores the top margin")
        << rowAfter("\x1b&l0E\x1b&l0O\x1b*p300x600Y") << QPointF(1016, 10160 - 2032);
    // A roll plotter's PS frame: the cursor starts at the HP-GL/2 origin, its x runs along Y (across
    // the roll) and its y along X (along the roll).
    QTest::newRow("after PS the cursor's axes follow the roll")
        << rowAfter("\x1b%0BPS9000,6000;\x1b%0A\x1b*p300x600Y") << QPointF(2032, 1016);
    QTest::newRow("after PS, ESC%1A starts the raster at the pen")
        << rowAfter("\x1b%0BPS9000,6000;PA500,700;\x1b%1A") << QPointF(500, 700);
    QTest::newRow("ESC%1B puts the pen at the cursor")
        << reset("\x1b*p300x600Y\x1b%1BSP1;PD;PU;") << QPointF(1016, 10160 - 2032);
}

void TestRasterJobs::placement()
{
    QFETCH(QByteArray, job);
    QFETCH(QPointF, expected);
    const InterpretResult result = interpret(job);
    QVERIFY2(result.error.empty(), result.error.c_str());
    const Page &page = result.plot.pages.back();
    const Point at = page.images.empty() ? page.points.front() : page.images.back().origin;
    QVERIFY2(std::abs(at.x - expected.x()) < 0.01 && std::abs(at.y - expected.y()) < 0.01,
        qPrintable(QStringLiteral("at %1,%2").arg(at.x).arg(at.y)));
}

void TestRasterJobs::presentation_data()
{
    QTest::addColumn<QByteArray>("setup");
    QTest::addColumn<QPointF>("across"); // one pixel along a row, in page units (+y up)
    QTest::addColumn<QPointF>("down");
    const double pixel = 1016.0 / 150;
    QTest::newRow("portrait") << QByteArray() << QPointF(pixel, 0) << QPointF(0, -pixel);
    QTest::newRow("landscape turns rows to the paper's width")
        << QByteArray("\x1b&l1O") << QPointF(0, -pixel) << QPointF(-pixel, 0);
    QTest::newRow("reverse landscape too")
        << QByteArray("\x1b&l3O") << QPointF(0, -pixel) << QPointF(-pixel, 0);
    QTest::newRow("reverse portrait follows the logical page")
        << QByteArray("\x1b&l2O") << QPointF(pixel, 0) << QPointF(0, -pixel);
    QTest::newRow("landscape, rows along the logical page")
        << QByteArray("\x1b&l1O\x1b*r0F") << QPointF(pixel, 0) << QPointF(0, -pixel);
    QTest::newRow("landscape, r3F after r0F")
        << QByteArray("\x1b&l1O\x1b*r0F\x1b*r3F") << QPointF(0, -pixel) << QPointF(-pixel, 0);
    QTest::newRow("a roll plotter's rows run across the roll, from the origin along it")
        << QByteArray("\x1b%0BPS9000,6000;\x1b%0A") << QPointF(0, pixel) << QPointF(pixel, 0);
}

void TestRasterJobs::presentation()
{
    QFETCH(QByteArray, setup);
    QFETCH(QPointF, across);
    QFETCH(QPointF, down);
    const InterpretResult result = interpret("\x1b"
                                             "E"
        + setup + "\x1b*p300x600Y\x1b*t150R\x1b*r1A\x1b*b1W\x80\x1b*b1W\x80\x1b*rB");
    QVERIFY2(result.error.empty(), result.error.c_str());
    const RasterImage &image = result.plot.pages.front().images.front();
    QCOMPARE(QPointF(image.across.x, image.across.y), across);
    QCOMPARE(QPointF(image.down.x, image.down.y), down);
}

void TestRasterJobs::rectangles_data()
{
    QTest::addColumn<QByteArray>("commands"); // after ESC E on Letter with the cursor at (1", 2")
    QTest::addColumn<QRectF>("area"); // left, bottom, width, height; null for none
    QTest::addColumn<QString>("style");

    // The cursor's (1", 2") is (1016, 8128) on the page; rectangles reach right and down.
    const QRectF inch(1016, 8128 - 508, 1016, 508);
    QTest::newRow("solid in dots") << QByteArray("\x1b*c300a150b0P") << inch << "0,0,0";
    QTest::newRow("solid in decipoints") << QByteArray("\x1b*c720h360v0P") << inch << "0,0,0";
    QTest::newRow("units of measure")
        << QByteArray("\x1b&u600D\x1b*c600a300b0P") << QRectF(1016, 8128 - 508, 1016, 508) << "0,0,0";
    QTest::newRow("white") << QByteArray("\x1b*c300a150b1P") << inch << "255,255,255";
    QTest::newRow("shading") << QByteArray("\x1b*c300a150b25g2P") << inch << "0,0,0 at 30%";
    QTest::newRow("cross-hatch") << QByteArray("\x1b*c300a150b5g3P") << inch << "0,0,0 grid 0";
    QTest::newRow("diagonal hatch") << QByteArray("\x1b*c300a150b4g3P") << inch << "0,0,0 lines 135";
    QTest::newRow("user pattern") << "\x1b*c7G\x1b*c10W" + QByteArray("\x00\x00\x01\x00\x00\x02\x00\x08", 8)
            + "\xf0\x0f\x1b*c300a150b4P"
                                  << inch << "0,0,0 at 50%";
    QTest::newRow("current pattern") << QByteArray("\x1b*c50G\x1b*v2T\x1b*c0g300a150b5P") << inch
                                     << "0,0,0 at 45%";
    QTest::newRow("cut to the paper")
        << QByteArray("\x1b*c9000a150b0P") << QRectF(1016, 8128 - 508, 8382 - 1016, 508) << "0,0,0";
    QTest::newRow("HP-GL/2's window does not cut it")
        << QByteArray("\x1b%0BIW0,0,10,10;\x1b%0A\x1b*p300x600Y\x1b*c300a150b0P") << inch << "0,0,0";
    QTest::newRow("a roll plotter's, across the roll and along it")
        << QByteArray("\x1b%0BPS9000,6000;PA1016,2032;\x1b%1A\x1b*c300a150b0P")
        << QRectF(1016, 2032, 508, 1016) << "0,0,0";
    QTest::newRow("undefined user pattern") << QByteArray("\x1b*c300a150b9g4P") << QRectF() << QString();
    QTest::newRow("unknown cross-hatch") << QByteArray("\x1b*c300a150b7g3P") << QRectF() << QString();
    QTest::newRow("no size") << QByteArray("\x1b*c0P") << QRectF() << QString();
}

void TestRasterJobs::rectangles()
{
    QFETCH(QByteArray, commands);
    QFETCH(QRectF, area);
    QFETCH(QString, style);
    // A mark to keep the page when no rectangle is drawn.
    const InterpretResult result = interpret("\x1b"
                                             "E\x1b*p300x600Y"
        + commands + "\x1b%1BSP1;PA0,0;PD;PU;");
    QVERIFY2(result.error.empty(), result.error.c_str());
    const Page &page = result.plot.pages.front();
    std::vector<const Item *> fills;
    for (const Item &item : page.items)
        if (item.kind == ItemKind::Fill)
            fills.push_back(&item);
    if (area.isNull()) {
        QVERIFY(fills.empty());
        return;
    }
    QCOMPARE(fills.size(), std::size_t(1));
    const PathSpan &path = page.paths[fills.front()->firstPath];
    Rect box { 1e9, 1e9, -1e9, -1e9 };
    for (std::uint32_t i = 0; i < path.count; ++i) {
        const Point p = page.points[path.first + i];
        box = { std::min(box.left, p.x), std::min(box.bottom, p.y), std::max(box.right, p.x),
            std::max(box.top, p.y) };
    }
    QCOMPARE(QRectF(box.left, box.bottom, box.right - box.left, box.top - box.bottom), area);
    const FillStyle &fill = page.fillStyles[fills.front()->style];
    QString text = QStringLiteral("%1,%2,%3").arg(fill.colour.r).arg(fill.colour.g).arg(fill.colour.b);
    if (fill.tint != 100)
        text += QStringLiteral(" at %1%").arg(fill.tint);
    if (fill.pattern != FillPattern::Solid)
        text += QStringLiteral(" %1 %2")
                    .arg(fill.pattern == FillPattern::CrossHatch ? "grid" : "lines")
                    .arg(fill.hatchAngle);
    QCOMPARE(text, style);
}

void TestRasterJobs::textIsReported()
{
    // Once for each page that has text, whatever it draws, and not for control characters.
    const InterpretResult result = interpret("\x1b"
                                             "E\x1b%1BSP1;PD1,1;\x1b%1AHello\r\nthere\x1b*p0Ytoo\f\r\n"
                                             "\x1b%1BPD2,2;\x1b%1A\fMore\f");
    QVERIFY2(result.error.empty(), result.error.c_str());
    const std::vector<std::string> expected { "PCL text is not drawn (page 1)",
        "PCL text is not drawn (page 3)" };
    QCOMPARE(result.plot.warnings, expected);
}

void TestRasterJobs::colourModes_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<QColor>("red");
    QTest::addColumn<QColor>("white");
    QTest::newRow("colour") << int(ColourMode::Colour) << QColor(255, 0, 0) << QColor(Qt::white);
    QTest::newRow("grey") << int(ColourMode::GreyScale) << QColor(76, 76, 76) << QColor(Qt::white);
    QTest::newRow("black and white") << int(ColourMode::BlackAndWhite) << QColor(Qt::black)
                                     << QColor(Qt::white);
}

void TestRasterJobs::colourModes()
{
    QFETCH(int, mode);
    QFETCH(QColor, red);
    QFETCH(QColor, white);
    RasterImage image;
    image.width = 2;
    image.height = 1;
    image.whiteIsTransparent = false;
    const PageTransform transform = PageTransform::fit({ 0, 0, 1, 1 }, QRectF(0, 0, 1, 1), QSizeF(96, 96));
    const RasterPainter painter(transform, ColourMode(mode));
    for (RasterFormat format : { RasterFormat::Indexed, RasterFormat::Rgb }) {
        image.format = format;
        image.palette = { { 255, 0, 0 }, { 255, 255, 255 } };
        image.pixels = format == RasterFormat::Rgb ? std::vector<std::uint8_t> { 255, 0, 0, 255, 255, 255 }
                                                   : std::vector<std::uint8_t> { 0, 1 };
        const QImage shown = painter.fullImage(image);
        QCOMPARE(shown.pixelColor(0, 0), red);
        QCOMPARE(shown.pixelColor(1, 0), white);
        // Averaged down, red and white mix as the mode's colours do.
        const QColor mixed = painter.reducedImage(image, QSize(1, 1)).pixelColor(0, 0);
        QVERIFY(std::abs(mixed.red() - (red.red() + 255) / 2) <= 1);
        QVERIFY(std::abs(mixed.green() - (red.green() + 255) / 2) <= 1);
    }
}

void TestRasterJobs::stackingOrder()
{
    // A black square, then an image whose white pixels let it show and whose red pixels cover
    // it, then a green line over the image.
    // The image covers x 0 to 1016 and y 8128 to 10160: red left of x 541, white right of it.
    const QByteArray plane = QByteArray(10, '\x00') + QByteArray(9, '\xff');
    const QByteArray job = "\x1b"
                           "E\x1b%1BIN;SP1;PA0,7000;RR2032,2032;\x1b%0A\x1b*r3U\x1b*t150R\x1b*p0x0Y"
                           "\x1b*r150S\x1b*r1A"
        + plottest::encodeTransfers(QList<QByteArray>(300, QByteArray(19, '\xff') + plane + plane), 0, 3)
        + "\x1b*rB\x1b%0BSP3;PA0,9500;PD500,9500;";
    const InterpretResult result = interpret(job);
    QVERIFY2(result.error.empty(), result.error.c_str());
    const Page &page = result.plot.pages.front();
    QCOMPARE(page.items.size(), std::size_t(3));
    QCOMPARE(page.items[0].kind, ItemKind::Fill);
    QCOMPARE(page.items[1].kind, ItemKind::Image);
    QCOMPARE(page.items[2].kind, ItemKind::Stroke);
    // Pictured at 100 pixels to the inch from the page's top left (x 0, y 10160 + 508).
    const QImage picture = renderPlotPicture(page, QSize(850, 1100), RenderOptions {});
    auto at = [&](double x, double y) {
        const Rect frame = page.frame;
        const double px = (x - frame.left) / (frame.right - frame.left) * picture.width();
        const double py = (frame.top - y) / (frame.top - frame.bottom) * picture.height();
        return picture.pixelColor(int(px), int(py));
    };
    QCOMPARE(at(300, 9000), QColor(Qt::red)); // the image's red columns over the square
    QCOMPARE(at(800, 9000), QColor(Qt::black)); // its white columns show the square
    QCOMPARE(at(1500, 9000), QColor(Qt::black)); // the square beside the image
    QVERIFY(at(250, 9500).green() > 100 && at(250, 9500).red() < 100); // the line over the image
}

void TestRasterJobs::limits_data()
{
    QTest::addColumn<QByteArray>("job");
    QTest::addColumn<QString>("error");
    QTest::newRow("declared past the pixels of a page")
        << QByteArray("\x1b"
                      "E\x1b*r60000S\x1b*r5000T\x1b*r1A\x1b*b1W\x80\x1b*rB")
        << QStringLiteral("the raster image of 60000 x 5000 pixels is too large to display");
    QTest::newRow("declared wider than any page")
        << QByteArray("\x1b"
                      "E\x1b*r100000S\x1b*r1A\x1b*b1W\x80\x1b*rB")
        << QStringLiteral("the raster image of 100000 x 1 pixels is too large to display");
}

void TestRasterJobs::limits()
{
    QFETCH(QByteArray, job);
    QFETCH(QString, error);
    const InterpretResult result = interpret(job);
    QVERIFY2(QString::fromStdString(result.error).startsWith(error), result.error.c_str());
    QVERIFY(result.plot.pages.empty());
}

void TestRasterJobs::brokenData_data()
{
    QTest::addColumn<QByteArray>("job");
    QTest::addColumn<int>("rows");
    QTest::addColumn<QString>("warning");
    const QByteArray start = "\x1b"
                             "E\x1b*r16S\x1b*r1A";
    QTest::newRow("row cut short by the end of the file")
        << start + "\x1b*b2W\xff\xff\x1b*b2W\xff\xff\x1b*b2W\xff" << 2
        << QStringLiteral("a raster image ends early at row 3: the file ends inside the row");
    QTest::newRow("malformed run length row")
        << start + "\x1b*b1m2W\x01\xff\x1b*b3W\x01\xff\x01\x1b*b2W\x01\xff\x1b*rB" << 1
        << QStringLiteral("a raster image ends early at row 2: its compressed data is malformed");
    QTest::newRow("malformed adaptive block")
        << start + QByteArray("\x1b*b5m7W\x00\x00\x02\xff\xff\x02\x00", 14) << 1
        << QStringLiteral("a raster image ends early at row 2: its compressed data is malformed");
    QTest::newRow("the next image after a broken one shows")
        << start + "\x1b*b1m1W\x01\x1b*b2W\x01\xff\x1b*rB\x1b*r1A\x1b*b0m2W\xff\xff\x1b*b2W\xff\xff\x1b*rB"
        << 2 << QStringLiteral("a raster image ends early at row 1: its compressed data is malformed");
}

void TestRasterJobs::brokenData()
{
    QFETCH(QByteArray, job);
    QFETCH(int, rows);
    QFETCH(QString, warning);
    const InterpretResult result = interpret(job);
    const auto &warnings = result.plot.warnings;
    QVERIFY(std::find(warnings.begin(), warnings.end(), warning.toStdString()) != warnings.end());
    QVERIFY2(result.error.empty(), result.error.c_str());
    QCOMPARE(result.plot.pages.front().images.back().height, std::uint32_t(rows));
}

void TestRasterJobs::rowsOffThePage_data()
{
    QTest::addColumn<QByteArray>("job");
    QTest::addColumn<QStringList>("warnings");
    // Letter at 150 dots to the inch; the cursor's (0, 0) is half an inch below the paper's top.
    const auto image = [](const char *cursor, int rows, int blankRows = 0) {
        QByteArray job = QByteArray("\x1b*t150R") + cursor + "\x1b*r1A";
        for (int row = 0; row < rows; ++row)
            job += "\x1b*b1W\xff";
        for (int row = 0; row < blankRows; ++row)
            job += QByteArray("\x1b*b1W\x00", 6);
        return job + "\x1b*rB";
    };
    const auto onPage = [](int page) {
        return QStringLiteral("raster rows that fall outside the page were not drawn (page %1)").arg(page);
    };
    const QString page1 = onPage(1);
    const QByteArray reset = "\x1b"
                             "E";
    QTest::newRow("on the page") << reset + image("\x1b*p300x300Y", 30) << QStringList {};
    QTest::newRow("below the foot of the page")
        << reset + image("\x1b*p300x3200Y", 30) << QStringList { page1 };
    QTest::newRow("across the foot of the page")
        << reset + image("\x1b*p300x3120Y", 60) << QStringList { page1 };
    QTest::newRow("right of the page") << reset + image("\x1b*p3000x300Y", 30) << QStringList { page1 };
    QTest::newRow("above the page") << reset + image("\x1b*p300x-300Y", 30) << QStringList { page1 };
    QTest::newRow("only blank rows past the foot")
        << reset + image("\x1b*p300x3000Y", 1, 100) << QStringList {};
    QTest::newRow("once a page, on each page it happens") << reset + image("\x1b*p300x3200Y", 30)
            + image("\x1b*p300x-300Y", 30) + "\f" + image("\x1b*p300x300Y", 30) + "\f"
            + image("\x1b*p3000x300Y", 30) << QStringList { page1, onPage(3) };
}

void TestRasterJobs::rowsOffThePage()
{
    QFETCH(QByteArray, job);
    QFETCH(QStringList, warnings);
    const InterpretResult result = interpret(job);
    QVERIFY2(result.error.empty(), result.error.c_str());
    QStringList found;
    for (const std::string &warning : result.plot.warnings) {
        if (QString::fromStdString(warning).startsWith(QStringLiteral("raster rows")))
            found << QString::fromStdString(warning);
    }
    QCOMPARE(found, warnings);
}

QTEST_MAIN(TestRasterJobs)
#include "tst_rasterjobs.moc"
