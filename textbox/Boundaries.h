#pragma once

#include <QString>

#include <utility>

namespace textbox {

// Where the caret stops in a line of text, by the rules of the line edit users know.
// Characters are grapheme clusters: a surrogate pair, or a letter with its combining
// marks. Words are where the text layout of the running Qt puts them, so that the box
// moves by words as that Qt's line edit does. Each answer is found in a stretch around the position
// asked about, so its cost does not grow with the text; a word longer than the stretch is crossed a
// stretch at a time.
namespace boundaries {

// The character a line of text shows for one it holds: controls, and the line and
// paragraph separators, show as a space.
QChar shown(QChar c);
QString shown(QStringView text);
// Whether a line of this text reads right to left, by its first strong character within
// reach of its start.
bool readsRightToLeft(const QString &text);

int characterStart(const QString &text, int position);
int nextCharacter(const QString &text, int position);
int previousCharacter(const QString &text, int position);
int nextWord(const QString &text, int position);
int previousWord(const QString &text, int position);
// The word a double-click at a position selects.
std::pair<int, int> wordAt(const QString &text, int position);

} // namespace boundaries
} // namespace textbox
