#pragma once

namespace textbox {

// What the line edit of the running Qt does where Qt releases differ and no text service
// of Qt's gives the answer: each is asked of a line edit once, so that the box follows the
// Qt it runs on as its text layout already makes it do for words and characters.
namespace lineEditRules {

// Whether Ctrl+Delete and Ctrl+Backspace take only the selection when there is one (Qt 6.8)
// rather than first growing it to the edge of the word (Qt 6.4).
bool wordDeletionTakesOnlyTheSelection();

} // namespace lineEditRules
} // namespace textbox
