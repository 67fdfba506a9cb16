#pragma once

#include "sound/EventPump.h"
#include "sound/TickCounter.h"

#include <QCoreApplication>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <map>

// A tick counter whose time passes only while the window waits, and as fast as a test
// likes: each wait dispatches Qt's pending events, then moves the clock on by the time
// asked for, or up to the next scripted action, which then runs as an event would.
class FakeClock : public sound::TickCounter, public sound::EventPump {
public:
    explicit FakeClock(std::uint32_t start = 1000)
        : now(start)
    {
    }

    std::uint32_t now;
    int dispatches = 0;
    // How many waits lay one inside another, at the most.
    int deepestNesting = 0;

    // Runs action inside the first wait that reaches the tick count when.
    void at(std::uint32_t when, std::function<void()> action)
    {
        actions_.emplace(when, std::move(action));
    }

    std::uint32_t GetTickCount() override { return now; }

    void dispatchPendingEvents(int waitMs) override
    {
        ++dispatches;
        const Nesting nested(*this);
        QCoreApplication::processEvents();
        std::uint32_t until = now + std::uint32_t(waitMs > 0 ? waitMs : 0);
        if (!actions_.empty() && actions_.begin()->first < until)
            until = std::max(now, actions_.begin()->first);
        now = until;
        while (!actions_.empty() && actions_.begin()->first <= now) {
            auto action = std::move(actions_.begin()->second);
            actions_.erase(actions_.begin());
            action();
        }
    }

private:
    struct Nesting {
        explicit Nesting(FakeClock &clock)
            : clock(clock)
        {
            clock.deepestNesting = std::max(clock.deepestNesting, ++clock.nesting_);
        }
        ~Nesting() { --clock.nesting_; }
        FakeClock &clock;
    };

    int nesting_ = 0;
    std::multimap<std::uint32_t, std::function<void()>> actions_;
};
