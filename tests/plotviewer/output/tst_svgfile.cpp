// Plots written as SVG: the document's size, layers and widths, and what it shows when another
// program draws it again, against our own picture of the same page.

#include "CorpusFiles.h"
#include "PictureInk.h"
#include "plotviewer/document/PlotLoader.h"
#include "plotviewer/files/SvgFile.h"
#include "plotviewer/render/PlotPicture.h"

#include <QDir>
#include <QFile>
#include <QPainter>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <QTest>

using namespace plotviewer;
using namespace plotviewer::test;

namespace {

const QSize pictureBound(1024, 768);
// Ink of one picture counts as matched when ink of the other lies this close.
constexpr int matchRadius = 2;

/// The ink of `picture` grown by `radius` pixels each way.
std::vector<bool> grown(const std::vector<bool> &ink, int width, int height, int radius)
{
    std::vector<bool> across(ink.size());
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            bool any = false;
            for (int dx = -radius; dx <= radius && !any; ++dx)
                any = x + dx >= 0 && x + dx < width && ink[std::size_t(y) * width + x + dx];
            across[std::size_t(y) * width + x] = any;
        }
    }
    std::vector<bool> result(ink.size());
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            bool any = false;
            for (int dy = -radius; dy <= radius && !any; ++dy)
                any = y + dy >= 0 && y + dy < height && across[std::size_t(y + dy) * width + x];
            result[std::size_t(y) * width + x] = any;
        }
    }
    return result;
}

/// How well the ink of two pictures of one size agrees: the F1 score of their ink pixels, each
/// side's ink matched where the other has ink within matchRadius pixels. 1 for two blank pictures.
double inkAgreement(const QImage &expected, const QImage &drawn)
{
    const std::vector<bool> want = inkMask(expected);
    const std::vector<bool> got = inkMask(drawn);
    const std::vector<bool> wantNear = grown(want, expected.width(), expected.height(), matchRadius);
    const std::vector<bool> gotNear = grown(got, drawn.width(), drawn.height(), matchRadius);
    long wanted = 0, found = 0, precise = 0, recalled = 0;
    for (std::size_t i = 0; i < want.size(); ++i) {
        wanted += want[i];
        found += got[i];
        precise += got[i] && wantNear[i];
        recalled += want[i] && gotNear[i];
    }
    if (wanted == 0 && found == 0)
        return 1;
    const double precision = found ? double(precise) / found : 0;
    const double recall = wanted ? double(recalled) / wanted : 0;
    return precision + recall > 0 ? 2 * precision * recall / (precision + recall) : 0;
}

QImage drawnAgain(const QByteArray &svg, QSize size)
{
    QImage picture(size, QImage::Format_RGB32);
    picture.fill(Qt::white);
    QSvgRenderer renderer(svg);
    QPainter painter(&picture);
    renderer.render(&painter, QRectF(picture.rect()));
    return picture;
}

QByteArray svgOf(const QByteArray &plot, const RenderOptions &options = {})
{
    QTemporaryDir dir;
    QFile file(dir.filePath(QStringLiteral("p.plt")));
    if (!file.open(QIODevice::WriteOnly) || file.write(plot) != plot.size())
        return {};
    file.close();
    const PlotLoader::Result loaded = PlotLoader::load(file.fileName());
    return loaded.document ? svgDocument(loaded.document->previewPage(), std::nullopt, options, {})
                           : QByteArray();
}

QStringList layerLabels(const QByteArray &svg)
{
    QStringList labels;
    const QRegularExpression label(
        QStringLiteral("inkscape:groupmode=\"layer\" id=\"layer\\d+\" inkscape:label=\"([^\"]*)\""));
    for (const auto &match : label.globalMatch(QString::fromUtf8(svg)))
        labels << match.captured(1);
    return labels;
}

// Files the SVG draws visibly otherwise than our picture, and why.
const QHash<QString, QString> knownDifferences {
    { QStringLiteral("hp2xx__acad.hp"),
        QStringLiteral("AutoCAD draws thick strokes as a pen going back and forth over itself; at each "
                       "turn our pictures draw the mitered join cut off at the miter limit, as LA's default "
                       "join asks, where SVG 1.1 knows no cut-off miter and bevels the join instead") },
};

} // namespace

class tst_SvgFile : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void layersFollowThePensInDrawingOrder_data()
    {
        QTest::addColumn<QByteArray>("plot");
        QTest::addColumn<QStringList>("layers");
        QTest::newRow("one pen") << QByteArray("IN;SP1;PA0,0;PD1000,0;PU;PA0,500;PD1000,500;")
                                 << QStringList { "Pen 1 #000000" };
        // A plot that returns to a pen gets a new layer of the same name: fills must keep their order.
        QTest::newRow("back to a pen") << QByteArray("IN;SP1;PA0,0;PD1000,0;SP2;PD1000,1000;SP1;PD0,1000;")
                                       << QStringList { "Pen 1 #000000", "Pen 2 #ff0000", "Pen 1 #000000" };
        QTest::newRow("a pen's colour set")
            << QByteArray("IN;PC3,0,128,255;SP3;PA0,0;PD1000,1000;") << QStringList { "Pen 3 #0080ff" };
        QTest::newRow("fill and edge of one pen")
            << QByteArray("IN;SP2;PA0,0;PM0;PD1000,0,1000,1000,0,1000;PM2;FP;EP;")
            << QStringList { "Pen 2 #ff0000" };
    }
    void layersFollowThePensInDrawingOrder()
    {
        QFETCH(QByteArray, plot);
        QFETCH(QStringList, layers);
        QCOMPARE(layerLabels(svgOf(plot)), layers);
    }

    void sizeAndWidthsAreThePrints_data()
    {
        QTest::addColumn<QByteArray>("plot");
        QTest::addColumn<QString>("expected");
        // A4 landscape page of the plot's own size, in millimetres.
        QTest::newRow("page size")
            << QByteArray("IN;PS0;SP1;PA0,0;PD100,100;")
            << "width=\"[0-9.]+mm\" height=\"[0-9.]+mm\" viewBox=\"0 0 [0-9.]+ [0-9.]+\"";
        QTest::newRow("pen width in hundredths of a millimetre")
            << QByteArray("IN;SP1;PW0.35;PA0,0;PD4000,0;") << "stroke-width=\"35\"";
        QTest::newRow("thinnest pen stays a pixel at any scale") << QByteArray(
            "IN;SP1;PW0;PA0,0;PD4000,0;") << "stroke-width=\"1\" vector-effect=\"non-scaling-stroke\"";
        QTest::newRow("round ends of a line") << QByteArray("IN;SP1;PW1;LA1,4,2,4;PA0,0;PD4000,0,4000,4000;")
                                              << "stroke-linecap=\"round\" stroke-linejoin=\"round\"";
        QTest::newRow("even-odd fill") << QByteArray("IN;SP1;PA0,0;PM0;PD1000,0,1000,1000,0,1000;PM2;FP;")
                                       << "fill=\"#000000\" fill-rule=\"evenodd\"";
    }
    void sizeAndWidthsAreThePrints()
    {
        QFETCH(QByteArray, plot);
        QFETCH(QString, expected);
        const QByteArray svg = svgOf(plot);
        QVERIFY2(QString::fromUtf8(svg).contains(QRegularExpression(expected)), svg.left(2000).constData());
    }

    void aPageKeepsItsSizeOnPaper()
    {
        QByteArray plot("IN;SP1;PA0,0;PD4000,0,4000,8000;"); // 10 by 20 cm, standing
        const QByteArray own = svgOf(plot);
        QVERIFY2(own.contains("viewBox=\"0 0"), own.left(600).constData());
        QTemporaryDir dir;
        QFile file(dir.filePath(QStringLiteral("p.plt")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(plot);
        file.close();
        const PlotLoader::Result loaded = PlotLoader::load(file.fileName());
        QVERIFY(loaded.document);
        const QByteArray onA3 = svgDocument(loaded.document->previewPage(), QPageSize(QPageSize::A3), {}, {});
        QVERIFY2(onA3.contains("width=\"297mm\" height=\"420mm\""), onA3.left(600).constData());
    }

    void drawnAgainItAgreesWithOurPicture_data()
    {
        QTest::addColumn<QString>("path");
        const QDir samples(qEnvironmentVariable("TARNWICK_SOURCE_DIR") + QStringLiteral("/samples"));
        for (const QString &name : samples.entryList({ QStringLiteral("*.plt") }, QDir::Files, QDir::Name))
            QTest::newRow(qPrintable(QStringLiteral("sample ") + name)) << samples.filePath(name);
        const QDir corpus = corpusFolder();
        const QHash<QString, QString> expectations = corpusExpectations(corpus);
        for (const QString &name : corpus.entryList(QDir::Files, QDir::Name)) {
            if (expectations.value(name) != QLatin1String("error"))
                QTest::newRow(qPrintable(name)) << corpus.filePath(name);
        }
    }
    void drawnAgainItAgreesWithOurPicture()
    {
        QFETCH(QString, path);
        const PlotLoader::Result loaded = PlotLoader::load(path);
        if (!loaded.document)
            QSKIP(qPrintable(QStringLiteral("not a plot here: %1").arg(loaded.error)));
        const Page &page = loaded.document->previewPage();
        const RenderOptions options = loaded.document->pictureOptions();
        const QImage ours = renderPlotPicture(page, pictureBound, options);
        const QImage again = drawnAgain(svgDocument(page, std::nullopt, options, {}), ours.size());
        const double agreement = inkAgreement(ours, again);
        const QString name = QFileInfo(path).fileName();
        if (agreement < 0.98) {
            // Both pictures where a person can look at them.
            const QDir failed(QDir::current().filePath(QStringLiteral("failed-renders")));
            failed.mkpath(QStringLiteral("."));
            ours.save(failed.filePath(name + QStringLiteral(".ours.png")));
            again.save(failed.filePath(name + QStringLiteral(".svg.png")));
        }
        if (knownDifferences.contains(name))
            QEXPECT_FAIL("", qPrintable(knownDifferences.value(name)), Continue);
        QVERIFY2(agreement >= 0.98, qPrintable(QStringLiteral("F1 %1").arg(agreement)));
    }

    void plotconvertWritesPagesThatLibrsvgDraws()
    {
        if (QStandardPaths::findExecutable(QStringLiteral("rsvg-convert")).isEmpty())
            QSKIP("rsvg-convert (package librsvg2-bin) is not installed");
        const QString pages
            = qEnvironmentVariable("TARNWICK_SOURCE_DIR") + QStringLiteral("/samples/pages.plt");
        if (!QFile::exists(pages))
            QSKIP("the samples folder is not beside the tests (TARNWICK_SOURCE_DIR unset)");
        QTemporaryDir dir;
        const auto run = [](const QString &program, const QStringList &arguments) {
            QProcess process;
            process.start(program, arguments);
            return process.waitForFinished(60000) && process.exitStatus() == QProcess::NormalExit
                && process.exitCode() == 0;
        };
        const QString svg = dir.filePath(QStringLiteral("pages.svg"));
        QVERIFY(run(QStringLiteral(TARNWICK_PLOTCONVERT), { pages, svg }));
        // One file a page: the name given, then numbered names beside it.
        QCOMPARE(QDir(dir.path()).entryList({ QStringLiteral("*.svg") }, QDir::Files, QDir::Name),
            (QStringList { "pages-2.svg", "pages-3.svg", "pages.svg" }));
        const QString png = dir.filePath(QStringLiteral("pages.png"));
        QVERIFY(run(QStringLiteral(TARNWICK_PLOTCONVERT), { pages, png }));
        const QImage ours(png);
        const QString drawn = dir.filePath(QStringLiteral("librsvg.png"));
        QVERIFY(run(QStringLiteral("rsvg-convert"),
            { QStringLiteral("--width=%1").arg(ours.width()),
                QStringLiteral("--height=%1").arg(ours.height()), QStringLiteral("--background-color=white"),
                QStringLiteral("--output=") + drawn, svg }));
        const QImage again = QImage(drawn).convertToFormat(QImage::Format_RGB32);
        QCOMPARE(again.size(), ours.size());
        const double agreement = inkAgreement(ours.convertToFormat(QImage::Format_RGB32), again);
        QVERIFY2(agreement >= 0.98, qPrintable(QStringLiteral("F1 %1").arg(agreement)));
    }
};

QTEST_MAIN(tst_SvgFile)
#include "tst_svgfile.moc"
