#include "textbox/TextBox.h"

#include "textbox/TextBoxAccessible.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QDrag>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QPainter>
#include <QStyle>
#include <QStyleHints>
#include <QStyleOptionFrame>

#include <algorithm>

namespace textbox {
namespace {

// The line edit's own margins around its text, inside the style's contents rectangle.
constexpr int horizontalMargin = 2;
constexpr int verticalMargin = 1;
// Never lay out more than this in one go, however narrow the characters.
constexpr int longestStretch = 1 << 14;
// The text an input method is shown around the caret.
constexpr int surroundingReach = 256;

bool typesText(const QString &text)
{
    return !text.isEmpty() && std::all_of(text.begin(), text.end(), [](QChar c) {
        return c.category() != QChar::Other_Control;
    });
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
{
    installTextBoxAccessibility();
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_InputMethodEnabled);
    setAttribute(Qt::WA_KeyCompression);
    setAttribute(Qt::WA_MacShowFocusRect);
    setCursor(Qt::IBeamCursor);
    setAcceptDrops(true);
    setBackgroundRole(QPalette::Base);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    edits_.reset(text);
    cursor_ = anchor_ = edits_.size();
}

TextBox::~TextBox() = default;

void TextBox::setText(const QString &text)
{
    const QString old = edits_.text();
    edits_.reset(text);
    cursor_ = anchor_ = edits_.size();
    first_ = 0;
    preedit_.clear();
    invalidateStretch();
    scrollToCursor();
    notifyTextReplaced(this, old, text);
    update();
    Q_EMIT textChanged(text);
}

void TextBox::insert(const QString &text)
{
    replace(std::min(cursor_, anchor_), std::max(cursor_, anchor_), text, TextEdits::Kind::Typing);
}

void TextBox::backspace()
{
    deleteSelectionOr(edits_.previousCharacter(cursor_), cursor_);
}

void TextBox::del()
{
    deleteSelectionOr(cursor_, edits_.nextCharacter(cursor_));
}

void TextBox::deleteSelectionOr(int start, int end)
{
    if (hasSelectedText())
        replace(std::min(cursor_, anchor_), std::max(cursor_, anchor_), {}, TextEdits::Kind::Other);
    else
        replace(start, end, {}, TextEdits::Kind::Other);
}

void TextBox::setCursorPosition(int position)
{
    moveCursor(position, false);
}

QString TextBox::selectedText() const
{
    const int start = std::min(cursor_, anchor_);
    return edits_.text().mid(start, std::abs(cursor_ - anchor_));
}

void TextBox::setSelection(int start, int length)
{
    anchor_ = std::clamp(start, 0, edits_.size());
    moveCursor(start + length, true);
}

void TextBox::selectAll()
{
    anchor_ = 0;
    moveCursor(edits_.size(), true);
}

void TextBox::undo()
{
    if (const auto replayed = edits_.undo()) {
        applied(replayed->change);
        anchor_ = replayed->anchor;
        moveCursor(replayed->cursor, true);
    }
}

void TextBox::redo()
{
    if (const auto replayed = edits_.redo()) {
        applied(replayed->change);
        anchor_ = replayed->anchor;
        moveCursor(replayed->cursor, true);
    }
}

void TextBox::cut()
{
    if (!hasSelectedText())
        return;
    copy();
    deleteSelectionOr(cursor_, cursor_);
}

void TextBox::copy() const
{
    if (hasSelectedText())
        QGuiApplication::clipboard()->setText(selectedText());
}

void TextBox::paste()
{
    // A paste undoes on its own, not with the typing around it.
    replace(selectionStart(), selectionEnd(), QGuiApplication::clipboard()->text(),
        TextEdits::Kind::Other);
}

void TextBox::pasteAt(int position, const QString &text)
{
    anchor_ = cursor_ = std::clamp(position, 0, edits_.size());
    replace(cursor_, cursor_, text, TextEdits::Kind::Other);
}

void TextBox::replace(int start, int end, const QString &with, TextEdits::Kind kind)
{
    const TextEdits::Change change = edits_.replace(start, end, with, kind, cursor_, anchor_);
    if (change.removed.isEmpty() && change.inserted.isEmpty())
        return;
    applied(change);
    anchor_ = change.position + int(change.inserted.size());
    moveCursor(anchor_, false);
}

void TextBox::applied(const TextEdits::Change &change)
{
    // The view keeps its place unless the text before it changed.
    if (change.position < first_)
        first_ = edits_.characterStart(std::min(first_, change.position));
    invalidateStretch();
    notifyTextChanged(this, change.position, change.removed, change.inserted);
    update();
    Q_EMIT textChanged(edits_.text());
}

void TextBox::moveCursor(int position, bool select)
{
    position = std::clamp(position, 0, edits_.size());
    const bool selectionBefore = hasSelectedText();
    cursor_ = position;
    if (!select)
        anchor_ = position;
    scrollToCursor();
    restartBlinking();
    update();
    notifyCursorMoved(this, cursor_);
    if (selectionBefore || hasSelectedText())
        selectionChanged();
}

void TextBox::selectionChanged()
{
    notifySelectionChanged(this, std::min(cursor_, anchor_), std::max(cursor_, anchor_));
    QClipboard *clipboard = QGuiApplication::clipboard();
    if (hasSelectedText() && clipboard->supportsSelection())
        clipboard->setText(selectedText(), QClipboard::Selection);
}

QRect TextBox::textArea() const
{
    const QStyleOptionFrame option = panelOption(this);
    const QRect contents = style()->subElementRect(QStyle::SE_LineEditContents, &option, this);
    return contents.adjusted(horizontalMargin, verticalMargin, -horizontalMargin, -verticalMargin);
}

int TextBox::baseline() const
{
    // Centred in the box, as a line edit centres its line.
    const QRect area = textArea().adjusted(0, -verticalMargin, 0, verticalMargin);
    return area.top() + (area.height() - fontMetrics().height() + 1) / 2;
}

int TextBox::stretchLength(int start) const
{
    // Enough characters to fill the box from start, and one past; laid out again with
    // twice as many where narrow characters leave room.
    const int width = textArea().width();
    int length = width / std::max(1, fontMetrics().averageCharWidth()) + 8;
    for (;;) {
        const int end = std::min(edits_.size(), start + length);
        const int aligned = edits_.nextCharacter(edits_.characterStart(std::max(start, end - 1)));
        const int stretchEnd = end <= start ? start : std::max(end, aligned);
        if (stretchEnd >= edits_.size() || length >= longestStretch)
            return stretchEnd - start;
        QTextLayout probe(edits_.text().mid(start, stretchEnd - start), font());
        probe.beginLayout();
        QTextLine line = probe.createLine();
        probe.endLayout();
        if (line.naturalTextWidth() > width)
            return stretchEnd - start;
        length *= 2;
    }
}

const QTextLayout &TextBox::stretch() const
{
    if (!stretch_ || stretchStart_ != first_) {
        const int length = stretchLength(first_);
        QString shown = edits_.text().mid(first_, length);
        stretch_ = std::make_unique<QTextLayout>(shown, font());
        QTextOption option;
        option.setWrapMode(QTextOption::NoWrap);
        option.setTextDirection(layoutDirection());
        stretch_->setTextOption(option);
        stretch_->setCacheEnabled(true);
        if (!preedit_.isEmpty() && cursor_ >= first_ && cursor_ <= first_ + length)
            stretch_->setPreeditArea(cursor_ - first_, preedit_);
        stretch_->beginLayout();
        stretch_->createLine();
        stretch_->endLayout();
        stretchStart_ = first_;
    }
    return *stretch_;
}

void TextBox::invalidateStretch()
{
    stretch_.reset();
}

void TextBox::scrollToCursor()
{
    if (cursor_ < first_) {
        first_ = edits_.characterStart(cursor_);
        invalidateStretch();
        return;
    }
    const QTextLayout &shown = stretch();
    const int width = textArea().width();
    const int inStretch = cursor_ - first_;
    if (inStretch <= shown.text().size() && shown.lineAt(0).cursorToX(inStretch) <= width)
        return;
    // The caret lies beyond the right edge: show the text that ends at it.
    const int reach
        = std::min(longestStretch, 2 * (width / std::max(1, fontMetrics().averageCharWidth()) + 8));
    const int from = edits_.characterStart(std::max(0, cursor_ - reach));
    QTextLayout before(edits_.text().mid(from, cursor_ - from), font());
    before.beginLayout();
    QTextLine line = before.createLine();
    before.endLayout();
    const qreal end = line.cursorToX(cursor_ - from);
    int start = 0;
    while (start < cursor_ - from && end - line.cursorToX(start) > width)
        start = before.nextCursorPosition(start);
    first_ = edits_.characterStart(from + start);
    invalidateStretch();
}

QRect TextBox::characterRect(int position) const
{
    const QTextLayout &shown = stretch();
    const int inStretch = position - first_;
    if (inStretch < 0 || inStretch > shown.text().size())
        return {};
    const QTextLine line = shown.lineAt(0);
    const qreal left = line.cursorToX(inStretch);
    const qreal right = inStretch < shown.text().size()
        ? line.cursorToX(shown.nextCursorPosition(inStretch))
        : left + fontMetrics().averageCharWidth();
    const QRect area = textArea();
    return QRect(QPoint(area.left() + int(std::min(left, right)), baseline()),
        QPoint(
            area.left() + int(std::max(left, right)) - 1, baseline() + fontMetrics().height() - 1));
}

int TextBox::positionAt(QPoint point) const
{
    const QTextLayout &shown = stretch();
    const QRect area = textArea();
    return first_ + shown.lineAt(0).xToCursor(point.x() - area.left());
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

    const QRect area = textArea();
    painter.setClipRect(area.adjusted(0, -verticalMargin, 0, verticalMargin));
    painter.setPen(palette().color(QPalette::Text));
    const QTextLayout &shown = stretch();
    const QPointF origin(area.left(), baseline());

    QList<QTextLayout::FormatRange> selections;
    const int start = std::max(std::min(cursor_, anchor_) - first_, 0);
    const int end = std::min(std::max(cursor_, anchor_) - first_, int(shown.text().size()));
    if (hasSelectedText() && start < end) {
        QTextLayout::FormatRange selection;
        selection.start = start;
        selection.length = end - start;
        const QPalette::ColorGroup group = hasFocus() ? QPalette::Active : QPalette::Inactive;
        selection.format.setBackground(palette().brush(group, QPalette::Highlight));
        selection.format.setForeground(palette().brush(group, QPalette::HighlightedText));
        selections.append(selection);
    }
    shown.draw(&painter, origin, selections);

    const int caret = dropCaret_ >= 0 ? dropCaret_ : cursor_;
    const bool caretInView = caret >= first_ && caret - first_ <= shown.text().size();
    if (caretInView && (dropCaret_ >= 0 || (hasFocus() && caretShown_))) {
        const int inStretch = caret - first_ + (caret == cursor_ ? int(preedit_.size()) : 0);
        shown.drawCursor(&painter, origin, inStretch,
            style()->pixelMetric(QStyle::PM_TextCursorWidth, nullptr, this));
    }
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
    if (event->timerId() != blink_.timerId())
        return QWidget::timerEvent(event);
    caretShown_ = !caretShown_;
    update(characterRect(cursor_).adjusted(-2, 0, 2, 0));
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

void TextBox::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange
        || event->type() == QEvent::LayoutDirectionChange) {
        invalidateStretch();
        scrollToCursor();
    }
    QWidget::changeEvent(event);
}

void TextBox::resizeEvent(QResizeEvent *event)
{
    invalidateStretch();
    scrollToCursor();
    QWidget::resizeEvent(event);
}

bool TextBox::event(QEvent *event)
{
    // The box's own keys are not shortcuts of the window.
    if (event->type() == QEvent::ShortcutOverride) {
        auto *key = static_cast<QKeyEvent *>(event);
        if (key->matches(QKeySequence::Copy) || key->matches(QKeySequence::Cut)
            || key->matches(QKeySequence::Paste) || key->matches(QKeySequence::Undo)
            || key->matches(QKeySequence::Redo) || key->matches(QKeySequence::SelectAll)
            || typesText(key->text())) {
            key->accept();
            return true;
        }
    }
    return QWidget::event(event);
}

void TextBox::keyPressEvent(QKeyEvent *event)
{
    if (handleKey(event))
        event->accept();
    else
        event->ignore();
}

bool TextBox::handleKey(QKeyEvent *key)
{
    using Key = QKeySequence::StandardKey;
    const auto is = [key](Key standard) { return key->matches(standard); };
    if (is(Key::MoveToNextChar))
        moveCursor(
            hasSelectedText() ? std::max(cursor_, anchor_) : edits_.nextCharacter(cursor_), false);
    else if (is(Key::MoveToPreviousChar))
        moveCursor(
            hasSelectedText() ? std::min(cursor_, anchor_) : edits_.previousCharacter(cursor_),
            false);
    else if (is(Key::SelectNextChar))
        moveCursor(edits_.nextCharacter(cursor_), true);
    else if (is(Key::SelectPreviousChar))
        moveCursor(edits_.previousCharacter(cursor_), true);
    else if (is(Key::MoveToNextWord))
        moveCursor(edits_.nextWord(cursor_), false);
    else if (is(Key::MoveToPreviousWord))
        moveCursor(edits_.previousWord(cursor_), false);
    else if (is(Key::SelectNextWord))
        moveCursor(edits_.nextWord(cursor_), true);
    else if (is(Key::SelectPreviousWord))
        moveCursor(edits_.previousWord(cursor_), true);
    else if (is(Key::MoveToStartOfLine) || is(Key::MoveToStartOfDocument))
        moveCursor(0, false);
    else if (is(Key::MoveToEndOfLine) || is(Key::MoveToEndOfDocument))
        moveCursor(edits_.size(), false);
    else if (is(Key::SelectStartOfLine) || is(Key::SelectStartOfDocument))
        moveCursor(0, true);
    else if (is(Key::SelectEndOfLine) || is(Key::SelectEndOfDocument))
        moveCursor(edits_.size(), true);
    else if (is(Key::SelectAll))
        selectAll();
    else if (is(Key::Copy))
        copy();
    else if (is(Key::Cut))
        cut();
    else if (is(Key::Paste))
        paste();
    else if (is(Key::Undo))
        undo();
    else if (is(Key::Redo))
        redo();
    else if (is(Key::DeleteEndOfWord))
        deleteSelectionOr(cursor_, edits_.nextWord(cursor_));
    else if (is(Key::DeleteStartOfWord))
        deleteSelectionOr(edits_.previousWord(cursor_), cursor_);
    else if (key->key() == Qt::Key_Backspace && !(key->modifiers() & ~Qt::ShiftModifier))
        backspace();
    else if (is(Key::Delete))
        del();
    else if (typesText(key->text()) && !(key->modifiers() & Qt::ControlModifier))
        insert(key->text());
    else
        return false;
    return true;
}

void TextBox::mousePressEvent(QMouseEvent *event)
{
    const int position = positionAt(event->position().toPoint());
    if (event->button() == Qt::MiddleButton) {
        const QClipboard *clipboard = QGuiApplication::clipboard();
        if (clipboard->supportsSelection())
            pasteAt(position, clipboard->text(QClipboard::Selection));
        return;
    }
    if (event->button() != Qt::LeftButton)
        return QWidget::mousePressEvent(event);
    pressedAt_ = event->position().toPoint();
    const int start = std::min(cursor_, anchor_), end = std::max(cursor_, anchor_);
    mayDrag_ = hasSelectedText() && position >= start && position < end;
    selecting_ = !mayDrag_;
    if (selecting_)
        moveCursor(position, event->modifiers() & Qt::ShiftModifier);
}

void TextBox::mouseMoveEvent(QMouseEvent *event)
{
    if (!(event->buttons() & Qt::LeftButton))
        return;
    const QPoint at = event->position().toPoint();
    if (mayDrag_) {
        if ((at - pressedAt_).manhattanLength() < QApplication::startDragDistance())
            return;
        mayDrag_ = false;
        auto *drag = new QDrag(this);
        auto *data = new QMimeData;
        data->setText(selectedText());
        drag->setMimeData(data);
        const int start = std::min(cursor_, anchor_), length = std::abs(cursor_ - anchor_);
        const QString dragged = selectedText();
        if (drag->exec(Qt::CopyAction | Qt::MoveAction) == Qt::MoveAction && drag->target() != this
            && selectedText() == dragged)
            replace(start, start + length, {}, TextEdits::Kind::Other);
        return;
    }
    if (!selecting_)
        return;
    // Past an edge, the selection reaches one character further each move.
    const QRect area = textArea();
    int position = positionAt(at);
    if (at.x() > area.right())
        position = edits_.nextCharacter(position);
    else if (at.x() < area.left())
        position = edits_.previousCharacter(std::min(position, first_));
    moveCursor(position, true);
}

void TextBox::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && mayDrag_)
        moveCursor(positionAt(event->position().toPoint()), false);
    mayDrag_ = false;
    selecting_ = false;
}

void TextBox::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const auto [start, end] = edits_.wordAt(positionAt(event->position().toPoint()));
    anchor_ = start;
    moveCursor(end, true);
    selecting_ = false;
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
    add(tr("&Undo"), QKeySequence::Undo, edits_.canUndo(), &TextBox::undo);
    add(tr("&Redo"), QKeySequence::Redo, edits_.canRedo(), &TextBox::redo);
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
    const int position = positionAt(event->position().toPoint());
    dropCaret_ = -1;
    if (!event->mimeData()->hasText())
        return;
    const int start = std::min(cursor_, anchor_), end = std::max(cursor_, anchor_);
    if (event->source() == this && position >= start && position <= end) {
        event->ignore();
        update();
        return;
    }
    const QString dropped = event->mimeData()->text();
    if (event->source() == this && event->dropAction() == Qt::MoveAction) {
        // Moving within the box: the text leaves its place and enters the new one.
        replace(start, end, {}, TextEdits::Kind::Other);
        pasteAt(position > end ? position - (end - start) : position, dropped);
        event->setDropAction(Qt::CopyAction);
    } else {
        pasteAt(position, dropped);
    }
    event->accept();
}

void TextBox::inputMethodEvent(QInputMethodEvent *event)
{
    const int selectionStart = std::min(cursor_, anchor_);
    const int selectionEnd = std::max(cursor_, anchor_);
    const int start
        = event->replacementLength() ? selectionStart + event->replacementStart() : selectionStart;
    const int end = event->replacementLength() ? start + event->replacementLength() : selectionEnd;
    if (!event->commitString().isEmpty() || start != end)
        replace(start, end, event->commitString(), TextEdits::Kind::Typing);
    preedit_ = event->preeditString();
    invalidateStretch();
    update();
}

QVariant TextBox::inputMethodQuery(Qt::InputMethodQuery query) const
{
    const int from = std::max(0, std::min(cursor_, anchor_) - surroundingReach);
    switch (query) {
    case Qt::ImEnabled:
        return true;
    case Qt::ImCursorRectangle: {
        const QRect caret = characterRect(cursor_);
        return caret.isNull() ? QRect(textArea().topLeft(), QSize(1, fontMetrics().height()))
                              : QRect(caret.topLeft(), QSize(1, caret.height()));
    }
    case Qt::ImFont:
        return font();
    case Qt::ImCursorPosition:
        return cursor_ - from;
    case Qt::ImAnchorPosition:
        return anchor_ - from;
    case Qt::ImSurroundingText:
        return edits_.text().mid(from, std::abs(cursor_ - anchor_) + 2 * surroundingReach);
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
