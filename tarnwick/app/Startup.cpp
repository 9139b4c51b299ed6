#include "tarnwick/app/Startup.h"

#include "resources/VersionRecord.h"
#include "tarnwick/app/AppEnvironment.h"
#include "tarnwick/app/FileArguments.h"
#include "tarnwick/app/Form1.h"
#include "tarnwick/base/HandlerGuard.h"

#include <QApplication>
#include <QDir>
#include <QTimer>

namespace {

constexpr int ScreenshotDelayMs = 1000;

} // namespace

int runTarnwick(QApplication &application)
{
    application.setApplicationName(QString::fromUtf8(VersionRecord::Title));
    application.setApplicationVersion(QString::fromUtf8(VersionRecord::ProductVersion));
    application.setDesktopFileName(QString::fromUtf8(VersionRecord::DesktopId));
    application.setQuitOnLastWindowClosed(false); // the main window's close ends the program
    // Qt has taken its own options out of the arguments already.
    const FileArguments::Sorted files
        = FileArguments::sort(application.arguments().mid(1), QDir::currentPath());
    HandlerGuard guard;
    Form1 form(AppEnvironment::system(), guard);
    if (!form.load())
        return 1;
    form.show();
    form.addFileArguments(files);
    // A picture of the main window for the run script, which shows a user what started without a
    // display to see it on. Taken once the window has painted.
    if (const QString shot = qEnvironmentVariable("TARNWICK_SCREENSHOT"); !shot.isEmpty())
        QTimer::singleShot(ScreenshotDelayMs, &form, [&form, shot] { form.grab().save(shot); });
    return application.exec();
}
