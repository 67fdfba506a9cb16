#include "morse/MorseTable.h"

#include <array>
#include <cstdint>

namespace morse {
namespace {

// clang-format off
constexpr std::array<Entry, 53> table{{
    {u"A", u".-"},      {u"B", u"-..."},    {u"C", u"-.-."},    {u"D", u"-.."},
    {u"E", u"."},       {u"F", u"..-."},    {u"G", u"--."},     {u"H", u"...."},
    {u"I", u".."},      {u"J", u".---"},    {u"K", u"-.-"},     {u"L", u".-.."},
    {u"M", u"--"},      {u"N", u"-."},      {u"O", u"---"},     {u"P", u".--."},
    {u"Q", u"--.-"},    {u"R", u".-."},     {u"S", u"..."},     {u"T", u"-"},
    {u"U", u"..-"},     {u"V", u"...-"},    {u"W", u".--"},     {u"X", u"-..-"},
    {u"Y", u"-.--"},    {u"Z", u"--.."},    {u"0", u"-----"},   {u"1", u".----"},
    {u"2", u"..---"},   {u"3", u"...--"},   {u"4", u"....-"},   {u"5", u"....."},
    {u"6", u"-...."},   {u"7", u"--..."},   {u"8", u"---.."},   {u"9", u"----."},
    {u",", u"--..--"},  {u".", u".-.-.-"},  {u"?", u"..--.."},  {u";", u"-.-.-"},
    {u":", u"---..."},  {u"/", u"-..-."},   {u"-", u"-....-"},  {u"'", u".----."},
    {u"+", u".-.-."},   {u"\"", u".-..-."}, {u"@", u".--.-."},  {u"(", u"-.--."},
    {u")", u"-.--.-"},  {u"_", u"..--.-"},  {u"$", u"...-..-"}, {u"&", u".-..."},
    {u"=", u"-...-"}
}};
// clang-format on

constexpr std::size_t longestCode = 7;
constexpr std::int8_t none = -1;

// A code of n symbols maps to the slot 2^n + (its symbols as bits, dash = 1), so every
// code of up to seven symbols has a slot of its own below 256.
constexpr int slotOf(std::u16string_view code)
{
    if (code.empty() || code.size() > longestCode)
        return none;
    int slot = 1;
    for (char16_t symbol : code) {
        if (symbol != u'.' && symbol != u'-')
            return none;
        slot = slot * 2 + (symbol == u'-' ? 1 : 0);
    }
    return slot;
}

constexpr auto bySlot = [] {
    std::array<std::int8_t, 256> index{};
    index.fill(none);
    for (std::size_t i = 0; i < table.size(); ++i)
        index[slotOf(table[i].code)] = static_cast<std::int8_t>(i);
    return index;
}();

constexpr bool eachCodeAndCharacterOnce()
{
    for (std::size_t i = 0; i < table.size(); ++i) {
        if (table[i].character.size() != 1 || table[i].character.front() >= 128
            || slotOf(table[i].code) == none)
            return false;
        for (std::size_t j = 0; j < i; ++j)
            if (table[j].character == table[i].character || table[j].code == table[i].code)
                return false;
    }
    return true;
}
static_assert(eachCodeAndCharacterOnce());

// Every character of the table is ASCII.
constexpr auto byCharacter = [] {
    std::array<std::int8_t, 128> index{};
    index.fill(none);
    for (std::size_t i = 0; i < table.size(); ++i)
        index[table[i].character.front()] = static_cast<std::int8_t>(i);
    return index;
}();

QStringView view(std::u16string_view text)
{
    return QStringView(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

std::span<const Entry> entries()
{
    return table;
}

std::optional<QStringView> codeFor(QStringView character)
{
    if (character.size() != 1)
        return std::nullopt;
    const char16_t c = character.front().unicode();
    if (c >= byCharacter.size() || byCharacter[c] == none)
        return std::nullopt;
    return view(table[byCharacter[c]].code);
}

std::optional<QStringView> characterFor(QStringView code)
{
    const int slot = slotOf(std::u16string_view(code.utf16(), code.size()));
    if (slot == none || bySlot[slot] == none)
        return std::nullopt;
    return view(table[bySlot[slot]].character);
}

} // namespace morse
