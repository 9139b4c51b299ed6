// Reading and interpreting large plots: the largest corpus files, a synthetic 4 MB plot and
// 100 MB of random bytes. Throughput is reported in bytes per second.

#include "plotviewer/interpreter/PlotInterpreter.h"
#include "plotviewer/reader/PlotReader.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

namespace {

std::string corpusFile(const std::string &name)
{
    const char *sourceDir = std::getenv("TARNWICK_SOURCE_DIR");
    const std::string root = sourceDir ? sourceDir : TARNWICK_DEFAULT_SOURCE_DIR;
    std::ifstream file(root + "/../shared/corpus/files/" + name, std::ios::binary);
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

void readCorpusFile(benchmark::State &state, const char *name)
{
    static std::string bytes;
    bytes = corpusFile(name);
    readAll(state, bytes);
}

void interpretCorpusFile(benchmark::State &state, const char *name)
{
    static std::string bytes;
    bytes = corpusFile(name);
    interpretAll(state, bytes);
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

#define CORPUS_BENCHMARKS(label, file)                                                                       \
    BENCHMARK_CAPTURE(readCorpusFile, label, file)->Unit(benchmark::kMillisecond);                           \
    BENCHMARK_CAPTURE(interpretCorpusFile, label, file)->Unit(benchmark::kMillisecond)

CORPUS_BENCHMARKS(B_Fabric_Nesting_2_8MB, "straight-coding-gcode-hpgl-viewer__B_Fabric_Nesting.plt");
CORPUS_BENCHMARKS(S_Fabric_Nesting_1_7MB, "straight-coding-gcode-hpgl-viewer__S_Fabric_Nesting.plt");
CORPUS_BENCHMARKS(composition100_1_5MB, "schwittlick-hpgl-viewer__composition100_mutoh_xp500_a1.hpgl");
CORPUS_BENCHMARKS(grashopp_PE_PCL_0_5MB, "ghostpdl__grashopp.pcl");
BENCHMARK(readSynthetic4MB)->Unit(benchmark::kMillisecond);
BENCHMARK(interpretSynthetic4MB)->Unit(benchmark::kMillisecond);
BENCHMARK(readGarbage100MB)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(interpretGarbage100MB)->Unit(benchmark::kMillisecond)->Iterations(3);

BENCHMARK_MAIN();
