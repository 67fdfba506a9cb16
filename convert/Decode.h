#pragma once

#include "convert/ConversionHost.h"

#include <QString>
#include <QStringView>

namespace convert {

// Cuts Morse text into tokens at its spaces (U+0020 only) and looks each one up with
// GetText: one character per token found in the table, nothing for any other token, and
// one space after each token that a space ends. The piece after the last space is decoded
// too, with no space after it; an empty one adds nothing. CurrentSymbol is left holding the
// last token looked up and LookupResult its character, empty after a lone token.
QString decodeMorse(QStringView morse, FormStrings &strings);

// The decode button: Morse code in Text2 becomes plain text in Text1.
void decode(ConversionHost &host);

} // namespace convert
