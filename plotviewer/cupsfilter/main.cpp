#include "CupsFilterMain.h"
#include "plotviewer/headless/OffscreenGui.h"
#include "plotviewer/headless/ProcessLimits.h"

#include <QFile>
#include <QTextStream>

#include <cstdio>

int main(int argc, char **argv)
{
    // Print jobs may come from anyone on a shared queue: bound the work before reading a byte.
    plotviewer::ProcessLimits::apply(
        "ERROR: Cannot print the plot: " + plotviewer::ProcessLimits::timeoutReason().toUtf8() + ".\n", 1);
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    plotviewer::OffscreenGui gui;
    QFile input;
    QFile output;
    QTextStream log(stderr);
    if (!input.open(stdin, QIODevice::ReadOnly) || !output.open(stdout, QIODevice::WriteOnly)) {
        log << "ERROR: Cannot open the filter's standard input and output.\n";
        return 1;
    }
    return plotviewer::cupsFilterMain(
        arguments, input, output, log, [&gui] { gui.start(); }, QStringLiteral(TARNWICK_SYSTEM_PEN_TABLE));
}
