#pragma once

#include <QString>

namespace convert {

// The window's three shared strings, through which the conversions, the table lookups
// and the sound player hand values to one another. A caller stores a character or a
// Morse token in CurrentSymbol, calls a lookup and reads the answer in LookupResult.
struct FormStrings {
    QString SourceText;
    QString CurrentSymbol;
    QString LookupResult;
};

// Looks CurrentSymbol up among the table's characters and leaves its code in
// LookupResult. A miss leaves LookupResult as it was.
void GetMorse(FormStrings &strings);

// Looks CurrentSymbol up among the table's codes and leaves its character in
// LookupResult. A miss leaves LookupResult as it was.
void GetText(FormStrings &strings);

} // namespace convert
