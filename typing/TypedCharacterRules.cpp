#include "typing/TypedCharacterRules.h"

namespace app {
namespace {

constexpr int backspace = 8;
constexpr int space = 32;

// Small letters become capitals; nothing else changes.
int upperCase(int code)
{
    return code >= 'a' && code <= 'z' ? code - ('a' - 'A') : code;
}

} // namespace

int filterPlainText(int code)
{
    code = upperCase(code);
    if (code == backspace || code == space)
        return code;
    if (code < '0' || code > 'Z')
        return 0;
    if (code > ':' && code < 'A')
        return 0;
    return code;
}

int filterMorse(int code)
{
    code = upperCase(code);
    if (code == backspace || code == space || code == '-' || code == '.')
        return code;
    return 0;
}

} // namespace app
