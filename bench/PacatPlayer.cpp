#include "PacatPlayer.h"

#include "sound/PulseOutput.h"

#include <QFile>

namespace bench {

PacatPlayer::~PacatPlayer()
{
    stop();
}

void PacatPlayer::play(const QByteArray &path)
{
    stop();
    if (path.isEmpty())
        return;
    playing_ = std::make_unique<QProcess>();
    playing_->setProcessChannelMode(QProcess::ForwardedChannels);
    playing_->start(QStringLiteral("pacat"),
        {QStringLiteral("--latency-msec=%1").arg(sound::PulseOutput::targetLatency.count()),
            QStringLiteral("--file-format=wav"), QStringLiteral("--client-name=varnock-bench"),
            QFile::decodeName(path)});
}

bool PacatPlayer::ended() const
{
    return !playing_ || playing_->state() == QProcess::NotRunning;
}

void PacatPlayer::stop()
{
    if (!playing_)
        return;
    playing_->kill();
    playing_->waitForFinished();
    playing_.reset();
}

} // namespace bench
