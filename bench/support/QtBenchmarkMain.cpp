#include "QtBenchmarkMain.h"

#include <QApplication>
#include <benchmark/benchmark.h>

namespace {

QtMessageHandler defaultHandler = nullptr;

// The offscreen platform warns each time a window is shown; the figures are easier to read without.
void quietHandler(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (!message.contains(QLatin1String("propagateSizeHints")))
        defaultHandler(type, context, message);
}

} // namespace

int runQtBenchmarks(int argc, char **argv, const std::function<void()> &ready)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    defaultHandler = qInstallMessageHandler(quietHandler);
    if (ready)
        ready();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
