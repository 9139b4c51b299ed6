// Rendering alone: display lists painted into a 1024 x 768 picture.

#include "QtBenchmarkMain.h"
#include "plotviewer/render/PlotPicture.h"

#include <benchmark/benchmark.h>

#include <random>

using namespace plotviewer;

namespace {

// About what a 4 MB pen-plotter file holds: 400 000 points in short polylines over 8 pens.
Page syntheticPage(std::size_t points, double penWidth, double stepLength)
{
    Page page;
    std::mt19937 random(7);
    std::uniform_real_distribution<double> step(-stepLength, stepLength);
    for (std::uint8_t pen = 0; pen < 8; ++pen)
        page.strokeStyles.push_back(
            { Rgb { std::uint8_t(pen * 30), 0, std::uint8_t(255 - pen * 30) }, penWidth });
    Point at { 20000, 15000 };
    constexpr std::uint32_t polylineLength = 20;
    while (page.points.size() < points) {
        const auto first = std::uint32_t(page.points.size());
        for (std::uint32_t i = 0; i < polylineLength; ++i) {
            at = { std::clamp(at.x + step(random), 0.0, 40000.0),
                std::clamp(at.y + step(random), 0.0, 30000.0) };
            page.points.push_back(at);
        }
        page.paths.push_back({ first, polylineLength, false });
        const auto style = std::uint32_t(page.paths.size() / 500 % 8);
        page.items.push_back({ ItemKind::Stroke, style, std::uint32_t(page.paths.size() - 1), 1 });
    }
    page.inkBounds = { 0, 0, 40000, 30000 };
    return page;
}

// Steps of up to 200 units are several pixels in the picture; steps of 10 units (a quarter of a
// millimetre, as in finely tessellated curves) are a fraction of a pixel.
void renderSynthetic(benchmark::State &state, double penWidth, double stepLength = 200)
{
    const Page page = syntheticPage(std::size_t(state.range(0)), penWidth, stepLength);
    for (auto _ : state) {
        QImage picture = renderPlotPicture(page, QSize(1024, 768), {});
        benchmark::DoNotOptimize(picture.constBits());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_RenderHairlines(benchmark::State &state)
{
    renderSynthetic(state, 0);
}

// 0.35 mm pens on an A4 plot shown 1024 pixels wide are 1.2 pixels: drawn as hairlines.
void BM_RenderPixelWideLines(benchmark::State &state)
{
    renderSynthetic(state, 47);
}

void BM_RenderWideLines(benchmark::State &state)
{
    renderSynthetic(state, 200);
}

void BM_RenderFineHairlines(benchmark::State &state)
{
    renderSynthetic(state, 0, 10);
}

void BM_RenderFineWideLines(benchmark::State &state)
{
    renderSynthetic(state, 200, 10);
}

} // namespace

BENCHMARK(BM_RenderHairlines)->Arg(100000)->Arg(400000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RenderPixelWideLines)->Arg(400000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RenderWideLines)->Arg(100000)->Arg(400000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RenderFineHairlines)->Arg(400000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RenderFineWideLines)->Arg(400000)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    return runQtBenchmarks(argc, argv);
}
