#pragma once

#include "textbox/TextEdits.h"

#include <QBasicTimer>
#include <QPoint>
#include <QTextLayout>
#include <QWidget>

#include <algorithm>
#include <memory>

namespace textbox {

// A single-line text box whose cost follows what it shows, not what it holds: it lays
// out only the stretch of text in view, so megabytes of text type, draw, blink and
// answer a screen reader as fast as a word does. It keeps what users expect of a line
// edit: the style's frame, a blinking caret, selection by mouse and keyboard, word moves,
// the clipboard and the primary selection, undo and redo, the standard context menu,
// input methods, dragging and dropping text, and the accessibility text interfaces.
class TextBox : public QWidget {
    Q_OBJECT

public:
    explicit TextBox(const QString &text, QWidget *parent = nullptr);
    ~TextBox() override;

    QString text() const { return edits_.text(); }
    // Replaces the whole text, as the program does: the caret goes to the end and the
    // undo history starts afresh.
    void setText(const QString &text);
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
    void setSelection(int start, int length);
    void selectAll();

    void undo();
    void redo();
    void cut();
    void copy() const;
    void paste();

    // The first character in view, and the rectangle of a character there (empty when
    // it is out of view), in the box's coordinates.
    int firstVisible() const { return first_; }
    QRect characterRect(int position) const;
    // The character position under a point of the box.
    int positionAt(QPoint point) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;

Q_SIGNALS:
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
    void changeEvent(QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    bool handleKey(QKeyEvent *event);
    void replace(int start, int end, const QString &with, TextEdits::Kind kind);
    void applied(const TextEdits::Change &change);
    void moveCursor(int position, bool select);
    void selectionChanged();
    void deleteSelectionOr(int start, int end);
    void pasteAt(int position, const QString &text);

    QRect textArea() const;
    int baseline() const;
    const QTextLayout &stretch() const;
    int stretchLength(int start) const;
    void scrollToCursor();
    void restartBlinking();
    void invalidateStretch();

    TextEdits edits_;
    int cursor_ = 0;
    int anchor_ = 0;
    // The first character in view, always on a character boundary.
    int first_ = 0;
    QString preedit_;

    mutable std::unique_ptr<QTextLayout> stretch_;
    mutable int stretchStart_ = -1;

    QBasicTimer blink_;
    bool caretShown_ = true;
    QPoint pressedAt_;
    bool selecting_ = false;
    bool mayDrag_ = false;
    int dropCaret_ = -1;
};

} // namespace textbox
