#pragma once

/// The main of a benchmark that needs Qt's GUI: headless unless the caller chose a platform
/// (benchmarks are run by hand), with the offscreen platform's per-window warning silenced.
int runQtBenchmarks(int argc, char **argv);
