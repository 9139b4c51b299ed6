#pragma once

#include <QTemporaryDir>

/// The folder for the files a benchmark writes, made on first use and removed when the program ends.
QTemporaryDir &benchmarkScratch();
