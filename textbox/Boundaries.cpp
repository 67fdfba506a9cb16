#include "textbox/Boundaries.h"

#include <QTextBoundaryFinder>
#include <QTextLayout>

#include <algorithm>

namespace textbox::boundaries {
namespace {

// How far around a position characters are looked for: no character of real text is
// longer. A word move goes at most this far.
constexpr int characterReach = 32;
constexpr int wordReach = 1024;
// How far into a text its direction is looked for.
constexpr int directionReach = 4096;

// The shown text around a position, from a known offset in the whole.
struct Window {
    int from;
    QString text;
};

Window around(const QString &text, int position, int reach)
{
    const int from = std::max(0, position - reach);
    const int to = std::min(int(text.size()), position + reach);
    return {from, shown(QStringView(text).mid(from, to - from))};
}

// A word move as the line edit of the running Qt makes it, over the shown text from
// `from` to `to`; the answer is a position in the whole text.
int wordMove(const QString &text, int position, int from, int to, bool forward)
{
    QTextLayout layout(shown(QStringView(text).mid(from, to - from)));
    const int inWindow = position - from;
    return from
        + (forward ? layout.nextCursorPosition(inWindow, QTextLayout::SkipWords)
                   : layout.previousCursorPosition(inWindow, QTextLayout::SkipWords));
}

} // namespace

QChar shown(QChar c)
{
    const bool control = c.unicode() < 0x20 && c != u'\t';
    return control || c == QChar::LineSeparator || c == QChar::ParagraphSeparator ? QChar(u' ') : c;
}

QString shown(QStringView text)
{
    QString shown(text.size(), Qt::Uninitialized);
    std::transform(
        text.begin(), text.end(), shown.begin(), [](QChar c) { return boundaries::shown(c); });
    return shown;
}

bool readsRightToLeft(const QString &text)
{
    return QStringView(text).left(directionReach).isRightToLeft();
}

int characterStart(const QString &text, int position)
{
    position = std::clamp(position, 0, int(text.size()));
    const Window window = around(text, position, characterReach);
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, window.text);
    finder.setPosition(position - window.from);
    if (finder.isAtBoundary())
        return position;
    const auto previous = finder.toPreviousBoundary();
    return previous < 0 ? position : window.from + int(previous);
}

int nextCharacter(const QString &text, int position)
{
    if (position >= text.size())
        return int(text.size());
    const Window window = around(text, position, characterReach);
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, window.text);
    finder.setPosition(position - window.from);
    const auto next = finder.toNextBoundary();
    return next < 0 ? int(text.size()) : window.from + int(next);
}

int previousCharacter(const QString &text, int position)
{
    if (position <= 0)
        return 0;
    const Window window = around(text, position, characterReach);
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, window.text);
    finder.setPosition(position - window.from);
    const auto previous = finder.toPreviousBoundary();
    return previous < 0 ? 0 : window.from + int(previous);
}

int nextWord(const QString &text, int position)
{
    const int end = std::min(int(text.size()), position + wordReach);
    if (position < 0 || position >= end)
        return position;
    return wordMove(text, position, position, end, true);
}

int previousWord(const QString &text, int position)
{
    const int start = std::max(0, position - wordReach);
    if (position <= start || position > text.size())
        return position;
    return wordMove(text, position, start, position, false);
}

std::pair<int, int> wordAt(const QString &text, int position)
{
    const int size = int(text.size());
    const int start = previousWord(text, std::min(position + 1, size));
    int end = nextWord(text, start);
    // The spaces after a word are not part of it.
    while (end > position && end > start && shown(text[end - 1]).isSpace())
        --end;
    return {start, end};
}

} // namespace textbox::boundaries
