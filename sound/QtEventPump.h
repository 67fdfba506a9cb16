#pragma once

#include "sound/EventPump.h"

namespace sound {

// The Qt event loop of the current thread; its waits keep time with the
// MonotonicTickCounter.
class QtEventPump : public EventPump {
public:
    void dispatchPendingEvents(int waitMs) override;
};

} // namespace sound
