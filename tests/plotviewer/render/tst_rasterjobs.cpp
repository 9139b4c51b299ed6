// Raster jobs end to end: known images written as PCL raster (by the test's own encoder and by
// netpbm when installed) must come back as the same pixels and pictures; raster placement in
// HP-GL/2 pages; colour modes; size limits and broken data.

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

enum class Colours { Monochrome, Planes, Direct };

// A picture with edges, areas and (for colour) every primary, `width` x `height`.
QImage knownImage(Colours colours, int width = 97, int height = 61)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const bool ink
                = (x / 7 + y / 5) % 3 == 0 || x == y || (x - 40) * (x - 40) + (y - 30) * (y - 30) < 150;
            QRgb colour = ink ? qRgb(0, 0, 0) : qRgb(255, 255, 255);
            if (colours == Colours::Planes && ink)
                colour = qRgb((x / 8) % 2 ? 255 : 0, (y / 8) % 2 ? 255 : 0, ((x + y) / 16) % 2 ? 255 : 0);
            if (colours == Colours::Direct && ink)
                colour = qRgb(x * 255 / width, y * 255 / height, (x * y) % 256);
            image.setPixel(x, y, colour);
        }
    }
    return image;
}

// The rows of `image` as PCL wants them: packed bits, one plane per primary, or RGB bytes.
QList<QByteArray> rowsOf(const QImage &image, Colours colours, int &planes)
{
    planes = colours == Colours::Planes ? 3 : 1;
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
            for (int plane = 0; plane < planes; ++plane) {
                QByteArray bits((image.width() + 7) / 8, '\0');
                for (int x = 0; x < image.width(); ++x) {
                    const QRgb c = image.pixel(x, y);
                    const bool set = colours == Colours::Monochrome ? qRed(c) == 0
                                                                    : (plane == 0          ? qRed(c)
                                                                              : plane == 1 ? qGreen(c)
                                                                                           : qBlue(c))
                            != 0;
                    if (set)
                        bits[x / 8] = char(bits[x / 8] | 0x80 >> (x % 8));
                }
                row += bits;
            }
        }
        rows.append(row);
    }
    return rows;
}

QByteArray rasterJob(const QImage &image, Colours colours, int mode, bool opaque = false)
{
    int planes = 1;
    const QList<QByteArray> rows = rowsOf(image, colours, planes);
    QByteArray job("\x1b"
                   "E\x1b*t150R\x1b*p300x300Y");
    if (colours == Colours::Planes)
        job += "\x1b*r3U";
    if (colours == Colours::Direct)
        job += QByteArray("\x1b*v6W\x00\x03\x08\x08\x08\x08", 11);
    if (opaque)
        job += "\x1b*v1N";
    job += "\x1b*r" + QByteArray::number(image.width()) + "S\x1b*r1A\x1b*b" + QByteArray::number(mode) + "M";
    job += plottest::encodeTransfers(rows, mode, planes);
    return job
        + "\x1b*rB\x1b"
          "E";
}

InterpretResult interpret(const QByteArray &bytes)
{
    return interpretPlot({ bytes.constData(), std::size_t(bytes.size()) });
}

// The page's first image as the renderer sees it in colour, with transparent white shown white.
QImage firstImage(const InterpretResult &result)
{
    if (result.plot.pages.empty() || result.plot.pages.front().images.empty())
        return {};
    const PageTransform transform = PageTransform::fit({ 0, 0, 1, 1 }, QRectF(0, 0, 1, 1), QSizeF(96, 96));
    QImage pixels = RasterPainter(transform, ColourMode::Colour)
                        .fullImage(result.plot.pages.front().images.front())
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
    void placement_data();
    void placement();
    void colourModes_data();
    void colourModes();
    void stackingOrder();
    void limits_data();
    void limits();
    void brokenData_data();
    void brokenData();
};

void TestRasterJobs::roundTrip_data()
{
    QTest::addColumn<int>("colours");
    QTest::addColumn<int>("mode");
    const std::pair<Colours, const char *> kinds[] = { { Colours::Monochrome, "monochrome" },
        { Colours::Planes, "RGB planes" }, { Colours::Direct, "24-bit" } };
    for (const auto &[colours, name] : kinds) {
        for (int mode : { 0, 1, 2, 3, 5, 9 }) {
            if (colours == Colours::Planes && mode == 5)
                continue; // adaptive rows hold one plane only
            QTest::addRow("%s, mode %d", name, mode) << int(colours) << mode;
        }
    }
}

void TestRasterJobs::roundTrip()
{
    QFETCH(int, colours);
    QFETCH(int, mode);
    const QImage known = knownImage(Colours(colours));
    const InterpretResult result = interpret(rasterJob(known, Colours(colours), mode));
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

void TestRasterJobs::placement_data()
{
    QTest::addColumn<QByteArray>("job");
    QTest::addColumn<QPointF>("expected"); // the image's top left, or the dot's position

    // Letter, portrait: the cursor's (0, 0) lies at the top margin, 10 inches above the frame's
    // bottom; 300 PCL units and 150-dpi pixels make an inch of 1016 plot units.
    const QByteArray row = "\x1b*t150R\x1b*r1A\x1b*b1W\x80\x1b*rB";
    QTest::newRow("raster at the cursor") << "\x1b"
                                             "E\x1b*p300x600Y"
            + row << QPointF(1016, 10160 - 2032);
    QTest::newRow("left edge start ignores the cursor's x")
        << QByteArray("\x1b"
                      "E\x1b*p300x600Y\x1b*t150R\x1b*r0A\x1b*b1W\x80\x1b*rB")
        << QPointF(0, 10160 - 2032);
    QTest::newRow("relative moves") << "\x1b"
                                       "E\x1b*p300x600Y\x1b*p+150x-300Y\x1b&a+720H"
            + row << QPointF(1016 + 508 + 1016, 10160 - 1016);
    QTest::newRow("units of measure") << "\x1b"
                                         "E\x1b&u600D\x1b*p600x1200Y"
            + row << QPointF(1016, 10160 - 2032);
    QTest::newRow("ESC%1A starts the cursor at the pen") << "\x1b"
                                                            "E\x1b%1BIN;SP1;PA0,0;PR1000,2000;\x1b%1A"
            + row << QPointF(1000, 2000);
    QTest::newRow("ESC%0A keeps the cursor") << "\x1b"
                                                "E\x1b*p300x600Y\x1b%1BIN;SP1;PA0,0;PR1000,2000;\x1b%0A"
            + row << QPointF(1016, 10160 - 2032);
    QTest::newRow("the next image follows the rows drawn")
        << "\x1b"
           "E\x1b*p300x600Y\x1b*t150R\x1b*r1A\x1b*b1W\x80\x1b*b1W\x80\x1b*rB"
            + row
        << QPointF(1016, 10160 - 2032 - 2 * 1016 / 150.0);
    QTest::newRow("ESC%1B puts the pen at the cursor") << QByteArray("\x1b"
                                                                     "E\x1b*p300x600Y\x1b%1BSP1;PD;PU;")
                                                       << QPointF(1016, 10160 - 2032);
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

QTEST_MAIN(TestRasterJobs)
#include "tst_rasterjobs.moc"
