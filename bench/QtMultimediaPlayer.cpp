#include "QtMultimediaPlayer.h"

#include "SoundListener.h"

#include <QSoundEffect>
#include <QUrl>

#include <algorithm>

namespace bench {

QtMultimediaPlayer::QtMultimediaPlayer() = default;
QtMultimediaPlayer::~QtMultimediaPlayer() = default;

void QtMultimediaPlayer::play(const QByteArray &path)
{
    // A sound that plays again restarts by itself; another one is stopped.
    QSoundEffect *next = path.isEmpty() ? nullptr : &effect(path);
    if (playing_ && next != playing_)
        playing_->stop();
    playing_ = next;
    if (next)
        next->play();
}

QSoundEffect &QtMultimediaPlayer::effect(const QByteArray &path)
{
    std::shared_ptr<QSoundEffect> &effect = effects_[path];
    if (!effect) {
        effect = std::make_shared<QSoundEffect>();
        effect->setSource(QUrl::fromLocalFile(QString::fromLocal8Bit(path)));
    }
    return *effect;
}

void QtMultimediaPlayer::preload(const QList<QByteArray> &paths)
{
    for (const QByteArray &path : paths)
        effect(path);
    const auto deadline = Clock::now() + std::chrono::seconds(5);
    const auto loading = [this] {
        return std::any_of(effects_.cbegin(), effects_.cend(), [](const auto &effect) {
            return effect->status() == QSoundEffect::Loading
                || effect->status() == QSoundEffect::Null;
        });
    };
    while (loading() && Clock::now() < deadline)
        spinFor(std::chrono::milliseconds(1));
}

} // namespace bench
