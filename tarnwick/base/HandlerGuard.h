#pragma once

#include <QString>
#include <functional>

/// How a handler deals with a failure inside it.
enum class Trap {
    None, ///< the generic run-time error report: a message box, then the program ends
    Reporting, ///< the handler's own report runs, then the handler ends quietly
    Silent, ///< the handler ends without a message
};

/// Every bound event's handler runs through the one guard of the program, which applies the
/// handler's failure style. Nothing thrown inside a handler leaves the guard, so no exception
/// ever crosses Qt's frames. Once the program has ended, no handler runs again.
class HandlerGuard
{
public:
    using EndProgram = std::function<void(int exitCode)>;
    /// A reporting trap's own report, given the failure's description.
    using Report = std::function<void(const QString &description)>;

    /// `endProgram` carries out the end of the program; the default closes every window and
    /// leaves the event loop.
    explicit HandlerGuard(EndProgram endProgram = endApplication);

    /// Runs `handler` with its failure style; `report` is the reporting trap's own report.
    void run(Trap trap, const std::function<void()> &handler, const Report &report = {});

    /// Ends the program at once: no handler runs after this.
    void endProgram(int exitCode);
    bool hasEnded() const { return m_ended; }

    static void endApplication(int exitCode);

private:
    bool runCatching(const std::function<void()> &body);
    /// The generic run-time error report: a modal message box giving `description`, then the end.
    void reportRuntimeError(const QString &description);

    EndProgram m_endProgram;
    bool m_ended = false;
    QString m_lastFailure;
};
