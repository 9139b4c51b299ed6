#pragma once

class QApplication;

/// Starts the program on `application`: the main window is created, its load step runs, and the
/// window is shown; the files named on the command line go to the print list. Returns the exit
/// code.
int runTarnwick(QApplication &application);
