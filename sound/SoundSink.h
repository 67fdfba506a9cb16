#pragma once

#include <QString>

namespace sound {

// Where sounds go. One sound plays at a time in the whole program: each start cuts off
// the sound in progress. Starting returns at once while the sound plays on; a file that
// cannot be played, or no audio output at all, sounds as nothing and is not reported.
class SoundSink {
public:
    virtual ~SoundSink() = default;

    virtual void play(const QString &path) = 0;
};

} // namespace sound
