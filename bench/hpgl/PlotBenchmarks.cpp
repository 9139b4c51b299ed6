// Reading and interpreting plots: every corpus file (TARNWICK_CORPUS_DIR, else ../shared/corpus/files
// beside the source tree), a synthetic 4 MB plot and 100 MB of random bytes. Throughput is reported
// in bytes per second; --benchmark_filter=interpret shows the interpretation alone.

#include "plotviewer/interpreter/PlotInterpreter.h"
#include "plotviewer/reader/PlotReader.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

namespace {

std::filesystem::path corpusFolder()
{
    if (const char *corpus = std::getenv("TARNWICK_CORPUS_DIR"))
        return corpus;
    const char *sourceDir = std::getenv("TARNWICK_SOURCE_DIR");
    return std::filesystem::path(sourceDir ? sourceDir : TARNWICK_DEFAULT_SOURCE_DIR)
        / "../shared/corpus/files";
}

std::string fileBytes(const std::filesystem::path &path)
{
    std::ifstream file(path, std::ios::binary);
    return { std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>() };
}

// Pen-plotter style lines, PE-free HP-GL/2 with labels, arcs and fills, about `size` bytes.
std::string syntheticPlot(std::size_t size)
{
    std::mt19937 random(42);
    std::uniform_int_distribution<int> coordinate(0, 20000);
    std::string plot = "IN;PS23760,16800;SP1;";
    int block = 0;
    while (plot.size() < size) {
        plot += "SP" + std::to_string(1 + block % 7) + ";PU" + std::to_string(coordinate(random)) + ','
            + std::to_string(coordinate(random)) + ";PD";
        for (int i = 0; i < 40; ++i)
            plot += std::to_string(coordinate(random)) + ',' + std::to_string(coordinate(random))
                + (i < 39 ? "," : ";");
        if (block % 10 == 0)
            plot += "LT2,4,1;CI300;AA10000,8000,120;LT;LBLabel " + std::to_string(block) + "\x03";
        if (block % 25 == 0)
            plot += "FT3,50,45;RA" + std::to_string(coordinate(random)) + ','
                + std::to_string(coordinate(random)) + ';';
        ++block;
    }
    return plot;
}

const std::string &garbage()
{
    static const std::string bytes = [] {
        std::mt19937 random(1);
        std::string data(100u << 20, '\0');
        for (char &c : data)
            c = static_cast<char>(random());
        return data;
    }();
    return bytes;
}

void readAll(benchmark::State &state, const std::string &bytes)
{
    if (bytes.empty()) {
        state.SkipWithError("input not found (set TARNWICK_SOURCE_DIR)");
        return;
    }
    for (auto _ : state) {
        plotviewer::hpgl::PlotReader reader(bytes);
        plotviewer::hpgl::PlotCommand command;
        std::size_t commands = 0;
        while (reader.next(command))
            ++commands;
        benchmark::DoNotOptimize(commands);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
}

void interpretAll(benchmark::State &state, const std::string &bytes)
{
    if (bytes.empty()) {
        state.SkipWithError("input not found (set TARNWICK_SOURCE_DIR)");
        return;
    }
    for (auto _ : state) {
        plotviewer::InterpretResult result = plotviewer::interpretPlot(bytes);
        benchmark::DoNotOptimize(result);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
}

// Registers a reading and an interpreting case for every corpus file, named after the file.
void registerCorpusBenchmarks()
{
    std::vector<std::filesystem::path> files;
    std::error_code error;
    for (const auto &entry : std::filesystem::directory_iterator(corpusFolder(), error)) {
        if (entry.is_regular_file())
            files.push_back(entry.path());
    }
    if (files.empty()) {
        benchmark::RegisterBenchmark("corpus", [](benchmark::State &state) {
            state.SkipWithError("corpus not found (set TARNWICK_CORPUS_DIR or TARNWICK_SOURCE_DIR)");
        });
        return;
    }
    std::sort(files.begin(), files.end());
    for (const std::filesystem::path &path : files) {
        const std::string name = path.filename().string();
        benchmark::RegisterBenchmark(("readCorpusFile/" + name).c_str(), [path](benchmark::State &state) {
            readAll(state, fileBytes(path));
        })->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("interpretCorpusFile/" + name).c_str(),
            [path](benchmark::State &state) { interpretAll(state, fileBytes(path)); })
            ->Unit(benchmark::kMillisecond);
    }
}

void readSynthetic4MB(benchmark::State &state)
{
    static const std::string bytes = syntheticPlot(4u << 20);
    readAll(state, bytes);
}

void interpretSynthetic4MB(benchmark::State &state)
{
    static const std::string bytes = syntheticPlot(4u << 20);
    interpretAll(state, bytes);
}

void readGarbage100MB(benchmark::State &state)
{
    readAll(state, garbage());
}

void interpretGarbage100MB(benchmark::State &state)
{
    interpretAll(state, garbage());
}

} // namespace

BENCHMARK(readSynthetic4MB)->Unit(benchmark::kMillisecond);
BENCHMARK(interpretSynthetic4MB)->Unit(benchmark::kMillisecond);
BENCHMARK(readGarbage100MB)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(interpretGarbage100MB)->Unit(benchmark::kMillisecond)->Iterations(3);

int main(int argc, char **argv)
{
    benchmark::Initialize(&argc, argv);
    registerCorpusBenchmarks();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
