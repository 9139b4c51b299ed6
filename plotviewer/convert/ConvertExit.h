#pragma once

namespace plotviewer {

/// Exit codes of plotconvert, following the BSD sysexits convention.
enum class ConvertExit : int {
    Success = 0,
    Usage = 64,
    NothingDrawable = 65, // the input is no plot, or holds nothing to draw
    Unreadable = 66,
    Failed = 70, // an internal failure, or a limit reached
    CannotWrite = 73,
};

} // namespace plotviewer
