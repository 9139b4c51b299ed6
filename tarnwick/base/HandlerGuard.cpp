#include "tarnwick/base/HandlerGuard.h"

#include "resources/VersionRecord.h"

#include <QApplication>
#include <QMessageBox>
#include <exception>

HandlerGuard::HandlerGuard(EndProgram endProgram)
    : m_endProgram(std::move(endProgram))
{ }

void HandlerGuard::run(Trap trap, const std::function<void()> &handler, const Report &report)
{
    // A handler that waited for work elsewhere may fail because the program ended meanwhile:
    // there is nobody left to tell.
    if (m_ended || runCatching(handler) || m_ended)
        return;
    switch (trap) {
    case Trap::None:
        reportRuntimeError(m_lastFailure);
        break;
    case Trap::Reporting:
        // A failure inside the report itself has no trap left to catch it.
        if (report && !runCatching([&, description = m_lastFailure] { report(description); }))
            reportRuntimeError(m_lastFailure);
        break;
    case Trap::Silent:
        break;
    }
}

bool HandlerGuard::runCatching(const std::function<void()> &body)
{
    try {
        body();
        return true;
    } catch (const std::exception &failure) {
        m_lastFailure = QString::fromUtf8(failure.what());
    } catch (...) {
        m_lastFailure = QStringLiteral("An unexpected failure occurred.");
    }
    return false;
}

void HandlerGuard::reportRuntimeError(const QString &description)
{
    if (m_ended)
        return;
    QMessageBox box(
        QMessageBox::Critical, QString::fromUtf8(VersionRecord::Title), description, QMessageBox::Ok);
    box.exec();
    endProgram(1);
}

void HandlerGuard::endProgram(int exitCode)
{
    if (m_ended)
        return;
    m_ended = true;
    m_endProgram(exitCode);
}

void HandlerGuard::endApplication(int exitCode)
{
    QApplication::closeAllWindows();
    QCoreApplication::exit(exitCode);
}
