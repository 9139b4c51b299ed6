#include "PlotConvertMain.h"

#include <QGuiApplication>
#include <QTextStream>

#include <cstring>
#include <vector>

namespace {

bool platformChosen(int argc, char **argv)
{
    if (qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        return true;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "-platform") == 0)
            return true;
    }
    return false;
}

} // namespace

int main(int argc, char **argv)
{
    // The converter shows no window, so it must not need a display: it paints off screen unless
    // told otherwise.
    std::vector<char *> arguments(argv, argv + argc);
    char platformOption[] = "-platform";
    char offscreen[] = "offscreen";
    if (!platformChosen(argc, argv)) {
        arguments.insert(arguments.begin() + 1, { platformOption, offscreen });
    }
    int count = int(arguments.size());
    arguments.push_back(nullptr);
    QGuiApplication app(count, arguments.data());
    QGuiApplication::setApplicationName(QStringLiteral("plotconvert"));
    QTextStream out(stdout);
    QTextStream err(stderr);
    return plotviewer::plotConvertMain(QGuiApplication::arguments(), out, err);
}
