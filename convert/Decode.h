#pragma once

#include "convert/ConversionHost.h"

#include <QString>
#include <QStringView>

namespace convert {

struct Decoded {
    // One character per token found in the table, nothing for any other token; each
    // token that a space ends is followed by one space.
    QString text;
    // The last token looked up, a view of the Morse text, and its character (empty when
    // the table lacks it), a view of the table.
    QStringView lastToken;
    QStringView lastAnswer;
    // The Morse text held no space at all: it was decoded as one token.
    bool singleToken = false;
};

// Cuts Morse text into tokens at its spaces (U+0020 only) and looks each one up. The
// piece after the last space is decoded too, with no space after it; an empty one
// adds nothing.
Decoded decodeMorse(QStringView morse);

// The decode button: Morse code in Text2 becomes plain text in Text1.
void decode(ConversionHost &host);

} // namespace convert
