#include "sound/ClipCache.h"

#include "sound/SoundClip.h"

namespace sound {

std::shared_ptr<const SoundClip> ClipCache::clip(const QByteArray &path)
{
    if (const auto kept = clips_.constFind(path); kept != clips_.constEnd())
        return kept.value();
    auto decoded = SoundClip::fromFile(path);
    if (decoded)
        clips_.insert(path, decoded);
    return decoded;
}

} // namespace sound
