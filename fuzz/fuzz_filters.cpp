#include "Require.h"
#include "typing/TypedCharacterRules.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace {

// What each box lets in, Backspace and the space included.
constexpr std::string_view plainTextAdmits = "\b 0123456789:ABCDEFGHIJKLMNOPQRSTUVWXYZ";
constexpr std::string_view morseAdmits = "\b -.";

bool admits(std::string_view box, int code)
{
    return code > 0 && code < 128 && box.find(static_cast<char>(code)) != std::string_view::npos;
}

int capital(int code)
{
    return code >= 'a' && code <= 'z' ? code - 'a' + 'A' : code;
}

void checkPlainText(int code)
{
    const int admitted = app::filterPlainText(code);
    require(admitted == (admits(plainTextAdmits, capital(code)) ? capital(code) : 0),
        "the plain-text box takes exactly its characters, small letters as capitals");
    require(admitted >= 0 && admitted <= 127, "nothing above 127 enters the plain-text box");
    require(app::filterPlainText(admitted) == admitted,
        "filtering for the plain-text box twice is filtering once");
}

void checkMorse(int code)
{
    const int admitted = app::filterMorse(code);
    require(admitted == (admits(morseAdmits, code) ? code : 0),
        "the Morse box takes exactly its characters");
    require(admitted >= 0 && admitted <= 127, "nothing above 127 enters the Morse box");
    require(app::filterMorse(admitted) == admitted,
        "filtering for the Morse box twice is filtering once");
}

} // namespace

// Every four bytes are one code, any int at all: negative ones and ones far past 255 too.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    for (std::size_t at = 0; at + sizeof(int) <= size; at += sizeof(int)) {
        int code;
        std::memcpy(&code, data + at, sizeof code);
        checkPlainText(code);
        checkMorse(code);
    }
    return 0;
}
