#pragma once

#include <QString>

#include <exception>
#include <new>
#include <utility>

namespace plotviewer {

/// Runs the members of an automation object so that every failure becomes a description for
/// takeError() and no exception unwinds into Qt's meta-call.
class AutomationErrors
{
public:
    /// Runs `body`, which returns an empty string on success or a description of the failure.
    /// Each call starts afresh, so takeError() after a member speaks of that member only.
    template<typename Body> void run(const char *member, Body &&body) noexcept
    {
        m_error.clear();
        try {
            m_error = body();
        } catch (const std::bad_alloc &) {
            m_error = QStringLiteral("%1 failed: the plot needs more memory than there is to draw it.")
                          .arg(QLatin1String(member));
        } catch (const std::exception &e) {
            m_error = QStringLiteral("%1 failed: %2")
                          .arg(QLatin1String(member), QString::fromLocal8Bit(e.what()));
        } catch (...) {
            m_error = QStringLiteral("%1 failed for an unknown reason.").arg(QLatin1String(member));
        }
    }

    QString take() { return std::exchange(m_error, QString()); }

private:
    QString m_error;
};

} // namespace plotviewer
