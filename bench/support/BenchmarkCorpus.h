#pragma once

#include <QString>

/// The folder of real-world plots the benchmarks read, found as the tests find it:
/// TARNWICK_CORPUS_DIR, else ../shared/corpus/files beside the source tree.
QString benchmarkCorpusFolder();
