#pragma once

/// The main of a benchmark that drives real widgets: headless unless the caller chose a platform
/// (benchmarks are run by hand), with the offscreen platform's per-window warning silenced.
int runWidgetBenchmarks(int argc, char **argv);
