// The output side end to end on the largest corpus files and two raster jobs: Open + SaveTo
// through the plugin, rendering alone, printing to a PDF printer target, and how far memory grows
// against the file's size (and, for raster, against the decoded image).
//
// Run on demand:  build/bin/bench_output
// The corpus is found as for the tests (TARNWICK_CORPUS_DIR, else ../shared/corpus/files beside
// the source tree). Its largest file is under 4 MB, so a 4 MB file is made by joining the two
// largest ones. The raster jobs are made here: an A4 page of line art at 300 dpi, one bit per
// pixel in TIFF PackBits rows, and a 2000 x 1500 colour image, 24 bits per pixel in delta rows.

#include "BenchmarkCorpus.h"
#include "BenchmarkScratch.h"
#include "ProcessMemory.h"
#include "QtBenchmarkMain.h"
#include "RasterEncoder.h"
#include "contract/AutomationInterfaces.h"
#include "contract/PlotViewerContract.h"
#include "plotviewer/document/PlatformPrintDialog.h"
#include "plotviewer/document/PlotLoader.h"
#include "plotviewer/document/PrintJob.h"
#include "plotviewer/document/PrinterSelection.h"
#include "plotviewer/document/SystemPrinterLookup.h"
#include "plotviewer/render/PlotPicture.h"

#include <QDir>
#include <QFile>
#include <QPluginLoader>
#include <QPrinter>

#include <benchmark/benchmark.h>

#include <functional>

using namespace plotviewer;

namespace {

/// The plot files to measure, smallest first: the largest corpus files and a joined 4 MB one.
QStringList benchmarkFiles()
{
    const QDir corpus(benchmarkCorpusFolder());
    QStringList largest = corpus.entryList(QDir::Files, QDir::Size).mid(0, 3);
    for (QString &name : largest)
        name = corpus.filePath(name);
    if (largest.size() < 2)
        return largest;
    const QString joined = benchmarkScratch().filePath(QStringLiteral("joined-4MB.plt"));
    QFile out(joined);
    if (out.open(QIODevice::WriteOnly)) {
        for (const QString &part : { largest[0], largest[1] }) {
            QFile in(part);
            if (in.open(QIODevice::ReadOnly))
                out.write(in.readAll());
        }
    }
    std::reverse(largest.begin(), largest.end());
    largest.append(joined);
    return largest;
}

struct RasterJob
{
    QString path;
    double decodedMegabytes = 0;
};

/// Writes a raster job of `width` x `height` pixels whose rows `row` makes, in `mode`.
RasterJob writeRasterJob(const QString &name, const QByteArray &setup, int width, int height,
    int bitsPerPixel, int mode, const std::function<QByteArray(int)> &row)
{
    QList<QByteArray> rows;
    for (int y = 0; y < height; ++y)
        rows.append(row(y));
    const QString path = benchmarkScratch().filePath(name);
    QFile out(path);
    if (out.open(QIODevice::WriteOnly)) {
        out.write("\x1b"
                  "E\x1b&l26A\x1b*t300R\x1b*p0x0Y"
            + setup + "\x1b*r" + QByteArray::number(width) + "S\x1b*r" + QByteArray::number(height)
            + "T\x1b*r1A\x1b*b" + QByteArray::number(mode) + "M");
        out.write(plottest::encodeTransfers(rows, mode));
        out.write("\x1b*rB\x1b"
                  "E");
    }
    return { path, double(width) * height * bitsPerPixel / 8 / (1 << 20) };
}

QList<RasterJob> rasterJobs()
{
    // Line art: a 5 mm grid, circles and a band of fine hatching.
    const int pageWidth = 2480;
    const RasterJob page
        = writeRasterJob(QStringLiteral("a4-300dpi-1bit.pcl"), {}, pageWidth, 3508, 1, 2, [](int y) {
              QByteArray bits(pageWidth / 8, '\0');
              for (int x = 0; x < pageWidth; ++x) {
                  const int dx = x % 600 - 300;
                  const int dy = y % 600 - 300;
                  const int ring = dx * dx + dy * dy;
                  const bool ink = x % 59 == 0 || y % 59 == 0 || (ring > 200 * 200 && ring < 204 * 204)
                      || (y > 3000 && y < 3200 && (x + y) % 7 == 0);
                  if (ink)
                      bits[x / 8] = char(bits[x / 8] | 0x80 >> (x % 8));
              }
              return bits;
          });
    // Colour: bands eight rows high of a hue sweep, as a scanned chart gives.
    const int width = 2000;
    const RasterJob photo = writeRasterJob(QStringLiteral("colour-2000x1500-24bit.pcl"),
        QByteArray("\x1b*v6W\x00\x03\x08\x08\x08\x08", 11), width, 1500, 24, 3, [](int y) {
            QByteArray pixels;
            pixels.reserve(width * 3);
            const int band = y / 8;
            for (int x = 0; x < width; ++x) {
                pixels += char((x * 255 / width + band * 3) & 0xff);
                pixels += char((band * 7) & 0xff);
                pixels += char(255 - x * 255 / width);
            }
            return pixels;
        });
    return { page, photo };
}

const QList<RasterJob> &rasters()
{
    static const QList<RasterJob> list = rasterJobs();
    return list;
}

const QStringList &files()
{
    static const QStringList list = [] {
        QStringList all = benchmarkFiles();
        for (const RasterJob &job : rasters())
            all.append(job.path);
        return all;
    }();
    return list;
}

QObject *plotServer()
{
    static QObject *server = [] {
        QPluginLoader loader(QStringLiteral(TARNWICK_PLOT_SERVER_PLUGIN));
        auto *factory = qobject_cast<AutomationServerFactory *>(loader.instance());
        QString error;
        return factory ? factory->createObject(QLatin1String(PlotViewer::ProgId), &error) : nullptr;
    }();
    return server;
}

/// The file for this run of a benchmark, named in its output; empty (and the run skipped) when
/// the corpus is missing.
QString fileFor(benchmark::State &state)
{
    const QString path = files().value(int(state.range(0)));
    if (path.isEmpty()) {
        state.SkipWithError("no corpus file");
        return {};
    }
    state.SetLabel(QFileInfo(path).fileName().toStdString());
    state.counters["file_MB"] = double(QFileInfo(path).size()) / (1 << 20);
    return path;
}

/// Open + SaveTo through the plugin, as the program makes a preview; false when either fails.
bool openAndSave(const QString &path, const QString &picture)
{
    QObject *server = plotServer();
    QObject *document = nullptr;
    if (!server
        || !QMetaObject::invokeMethod(
            server, PlotViewer::Open, Q_RETURN_ARG(QObject *, document), Q_ARG(QString, path))
        || !document) {
        return false;
    }
    const bool saved = QMetaObject::invokeMethod(document, PlotViewer::SaveTo, Q_ARG(QString, picture))
        && qobject_cast<AutomationErrorSource *>(document)->takeError().isEmpty();
    delete document;
    return saved;
}

void BM_OpenAndSaveTo(benchmark::State &state)
{
    const QString path = fileFor(state);
    const QString picture = benchmarkScratch().filePath(QStringLiteral("~plt000.jpg"));
    for (auto _ : state) {
        if (path.isEmpty() || !openAndSave(path, picture)) {
            state.SkipWithError("Open or SaveTo failed");
            return;
        }
    }
}

/// The document of the benchmark's file, or nothing with the benchmark skipped.
std::optional<PlotDocument> loadDocument(benchmark::State &state)
{
    const QString path = fileFor(state);
    if (path.isEmpty())
        return std::nullopt;
    PlotLoader::Result loaded = PlotLoader::load(path);
    if (!loaded.document)
        state.SkipWithError("Open failed");
    return std::move(loaded.document);
}

void BM_RenderOnly(benchmark::State &state)
{
    const std::optional<PlotDocument> document = loadDocument(state);
    if (!document)
        return;
    for (auto _ : state) {
        QImage picture = renderPlotPicture(document->previewPage(), QSize(1024, 768), {});
        benchmark::DoNotOptimize(picture.constBits());
    }
}

void BM_DoPrintToPdf(benchmark::State &state)
{
    std::optional<PlotDocument> document = loadDocument(state);
    if (!document)
        return;
    PrinterSelection printers(
        std::make_shared<SystemPrinterLookup>(), std::make_shared<PlatformPrintDialog>());
    for (auto _ : state) {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(benchmarkScratch().filePath(QStringLiteral("print.pdf")));
        QString error;
        if (!PrintJob(*document, printers).runOn(printer, &error)) {
            state.SkipWithError(error.toStdString().c_str());
            return;
        }
    }
}

// The growth of resident memory over one Open + SaveTo, against the file's size. A first run
// outside the count loads the picture writer's libraries, which are no part of the plot's memory.
void BM_PeakMemory(benchmark::State &state)
{
    const QString path = fileFor(state);
    const QString picture = benchmarkScratch().filePath(QStringLiteral("memory.jpg"));
    if (path.isEmpty() || !openAndSave(path, picture)) {
        state.SkipWithError("Open or SaveTo failed");
        return;
    }
    long growth = 0;
    for (auto _ : state) {
        bool saved = false;
        const long peak = peakGrowthKilobytes([&] { saved = !path.isEmpty() && openAndSave(path, picture); });
        if (peak < 0 || !saved) {
            state.SkipWithError(
                peak < 0 ? "cannot reset the peak count in /proc/self/clear_refs" : "Open or SaveTo failed");
            return;
        }
        growth = std::max(growth, peak);
    }
    const double fileMegabytes = double(QFileInfo(path).size()) / (1 << 20);
    state.counters["peak_growth_MB"] = double(growth) / 1024;
    state.counters["times_file_size"] = double(growth) / 1024 / fileMegabytes;
    for (const RasterJob &job : rasters()) {
        if (job.path == path)
            state.counters["times_decoded_image"] = double(growth) / 1024 / job.decodedMegabytes;
    }
}

} // namespace

// 0 to 3: corpus files; 4: the 1-bit A4 page; 5: the 24-bit image.
BENCHMARK(BM_OpenAndSaveTo)->DenseRange(0, 5)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RenderOnly)->DenseRange(0, 5)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DoPrintToPdf)->DenseRange(0, 5)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PeakMemory)->DenseRange(0, 5)->Iterations(3)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    return runQtBenchmarks(argc, argv);
}
