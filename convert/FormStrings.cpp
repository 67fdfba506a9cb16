#include "convert/FormStrings.h"

#include "morse/MorseTable.h"

namespace convert {
namespace {

// Sets a string in place, keeping its storage: a lookup costs no allocation of its own.
void assign(QString &string, QStringView value)
{
    string.resize(0);
    string.append(value);
}

} // namespace

void GetMorse(FormStrings &strings)
{
    if (const auto code = morse::codeFor(strings.CurrentSymbol))
        assign(strings.LookupResult, *code);
}

void GetText(FormStrings &strings)
{
    if (const auto character = morse::characterFor(strings.CurrentSymbol))
        assign(strings.LookupResult, *character);
}

} // namespace convert
