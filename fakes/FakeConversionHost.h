#pragma once

#include "convert/ConversionHost.h"
#include "fakes/FakeClock.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <cmath>
#include <cstdint>

// Three plain strings for the boxes and a fake clock for the waits: each wait lasts to the
// first tick past its length, running the clock's scripted actions on the way, as the
// window's events would. Counts the messages shown and the waits, and keeps the sounds
// started and the lines announced.
class FakeConversionHost : public convert::ConversionHost {
public:
    QString Text1;
    QString Text2;
    QString Text3;
    convert::FormStrings formStrings;
    FakeClock clock;
    int blankFieldMessages = 0;
    int waits = 0;
    struct Sound {
        QString symbol;
        std::uint32_t tick;
    };
    QList<Sound> sounds;
    QStringList announced;

    QString text(convert::Box box) const override
    {
        return const_cast<FakeConversionHost *>(this)->box(box);
    }
    void setText(convert::Box box, const QString &text) override { this->box(box) = text; }
    void appendText(convert::Box box, const QString &more) override { this->box(box) += more; }
    void showBlankFieldMessage() override { ++blankFieldMessages; }
    convert::FormStrings &strings() override { return formStrings; }
    void Delay(double ms) override
    {
        ++waits;
        const std::uint32_t end = clock.now + std::uint32_t(std::floor(ms)) + 1;
        do
            clock.dispatchPendingEvents(int(end - clock.now));
        while (std::int32_t(end - clock.now) > 0);
    }
    void GetSound() override { sounds.append({formStrings.CurrentSymbol, clock.now}); }
    void announce(const QString &line) override { announced << line; }

    QString soundedSymbols() const
    {
        QString symbols;
        for (const Sound &sound : sounds)
            symbols += sound.symbol;
        return symbols;
    }

private:
    QString &box(convert::Box box)
    {
        switch (box) {
        case convert::Box::Text1:
            return Text1;
        case convert::Box::Text2:
            return Text2;
        case convert::Box::Text3:
            break;
        }
        return Text3;
    }
};
