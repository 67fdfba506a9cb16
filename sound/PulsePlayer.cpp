#include "sound/PulsePlayer.h"

#include <utility>

namespace sound {

PulsePlayer::PulsePlayer()
    : loader_([this](std::stop_token stop) { serve(stop); })
{
}

PulsePlayer::~PulsePlayer() = default;

void PulsePlayer::play(const QByteArray &path)
{
    {
        const std::lock_guard locker(mutex_);
        request_ = path;
    }
    requested_.notify_one();
}

void PulsePlayer::prepare(const QByteArray &path)
{
    {
        const std::lock_guard locker(mutex_);
        preparation_ = path;
    }
    requested_.notify_one();
}

void PulsePlayer::serve(std::stop_token stop)
{
    for (;;) {
        QByteArray path;
        bool start = false;
        {
            std::unique_lock locker(mutex_);
            if (!requested_.wait(locker, stop,
                    [this] { return request_.has_value() || preparation_.has_value(); }))
                return;
            start = request_.has_value();
            path = *std::exchange(start ? request_ : preparation_, std::nullopt);
        }
        // Every start cuts the sound in progress, also one whose file gives nothing.
        if (start)
            output_.start(clips_.clip(path));
        else
            output_.prepare(clips_.clip(path));
    }
}

} // namespace sound
