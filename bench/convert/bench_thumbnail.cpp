// A file manager's thumbnail: one whole plotconvert process per file, as the thumbnailer entry
// starts it (PNG, 256 pixels on the longest side), on the smallest and the largest corpus plot.
// Start-up counts here as much as drawing, so the time is the process's from start to exit.
// BM_DenseAgainstOneLine runs a one-line plot and a dense board plot in turn, as a thumbnail and
// as a default-sized picture, and reports their times and the dense one's multiple of the other:
// whatever a process costs to start and write its picture, the one-line plot costs too.
//
// Run on demand:  build/bin/bench_thumbnail
// The corpus is found as for the tests (TARNWICK_CORPUS_DIR, else ../shared/corpus/files beside
// the source tree).

#include "BenchmarkCorpus.h"
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>

namespace {

/// The corpus plot at `rank` by size among those of 4 KB or more (a small real drawing; the tiniest
/// files are mostly ones that must fail): 0 the largest, -1 the smallest.
QString corpusPlot(int rank)
{
    const QDir corpus(benchmarkCorpusFolder());
    QStringList bySize = corpus.entryList(QDir::Files, QDir::Size);
    bySize.erase(
        std::remove_if(bySize.begin(), bySize.end(),
            [&corpus](const QString &name) { return QFileInfo(corpus.filePath(name)).size() < 4096; }),
        bySize.end());
    if (bySize.isEmpty())
        return {};
    return corpus.filePath(rank < 0 ? bySize.last() : bySize.at(rank));
}

/// Runs plotconvert with `arguments`; false when it fails.
bool runPlotConvert(const QStringList &arguments)
{
    QProcess process;
    process.start(QStringLiteral(TARNWICK_PLOTCONVERT), arguments);
    return process.waitForFinished(30'000) && process.exitStatus() == QProcess::NormalExit
        && process.exitCode() == 0;
}

void BM_ThumbnailProcess(benchmark::State &state)
{
    const QString plot = corpusPlot(int(state.range(0)));
    if (plot.isEmpty()) {
        state.SkipWithError("no corpus plot found");
        return;
    }
    QTemporaryDir scratch;
    const QString picture = scratch.filePath(QStringLiteral("thumbnail.png"));
    const QStringList arguments { QStringLiteral("--format"), QStringLiteral("png"), QStringLiteral("-s"),
        QStringLiteral("256"), plot, picture };
    for (auto _ : state) {
        if (!runPlotConvert(arguments)) {
            state.SkipWithError("plotconvert did not make the thumbnail");
            return;
        }
    }
    state.SetLabel(QFileInfo(plot).fileName().toStdString() + ", "
        + std::to_string(QFileInfo(plot).size() / 1024) + " KB");
}
BENCHMARK(BM_ThumbnailProcess)->Arg(-1)->Arg(0)->Unit(benchmark::kMillisecond)->UseRealTime();

// A printed circuit board: thousands of small filled and edged pads, tracks and circles.
constexpr char denseBoard[] = "kicad-demo__carte_test-B_Cu.plt";

/// Argument 0: a thumbnail, 256 pixels on the longest side; 1: the default picture size. The
/// iteration time is that of the pair.
void BM_DenseAgainstOneLine(benchmark::State &state)
{
    const QString dense = QDir(benchmarkCorpusFolder()).filePath(QString::fromLatin1(denseBoard));
    QTemporaryDir scratch;
    const QString oneLine = scratch.filePath(QStringLiteral("one-line.plt"));
    QFile plot(oneLine);
    if (!QFileInfo::exists(dense) || !plot.open(QIODevice::WriteOnly)
        || plot.write("IN;SP1;PA0,0;PD4000,3000;PU;SP0;") < 0) {
        state.SkipWithError("no dense corpus plot, or no room for the one-line plot");
        return;
    }
    plot.close();
    const QString picture = scratch.filePath(QStringLiteral("picture.png"));
    const QStringList size
        = state.range(0) == 0 ? QStringList { QStringLiteral("-s"), QStringLiteral("256") } : QStringList {};
    QElapsedTimer clock;
    qint64 oneLineNs = 0;
    qint64 denseNs = 0;
    for (auto _ : state) {
        for (const QString &input : { oneLine, dense }) {
            clock.start();
            if (!runPlotConvert(size + QStringList { input, picture })) {
                state.SkipWithError("plotconvert did not make the picture");
                return;
            }
            (input == dense ? denseNs : oneLineNs) += clock.nsecsElapsed();
        }
    }
    const double runs = double(state.iterations());
    state.counters["oneLineMs"] = double(oneLineNs) / runs / 1e6;
    state.counters["denseMs"] = double(denseNs) / runs / 1e6;
    state.counters["denseOverOneLine"] = double(denseNs) / double(std::max<qint64>(oneLineNs, 1));
    state.SetLabel(state.range(0) == 0 ? "thumbnail, 256 px" : "picture, 1024x768");
}
BENCHMARK(BM_DenseAgainstOneLine)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication application(argc, argv); // QProcess needs an application object
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
