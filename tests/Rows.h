#pragma once

#include <QString>
#include <QTest>

#include <cstddef>

namespace rows {

// A UTF-16 literal is taken whole, NUL characters and lone surrogates included.
template <std::size_t N> QString value(const char16_t (&text)[N])
{
    return QString(reinterpret_cast<const QChar *>(text), qsizetype(N - 1));
}

template <typename T> const T &value(const T &plain)
{
    return plain;
}

} // namespace rows

// Adds a row to a data-driven test in one call, so that each row stays on one line:
// addRow("name", first, second, ...), one value per column in the columns' order.
template <typename... Columns> void addRow(const char *name, const Columns &...columns)
{
    (QTest::newRow(name) << ... << rows::value(columns));
}
