#include "PlotConvertMain.h"
#include "plotviewer/headless/OffscreenGui.h"
#include "plotviewer/headless/ProcessLimits.h"

#include <QTextStream>

int main(int argc, char **argv)
{
    // No application object until drawing needs one: most plots are converted without it.
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    plotviewer::OffscreenGui gui;
    plotviewer::ConvertEnvironment environment;
    environment.fonts = [&gui] { gui.start(); };
    environment.limitResources = [] {
        plotviewer::ProcessLimits::apply(
            "plotconvert: " + plotviewer::ProcessLimits::timeoutReason().toLocal8Bit() + '\n',
            int(plotviewer::ConvertExit::Failed));
    };
    QTextStream out(stdout);
    QTextStream err(stderr);
    return plotviewer::plotConvertMain(arguments, out, err, environment);
}
