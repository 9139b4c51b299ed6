#include "BenchmarkScratch.h"

QTemporaryDir &benchmarkScratch()
{
    static QTemporaryDir dir;
    return dir;
}
