// Printing an A0 drawing on A4 paper to a PDF printer target, as DoPrint does: fitted to one
// sheet, and at actual size over the sheets it needs. Each sheet draws its share of the display
// list through its own clip, so tiling should cost well under twice the fitted print, and neither
// should hold more than a sheet's worth of output in memory.
//
// Run on demand:  build/bin/bench_tiledprint
// The drawing is made here: an A0 sheet of 280 framed parts, each with a hatched block, a bolt
// circle and a label, under 400 contour lines of 600 points each, about 2 MB of HP-GL/2.

#include "BenchmarkScratch.h"
#include "ProcessMemory.h"
#include "QtBenchmarkMain.h"
#include "plotviewer/document/PlatformPrintDialog.h"
#include "plotviewer/document/PlotLoader.h"
#include "plotviewer/document/PrintJob.h"
#include "plotviewer/document/PrinterSelection.h"
#include "plotviewer/document/SystemPrinterLookup.h"
#include "plotviewer/files/PagedPlotWriter.h"

#include <QFile>
#include <QFileInfo>
#include <QPrinter>

#include <benchmark/benchmark.h>

#include <cmath>

using namespace plotviewer;

namespace {

// A0 landscape in plot units (40 to the millimetre).
constexpr int width = 47560;
constexpr int height = 33640;
constexpr int columns = 20;
constexpr int rows = 14;
constexpr int contours = 400;
constexpr int contourPoints = 600;

QByteArray a0Drawing()
{
    QByteArray plot = "IN;SP1;PW0.35;";
    plot += "PA400,400;PD" + QByteArray::number(width - 400) + ",400," + QByteArray::number(width - 400) + ','
        + QByteArray::number(height - 400) + ",400," + QByteArray::number(height - 400) + ",400,400;PU;";
    const int cellWidth = (width - 800) / columns;
    const int cellHeight = (height - 800) / rows;
    for (int row = 0; row < rows; ++row) {
        for (int column = 0; column < columns; ++column) {
            const int x = 400 + column * cellWidth;
            const int y = 400 + row * cellHeight;
            const auto at
                = [](int px, int py) { return QByteArray::number(px) + ',' + QByteArray::number(py); };
            plot += "PA" + at(x + 100, y + 100) + ";EA" + at(x + cellWidth - 100, y + cellHeight - 100) + ';';
            plot += "PA" + at(x + 200, y + 200) + ";FT3,60,45;RA" + at(x + cellWidth / 3, y + cellHeight / 3)
                + ';';
            for (int bolt = 0; bolt < 8; ++bolt) {
                const double angle = bolt * M_PI / 4;
                plot += "PA"
                    + at(x + cellWidth * 2 / 3 + int(300 * std::cos(angle)),
                        y + cellHeight * 2 / 3 + int(300 * std::sin(angle)))
                    + ";CI60;";
            }
            plot += "PA" + at(x + 200, y + cellHeight - 400) + ";SI0.2,0.3;LBPART "
                + QByteArray::number(row * columns + column) + "\x03;";
        }
    }
    plot += "SP2;PW0.18;";
    for (int line = 0; line < contours; ++line) {
        const double base = 800 + double(height - 1600) * line / contours;
        plot += "PU" + QByteArray::number(800) + ',' + QByteArray::number(int(base)) + ";PD";
        for (int i = 1; i < contourPoints; ++i) {
            const double x = 800 + double(width - 1600) * i / contourPoints;
            const double y = base + 300 * std::sin(x / 1500.0 + line * 0.3);
            plot += QByteArray::number(int(x)) + ',' + QByteArray::number(int(y))
                + (i + 1 < contourPoints ? "," : ";");
        }
    }
    return plot + "PU;SP0;";
}

const PlotDocument &drawing()
{
    static const PlotDocument document = [] {
        const QString path = benchmarkScratch().filePath(QStringLiteral("a0-drawing.plt"));
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(a0Drawing()) < 0)
            qFatal("cannot write %s", qPrintable(path));
        file.close();
        PlotLoader::Result loaded = PlotLoader::load(path);
        if (!loaded.document)
            qFatal("cannot open the A0 drawing: %s", qPrintable(loaded.error));
        return std::move(*loaded.document);
    }();
    return document;
}

std::unique_ptr<QPrinter> a4Printer(const QString &output)
{
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setOutputFileName(output);
    printer->setPageSize(QPageSize(QPageSize::A4));
    return printer;
}

/// Prints the A0 drawing on A4 as DoPrint does, fitted (range 0) or at actual size (range 1),
/// reporting the sheets, the PDF's size and how far resident memory grew.
void BM_PrintA0OnA4(benchmark::State &state)
{
    const bool actualSize = state.range(0) == 1;
    state.SetLabel(actualSize ? "actual size, tiled" : "fitted to one sheet");
    PlotDocument document = drawing();
    PrinterSelection printers(
        std::make_shared<SystemPrinterLookup>(), std::make_shared<PlatformPrintDialog>());
    const QString output = benchmarkScratch().filePath(QStringLiteral("a0-on-a4.pdf"));
    long growth = 0;
    for (auto _ : state) {
        QString error;
        const long peak = peakGrowthKilobytes([&] {
            const std::unique_ptr<QPrinter> printer = a4Printer(output);
            if (actualSize)
                document.requestActualSize();
            PrintJob(document, printers).runOn(*printer, &error);
        });
        if (peak < 0 || !error.isEmpty()) {
            state.SkipWithError(peak < 0 ? "cannot reset the peak count in /proc/self/clear_refs"
                                         : error.toStdString().c_str());
            return;
        }
        growth = std::max(growth, peak);
    }
    state.counters["sheets"] = actualSize
        ? double(PagedPlotWriter({}).planFor(*a4Printer(output), document.plot().pages.front()).sheetCount())
        : 1;
    state.counters["pdf_MB"] = double(QFileInfo(output).size()) / (1 << 20);
    state.counters["peak_growth_MB"] = double(growth) / 1024;
}

} // namespace

BENCHMARK(BM_PrintA0OnA4)->DenseRange(0, 1)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    return runQtBenchmarks(argc, argv);
}
