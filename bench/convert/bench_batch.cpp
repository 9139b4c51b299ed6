// A folder's worth of plots converted at once, as `plotconvert -o OUTDIR -j N *.plt` does: 200
// files made by repeating the corpus in order (its bad files included, as in a real folder),
// converted to PNG pictures with 1 and 2 workers. Wall time counts, since workers run in parallel.
//
// Run on demand:  build/bin/bench_batch
// The corpus is found as for the tests (TARNWICK_CORPUS_DIR, else ../shared/corpus/files beside
// the source tree).

#include "BenchmarkCorpus.h"
#include "BenchmarkScratch.h"
#include "QtBenchmarkMain.h"
#include "plotviewer/convert/BatchConversion.h"

#include <QDir>
#include <QFile>
#include <QTextStream>

#include <benchmark/benchmark.h>

using namespace plotviewer;

namespace {

constexpr int batchSize = 200;

/// Copies of the corpus files under names of their own until there are `batchSize` of them.
const QStringList &batchInputs()
{
    static const QStringList inputs = [] {
        QStringList made;
        const QDir corpus(benchmarkCorpusFolder());
        const QStringList names = corpus.entryList(QDir::Files, QDir::Name);
        const QDir folder(benchmarkScratch().filePath(QStringLiteral("plots")));
        if (names.isEmpty() || !QDir().mkpath(folder.path()))
            return made;
        for (int i = 0; i < batchSize; ++i) {
            const QString name = names[i % names.size()];
            const QString copy
                = folder.filePath(QStringLiteral("%1-%2").arg(i, 3, 10, QChar(u'0')).arg(name));
            if (QFile::copy(corpus.filePath(name), copy))
                made.append(copy);
        }
        return made;
    }();
    return inputs;
}

void BM_ConvertBatch(benchmark::State &state)
{
    ConvertOptions options;
    options.inputs = batchInputs();
    if (options.inputs.size() != batchSize) {
        state.SkipWithError("the corpus could not be copied into a batch");
        return;
    }
    options.outputFolder = benchmarkScratch().filePath(QStringLiteral("pictures"));
    options.format = ConvertOptions::Format::Png;
    options.jobs = int(state.range(0));
    QString report;
    for (auto _ : state) {
        report.clear();
        QTextStream out(&report);
        QTextStream err(&report);
        benchmark::DoNotOptimize(convertBatch(
            options, [] {}, out, err));
    }
    state.counters["files"]
        = benchmark::Counter(double(batchSize) * double(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_ConvertBatch)->Arg(1)->Arg(2)->Unit(benchmark::kSecond)->UseRealTime()->Iterations(1);

} // namespace

int main(int argc, char **argv)
{
    return runQtBenchmarks(argc, argv);
}
