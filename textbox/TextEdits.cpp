#include "textbox/TextEdits.h"

#include <algorithm>

namespace textbox {
namespace {

// Runs remembered for undoing; older ones are forgotten.
constexpr std::size_t deepestHistory = 1000;

} // namespace

void TextEdits::reset(const QString &text)
{
    text_ = text;
    history_.clear();
    undone_ = 0;
}

void TextEdits::append(const QString &more)
{
    text_ += more;
    history_.clear();
    undone_ = 0;
}

void TextEdits::add(Entry entry, const Caret &before)
{
    history_.resize(undone_);
    if (separated_ && !history_.empty() && history_.back().type != Type::Separator)
        history_.push_back({Type::Separator, before.cursor, {}, before});
    separated_ = false;

    // A character next to the run before it, of the same kind, joins that run.
    Entry *last = history_.empty() ? nullptr : &history_.back();
    if (last && last->type == entry.type) {
        const int lastEnd = last->position + int(last->characters.size());
        if (entry.type == Type::Insert && lastEnd == entry.position) {
            last->characters += entry.characters;
            undone_ = history_.size();
            return;
        }
        if (entry.type == Type::Remove
            && entry.position + entry.characters.size() == last->position) {
            last->characters.prepend(entry.characters);
            last->position = entry.position;
            undone_ = history_.size();
            return;
        }
        if (entry.type == Type::Delete && entry.position == last->position) {
            last->characters += entry.characters;
            undone_ = history_.size();
            return;
        }
    }
    history_.push_back(std::move(entry));
    while (history_.size() > deepestHistory)
        history_.pop_front();
    undone_ = history_.size();
}

TextEdits::Change TextEdits::insert(int position, const QString &text, const Caret &before)
{
    position = std::clamp(position, 0, size());
    if (text.isEmpty())
        return {position, {}, {}};
    text_.insert(position, text);
    add({Type::Insert, position, text, {}}, before);
    return {position, {}, text};
}

TextEdits::Change TextEdits::removeBefore(int position, int length, const Caret &before)
{
    return remove(Type::Remove, position, length, before);
}

TextEdits::Change TextEdits::removeAfter(int position, int length, const Caret &before)
{
    return remove(Type::Delete, position, length, before);
}

TextEdits::Change TextEdits::remove(Type type, int position, int length, const Caret &before)
{
    position = std::clamp(position, 0, size());
    length = std::clamp(length, 0, size() - position);
    const QString removed = text_.mid(position, length);
    if (removed.isEmpty())
        return {position, {}, {}};
    text_.remove(position, length);
    add({type, position, removed, {}}, before);
    return {position, removed, {}};
}

TextEdits::Change TextEdits::removeSelection(const Caret &before)
{
    const int start = std::clamp(before.selectionStart, 0, size());
    const int end = std::clamp(before.selectionEnd, start, size());
    if (start == end)
        return {start, {}, {}};
    separate();
    add({Type::SetSelection, before.cursor, {}, before}, before);
    // The kind records which end the caret was at, and so where an undo leaves it.
    const Type kind = before.cursor == start ? Type::DeleteSelection : Type::RemoveSelection;
    const QString removed = text_.mid(start, end - start);
    text_.remove(start, end - start);
    history_.push_back({kind, start, removed, {}});
    undone_ = history_.size();
    return {start, removed, {}};
}

std::optional<TextEdits::Replayed> TextEdits::undo()
{
    return canUndo() ? std::optional(walk(true)) : std::nullopt;
}

std::optional<TextEdits::Replayed> TextEdits::redo()
{
    return canRedo() ? std::optional(walk(false)) : std::nullopt;
}

TextEdits::Replayed TextEdits::walk(bool back)
{
    Replayed replayed;
    while (back ? undone_ > 0 : undone_ < history_.size()) {
        const Entry &entry = back ? history_[--undone_] : history_[undone_++];
        // Undone, a separator goes with the step before it.
        if (back && entry.type == Type::Separator)
            continue;
        replay(entry, back, replayed);
        if (back ? undone_ == 0 : undone_ == history_.size())
            break;
        if (stepEnds(entry.type, history_[back ? undone_ - 1 : undone_].type, back))
            break;
    }
    return replayed;
}

void TextEdits::replay(const Entry &entry, bool back, Replayed &replayed)
{
    if (entry.type == Type::Separator || entry.type == Type::SetSelection) {
        replayed.caret = entry.caret;
        return;
    }
    // An insert undone and a removal redone take the characters out; the others put them
    // back.
    const bool inserts = (entry.type == Type::Insert) != back;
    const int length = int(entry.characters.size());
    if (inserts) {
        text_.insert(entry.position, entry.characters);
        replayed.changes.append({entry.position, {}, entry.characters});
    } else {
        text_.remove(entry.position, length);
        replayed.changes.append({entry.position, entry.characters, {}});
    }
    // Typing and Backspace leave the caret after what they bring back; Delete, before.
    const bool caretAfter = inserts
        && (entry.type == Type::Insert || entry.type == Type::Remove
            || entry.type == Type::RemoveSelection);
    replayed.caret = {caretAfter ? entry.position + length : entry.position, 0, 0};
}

bool TextEdits::stepEnds(Type done, Type next, bool back)
{
    if (next == done)
        return false;
    // Undoing, a step ends where a different kind of edit begins, unless it continues
    // into the selection a removal took away.
    if (back)
        return next < Type::RemoveSelection
            && (done < Type::RemoveSelection || next == Type::Separator);
    // Redoing, a step takes the caret move after it along, and stops before the next edit.
    return done < Type::RemoveSelection && next != Type::Separator
        && (next < Type::RemoveSelection || done == Type::Separator);
}

} // namespace textbox
