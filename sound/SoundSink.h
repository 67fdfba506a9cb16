#pragma once

#include <QByteArray>

namespace sound {

// Where sounds go. One sound plays at a time in the whole program: each start cuts off
// the sound in progress. Starting returns at once while the sound plays on; a file that
// cannot be played, or no audio output at all, sounds as nothing and is not reported. A
// path is spelled as the file system spells it, byte for byte, whatever its encoding; an
// empty path plays nothing and only cuts the sound in progress.
class SoundSink {
public:
    virtual ~SoundSink() = default;

    virtual void play(const QByteArray &path) = 0;

    // Readies the output for recordings like the one at path, so that the first sound
    // starts as promptly as later ones. Sounds nothing and cuts nothing; an output that
    // needs no readying, or a path that gives nothing, leaves it at that.
    virtual void prepare(const QByteArray &) { }
};

} // namespace sound
