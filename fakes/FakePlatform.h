#pragma once

#include "app/Platform.h"
#include "fakes/FakeClock.h"
#include "fakes/FakeSoundSink.h"

#include <functional>

// Everything the window stands on, faked: a clock that runs only while the window waits,
// a sink that remembers the sounds started, a fixed program folder, and an end of the
// process that only counts.
struct FakePlatform {
    explicit FakePlatform(QByteArray folder)
        : folder(std::move(folder))
    {
    }

    FakeClock clock;
    FakeSoundSink sink{clock};
    QByteArray folder;
    int processEnds = 0;
    std::function<void()> onProcessEnd;

    app::Platform platform()
    {
        return {sink, clock, clock, [this] { return folder; },
            [this] {
                ++processEnds;
                if (onProcessEnd)
                    onProcessEnd();
            }};
    }
};
