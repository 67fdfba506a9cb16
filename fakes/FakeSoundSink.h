#pragma once

#include "sound/SoundSink.h"
#include "sound/TickCounter.h"

#include <QList>
#include <QString>

#include <cstdint>

// Remembers every sound started, and when by the given clock.
class FakeSoundSink : public sound::SoundSink {
public:
    explicit FakeSoundSink(sound::TickCounter &clock)
        : clock_(clock)
    {
    }

    struct Start {
        QByteArray path;
        std::uint32_t tick;
    };
    QList<Start> starts;

    // The recordings the output was readied for.
    QList<QByteArray> prepared;

    void play(const QByteArray &path) override { starts.append({path, clock_.GetTickCount()}); }
    void prepare(const QByteArray &path) override { prepared.append(path); }

    QStringList paths() const
    {
        QStringList list;
        for (const Start &start : starts)
            list.append(QString::fromLatin1(start.path));
        return list;
    }

private:
    sound::TickCounter &clock_;
};
