#pragma once

#include <Qt>

/// Flags of a window the user cannot resize: a title bar with a system menu and a close box, and
/// no maximise box. Add Qt::WindowMinimizeButtonHint where the window may be minimised.
inline Qt::WindowFlags fixedBorderWindow(Qt::WindowType kind)
{
    return kind | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
        | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint;
}
