#pragma once

#include <functional>

/// The main of a benchmark that needs Qt's GUI: headless unless the caller chose a platform
/// (benchmarks are run by hand), with the offscreen platform's per-window warning silenced.
/// `ready`, when given, runs once the application object exists, before the first benchmark.
int runQtBenchmarks(int argc, char **argv, const std::function<void()> &ready = {});
