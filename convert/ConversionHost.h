#pragma once

#include "convert/FormStrings.h"

#include <QString>

namespace convert {

enum class Box { Text1, Text2, Text3 };

// What the conversions use of the window: the three text boxes, read, replaced whole
// or added to, the blank-field message, the shared strings, the pacing wait and the sound of
// the current character, and what a screen reader should say.
class ConversionHost {
public:
    virtual ~ConversionHost() = default;

    virtual QString text(Box box) const = 0;
    virtual void setText(Box box, const QString &text) = 0;
    // As setText(box, text(box) + more), telling a screen reader only of what was added.
    virtual void appendText(Box box, const QString &more) = 0;
    // Modal: returns when the user has dismissed the message.
    virtual void showBlankFieldMessage() = 0;
    virtual FormStrings &strings() = 0;
    // Waits while the window stays alive: any of its handlers may run meanwhile.
    virtual void Delay(double ms) = 0;
    // Starts the sound of CurrentSymbol.
    virtual void GetSound() = 0;
    // Says a line to an active screen reader, in place of what it was saying; the focus
    // stays where it is.
    virtual void announce(const QString &line) = 0;
};

} // namespace convert
