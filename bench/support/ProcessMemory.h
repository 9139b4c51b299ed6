#pragma once

#include <functional>

/// A line of /proc/self/status such as "VmHWM:", in kilobytes; -1 when unreadable.
long statusKilobytes(const char *key);

/// Returns freed memory to the system and restarts the peak-resident-memory count ("VmHWM:")
/// from now; false when the count cannot be restarted.
bool restartPeakCount();

/// Runs `work` and returns how far resident memory grew at its peak meanwhile, in kilobytes; -1,
/// without running it, when the peak count cannot be restarted.
long peakGrowthKilobytes(const std::function<void()> &work);
