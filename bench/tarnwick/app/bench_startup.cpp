// Start-up: the main window created and its load step run, with the real search for the plot
// server plugin. Run by hand: build/bin/bench_startup
#include "QtBenchmarkMain.h"
#include "contract/PlotViewerContract.h"
#include "tarnwick/app/Form1.h"
#include "tarnwick/automation/AutomationError.h"
#include "tarnwick/automation/AutomationObject.h"
#include "tarnwick/base/HandlerGuard.h"

#include <QDir>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

void StartUp(benchmark::State &state)
{
    try {
        AutomationObject::create(QString::fromLatin1(PlotViewer::ProgId));
    } catch (const AutomationError &error) {
        // The load step would stop at its message box.
        state.SkipWithError(error.what());
        return;
    }
    QTemporaryDir appDir;
    const AppEnvironment environment = AppEnvironment::forFolder(
        QDir::toNativeSeparators(appDir.path()), true, {}, VolumeSource::system());
    HandlerGuard guard([](int) {});
    for (auto _ : state) {
        Form1 form(environment, guard);
        benchmark::DoNotOptimize(form.load());
    }
}
BENCHMARK(StartUp)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

} // namespace

int main(int argc, char **argv)
{
    return runQtBenchmarks(argc, argv);
}
