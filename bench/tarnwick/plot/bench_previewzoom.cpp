// Zooming into a preview of a dense page: how long each zoom or pan step takes to be drawn sharp
// from the page's SVG, and what holding the page to zoom costs in memory. Run by hand:
// build/bin/bench_previewzoom
//
// Each page is the corpus's dense KiCad board or the GB01 steel drawing, its SVG made by the real
// plot server. A run zooms from the first view to 64 times in steps of 1.25 about the lower right
// quarter (where title blocks sit), then pans across at 8 times. Counters: slowest_step_ms and
// mean_step_ms (from the step to the sharp view drawn, 1024 x 768), svg_MB (the SVG as the window
// keeps it, compressed), held_MB (resident memory the window's drawing adds once parsed and drawn).

#include "BenchmarkCorpus.h"
#include "BenchmarkScratch.h"
#include "ProcessMemory.h"
#include "QtBenchmarkMain.h"
#include "contract/PlotViewerContract.h"
#include "tarnwick/automation/AutomationObject.h"
#include "tarnwick/plot/PageZoom.h"
#include "tarnwick/plot/PreviewPages.h"
#include "tarnwick/plot/ZoomedPageDrawer.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QTimer>
#include <benchmark/benchmark.h>

#include <exception>

namespace {

const char *const pages[] = { "kicad-demo__carte_test-B_Cu.plt", "ezdxf__GB01_Stahlbau.plt" };

QByteArray svgOf(const QString &plot)
{
    static const AutomationObject server = AutomationObject::create(QString::fromLatin1(PlotViewer::ProgId));
    const QString file = benchmarkScratch().filePath(QStringLiteral("page.svg"));
    server.callObject(PlotViewer::Open, { plot }).call(PlotViewer::SaveSvgPageTo, { 1, file });
    QFile svg(file);
    return svg.open(QIODevice::ReadOnly) ? svg.readAll() : QByteArray();
}

/// Draws the view `zoom` shows and waits for it, in milliseconds.
double drawnAfter(ZoomedPageDrawer &drawer, const PageZoom &zoom, QSize view)
{
    QElapsedTimer clock;
    clock.start();
    QEventLoop loop;
    const QMetaObject::Connection done
        = QObject::connect(&drawer, &ZoomedPageDrawer::drawn, &loop, [&](const QImage &, const QRectF &page) {
              if (page == zoom.pageRect())
                  loop.quit();
          });
    drawer.request(view, 1, zoom.pageRect());
    loop.exec();
    QObject::disconnect(done);
    return double(clock.nsecsElapsed()) / 1e6;
}

void ZoomSteps(benchmark::State &state)
{
    const QString plot = benchmarkCorpusFolder() + u'/' + QLatin1String(pages[state.range(0)]);
    state.SetLabel(pages[state.range(0)]);
    QByteArray svg;
    try {
        svg = svgOf(plot);
    } catch (const std::exception &failure) {
        state.SkipWithError(failure.what());
        return;
    }
    if (svg.isEmpty()) {
        state.SkipWithError("no SVG: the corpus or the plot server is missing");
        return;
    }
    const QSize view(1024, 768);
    for (auto _ : state) {
        const long before = statusKilobytes("VmRSS:");
        PreviewPages kept;
        kept.setDrawing(0, svg);
        ZoomedPageDrawer drawer;
        drawer.setDrawing(kept.drawing(0));
        PageZoom zoom(view);
        const QPointF titleBlock(view.width() * 0.85, view.height() * 0.85);
        double slowest = 0;
        double total = 0;
        int steps = 0;
        const auto step = [&] {
            const double ms = drawnAfter(drawer, zoom, view);
            slowest = std::max(slowest, ms);
            total += ms;
            ++steps;
        };
        zoom.zoomAbout(titleBlock, PageZoom::step);
        drawnAfter(drawer, zoom, view); // the page parsed in the drawer's thread: not a step
        while (zoom.zoomAbout(titleBlock, PageZoom::step))
            step();
        zoom.reset();
        zoom.zoomAbout(QPointF(0, 0), 8);
        while (zoom.pan(QPointF(-view.width() / 8.0, 0)))
            step();
        state.counters["slowest_step_ms"] = slowest;
        state.counters["mean_step_ms"] = total / std::max(1, steps);
        state.counters["steps"] = steps;
        state.counters["svg_MB"] = double(qCompress(svg, 1).size()) / (1 << 20);
        state.counters["held_MB"] = double(statusKilobytes("VmRSS:") - before) / 1024;
    }
}

BENCHMARK(ZoomSteps)->DenseRange(0, 1)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    return runQtBenchmarks(argc, argv);
}
