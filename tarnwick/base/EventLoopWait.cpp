#include "tarnwick/base/EventLoopWait.h"

#include <QApplication>
#include <QEventLoop>

namespace EventLoopWait {

void until(const std::function<bool()> &finished)
{
    while (!finished()) {
        QEventLoop::ProcessEventsFlags flags = QEventLoop::WaitForMoreEvents;
        if (!QApplication::activeModalWidget())
            flags |= QEventLoop::ExcludeUserInputEvents;
        QCoreApplication::processEvents(flags);
    }
}

} // namespace EventLoopWait
