#include "convert/FormStrings.h"

#include "morse/MorseTable.h"

namespace convert {

void GetMorse(FormStrings &strings)
{
    if (const auto code = morse::codeFor(strings.CurrentSymbol))
        strings.LookupResult = code->toString();
}

void GetText(FormStrings &strings)
{
    if (const auto character = morse::characterFor(strings.CurrentSymbol))
        strings.LookupResult = character->toString();
}

} // namespace convert
