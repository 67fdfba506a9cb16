#include "Require.h"
#include "convert/Decode.h"
#include "morse/MorseTable.h"

#include <QString>
#include <QStringView>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace {

// Each pair of bytes, low byte first, is one UTF-16 code unit of any value: NUL, lone
// surrogates and non-characters included. An odd last byte is dropped.
std::u16string codeUnits(const std::uint8_t *data, std::size_t size)
{
    std::u16string text(size / 2, u'\0');
    for (std::size_t i = 0; i < text.size(); ++i)
        text[i] = static_cast<char16_t>(data[2 * i] | data[2 * i + 1] << 8);
    return text;
}

QStringView viewOf(std::u16string_view text)
{
    return QStringView(text.data(), static_cast<qsizetype>(text.size()));
}

// The pieces between the spaces, empty ones included: one more than there are spaces.
std::vector<std::u16string_view> pieces(std::u16string_view text)
{
    std::vector<std::u16string_view> found;
    for (;;) {
        const std::size_t space = text.find(u' ');
        found.push_back(text.substr(0, space));
        if (space == std::u16string_view::npos)
            return found;
        text.remove_prefix(space + 1);
    }
}

// A walk through the whole table, apart from the indexed lookup the decoder uses; empty
// for a piece that is no code.
std::u16string_view characterOf(std::u16string_view piece)
{
    for (const morse::Entry &entry : morse::entries()) {
        if (entry.code == piece)
            return entry.character;
    }
    return {};
}

bool isTableCharacter(QChar c)
{
    const auto table = morse::entries();
    return std::any_of(table.begin(), table.end(),
        [c](const morse::Entry &entry) { return entry.character.front() == c.unicode(); });
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::u16string morse = codeUnits(data, size);
    convert::FormStrings strings;
    const QString text = convert::decodeMorse(viewOf(morse), strings);

    require(text.size() <= qsizetype(morse.size()), "the text is no longer than the Morse");
    require(text.count(u' ') == qsizetype(std::count(morse.begin(), morse.end(), u' ')),
        "the text has as many spaces as the Morse");
    require(std::all_of(
                text.begin(), text.end(), [](QChar c) { return c == u' ' || isTableCharacter(c); }),
        "each character of the text but the space is one of the table's");

    // Every piece but the last gives its character and a space; the last gives its
    // character alone.
    const std::vector<std::u16string_view> tokens = pieces(morse);
    std::u16string expected;
    for (std::size_t i = 0; i + 1 < tokens.size(); ++i)
        expected.append(characterOf(tokens[i])).push_back(u' ');
    expected.append(characterOf(tokens.back()));
    require(text == viewOf(expected), "the text is the pieces' characters, each space kept");

    // An empty last piece after a space is no token: the one before it was looked up last.
    const bool endsInSpace = tokens.size() > 1 && tokens.back().empty();
    const std::u16string_view lastToken = tokens[tokens.size() - (endsInSpace ? 2 : 1)];
    require(strings.CurrentSymbol == viewOf(lastToken), "CurrentSymbol holds the last token");
    // A lone token leaves no answer behind.
    require(strings.LookupResult
            == (tokens.size() == 1 ? QStringView() : viewOf(characterOf(lastToken))),
        "LookupResult holds the last token's character, after more than one token");
    return 0;
}
