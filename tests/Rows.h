#pragma once

#include <QTest>

// Adds a row to a data-driven test in one call, so that each row stays on one line:
// addRow("name", first, second, ...), one value per column in the columns' order.
template <typename... Columns>
void addRow(const char *name, const Columns &...columns)
{
    (QTest::newRow(name) << ... << columns);
}
