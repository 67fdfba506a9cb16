#pragma once

#include <QString>

namespace textbox {

class TextBox;

// A text box as a screen reader sees it: an editable text with the AT-SPI Text and
// EditableText interfaces, answered from the stretch asked about.
void installTextBoxAccessibility();

// Tell an active screen reader what changed in a box.
void notifyTextReplaced(TextBox *box, const QString &old, const QString &text);
void notifyTextChanged(TextBox *box, int position, const QString &removed, const QString &inserted);
void notifyCursorMoved(TextBox *box, int position);
void notifySelectionChanged(TextBox *box, int start, int end);

} // namespace textbox
