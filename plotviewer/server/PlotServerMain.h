#pragma once

namespace plotviewer {

/// The plot server as a program of its own: serves the plot viewer's server object over D-Bus to
/// the program that started it (--peer ADDRESS) or on the session bus (--session-bus), until that
/// program or the bus goes away. Returns the exit status.
int runPlotServer(int argc, char **argv);

} // namespace plotviewer
