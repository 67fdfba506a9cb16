#pragma once

#include "sound/SoundSink.h"

#include <QHash>

#include <memory>

class QSoundEffect;

namespace bench {

// The sound sink a Qt developer would write first, on Qt Multimedia: a QSoundEffect a
// recording, each start stopping the one that plays. It feeds the server from the events
// of the thread it lives on, which must spin them.
class QtMultimediaPlayer final : public sound::SoundSink {
public:
    QtMultimediaPlayer();
    ~QtMultimediaPlayer() override;

    void play(const QByteArray &path) override;

    // Loads every recording in paths and waits until each is ready or failed, at most a
    // few seconds: the first start of a recording is then as quick as the rest, as it is
    // for our player once it has played it.
    void preload(const QList<QByteArray> &paths);

private:
    QSoundEffect &effect(const QByteArray &path);

    QHash<QByteArray, std::shared_ptr<QSoundEffect>> effects_;
    QSoundEffect *playing_ = nullptr;
};

} // namespace bench
