#pragma once

#include "convert/ConversionHost.h"

#include <QtGlobal>

namespace convert {

// The encode button: the plain text in Text1, in capitals and without spaces, is sent
// one character at a time. Each character's code goes into Text2, then, 200 ms later,
// the character and its code show in Text3 and its sound starts; 500 ms pass before the
// next character.
class Encoder {
public:
    explicit Encoder(ConversionHost &host);

    void run();

    // How many runs may lie one inside another's wait. Each takes a slice of the stack;
    // a storm of clicks would otherwise pile them up until it ran out.
    static constexpr int deepestNesting = 64;

private:
    QString takeSourceText();
    void send(const QString &source);
    bool superseded(quint64 run) const { return run != latestRun_; }

    ConversionHost &host_;
    // Counts the runs begun. The window's events run inside a run's waits, so a click
    // can start a newer run there; the older one then ends at its next look.
    quint64 latestRun_ = 0;
    int nesting_ = 0;
    // A click came when the runs lay as deep as they may: the innermost run starts the
    // newer one itself once it has ended, with the text the latest such click took. What
    // Text1 holds by then, a decode's output say, was never sent by anyone.
    bool restartPending_ = false;
    QString pendingSource_;
};

} // namespace convert
