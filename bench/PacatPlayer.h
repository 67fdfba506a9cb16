#pragma once

#include "sound/SoundSink.h"

#include <QProcess>

#include <memory>

namespace bench {

// PulseAudio's own client as a reference: each start runs pacat on the recording with the
// latency our player asks for, ending the one that plays. What it plays broken, the server
// broke.
class PacatPlayer final : public sound::SoundSink {
public:
    ~PacatPlayer() override;

    void play(const QByteArray &path) override;
    // Whether the last pacat has ended: started late on a busy machine, it plays on late.
    bool ended() const;

private:
    void stop();

    std::unique_ptr<QProcess> playing_;
};

} // namespace bench
