// How long the program's event loop goes unanswered during a print run of heavy plots: while it
// waits, no window repaints and no screen reader is answered. Run by hand: build/bin/bench_printrun
//
// The run prints the corpus's 2.8 MB nesting plot ten times, then a plot of 20 000 one-line pages,
// through the plot server the program finds (a server process, or a plugin in its own process), on
// the system's default printer. A timer asks every 10 ms; the counters are the longest time
// between two of its answers (longest_gap_ms), the share of the run spent in gaps over 100 ms
// (blocked_share), and the run's length (run_ms).

#include "BenchmarkCorpus.h"
#include "BenchmarkScratch.h"
#include "QtBenchmarkMain.h"
#include "contract/PlotViewerContract.h"
#include "tarnwick/automation/AutomationObject.h"
#include "tarnwick/plot/PrintRun.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTimer>
#include <benchmark/benchmark.h>

#include <exception>

namespace {

constexpr int TickMs = 10;
constexpr int BlockedMs = 100; // what a user notices

QStringList heavyRun()
{
    const QString nesting = benchmarkCorpusFolder()
        + QStringLiteral("/straight-coding-gcode-hpgl-viewer__B_Fabric_Nesting.plt");
    if (!QFile::exists(nesting))
        return {};
    const QString pages = benchmarkScratch().filePath(QStringLiteral("pages.plt"));
    QFile plot(pages);
    if (!plot.open(QIODevice::WriteOnly))
        return {};
    for (int page = 0; page < 20000; ++page)
        plot.write("IN;SP1;PA0,0;PD4000,3000;PU;PG;");
    plot.write("SP0;");
    QStringList run(10, nesting);
    run.append(pages);
    return run;
}

void PrintRunEventLoop(benchmark::State &state)
{
    const QStringList run = heavyRun();
    if (run.isEmpty()) {
        state.SkipWithError("the corpus is missing");
        return;
    }
    for (auto _ : state) {
        AutomationObject server;
        try {
            server = AutomationObject::create(QString::fromLatin1(PlotViewer::ProgId));
        } catch (const std::exception &failure) {
            state.SkipWithError(failure.what());
            return;
        }
        QElapsedTimer clock;
        qint64 lastTick = 0;
        qint64 longestGap = 0;
        qint64 blocked = 0;
        QTimer ticks;
        QObject::connect(&ticks, &QTimer::timeout, [&] {
            const qint64 now = clock.elapsed();
            const qint64 gap = now - lastTick;
            longestGap = std::max(longestGap, gap);
            if (gap > BlockedMs)
                blocked += gap;
            lastTick = now;
        });
        clock.start();
        ticks.start(TickMs);
        try {
            // Events are let through between plots too, as the progress dialog does.
            PrintRun::printAll(server, run, PlotViewer::ColourModeNumber::Colour, false,
                [](qsizetype, qsizetype, const QString &) {
                    QCoreApplication::processEvents();
                    return true;
                });
        } catch (const std::exception &failure) {
            state.SkipWithError(failure.what());
            return;
        }
        // The last call's gap ends with the run.
        const qint64 end = clock.elapsed();
        longestGap = std::max(longestGap, end - lastTick);
        if (end - lastTick > BlockedMs)
            blocked += end - lastTick;
        state.counters["longest_gap_ms"] = double(longestGap);
        state.counters["blocked_share"] = double(blocked) / double(std::max<qint64>(1, end));
        state.counters["run_ms"] = double(end);
    }
}

BENCHMARK(PrintRunEventLoop)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    return runQtBenchmarks(argc, argv);
}
