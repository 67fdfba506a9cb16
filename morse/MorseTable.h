#pragma once

#include <QStringView>

#include <optional>
#include <span>
#include <string_view>

namespace morse {

// One character and its International Morse Code: dots and dashes, 1 to 7 symbols.
struct Entry {
    std::u16string_view character;
    std::u16string_view code;
};

// Every character the program converts, in lookup order. Each character and each
// code occurs exactly once, so the two lookups are inverses of each other.
std::span<const Entry> entries();

// The code of a one-character string; nothing for any other string. Exact,
// case-sensitive comparison of the whole string.
std::optional<QStringView> codeFor(QStringView character);

// The character of a code; nothing for a string that is no code of the table.
std::optional<QStringView> characterFor(QStringView code);

} // namespace morse
