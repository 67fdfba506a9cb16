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

// The Qt event loop of the current thread; its waits keep time with the
// MonotonicTickCounter.
class QtEventPump : public EventPump {
public:
    void dispatchPendingEvents(int waitMs) override;
};

} // namespace sound
