#pragma once

#include "textbox/LineView.h"
#include "textbox/TextEdits.h"

#include <QBasicTimer>
#include <QPoint>
#include <QWidget>

#include <algorithm>

namespace textbox {

// A single-line text box that behaves as the line edit users know, keys, mouse, clipboard,
// undo, input methods and all, and whose cost follows what it shows, not what it holds
// (see LineView): megabytes of text type, draw, blink and answer a screen reader as fast
// as a word does.
class TextBox : public QWidget {
    Q_OBJECT

public:
    explicit TextBox(const QString &text, QWidget *parent = nullptr);
    ~TextBox() override;

    QString text() const { return edits_.text(); }
    // Replaces the whole text, as the program does: the caret goes to the end, the undo
    // history starts afresh, and a composition under way is dropped.
    void setText(const QString &text);
    // As setText(text() + more), telling a screen reader only of what was added.
    void append(const QString &more);
    void clear() { setText(QString()); }
    // Types text at the caret, over the selection: undoable.
    void insert(const QString &text);
    void backspace();
    void del();

    int cursorPosition() const { return cursor_; }
    void setCursorPosition(int position);
    bool hasSelectedText() const { return anchor_ != cursor_; }
    int selectionStart() const { return std::min(cursor_, anchor_); }
    int selectionEnd() const { return std::max(cursor_, anchor_); }
    QString selectedText() const;
    // From start, length characters on (back, when negative); the caret ends the selection.
    void setSelection(int start, int length);
    void selectAll();

    void undo();
    void redo();
    bool isUndoAvailable() const { return edits_.canUndo(); }
    bool isRedoAvailable() const { return edits_.canRedo(); }
    void cut();
    void copy() const;
    void paste();

    // The first character in view, and the rectangle of a character there (empty when
    // it is out of view), in the box's coordinates.
    int firstVisible() const;
    QRect characterRect(int position) const;
    // The character position under a point of the box.
    int positionAt(QPoint point) const;

    // Whether a key is one of the edit commands of the box's context menu.
    static bool isEditCommand(const QKeyEvent *key);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;

Q_SIGNALS:
    // Sent once the caret and the selection are where the change leaves them: each
    // change, as a screen reader is told of it, then the whole text.
    void contentsChange(int position, int charsRemoved, int charsAdded);
    void textChanged(const QString &text);

protected:
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void inputMethodEvent(QInputMethodEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dragLeaveEvent(QDragLeaveEvent *event) override;
    void dropEvent(QDropEvent *event) override;
    void timerEvent(QTimerEvent *event) override;

private:
    using Changes = QList<TextEdits::Change>;

    // Makes screen readers see every box as an editable text (TextBoxAccessible.cpp).
    static void installAccessibility();

    bool handleKey(QKeyEvent *event);
    bool handleEditingKey(QKeyEvent *key);
    bool handleMovingKey(QKeyEvent *key);
    bool handleDeletingKey(QKeyEvent *key);
    // An input method's event: what it commits, then the composition it shows, with the
    // formats the composition asks for.
    void applyCommit(const QInputMethodEvent &event, Changes &changes);
    QList<QTextLayout::FormatRange> applyComposition(const QInputMethodEvent &event);
    TextEdits::Caret caret() const;
    void setCaret(const TextEdits::Caret &caret);
    // The edits, each adding what it changed to changes; settled tells everyone once the
    // caret and selection are where they end up.
    void removeSelectedText(Changes &changes);
    void insertAtCursor(const QString &text, Changes &changes);
    void settled(const Changes &changes, bool hadSelection);
    void moveCursor(int position, bool select);
    void moveByCharacter(int steps, bool select);
    void moveByWord(bool forward, bool select);
    void deleteWord(bool forward);
    void deleteWordOrSelection(bool forward);
    // Selects from start to end, copies it and deletes it.
    void cutRange(int start, int end);
    void selectWordAt(int position);
    void replayed(const TextEdits::Replayed &replayed);
    void commitPreedit();
    void dropPreedit();

    QRect textArea() const;
    // The top of the line, centred in the text area as a line edit centres it.
    int baseline(const QRect &area) const;
    // The view, laid out for the box as it is now.
    LineView &view() const;
    void restartBlinking();

    TextEdits edits_;
    int cursor_ = 0;
    int anchor_ = 0;
    bool rightToLeft_ = false;

    mutable LineView line_;

    // An input method's composition, shown at the caret.
    QString preedit_;
    int preeditCursor_ = 0;
    bool caretHidden_ = false;

    QBasicTimer blink_;
    bool caretShown_ = true;
    QBasicTimer tripleClick_;
    QPoint tripleClickAt_;
    QPoint pressedAt_;
    bool mayDrag_ = false;
    int dropCaret_ = -1;
};

} // namespace textbox
