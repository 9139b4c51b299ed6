#include "PlotServerMain.h"

int main(int argc, char **argv)
{
    return plotviewer::runPlotServer(argc, argv);
}
