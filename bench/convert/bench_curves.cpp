// Curves asked for in chords far finer than the output can show: 2000 circles 7.5 mm across at a
// 0.01 degree chord angle, converted as plotconvert does (read, interpret, draw, write) to a
// 1024 x 768 PNG and to an A4 PDF, with how far resident memory grows at the peak.
//
// Run on demand:  build/bin/bench_curves

#include "BenchmarkScratch.h"
#include "ProcessMemory.h"
#include "QtBenchmarkMain.h"
#include "plotviewer/convert/FileConversion.h"

#include <QFile>

#include <benchmark/benchmark.h>

using namespace plotviewer;

namespace {

const QString &finelyDrawnCircles()
{
    static const QString path = [] {
        const QString file = benchmarkScratch().filePath(QStringLiteral("fine-circles.plt"));
        QByteArray plot = "IN;SP1;";
        for (int i = 0; i < 2000; ++i)
            plot += "PA" + QByteArray::number(i % 50 * 400 + 200) + ","
                + QByteArray::number(i / 50 * 400 + 200) + ";CI150,0.01;";
        QFile out(file);
        if (out.open(QIODevice::WriteOnly))
            out.write(plot);
        return file;
    }();
    return path;
}

void convertCircles(benchmark::State &state, ConvertOptions::Format format, const char *extension)
{
    ConvertOptions options;
    options.format = format;
    const QString output = benchmarkScratch().filePath(QStringLiteral("fine-circles.") + extension);
    const QString &input = finelyDrawnCircles(); // written before the first measured run
    long growth = 0;
    for (auto _ : state) {
        ConversionResult result;
        const long peak = peakGrowthKilobytes([&] { result = convertFile(input, output, options, [] {}); });
        if (peak < 0 || result.exit != ConvertExit::Success) {
            state.SkipWithError(peak < 0 ? "cannot reset the peak count" : "conversion failed");
            return;
        }
        growth = std::max(growth, peak);
    }
    state.counters["peak_growth_MB"] = double(growth) / 1024;
}

void BM_FineCirclesToPng(benchmark::State &state)
{
    convertCircles(state, ConvertOptions::Format::Png, "png");
}

void BM_FineCirclesToPdf(benchmark::State &state)
{
    convertCircles(state, ConvertOptions::Format::Pdf, "pdf");
}

} // namespace

BENCHMARK(BM_FineCirclesToPng)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FineCirclesToPdf)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    return runQtBenchmarks(argc, argv);
}
