#pragma once

#include "sound/ClipCache.h"
#include "sound/PulseOutput.h"
#include "sound/SoundSink.h"

#include <condition_variable>
#include <mutex>
#include <optional>
#include <stop_token>
#include <thread>

namespace sound {

// Plays recordings through the PulseAudio server.
//
// play() only leaves the path for a loader thread and returns, so the window's thread is
// never held by the disk, the decoder or the server: the first use of a recording, which
// reads and decodes it, happens on the loader thread too. When starts come faster than they
// can be served, the loader takes only the latest; the ones it skips would have been cut off
// at once anyway. A start goes before a preparation that waits. The loader sleeps while
// nothing is asked of it.
class PulsePlayer final : public SoundSink {
public:
    PulsePlayer();
    ~PulsePlayer() override;
    PulsePlayer(const PulsePlayer &) = delete;
    PulsePlayer &operator=(const PulsePlayer &) = delete;

    void play(const QByteArray &path) override;
    void prepare(const QByteArray &path) override;

private:
    void serve(std::stop_token stop);

    PulseOutput output_;
    ClipCache clips_;
    std::mutex mutex_;
    std::condition_variable_any requested_;
    std::optional<QByteArray> request_;
    std::optional<QByteArray> preparation_;
    // Last, so that the loader stops before the rest goes.
    std::jthread loader_;
};

} // namespace sound
