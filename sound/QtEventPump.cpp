#include "sound/QtEventPump.h"

#include <QCoreApplication>
#include <QTimer>

#include <chrono>
#include <thread>

namespace sound {

void QtEventPump::dispatchPendingEvents(int waitMs)
{
    if (waitMs <= 0) {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        return;
    }
    // The monotonic tick counter moves on at the steady clock's whole milliseconds: the
    // wait is for the moment it has moved on waitMs from its present reading, not for
    // waitMs from now, which would end up to a millisecond late.
    using namespace std::chrono;
    const auto now = steady_clock::now();
    const auto wake = floor<milliseconds>(now) + milliseconds(waitMs);
    const auto wholeMilliseconds = floor<milliseconds>(wake - now);

    // An event, or the timer firing, ends the wait on the event loop. Qt's timers count
    // whole milliseconds; the fraction left is slept, unless an event came first.
    QTimer wakeUp;
    wakeUp.setSingleShot(true);
    wakeUp.setTimerType(Qt::PreciseTimer);
    wakeUp.start(wholeMilliseconds);
    QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    if (!wakeUp.isActive())
        std::this_thread::sleep_until(wake);
}

} // namespace sound
