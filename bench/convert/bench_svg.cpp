// SVG out of a dense page against PDF out of the same: the corpus's dense KiCad board converted as
// plotconvert does (read, interpret, draw, write). Goals: the SVG at most 4 times the plot file's
// size, written in at most twice the PDF's time. Run on demand: build/bin/bench_svg
//
// Counters: output_KB, size_to_plot (the output's size over the plot file's).

#include "BenchmarkCorpus.h"
#include "BenchmarkScratch.h"
#include "QtBenchmarkMain.h"
#include "plotviewer/convert/FileConversion.h"

#include <QFileInfo>

#include <benchmark/benchmark.h>

using namespace plotviewer;

namespace {

void convertBoard(benchmark::State &state, ConvertOptions::Format format, const char *extension)
{
    const QString input = benchmarkCorpusFolder() + QStringLiteral("/kicad-demo__carte_test-B_Cu.plt");
    if (!QFileInfo::exists(input)) {
        state.SkipWithError("the corpus is missing");
        return;
    }
    ConvertOptions options;
    options.format = format;
    const QString output = benchmarkScratch().filePath(QStringLiteral("board.") + QLatin1String(extension));
    for (auto _ : state) {
        const ConversionResult result = convertFile(input, output, options, [] {});
        if (result.exit != ConvertExit::Success) {
            state.SkipWithError("conversion failed");
            return;
        }
    }
    state.counters["output_KB"] = double(QFileInfo(output).size()) / 1024;
    state.counters["size_to_plot"] = double(QFileInfo(output).size()) / double(QFileInfo(input).size());
}

BENCHMARK_CAPTURE(convertBoard, pdf, ConvertOptions::Format::Pdf, "pdf")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(convertBoard, svg, ConvertOptions::Format::Svg, "svg")->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    return runQtBenchmarks(argc, argv);
}
