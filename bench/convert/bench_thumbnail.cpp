// A file manager's thumbnail: one whole plotconvert process per file, as the thumbnailer entry
// starts it (PNG, 256 pixels on the longest side), on the smallest and the largest corpus plot.
// Start-up counts here as much as drawing, so the time is the process's from start to exit.
//
// Run on demand:  build/bin/bench_thumbnail
// The corpus is found as for the tests (TARNWICK_CORPUS_DIR, else ../shared/corpus/files beside
// the source tree).

#include "BenchmarkCorpus.h"
#include <QCoreApplication>
#include <QDir>
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
    bySize.erase(std::remove_if(bySize.begin(), bySize.end(),
                     [&corpus](const QString &name) { return QFileInfo(corpus.filePath(name)).size() < 4096; }),
        bySize.end());
    if (bySize.isEmpty())
        return {};
    return corpus.filePath(rank < 0 ? bySize.last() : bySize.at(rank));
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
        QProcess process;
        process.start(QStringLiteral(TARNWICK_PLOTCONVERT), arguments);
        if (!process.waitForFinished(30'000) || process.exitCode() != 0) {
            state.SkipWithError("plotconvert did not make the thumbnail");
            return;
        }
    }
    state.SetLabel(QFileInfo(plot).fileName().toStdString() + ", "
        + std::to_string(QFileInfo(plot).size() / 1024) + " KB");
}
BENCHMARK(BM_ThumbnailProcess)->Arg(-1)->Arg(0)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication application(argc, argv); // QProcess needs an application object
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
