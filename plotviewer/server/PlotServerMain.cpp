#include "PlotServerMain.h"

#include "BusExporter.h"
#include "contract/PlotServerBus.h"
#include "plotviewer/automation/PlotServerObject.h"
#include "plotviewer/headless/ProcessLimits.h"

#include <QApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QTimer>

#include <cstdio>
#include <cstring>
#include <vector>

namespace plotviewer {

namespace {

constexpr auto ProgramName = "plotviewer-server";
// How often the server looks whether its caller is still there, and how long a server started
// on the session bus waits for its next call before it ends, with any documents a script left.
constexpr int CallerCheckMs = 1000;
constexpr int IdleEndMs = 10 * 60 * 1000;

struct Arguments
{
    bool sessionBus = false;
    QString peerAddress;
};

int usage()
{
    std::fprintf(stderr, "usage: %s %s ADDRESS | %s\n", ProgramName, PlotServerBus::PeerOption,
        PlotServerBus::SessionBusOption);
    return 2;
}

bool parse(int argc, char **argv, Arguments *arguments)
{
    if (argc == 3 && std::strcmp(argv[1], PlotServerBus::PeerOption) == 0) {
        arguments->peerAddress = QString::fromLocal8Bit(argv[2]);
        return true;
    }
    if (argc == 2 && std::strcmp(argv[1], PlotServerBus::SessionBusOption) == 0) {
        arguments->sessionBus = true;
        return true;
    }
    return false;
}

int fail(const QString &message)
{
    std::fprintf(stderr, "%s: %s\n", ProgramName, qPrintable(message));
    return 1;
}

/// Whether there is a display to show the print dialog on; without one the server draws offscreen.
bool hasDisplay()
{
    return qEnvironmentVariableIsSet("QT_QPA_PLATFORM") || !qEnvironmentVariableIsEmpty("DISPLAY")
        || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

} // namespace

int runPlotServer(int argc, char **argv)
{
    Arguments arguments;
    if (!parse(argc, argv, &arguments))
        return usage();
    // A runaway plot fails with a clear error instead of taking the machine's memory. No time limit:
    // a long print is legitimate, and the caller ends a server that takes too long.
    ProcessLimits::capAddressSpace();

    std::vector<char *> qtArguments(argv, argv + argc);
    char platformOption[] = "-platform";
    char offscreen[] = "offscreen";
    if (!hasDisplay()) {
        qtArguments.push_back(platformOption);
        qtArguments.push_back(offscreen);
    }
    int qtArgumentCount = int(qtArguments.size());
    qtArguments.push_back(nullptr);
    QApplication application(qtArgumentCount, qtArguments.data());
    QApplication::setQuitOnLastWindowClosed(false); // the print dialog closing ends nothing
    const bool displayAvailable = QGuiApplication::platformName() != QLatin1String("offscreen");

    QDBusConnection connection = arguments.sessionBus
        ? QDBusConnection::sessionBus()
        : QDBusConnection::connectToPeer(arguments.peerAddress, QStringLiteral("caller"));
    if (!connection.isConnected()) {
        return fail(QStringLiteral("cannot reach %1: %2")
                        .arg(arguments.sessionBus ? QStringLiteral("the session bus") : arguments.peerAddress,
                            connection.lastError().message()));
    }
    BusExporter exporter(PlotServerObject::forThisSystem(displayAvailable),
        QString::fromLatin1(PlotServerBus::ServerPath), QString::fromLatin1(PlotServerBus::ServerInterface),
        QString::fromLatin1(PlotServerBus::DocumentInterface));
    QString error;
    if (!exporter.serveOn(connection, &error))
        return fail(error);
    if (arguments.sessionBus && !connection.registerService(QString::fromLatin1(PlotServerBus::BusName))) {
        return fail(QStringLiteral("cannot take the name %1 on the session bus: %2")
                        .arg(QLatin1String(PlotServerBus::BusName), connection.lastError().message()));
    }
    connection.send(QDBusMessage::createSignal(QString::fromLatin1(PlotServerBus::ServerPath),
        QString::fromLatin1(PlotServerBus::ServerInterface),
        QString::fromLatin1(PlotServerBus::ReadySignal)));

    // The server lives as long as its caller: the program that started it, or the session bus.
    QTimer callerCheck;
    QObject::connect(&callerCheck, &QTimer::timeout, &application, [&connection] {
        if (!connection.isConnected())
            QCoreApplication::exit(0);
    });
    callerCheck.start(CallerCheckMs);
    // Started by the bus, it ends once nobody has used it for a while; the bus starts it again.
    QTimer idle;
    if (arguments.sessionBus) {
        idle.setSingleShot(true);
        QObject::connect(&exporter, &BusExporter::called, &idle, qOverload<>(&QTimer::start));
        QObject::connect(&idle, &QTimer::timeout, &application, [] { QCoreApplication::exit(0); });
        idle.start(IdleEndMs);
    }
    return application.exec();
}

} // namespace plotviewer
