// Printer jobs as real drivers write them: Ghostscript turns one PostScript page into the PCL job of
// each DeskJet, LaserJet, PaintJet and Color LaserJet driver (and the HP-GL/2 job with raster of a
// roll plotter), and into a picture of its own. The job drawn here must show what Ghostscript's
// picture shows, block by block, dithering aside.

#include "PictureInk.h"

#include "plotviewer/interpreter/PlotInterpreter.h"
#include "plotviewer/render/PlotPicture.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTransform>

using namespace plotviewer;
using plotviewer::test::bestProfileOffset;

namespace {

// Colour areas and lines of every primary, a grey band and a diagonal, on A4 (PAGE_SIZE).
constexpr char page[] = "%!PS\n"
                        "<< /PageSize [PAGE_SIZE] >> setpagedevice\n"
                        "/inch { 72 mul } def\n"
                        "1 0 0 setrgbcolor 1 inch 8 inch 2 inch 1.5 inch rectfill\n"
                        "0 1 0 setrgbcolor 3.5 inch 8 inch 2 inch 1.5 inch rectfill\n"
                        "0 0 1 setrgbcolor 6 inch 8 inch 1.5 inch 1.5 inch rectfill\n"
                        "0 setgray 6 setlinewidth 1 inch 6 inch moveto 7 inch 7.5 inch lineto stroke\n"
                        "1 1 0 setrgbcolor 2 inch 4 inch 1 inch 0 360 arc fill\n"
                        "0 1 1 setrgbcolor 4.25 inch 4 inch 1 inch 0 360 arc fill\n"
                        "1 0 1 setrgbcolor 6.5 inch 4 inch 1 inch 0 360 arc fill\n"
                        "0 setgray 1 inch 10 inch 6 inch 0.5 inch rectfill\n"
                        "0.5 setgray 1 inch 1 inch 6 inch 1 inch rectfill\n"
                        "showpage\n";

constexpr int dotsPerInch = 50;
constexpr int blockPixels = 5; // tenth-inch blocks, wider than any dither cell
constexpr int maximumShift = 26; // half an inch

// Drivers print at their own resolution; the picture is made at `options`' one.
bool runGhostscript(const QString &gs, const QString &device, const QString &input, const QString &output,
    const QStringList &options = {})
{
    QProcess process;
    process.start(gs,
        QStringList { QStringLiteral("-q"), QStringLiteral("-dSAFER"), QStringLiteral("-dBATCH"),
            QStringLiteral("-dNOPAUSE"), QStringLiteral("-sDEVICE=") + device,
            QStringLiteral("-sOutputFile=") + output }
            + options + QStringList { input });
    return process.waitForFinished(120000) && process.exitStatus() == QProcess::NormalExit
        && process.exitCode() == 0;
}

// The mean of each block, in grey (monochrome drivers) or colour.
QImage blocks(const QImage &picture, bool grey)
{
    QImage averaged = picture.convertToFormat(QImage::Format_RGB32)
                          .scaled(picture.width() / blockPixels, picture.height() / blockPixels,
                              Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    if (grey)
        averaged = averaged.convertToFormat(QImage::Format_Grayscale8).convertToFormat(QImage::Format_RGB32);
    return averaged;
}

// How much ink each row (or column) of a picture holds, in grey levels.
std::vector<long> inkProfile(const QImage &picture, bool rows)
{
    const QImage grey = picture.convertToFormat(QImage::Format_Grayscale8);
    std::vector<long> profile(std::size_t(rows ? grey.height() : grey.width()));
    for (int y = 0; y < grey.height(); ++y) {
        const uchar *line = grey.constScanLine(y);
        for (int x = 0; x < grey.width(); ++x)
            profile[std::size_t(rows ? y : x)] += 255 - line[x];
    }
    return profile;
}

struct Difference
{
    double mean = 255; // over all blocks and channels, 0 to 255
    int largest = 255; // the worst block's worst channel
};

Difference difference(const QImage &a, const QImage &b)
{
    if (a.size() != b.size())
        return {};
    Difference result { 0, 0 };
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y);
            const QRgb q = b.pixel(x, y);
            for (int channel : { std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                     std::abs(qBlue(p) - qBlue(q)) }) {
                result.mean += channel;
                result.largest = std::max(result.largest, channel);
            }
        }
    }
    result.mean /= 3.0 * a.width() * a.height();
    return result;
}

} // namespace

class TestDriverJobs : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void matchesGhostscript_data();
    void matchesGhostscript();

private:
    QString m_gs;
    QTemporaryDir m_dir;
    QImage m_expected[2]; // portrait, landscape
};

void TestDriverJobs::initTestCase()
{
    m_gs = QStandardPaths::findExecutable(QStringLiteral("gs"));
    if (m_gs.isEmpty())
        QSKIP("Ghostscript is not installed (scripts/setup-debian.sh installs it)");
    for (const bool landscape : { false, true }) {
        QFile source(
            m_dir.filePath(landscape ? QStringLiteral("landscape.ps") : QStringLiteral("portrait.ps")));
        QVERIFY(source.open(QIODevice::WriteOnly));
        source.write(QByteArray(page).replace("PAGE_SIZE", landscape ? "842 595" : "595 842"));
        source.close();
        const QString picture = source.fileName() + QStringLiteral(".png");
        QVERIFY(runGhostscript(m_gs, QStringLiteral("png16m"), source.fileName(), picture,
            { QStringLiteral("-r%1").arg(dotsPerInch) }));
        QVERIFY(m_expected[landscape].load(picture));
    }
}

void TestDriverJobs::matchesGhostscript_data()
{
    QTest::addColumn<QString>("device");
    QTest::addColumn<bool>("grey");
    QTest::addColumn<bool>("landscape");
    QTest::addColumn<bool>("plotter");
    struct Device
    {
        const char *name;
        bool grey;
        bool landscape = false;
        // A roll plotter's page runs along the roll, the X of its PS: it shows Ghostscript's page
        // turned a quarter anticlockwise, the top of the paper on the left.
        bool plotter = false;
    };
    // Not here: cljet5 and cljet5pr, which leave the printer to feed the paper long edge first (their
    // portrait page is the paper's length wide, which nothing in the job says); the DeskJets that
    // configure their raster with ESC*g#W (cdj670 and later), which are not drawn; cdj1600, which
    // writes each row's planes after an ESC*b#Y that has ended its sequence, where a printer reads
    // text; and the colour models of the hpdj drivers, whose jobs lack the page's colours.
    const Device devices[] = {
        { "cdj550", false }, // DeskJet 550C: KCMY planes by plane, mode 9, one combined sequence a page
        { "cdj500", false }, // DeskJet 500C: CMY planes
        { "cdjcolor", false }, // 24-bit colour dithered onto CMY planes
        { "cdjmono", true }, { "djet500c", false }, { "deskjet", true }, { "djet500", true },
        { "hpdj500", true }, // modes 2 and 3
        { "hpdj550c", true }, // mode 9, one sequence a page
        { "laserjet", true }, // skips blank rows with cursor moves inside the image
        { "ljet2p", true }, { "ljet3", true },
        { "ljet4", true }, // LaserJet 4: delta rows and PackBits, the page moved by registration
        { "lj4dith", true }, // dithered colour in grey
        { "paintjet", false }, { "pj", false }, { "pjetxl", false }, { "pjxl", false }, { "lj250", false },
        { "pjxl300", false }, // PaintJet XL300: CMY planes
        { "cljet5c", false }, // Color LaserJet 5: 24-bit pixels, delta rows
        { "dnj650c", false, false, true }, // DesignJet 650C: PS, then raster entered at the pen (ESC%1A)
    };
    for (const Device &device : devices)
        QTest::newRow(device.name) << QString::fromLatin1(device.name) << device.grey << device.landscape
                                   << device.plotter;
}

void TestDriverJobs::matchesGhostscript()
{
    QFETCH(QString, device);
    QFETCH(bool, grey);
    QFETCH(bool, landscape);
    QFETCH(bool, plotter);
    const QImage expected
        = plotter ? m_expected[landscape].transformed(QTransform().rotate(-90)) : m_expected[landscape];
    const QString jobPath = m_dir.filePath(device + QStringLiteral(".pcl"));
    const QString source
        = m_dir.filePath(landscape ? QStringLiteral("landscape.ps") : QStringLiteral("portrait.ps"));
    if (!runGhostscript(m_gs, device, source, jobPath))
        QSKIP("this Ghostscript has no such driver");
    QFile job(jobPath);
    QVERIFY(job.open(QIODevice::ReadOnly));
    const QByteArray bytes = job.readAll();
    const InterpretResult result = interpretPlot({ bytes.constData(), std::size_t(bytes.size()) });
    QVERIFY2(result.error.empty(), result.error.c_str());
    QCOMPARE(result.plot.pages.size(), std::size_t(1));
    // Drawn at Ghostscript's resolution. Drivers that name no paper leave it to the printer (Letter
    // here, A4 for Ghostscript): both pages start at the top left, where they are compared.
    const Page &plot = result.plot.pages.front();
    const QSize pageSize(int(std::lround((plot.frame.right - plot.frame.left) / 1016 * dotsPerInch)),
        int(std::lround((plot.frame.top - plot.frame.bottom) / 1016 * dotsPerInch)));
    const QImage drawn = renderPlotPicture(plot, pageSize, RenderOptions {});
    QVERIFY2(drawn.width() > expected.width() * 0.9 && drawn.height() > expected.height() * 0.9,
        qPrintable(QStringLiteral("a page of %1 x %2").arg(drawn.width()).arg(drawn.height())));
    // Each driver takes the printer's unprintable edges for granted, which differ between printers
    // by a few tenths of an inch: the pages are compared where they line up best.
    const int dx = bestProfileOffset(inkProfile(expected, false), inkProfile(drawn, false), 0, maximumShift);
    const int dy = bestProfileOffset(inkProfile(expected, true), inkProfile(drawn, true), 0, maximumShift);
    const QRect common = QRect(QPoint(0, 0), expected.size()) & QRect(QPoint(-dx, -dy), drawn.size());
    const Difference found = difference(
        blocks(drawn.copy(common.translated(dx, dy)), grey), blocks(expected.copy(common), grey));
    const QString report
        = QStringLiteral("shifted by %1, %2 pixels, blocks differ by %3 on average, by %4 at most")
              .arg(dx)
              .arg(dy)
              .arg(found.mean, 0, 'f', 1)
              .arg(found.largest);
    // A block on a shape's edge differs by up to half its contrast where the drivers' dots (180 or 300
    // to the inch) fall between the whole-pixel shifts; a missing or wrong area differs by more.
    if (found.mean > 6 || found.largest > 128) {
        drawn.save(QDir::current().filePath(device + QStringLiteral("-drawn.png")));
        QFAIL(qPrintable(report));
    }
    qDebug("%s", qPrintable(report));
}

QTEST_MAIN(TestDriverJobs)
#include "tst_driverjobs.moc"
