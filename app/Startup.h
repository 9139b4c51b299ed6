#pragma once

class QApplication;

/// Starts the program on `application`: the main window is created, its load step runs, and the
/// window is shown. Returns the exit code.
int runTarnwick(QApplication &application);
