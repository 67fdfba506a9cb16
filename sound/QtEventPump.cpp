#include "sound/EventPump.h"

#include <QCoreApplication>
#include <QTimer>

namespace sound {

void QtEventPump::dispatchPendingEvents(int waitMs)
{
    if (waitMs <= 0) {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        return;
    }
    // The timer bounds the wait: an event, or the timer firing, ends it.
    QTimer wakeUp;
    wakeUp.setSingleShot(true);
    wakeUp.setTimerType(Qt::PreciseTimer);
    wakeUp.start(waitMs);
    QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
}

} // namespace sound
