#pragma once

#include <functional>

/// Waits inside a handler for work done elsewhere (a plot server in another process) without
/// holding the program still: the event loop runs, so the windows repaint and answer a screen
/// reader. The user's input waits until the work is done, as it would for work done in the handler
/// itself, unless a modal dialog is up: the dialog then bars the windows behind it, and its own
/// buttons (Cancel) must work.
namespace EventLoopWait {

/// Runs the event loop until `finished` holds; something the loop runs must make it hold.
void until(const std::function<bool()> &finished);

} // namespace EventLoopWait
