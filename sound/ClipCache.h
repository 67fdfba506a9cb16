#pragma once

#include <QByteArray>
#include <QHash>

#include <memory>

namespace sound {

class SoundClip;

// The recordings decoded so far, by path. A recording is decoded on its first use and kept;
// a path that gave nothing is tried again next time, so that a file put in place later plays.
// Not thread-safe: one thread asks.
class ClipCache {
public:
    std::shared_ptr<const SoundClip> clip(const QByteArray &path);

private:
    QHash<QByteArray, std::shared_ptr<const SoundClip>> clips_;
};

} // namespace sound
