#include "BenchmarkCorpus.h"

QString benchmarkCorpusFolder()
{
    const QString overridden = qEnvironmentVariable("TARNWICK_CORPUS_DIR");
    return overridden.isEmpty() ? QStringLiteral(TARNWICK_SOURCE_DIR "/../shared/corpus/files") : overridden;
}
