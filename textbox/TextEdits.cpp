#include "textbox/TextEdits.h"

#include <QTextBoundaryFinder>

#include <algorithm>

namespace textbox {
namespace {

// Edits remembered for undoing; older ones are forgotten.
constexpr std::size_t deepestHistory = 100;
// Typed characters undo together up to this many.
constexpr int longestTypingStep = 64;
// How far around a position the boundaries are looked for. No character of real text
// is longer; a word may be, and then the caret moves by this much.
constexpr int characterReach = 32;
constexpr int wordReach = 256;

struct Around {
    int from;
    QTextBoundaryFinder finder;
};

Around around(const QString &text, int position, int reach, QTextBoundaryFinder::BoundaryType type)
{
    const int from = std::max(0, position - reach);
    const int to = std::min(int(text.size()), position + reach);
    Around found{from, QTextBoundaryFinder(type, text.constData() + from, to - from)};
    found.finder.setPosition(position - from);
    return found;
}

} // namespace

void TextEdits::reset(const QString &text)
{
    text_ = text;
    done_.clear();
    undone_.clear();
}

TextEdits::Change TextEdits::replace(
    int start, int end, const QString &with, Kind kind, int cursor, int anchor)
{
    start = std::clamp(start, 0, size());
    end = std::clamp(end, start, size());
    Change change{start, text_.mid(start, end - start), with};
    if (change.removed.isEmpty() && with.isEmpty())
        return change;
    text_.replace(start, end - start, with);
    undone_.clear();

    Step *last = done_.empty() ? nullptr : &done_.back();
    const bool continuesTyping = kind == Kind::Typing && last && last->kind == Kind::Typing
        && change.removed.isEmpty() && last->position + last->inserted.size() == start
        && last->inserted.size() + with.size() <= longestTypingStep;
    if (continuesTyping) {
        last->inserted += with;
        return change;
    }
    done_.push_back({start, change.removed, with, cursor, anchor, kind});
    if (done_.size() > deepestHistory)
        done_.pop_front();
    return change;
}

std::optional<TextEdits::Replayed> TextEdits::undo()
{
    if (done_.empty())
        return std::nullopt;
    Step step = std::move(done_.back());
    done_.pop_back();
    text_.replace(step.position, step.inserted.size(), step.removed);
    Replayed replayed{{step.position, step.inserted, step.removed}, step.cursor, step.anchor};
    undone_.push_back(std::move(step));
    return replayed;
}

std::optional<TextEdits::Replayed> TextEdits::redo()
{
    if (undone_.empty())
        return std::nullopt;
    Step step = std::move(undone_.back());
    undone_.pop_back();
    text_.replace(step.position, step.removed.size(), step.inserted);
    const int after = step.position + int(step.inserted.size());
    Replayed replayed{{step.position, step.removed, step.inserted}, after, after};
    done_.push_back(std::move(step));
    return replayed;
}

int TextEdits::characterStart(int position) const
{
    position = std::clamp(position, 0, size());
    Around found = around(text_, position, characterReach, QTextBoundaryFinder::Grapheme);
    if (found.finder.isAtBoundary())
        return position;
    const auto previous = found.finder.toPreviousBoundary();
    return previous < 0 ? position : found.from + int(previous);
}

int TextEdits::nextCharacter(int position) const
{
    if (position >= size())
        return size();
    Around found = around(text_, position, characterReach, QTextBoundaryFinder::Grapheme);
    const auto next = found.finder.toNextBoundary();
    return next < 0 ? size() : found.from + int(next);
}

int TextEdits::previousCharacter(int position) const
{
    if (position <= 0)
        return 0;
    Around found = around(text_, position, characterReach, QTextBoundaryFinder::Grapheme);
    const auto previous = found.finder.toPreviousBoundary();
    return previous < 0 ? 0 : found.from + int(previous);
}

int TextEdits::nextWord(int position) const
{
    // To the start of the next word, past spaces, as line edits move.
    Around found = around(text_, position, wordReach, QTextBoundaryFinder::Word);
    while (found.finder.toNextBoundary() >= 0) {
        const int at = found.from + int(found.finder.position());
        if (at >= size() || (found.finder.boundaryReasons() & QTextBoundaryFinder::StartOfItem))
            return at;
    }
    return std::min(size(), found.from + 2 * wordReach);
}

int TextEdits::previousWord(int position) const
{
    Around found = around(text_, position, wordReach, QTextBoundaryFinder::Word);
    while (found.finder.toPreviousBoundary() >= 0) {
        const int at = found.from + int(found.finder.position());
        if (at <= 0 || (found.finder.boundaryReasons() & QTextBoundaryFinder::StartOfItem))
            return at;
    }
    return found.from;
}

std::pair<int, int> TextEdits::wordAt(int position) const
{
    position = std::clamp(position, 0, size());
    Around found = around(text_, position, wordReach, QTextBoundaryFinder::Word);
    int start = position;
    if (!(found.finder.boundaryReasons() & QTextBoundaryFinder::StartOfItem)) {
        const auto previous = found.finder.toPreviousBoundary();
        start = previous < 0 ? found.from : found.from + int(previous);
    }
    found.finder.setPosition(start - found.from);
    const auto next = found.finder.toNextBoundary();
    const int end
        = next < 0 ? std::min(size(), found.from + 2 * wordReach) : found.from + int(next);
    return {start, std::max(end, nextCharacter(start))};
}

} // namespace textbox
