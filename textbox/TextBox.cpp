#include "textbox/TextBox.h"

#include "textbox/AccessibleNotices.h"
#include "textbox/Boundaries.h"
#include "textbox/LineEditRules.h"

#include <QApplication>
#include <QClipboard>
#include <QDrag>
#include <QGuiApplication>
#include <QInputMethod>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QPainter>
#include <QStyle>
#include <QStyleHints>
#include <QStyleOptionFrame>
#include <QTextCharFormat>

#include <algorithm>

namespace textbox {
namespace {

// The line edit's own margins around its text, inside the style's contents rectangle.
constexpr int horizontalMargin = 2;
constexpr int verticalMargin = 1;
// The text an input method is shown around the caret.
constexpr int surroundingReach = 256;

// What a key may type: printable text, a format character, a private-use character or a
// whole surrogate pair; never with Control held, which makes commands of letters.
bool typesText(const QKeyEvent *key)
{
    const QString text = key->text();
    if (text.isEmpty())
        return false;
    const QChar first = text.front();
    if (first.category() == QChar::Other_Format)
        return true;
    const Qt::KeyboardModifiers modifiers = key->modifiers();
    if (modifiers == Qt::ControlModifier || modifiers == (Qt::ControlModifier | Qt::ShiftModifier))
        return false;
    return first.isPrint() || first.category() == QChar::Other_PrivateUse
        || (first.isHighSurrogate() && text.size() > 1 && text[1].isLowSurrogate());
}

QStyleOptionFrame panelOption(const QWidget *box)
{
    QStyleOptionFrame option;
    option.initFrom(box);
    option.rect = box->contentsRect();
    option.lineWidth = box->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, box);
    option.midLineWidth = 0;
    option.state |= QStyle::State_Sunken;
    option.features = QStyleOptionFrame::None;
    return option;
}

} // namespace

TextBox::TextBox(const QString &text, QWidget *parent)
    : QWidget(parent)
    , line_(edits_)
{
    installAccessibility();
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_InputMethodEnabled);
    setAttribute(Qt::WA_KeyCompression);
    setAttribute(Qt::WA_MacShowFocusRect);
    setCursor(Qt::IBeamCursor);
    setAcceptDrops(true);
    setBackgroundRole(QPalette::Base);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    edits_.reset(text);
    rightToLeft_ = boundaries::readsRightToLeft(text);
    cursor_ = anchor_ = edits_.size();
    line_.setRightToLeft(rightToLeft_);
    line_.setCaret(cursor_);
}

TextBox::~TextBox() = default;

void TextBox::setText(const QString &text)
{
    dropPreedit();
    const QString old = edits_.text();
    edits_.reset(text);
    rightToLeft_ = boundaries::readsRightToLeft(text);
    cursor_ = anchor_ = edits_.size();
    line_.replaced();
    line_.setRightToLeft(rightToLeft_);
    line_.setCaret(cursor_);
    update();
    updateMicroFocus();
    notifyTextReplaced(this, old, text);
    notifyCursorMoved(this, cursor_);
    Q_EMIT contentsChange(0, int(old.size()), int(text.size()));
    Q_EMIT textChanged(text);
}

void TextBox::append(const QString &more)
{
    dropPreedit();
    const int end = edits_.size();
    edits_.append(more);
    const bool hadSelection = hasSelectedText();
    cursor_ = anchor_ = edits_.size();
    settled({{end, {}, more}}, hadSelection);
}

TextEdits::Caret TextBox::caret() const
{
    if (!hasSelectedText())
        return {cursor_, 0, 0};
    return {cursor_, selectionStart(), selectionEnd()};
}

void TextBox::setCaret(const TextEdits::Caret &caret)
{
    cursor_ = std::clamp(caret.cursor, 0, edits_.size());
    if (caret.selectionStart < caret.selectionEnd)
        anchor_ = std::clamp(
            cursor_ == caret.selectionStart ? caret.selectionEnd : caret.selectionStart, 0,
            edits_.size());
    else
        anchor_ = cursor_;
}

void TextBox::removeSelectedText(Changes &changes)
{
    if (!hasSelectedText())
        return;
    changes.append(edits_.removeSelection(caret()));
    cursor_ = anchor_ = changes.back().position;
}

void TextBox::insertAtCursor(const QString &text, Changes &changes)
{
    if (text.isEmpty())
        return;
    changes.append(edits_.insert(cursor_, text, caret()));
    cursor_ = anchor_ = cursor_ + int(text.size());
}

void TextBox::settled(const Changes &changes, bool hadSelection)
{
    if (!changes.isEmpty()) {
        for (const TextEdits::Change &change : changes)
            line_.changed(change.position);
        rightToLeft_ = boundaries::readsRightToLeft(edits_.text());
        line_.setRightToLeft(rightToLeft_);
    }
    line_.setCaret(cursor_);
    restartBlinking();
    update();
    updateMicroFocus();
    // Told only now, with the caret and the selection where they end up.
    for (const TextEdits::Change &change : changes)
        notifyTextChanged(this, change.position, change.removed, change.inserted);
    notifyCursorMoved(this, cursor_);
    if (hadSelection || hasSelectedText()) {
        notifySelectionChanged(this, selectionStart(), selectionEnd());
        QClipboard *clipboard = QGuiApplication::clipboard();
        if (hasSelectedText() && clipboard->supportsSelection())
            clipboard->setText(selectedText(), QClipboard::Selection);
    }
    for (const TextEdits::Change &change : changes)
        Q_EMIT contentsChange(
            change.position, int(change.removed.size()), int(change.inserted.size()));
    if (!changes.isEmpty())
        Q_EMIT textChanged(edits_.text());
}

void TextBox::insert(const QString &text)
{
    const bool hadSelection = hasSelectedText();
    Changes changes;
    removeSelectedText(changes);
    insertAtCursor(text, changes);
    settled(changes, hadSelection);
}

void TextBox::backspace()
{
    const bool hadSelection = hasSelectedText();
    Changes changes;
    if (hadSelection) {
        removeSelectedText(changes);
    } else if (cursor_ > 0) {
        // One code point back, so that a combining mark goes before its letter.
        const QString &text = edits_.text();
        const int length = cursor_ > 1 && text[cursor_ - 1].isLowSurrogate()
                && text[cursor_ - 2].isHighSurrogate()
            ? 2
            : 1;
        changes.append(edits_.removeBefore(cursor_ - length, length, caret()));
        cursor_ = anchor_ = cursor_ - length;
    }
    settled(changes, hadSelection);
}

void TextBox::del()
{
    const bool hadSelection = hasSelectedText();
    Changes changes;
    if (hadSelection) {
        removeSelectedText(changes);
    } else {
        const int length = boundaries::nextCharacter(edits_.text(), cursor_) - cursor_;
        if (length > 0)
            changes.append(edits_.removeAfter(cursor_, length, caret()));
    }
    settled(changes, hadSelection);
}

void TextBox::setCursorPosition(int position)
{
    moveCursor(std::clamp(position, 0, edits_.size()), false);
}

QString TextBox::selectedText() const
{
    return edits_.text().mid(selectionStart(), selectionEnd() - selectionStart());
}

void TextBox::setSelection(int start, int length)
{
    commitPreedit();
    if (start < 0 || start > edits_.size())
        return;
    const bool hadSelection = hasSelectedText();
    if (length == 0) {
        anchor_ = cursor_ = start;
    } else {
        anchor_ = start;
        cursor_ = std::clamp(start + length, 0, edits_.size());
    }
    settled({}, hadSelection);
}

void TextBox::selectAll()
{
    commitPreedit();
    anchor_ = cursor_ = 0;
    moveCursor(edits_.size(), true);
}

void TextBox::moveCursor(int position, bool select)
{
    commitPreedit();
    if (position != cursor_)
        edits_.separate();
    const bool hadSelection = hasSelectedText();
    cursor_ = position;
    if (!select)
        anchor_ = position;
    settled({}, hadSelection);
}

void TextBox::moveByCharacter(int steps, bool select)
{
    const QString &text = edits_.text();
    int position = cursor_;
    for (; steps > 0; --steps)
        position = boundaries::nextCharacter(text, position);
    for (; steps < 0; ++steps)
        position = boundaries::previousCharacter(text, position);
    moveCursor(position, select);
}

void TextBox::moveByWord(bool forward, bool select)
{
    // In a line that reads right to left, the word after is to the left.
    const bool onward = forward != rightToLeft_;
    moveCursor(onward ? boundaries::nextWord(edits_.text(), cursor_)
                      : boundaries::previousWord(edits_.text(), cursor_),
        select);
}

void TextBox::deleteWord(bool forward)
{
    // The selection grows to the word's edge and goes; forward, an empty one takes the
    // character after the caret with it.
    const QString &text = edits_.text();
    moveCursor(
        forward ? boundaries::nextWord(text, cursor_) : boundaries::previousWord(text, cursor_),
        true);
    if (forward || hasSelectedText())
        del();
}

void TextBox::deleteWordOrSelection(bool forward)
{
    if (hasSelectedText() && lineEditRules::wordDeletionTakesOnlyTheSelection())
        del();
    else
        deleteWord(forward);
}

void TextBox::cutRange(int start, int end)
{
    setSelection(start, end - start);
    copy();
    del();
}

void TextBox::selectWordAt(int position)
{
    const auto [start, end] = boundaries::wordAt(edits_.text(), position);
    moveCursor(start, false);
    moveCursor(end, true);
}

void TextBox::undo()
{
    commitPreedit();
    if (const auto replayed = edits_.undo())
        this->replayed(*replayed);
}

void TextBox::redo()
{
    commitPreedit();
    if (const auto replayed = edits_.redo())
        this->replayed(*replayed);
}

void TextBox::replayed(const TextEdits::Replayed &replayed)
{
    const bool hadSelection = hasSelectedText();
    setCaret(replayed.caret);
    settled(replayed.changes, hadSelection);
}

void TextBox::cut()
{
    if (!hasSelectedText())
        return;
    copy();
    del();
}

void TextBox::copy() const
{
    if (hasSelectedText())
        QGuiApplication::clipboard()->setText(selectedText());
}

void TextBox::paste()
{
    const QString pasted = QGuiApplication::clipboard()->text();
    if (pasted.isEmpty() && !hasSelectedText())
        return;
    // A paste undoes on its own, not with the typing around it.
    edits_.separate();
    insert(pasted);
    edits_.separate();
}

void TextBox::commitPreedit()
{
    if (preedit_.isEmpty())
        return;
    QGuiApplication::inputMethod()->commit();
    dropPreedit();
}

void TextBox::dropPreedit()
{
    if (preedit_.isEmpty())
        return;
    QGuiApplication::inputMethod()->reset();
    preedit_.clear();
    preeditCursor_ = 0;
    caretHidden_ = false;
    line_.setComposition({}, 0, {});
    update();
}

QRect TextBox::textArea() const
{
    const QStyleOptionFrame option = panelOption(this);
    const QRect contents = style()->subElementRect(QStyle::SE_LineEditContents, &option, this);
    return contents.adjusted(horizontalMargin, verticalMargin, -horizontalMargin, -verticalMargin);
}

int TextBox::baseline(const QRect &area) const
{
    const QRect line = area.adjusted(0, -verticalMargin, 0, verticalMargin);
    return line.top() + (line.height() - fontMetrics().height() + 1) / 2;
}

LineView &TextBox::view() const
{
    const QRect area = textArea();
    line_.setGeometry(font(), area, baseline(area));
    return line_;
}

int TextBox::firstVisible() const
{
    return view().firstVisible();
}

QRect TextBox::characterRect(int position) const
{
    return view().characterRect(position);
}

int TextBox::positionAt(QPoint point) const
{
    return view().positionAt(point.x(), QTextLine::CursorBetweenCharacters);
}

QSize TextBox::sizeHint() const
{
    const QFontMetrics metrics = fontMetrics();
    QStyleOptionFrame option = panelOption(this);
    const QSize text(metrics.horizontalAdvance(QLatin1Char('x')) * 17 + 2 * horizontalMargin,
        metrics.height() + 2 * verticalMargin);
    return style()->sizeFromContents(QStyle::CT_LineEdit, &option, text, this);
}

QSize TextBox::minimumSizeHint() const
{
    return QSize(fontMetrics().maxWidth(), sizeHint().height());
}

void TextBox::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QStyleOptionFrame option = panelOption(this);
    style()->drawPrimitive(QStyle::PE_PanelLineEdit, &option, &painter, this);

    painter.setClipRect(textArea().adjusted(0, -verticalMargin, 0, verticalMargin));
    painter.setPen(palette().color(QPalette::Text));
    QTextLayout::FormatRange selection{selectionStart(), selectionEnd() - selectionStart(), {}};
    const QPalette::ColorGroup group = hasFocus() ? QPalette::Active : QPalette::Inactive;
    selection.format.setBackground(palette().brush(group, QPalette::Highlight));
    selection.format.setForeground(palette().brush(group, QPalette::HighlightedText));
    const bool blinkingCaret = hasFocus() && caretShown_ && !caretHidden_;
    const int caret = dropCaret_ >= 0 ? dropCaret_ : blinkingCaret ? cursor_ : -1;
    view().draw(&painter, selection, caret,
        style()->pixelMetric(QStyle::PM_TextCursorWidth, nullptr, this));
}

void TextBox::restartBlinking()
{
    caretShown_ = true;
    const int flash = QGuiApplication::styleHints()->cursorFlashTime();
    if (hasFocus() && flash >= 2)
        blink_.start(flash / 2, this);
    else
        blink_.stop();
}

void TextBox::timerEvent(QTimerEvent *event)
{
    if (event->timerId() == tripleClick_.timerId()) {
        tripleClick_.stop();
        return;
    }
    if (event->timerId() != blink_.timerId())
        return QWidget::timerEvent(event);
    caretShown_ = !caretShown_;
    const QRect caret = inputMethodQuery(Qt::ImCursorRectangle).toRect();
    update(caret.adjusted(-2, 0, 2, 0));
}

void TextBox::focusInEvent(QFocusEvent *event)
{
    restartBlinking();
    update();
    QWidget::focusInEvent(event);
}

void TextBox::focusOutEvent(QFocusEvent *event)
{
    blink_.stop();
    update();
    QWidget::focusOutEvent(event);
}

bool TextBox::isEditCommand(const QKeyEvent *key)
{
    return key->matches(QKeySequence::Copy) || key->matches(QKeySequence::Cut)
        || key->matches(QKeySequence::Paste) || key->matches(QKeySequence::Undo)
        || key->matches(QKeySequence::Redo) || key->matches(QKeySequence::SelectAll);
}

bool TextBox::event(QEvent *event)
{
    // The box's own keys are not shortcuts of the window.
    if (event->type() == QEvent::ShortcutOverride) {
        auto *key = static_cast<QKeyEvent *>(event);
        if (isEditCommand(key) || typesText(key)) {
            key->accept();
            return true;
        }
    }
    return QWidget::event(event);
}

void TextBox::keyPressEvent(QKeyEvent *event)
{
    if (handleKey(event)) {
        event->accept();
        QClipboard *clipboard = QGuiApplication::clipboard();
        if (hasSelectedText() && clipboard->supportsSelection())
            clipboard->setText(selectedText(), QClipboard::Selection);
    } else {
        event->ignore();
    }
}

bool TextBox::handleKey(QKeyEvent *key)
{
    // The line edit's order: the first kind of key that matches wins.
    if (handleEditingKey(key) || handleMovingKey(key) || handleDeletingKey(key))
        return true;
    if (!typesText(key))
        return false;
    insert(key->text());
    return true;
}

bool TextBox::handleEditingKey(QKeyEvent *key)
{
    using Key = QKeySequence::StandardKey;
    if (key->matches(Key::Undo))
        undo();
    else if (key->matches(Key::Redo))
        redo();
    else if (key->matches(Key::SelectAll))
        selectAll();
    else if (key->matches(Key::Copy))
        copy();
    else if (key->matches(Key::Paste))
        paste();
    else if (key->matches(Key::Cut))
        cut();
    else if (key->matches(Key::DeleteEndOfLine))
        cutRange(cursor_, edits_.size());
    else if (key->matches(Key::DeleteCompleteLine))
        cutRange(0, edits_.size());
    else
        return false;
    return true;
}

bool TextBox::handleMovingKey(QKeyEvent *key)
{
    using Key = QKeySequence::StandardKey;
    const auto is = [key](Key standard) { return key->matches(standard); };
    // In a line that reads right to left, the character after is to the left.
    const int right = rightToLeft_ ? -1 : 1;
    if (is(Key::MoveToStartOfLine) || is(Key::MoveToStartOfDocument))
        moveCursor(0, false);
    else if (is(Key::MoveToEndOfLine) || is(Key::MoveToEndOfDocument))
        moveCursor(edits_.size(), false);
    else if (is(Key::SelectStartOfLine) || is(Key::SelectStartOfDocument))
        moveCursor(0, true);
    else if (is(Key::SelectEndOfLine) || is(Key::SelectEndOfDocument))
        moveCursor(edits_.size(), true);
    else if (is(Key::MoveToNextChar))
        hasSelectedText() ? moveCursor(selectionEnd(), false) : moveByCharacter(right, false);
    else if (is(Key::MoveToPreviousChar))
        hasSelectedText() ? moveCursor(selectionStart(), false) : moveByCharacter(-right, false);
    else if (is(Key::SelectNextChar))
        moveByCharacter(right, true);
    else if (is(Key::SelectPreviousChar))
        moveByCharacter(-right, true);
    else if (is(Key::MoveToNextWord))
        moveByWord(true, false);
    else if (is(Key::MoveToPreviousWord))
        moveByWord(false, false);
    else if (is(Key::SelectNextWord))
        moveByWord(true, true);
    else if (is(Key::SelectPreviousWord))
        moveByWord(false, true);
    else
        return false;
    return true;
}

bool TextBox::handleDeletingKey(QKeyEvent *key)
{
    using Key = QKeySequence::StandardKey;
    if (key->matches(Key::Delete))
        del();
    else if (key->matches(Key::DeleteEndOfWord))
        deleteWordOrSelection(true);
    else if (key->matches(Key::DeleteStartOfWord))
        deleteWordOrSelection(false);
    else if (key->key() == Qt::Key_Backspace)
        key->modifiers() & Qt::ControlModifier ? deleteWord(false) : backspace();
    else
        return false;
    return true;
}

void TextBox::mousePressEvent(QMouseEvent *event)
{
    const QPoint at = event->position().toPoint();
    pressedAt_ = at;
    // A click on a composition belongs to the input method.
    if (!preedit_.isEmpty()) {
        const int inPreedit = positionAt(at) - cursor_;
        if (inPreedit >= 0 && inPreedit <= preedit_.size())
            return;
    }
    if (event->button() == Qt::RightButton)
        return QWidget::mousePressEvent(event);
    if (tripleClick_.isActive()
        && (at - tripleClickAt_).manhattanLength() < QApplication::startDragDistance()) {
        selectAll();
        return;
    }
    const bool extend = event->modifiers() & Qt::ShiftModifier;
    const int onCharacter = view().positionAt(at.x(), QTextLine::CursorOnCharacter);
    mayDrag_ = !extend && event->button() == Qt::LeftButton && hasSelectedText()
        && onCharacter >= selectionStart() && onCharacter < selectionEnd();
    if (!mayDrag_)
        moveCursor(positionAt(at), extend);
}

void TextBox::mouseMoveEvent(QMouseEvent *event)
{
    if (!(event->buttons() & Qt::LeftButton))
        return;
    const QPoint at = event->position().toPoint();
    if (!mayDrag_) {
        // Past an edge, the view scrolls on at each move, as the caret leaves it.
        moveCursor(positionAt(at), true);
        return;
    }
    if ((at - pressedAt_).manhattanLength() <= QApplication::startDragDistance())
        return;
    mayDrag_ = false;
    auto *drag = new QDrag(this);
    auto *data = new QMimeData;
    data->setText(selectedText());
    drag->setMimeData(data);
    const int start = selectionStart();
    const QString dragged = selectedText();
    // Moved elsewhere: the text leaves, unless the box changed meanwhile.
    if (drag->exec(Qt::CopyAction | Qt::MoveAction) == Qt::MoveAction && drag->target() != this
        && selectionStart() == start && selectedText() == dragged)
        del();
}

void TextBox::mouseReleaseEvent(QMouseEvent *event)
{
    if (!preedit_.isEmpty()) {
        const int inPreedit = positionAt(event->position().toPoint()) - cursor_;
        if (inPreedit >= 0 && inPreedit <= preedit_.size()) {
            QGuiApplication::inputMethod()->invokeAction(QInputMethod::Click, inPreedit);
            return;
        }
    }
    if (event->button() == Qt::LeftButton && mayDrag_) {
        // Pressed on the selection and let go without dragging: the selection goes.
        mayDrag_ = false;
        moveCursor(cursor_, false);
        return;
    }
    QClipboard *clipboard = QGuiApplication::clipboard();
    if (event->button() == Qt::MiddleButton && clipboard->supportsSelection()) {
        anchor_ = cursor_;
        insert(clipboard->text(QClipboard::Selection));
    } else if (event->button() == Qt::LeftButton && hasSelectedText()
        && clipboard->supportsSelection()) {
        clipboard->setText(selectedText(), QClipboard::Selection);
    }
}

void TextBox::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const QPoint at = event->position().toPoint();
    commitPreedit();
    selectWordAt(positionAt(at));
    tripleClick_.start(QApplication::doubleClickInterval(), this);
    tripleClickAt_ = at;
}

void TextBox::contextMenuEvent(QContextMenuEvent *event)
{
    QMenu menu(this);
    const auto add
        = [&](const QString &text, QKeySequence::StandardKey key, bool enabled, auto slot) {
              QAction *action = menu.addAction(text, this, slot);
              action->setShortcut(key);
              action->setEnabled(enabled);
          };
    const bool selected = hasSelectedText();
    add(tr("&Undo"), QKeySequence::Undo, isUndoAvailable(), &TextBox::undo);
    add(tr("&Redo"), QKeySequence::Redo, isRedoAvailable(), &TextBox::redo);
    menu.addSeparator();
    add(tr("Cu&t"), QKeySequence::Cut, selected, &TextBox::cut);
    add(tr("&Copy"), QKeySequence::Copy, selected, &TextBox::copy);
    add(tr("&Paste"), QKeySequence::Paste, !QGuiApplication::clipboard()->text().isEmpty(),
        &TextBox::paste);
    add(tr("Delete"), QKeySequence::Delete, selected, &TextBox::del);
    menu.addSeparator();
    add(tr("Select All"), QKeySequence::SelectAll, !edits_.text().isEmpty(), &TextBox::selectAll);
    menu.exec(event->globalPos());
}

void TextBox::dragEnterEvent(QDragEnterEvent *event)
{
    if (event->mimeData()->hasText())
        event->acceptProposedAction();
}

void TextBox::dragMoveEvent(QDragMoveEvent *event)
{
    if (!event->mimeData()->hasText())
        return;
    dropCaret_ = positionAt(event->position().toPoint());
    event->acceptProposedAction();
    update();
}

void TextBox::dragLeaveEvent(QDragLeaveEvent *)
{
    dropCaret_ = -1;
    update();
}

void TextBox::dropEvent(QDropEvent *event)
{
    int position = positionAt(event->position().toPoint());
    dropCaret_ = -1;
    update();
    if (!event->mimeData()->hasText())
        return;
    const int start = selectionStart(), end = selectionEnd();
    const bool fromHere = event->source() == this;
    if (fromHere && position >= start && position <= end) {
        event->ignore();
        return;
    }
    commitPreedit();
    const QString dropped = event->mimeData()->text();
    const bool hadSelection = hasSelectedText();
    Changes changes;
    if (fromHere && event->dropAction() == Qt::MoveAction) {
        // Moving within the box: the text leaves its place and enters the new one, one
        // step to undo.
        removeSelectedText(changes);
        if (position > end)
            position -= end - start;
        event->setDropAction(Qt::CopyAction);
    } else {
        edits_.separate();
    }
    anchor_ = cursor_ = position;
    insertAtCursor(dropped, changes);
    // What was dropped stays selected.
    anchor_ = position;
    settled(changes, hadSelection);
    event->accept();
}

void TextBox::inputMethodEvent(QInputMethodEvent *event)
{
    const bool hadSelection = hasSelectedText();
    Changes changes;
    applyCommit(*event, changes);
    // Sets the composition and its caret before they are passed on.
    const QList<QTextLayout::FormatRange> formats = applyComposition(*event);
    line_.setComposition(preedit_, preeditCursor_, formats);
    settled(changes, hadSelection);
}

void TextBox::applyCommit(const QInputMethodEvent &event, Changes &changes)
{
    const QString commit = event.commitString();
    const bool input
        = !commit.isEmpty() || event.preeditString() != preedit_ || event.replacementLength() > 0;
    if (input)
        removeSelectedText(changes);

    // The caret after the commit, when nothing is committed.
    int after = cursor_;
    if (event.replacementStart() <= 0)
        after
            += int(commit.size()) - std::min(-event.replacementStart(), event.replacementLength());
    // An event that brings no input leaves the selection be.
    const bool keepSelection = hasSelectedText();
    cursor_ = std::max(0, cursor_ + event.replacementStart());
    if (!keepSelection)
        anchor_ = cursor_;
    if (event.replacementLength() > 0) {
        anchor_ = std::min(cursor_ + event.replacementLength(), edits_.size());
        removeSelectedText(changes);
    }
    if (!commit.isEmpty()) {
        insertAtCursor(commit, changes);
    } else {
        cursor_ = std::clamp(after, 0, edits_.size());
        if (!keepSelection)
            anchor_ = cursor_;
    }
}

QList<QTextLayout::FormatRange> TextBox::applyComposition(const QInputMethodEvent &event)
{
    preedit_ = event.preeditString();
    preeditCursor_ = int(preedit_.size());
    caretHidden_ = false;
    QList<QTextLayout::FormatRange> formats;
    for (const QInputMethodEvent::Attribute &attribute : event.attributes()) {
        switch (attribute.type) {
        case QInputMethodEvent::Selection:
            cursor_ = std::clamp(attribute.start + attribute.length, 0, edits_.size());
            anchor_ = attribute.length ? std::clamp(attribute.start, 0, edits_.size()) : cursor_;
            break;
        case QInputMethodEvent::Cursor:
            preeditCursor_ = attribute.start;
            caretHidden_ = attribute.length == 0;
            break;
        case QInputMethodEvent::TextFormat: {
            const QTextCharFormat format
                = qvariant_cast<QTextFormat>(attribute.value).toCharFormat();
            if (format.isValid())
                formats.append({attribute.start, attribute.length, format});
            break;
        }
        default:
            break;
        }
    }
    return formats;
}

QVariant TextBox::inputMethodQuery(Qt::InputMethodQuery query) const
{
    const int from = std::max(0, selectionStart() - surroundingReach);
    switch (query) {
    case Qt::ImEnabled:
        return true;
    case Qt::ImCursorRectangle:
        return QRect(view().caretX(), baseline(textArea()), 1, fontMetrics().height());
    case Qt::ImFont:
        return font();
    case Qt::ImCursorPosition:
        return cursor_ - from;
    case Qt::ImAnchorPosition:
        return anchor_ - from;
    case Qt::ImSurroundingText:
        return edits_.text().mid(from, selectionEnd() - selectionStart() + 2 * surroundingReach);
    case Qt::ImCurrentSelection:
        return selectedText();
    case Qt::ImHints:
        return int(inputMethodHints());
    case Qt::ImAbsolutePosition:
        return cursor_;
    default:
        return QWidget::inputMethodQuery(query);
    }
}

} // namespace textbox
