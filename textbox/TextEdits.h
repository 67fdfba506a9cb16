#pragma once

#include <QString>

#include <deque>
#include <optional>
#include <utility>

namespace textbox {

// A text box's text with its undo history and the boundaries the caret moves by. Every
// question is answered from a short stretch around the position asked about, so its cost
// does not grow with the text.
class TextEdits {
public:
    enum class Kind { Typing, Other };

    // What one edit did: at position, removed gave way to inserted.
    struct Change {
        int position;
        QString removed;
        QString inserted;
    };
    // An edit undone or redone, and where the caret and the selection's anchor go.
    struct Replayed {
        Change change;
        int cursor;
        int anchor;
    };

    const QString &text() const { return text_; }
    int size() const { return int(text_.size()); }
    // A new text, with no history.
    void reset(const QString &text);
    // Replaces start to end with text, remembering where the caret and anchor were.
    Change replace(int start, int end, const QString &with, Kind kind, int cursor, int anchor);
    std::optional<Replayed> undo();
    std::optional<Replayed> redo();
    bool canUndo() const { return !undone_.empty() || !done_.empty(); }
    bool canRedo() const { return !undone_.empty(); }

    // Character boundaries: a surrogate pair, or a letter with its combining marks, is
    // one character to the caret.
    int characterStart(int position) const;
    int nextCharacter(int position) const;
    int previousCharacter(int position) const;
    int nextWord(int position) const;
    int previousWord(int position) const;
    // The word around a position, or the character there where it is no word.
    std::pair<int, int> wordAt(int position) const;

private:
    struct Step {
        int position;
        QString removed;
        QString inserted;
        int cursor;
        int anchor;
        Kind kind;
    };

    QString text_;
    std::deque<Step> done_;
    std::deque<Step> undone_;
};

} // namespace textbox
