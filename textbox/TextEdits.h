#pragma once

#include <QList>
#include <QString>

#include <deque>
#include <optional>

namespace textbox {

// A text box's text with its undo history, kept as a line edit keeps it, so that undo and
// redo take the same steps users know: a run of typing, of Backspace or of Delete undoes
// as one; a caret move or a paste separates steps; removing a selection brings the
// selection back when undone. The history holds runs of characters, never one entry a
// character, and forgets its oldest runs past a bound.
class TextEdits {
public:
    // Where the caret is, and the selection from start to end (empty when start >= end).
    struct Caret {
        int cursor = 0;
        int selectionStart = 0;
        int selectionEnd = 0;
    };
    // What one edit did: at position, removed gave way to inserted.
    struct Change {
        int position;
        QString removed;
        QString inserted;
    };
    // An undo or a redo: its changes in order, and where the caret and selection end up.
    struct Replayed {
        QList<Change> changes;
        Caret caret;
    };

    const QString &text() const { return text_; }
    int size() const { return int(text_.size()); }
    // A new text, with no history.
    void reset(const QString &text);
    // Adds to the end, as the program does: no history.
    void append(const QString &more);
    // The next edit starts a step of its own.
    void separate() { separated_ = true; }

    // Each edit is told where the caret and selection were before it.
    Change insert(int position, const QString &text, const Caret &before);
    // Backspace: removes length characters ending at the caret.
    Change removeBefore(int position, int length, const Caret &before);
    // Delete: removes length characters starting at the caret.
    Change removeAfter(int position, int length, const Caret &before);
    // Removes the selection; the caret must be at one of its ends.
    Change removeSelection(const Caret &before);

    std::optional<Replayed> undo();
    std::optional<Replayed> redo();
    bool canUndo() const { return undone_ > 0; }
    bool canRedo() const { return undone_ < history_.size(); }

private:
    // In the order a line edit ranks them: the rank decides where an undo or redo stops.
    enum class Type {
        Separator,
        Insert,
        Remove,
        Delete,
        RemoveSelection,
        DeleteSelection,
        SetSelection
    };
    struct Entry {
        Type type;
        int position;
        QString characters;
        Caret caret;
    };
    void add(Entry entry, const Caret &before);
    // Undoes (back) or redoes one step: the entries up to where stepEnds says it ends.
    Replayed walk(bool back);
    void replay(const Entry &entry, bool back, Replayed &replayed);
    static bool stepEnds(Type done, Type next, bool back);
    Change remove(Type type, int position, int length, const Caret &before);

    QString text_;
    std::deque<Entry> history_;
    // Entries before this are done; from it on, undone and waiting for a redo.
    std::size_t undone_ = 0;
    bool separated_ = false;
};

} // namespace textbox
