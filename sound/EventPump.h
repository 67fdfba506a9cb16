#pragma once

namespace sound {

// Runs the window's pending events to completion, each handler in turn.
class EventPump {
public:
    virtual ~EventPump() = default;

    // Dispatches every pending event. With nothing pending, waits up to waitMs for the
    // next one first; waitMs of 0 or less never waits.
    virtual void dispatchPendingEvents(int waitMs) = 0;
};

} // namespace sound
