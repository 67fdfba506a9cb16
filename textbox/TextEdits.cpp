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
    if (!canUndo())
        return std::nullopt;
    Replayed replayed;
    while (undone_ > 0) {
        const Entry &entry = history_[--undone_];
        const int length = int(entry.characters.size());
        switch (entry.type) {
        case Type::Separator:
            // Undone with the step before it.
            continue;
        case Type::SetSelection:
            replayed.caret = entry.caret;
            break;
        case Type::Insert:
            text_.remove(entry.position, length);
            replayed.changes.append({entry.position, entry.characters, {}});
            replayed.caret = {entry.position, 0, 0};
            break;
        case Type::Remove:
        case Type::RemoveSelection:
        case Type::Delete:
        case Type::DeleteSelection:
            text_.insert(entry.position, entry.characters);
            replayed.changes.append({entry.position, {}, entry.characters});
            // Backspace leaves the caret after what it brings back; Delete, before.
            replayed.caret = {entry.type == Type::Remove || entry.type == Type::RemoveSelection
                    ? entry.position + length
                    : entry.position,
                0, 0};
            break;
        }
        if (undone_ == 0)
            break;
        // A step ends where a different kind of edit begins, unless it continues into
        // the selection a removal took away.
        const Type next = history_[undone_ - 1].type;
        if (next != entry.type && next < Type::RemoveSelection
            && (entry.type < Type::RemoveSelection || next == Type::Separator))
            break;
    }
    return replayed;
}

std::optional<TextEdits::Replayed> TextEdits::redo()
{
    if (!canRedo())
        return std::nullopt;
    Replayed replayed;
    while (undone_ < history_.size()) {
        const Entry &entry = history_[undone_++];
        const int length = int(entry.characters.size());
        switch (entry.type) {
        case Type::Separator:
        case Type::SetSelection:
            replayed.caret = entry.caret;
            break;
        case Type::Insert:
            text_.insert(entry.position, entry.characters);
            replayed.changes.append({entry.position, {}, entry.characters});
            replayed.caret = {entry.position + length, 0, 0};
            break;
        case Type::Remove:
        case Type::RemoveSelection:
        case Type::Delete:
        case Type::DeleteSelection:
            text_.remove(entry.position, length);
            replayed.changes.append({entry.position, entry.characters, {}});
            replayed.caret = {entry.position, 0, 0};
            break;
        }
        if (undone_ == history_.size())
            break;
        // A redo takes the caret move after it along, and stops before the next edit.
        const Type next = history_[undone_].type;
        if (next != entry.type && entry.type < Type::RemoveSelection && next != Type::Separator
            && (next < Type::RemoveSelection || entry.type == Type::Separator))
            break;
    }
    return replayed;
}

} // namespace textbox
