#include "textbox/LineView.h"

#include "textbox/Boundaries.h"
#include "textbox/TextEdits.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>
#include <climits>

namespace textbox {
namespace {

// A text up to this long is laid out whole; a longer one a stretch at a time.
constexpr int wholeLayoutLimit = 4096;
// Never lay out more than this in one go, however narrow the characters.
constexpr int longestStretch = 1 << 14;

qreal naturalWidth(const QString &text, const QFont &font)
{
    QTextLayout layout(boundaries::shown(text), font);
    layout.beginLayout();
    const QTextLine line = layout.createLine();
    layout.endLayout();
    return line.naturalTextWidth();
}

} // namespace

LineView::LineView(const TextEdits &edits)
    : edits_(edits)
{
}

void LineView::setGeometry(const QFont &font, const QRect &area, int lineTop)
{
    if (font == font_ && area == area_ && lineTop == lineTop_)
        return;
    font_ = font;
    area_ = area;
    lineTop_ = lineTop;
    invalidate();
}

void LineView::setRightToLeft(bool rightToLeft)
{
    if (rightToLeft != rightToLeft_) {
        rightToLeft_ = rightToLeft;
        invalidate();
    }
}

void LineView::setCaret(int cursor)
{
    if (cursor != cursor_ && !composition_.isEmpty())
        invalidate();
    cursor_ = cursor;
    moved_ = true;
}

void LineView::setComposition(
    const QString &text, int cursor, const QList<QTextLayout::FormatRange> &formats)
{
    composition_ = text;
    compositionCursor_ = cursor;
    compositionFormats_ = formats;
    invalidate();
}

void LineView::changed(int position)
{
    // The view keeps its place unless the text before it changed, or a mark typed at its
    // start joined the letter before it.
    invalidate();
    if (position > view_)
        return;
    const int start = boundaries::characterStart(edits_.text(), position);
    if (start != view_) {
        view_ = start;
        hscroll_ = 0;
    }
}

void LineView::replaced()
{
    // The view scrolls on from where it was, as a line edit's does.
    view_ = 0;
    invalidate();
}

void LineView::invalidate()
{
    stretch_.reset();
    moved_ = true;
}

bool LineView::laidOutWhole() const
{
    return edits_.size() <= wholeLayoutLimit;
}

bool LineView::mirrored() const
{
    // A long text that reads right to left is laid out so, a stretch at a time, and its
    // stretch's coordinates are mirrored to grow from the stretch's start as the text does.
    return !laidOutWhole() && rightToLeft_;
}

int LineView::stretchLength(int start) const
{
    if (laidOutWhole())
        return edits_.size();
    // Enough characters to fill twice the area from start, and one past; laid out again
    // with twice as many where narrow characters leave room.
    const QString &text = edits_.text();
    const int width = 2 * area_.width() + 1;
    int length = width / std::max(1, QFontMetrics(font_).averageCharWidth()) + 8;
    for (;;) {
        const int end = std::min(edits_.size(), start + length);
        const int aligned = boundaries::nextCharacter(
            text, boundaries::characterStart(text, std::max(start, end - 1)));
        const int stretchEnd = end <= start ? start : std::max(end, aligned);
        if (stretchEnd >= edits_.size() || length >= longestStretch
            || naturalWidth(text.mid(start, stretchEnd - start), font_) > width)
            return stretchEnd - start;
        length *= 2;
    }
}

const QTextLayout &LineView::stretch()
{
    if (stretch_ && stretchStart_ == view_)
        return *stretch_;
    const int length = stretchLength(view_);
    stretch_ = std::make_unique<QTextLayout>(
        boundaries::shown(QStringView(edits_.text()).mid(view_, length)), font_);
    QTextOption option;
    option.setWrapMode(QTextOption::NoWrap);
    option.setFlags(QTextOption::IncludeTrailingSpaces);
    // A whole text takes its direction from its letters, a composition's included; a
    // stretch of a long one the direction of the text.
    option.setTextDirection(laidOutWhole() ? Qt::LayoutDirectionAuto
            : rightToLeft_                 ? Qt::RightToLeft
                                           : Qt::LeftToRight);
    stretch_->setTextOption(option);
    stretch_->setCacheEnabled(true);
    if (!composition_.isEmpty() && cursor_ >= view_ && cursor_ <= view_ + length) {
        stretch_->setPreeditArea(cursor_ - view_, composition_);
        QList<QTextLayout::FormatRange> formats = compositionFormats_;
        for (QTextLayout::FormatRange &format : formats)
            format.start += cursor_ - view_;
        stretch_->setFormats(formats);
    }
    stretch_->beginLayout();
    stretch_->createLine();
    stretch_->endLayout();
    stretchStart_ = view_;
    return *stretch_;
}

qreal LineView::stretchWidth()
{
    return stretch().lineAt(0).naturalTextWidth();
}

int LineView::caretInStretch() const
{
    return cursor_ - view_ + compositionCursor_;
}

qreal LineView::xInStretch(int position)
{
    const qreal x = stretch().lineAt(0).cursorToX(position);
    return mirrored() ? stretchWidth() - x : x;
}

int LineView::positionInStretch(qreal x, QTextLine::CursorPosition between)
{
    return stretch().lineAt(0).xToCursor(mirrored() ? stretchWidth() - x : x, between);
}

qreal LineView::boxX(qreal x) const
{
    return mirrored() ? area_.right() + 1 - (x - hscroll_) : area_.left() + x - hscroll_;
}

void LineView::scrollIfMoved()
{
    if (moved_)
        scroll();
}

void LineView::scroll()
{
    moved_ = false;
    const int width = area_.width();
    const QString &text = edits_.text();
    if (laidOutWhole()) {
        view_ = 0;
    } else if (cursor_ < view_) {
        // The caret went out of the stretch before its start: show the text from it.
        view_ = boundaries::characterStart(text, cursor_);
        hscroll_ = 0;
    } else if (cursor_ > view_ + stretch().text().size()) {
        // ... or past its end: show the text that ends at it.
        const int reach = width / std::max(1, QFontMetrics(font_).averageCharWidth()) + 8;
        view_ = boundaries::characterStart(text, std::max(0, cursor_ - reach));
        hscroll_ = qRound(xInStretch(caretInStretch())) - width + 1;
    }

    // The line edit's rules, over the stretch: a text that fits stands at its side; the
    // caret is kept in view, scrolling no further than it must; no room is left empty
    // after the text's end.
    const bool endShown = view_ + stretch().text().size() >= text.size();
    const int used = endShown ? qRound(stretchWidth()) + 1 : INT_MAX;
    const int caretX = qRound(xInStretch(caretInStretch()));
    if (view_ == 0 && used <= width)
        hscroll_ = rightToLeft_ ? used - width + 1 : 0;
    else if (caretX - hscroll_ >= width)
        hscroll_ = caretX - width + 1;
    else if (caretX - hscroll_ < 0 && hscroll_ < used)
        hscroll_ = caretX;
    else if (used - hscroll_ < width)
        hscroll_ = used - width + 1;
    else if (view_ == 0)
        hscroll_ = std::max(0, hscroll_);
    rebase();
}

void LineView::rebase()
{
    if (laidOutWhole())
        return;
    const QString &text = edits_.text();
    const int width = area_.width();
    const int reach = width / std::max(1, QFontMetrics(font_).averageCharWidth()) + 8;
    if (hscroll_ < 0 && view_ > 0) {
        // The view reaches before the stretch: start it earlier.
        const int start = boundaries::characterStart(text, std::max(0, view_ - reach));
        hscroll_ += qRound(naturalWidth(text.mid(start, view_ - start), font_));
        view_ = start;
    } else if (hscroll_ > width) {
        // The view has moved well into the stretch: start it nearer.
        const int inStretch = std::max(0, positionInStretch(hscroll_ - width / 2) - 1);
        const int start = boundaries::characterStart(text, view_ + inStretch);
        hscroll_ -= qRound(xInStretch(start - view_));
        view_ = start;
    }
}

int LineView::firstVisible()
{
    scrollIfMoved();
    return view_ + positionInStretch(hscroll_, QTextLine::CursorOnCharacter);
}

QRect LineView::characterRect(int position)
{
    scrollIfMoved();
    const int size = int(stretch().text().size());
    const int inStretch = position - view_;
    if (inStretch < 0 || inStretch > size)
        return {};
    const qreal start = boxX(xInStretch(inStretch));
    const qreal end = inStretch < size
        ? boxX(xInStretch(stretch().nextCursorPosition(inStretch)))
        : boxX(xInStretch(inStretch) + QFontMetrics(font_).averageCharWidth());
    const QRect rect(QPoint(int(std::min(start, end)), lineTop_),
        QPoint(int(std::max(start, end)) - 1, lineTop_ + QFontMetrics(font_).height() - 1));
    return rect.intersects(area_) ? rect : QRect();
}

int LineView::positionAt(int x, QTextLine::CursorPosition between)
{
    const int inStretch
        = mirrored() ? area_.right() + 1 - x + hscroll_ : x - area_.left() + hscroll_;
    return std::min(edits_.size(), view_ + positionInStretch(inStretch, between));
}

int LineView::caretX()
{
    scrollIfMoved();
    return qRound(boxX(qRound(xInStretch(caretInStretch()))));
}

void LineView::draw(
    QPainter *painter, const QTextLayout::FormatRange &selection, int caret, int caretWidth)
{
    scroll();
    const QTextLayout &shown = stretch();
    const qreal left
        = mirrored() ? area_.right() + 1 + hscroll_ - stretchWidth() : area_.left() - hscroll_;
    const QPointF origin(left, lineTop_);

    QList<QTextLayout::FormatRange> selections;
    const int start = std::max(selection.start - view_, 0);
    const int end = std::min(selection.start + selection.length - view_, int(shown.text().size()));
    if (start < end) {
        selections.append(selection);
        selections.back().start = start;
        selections.back().length = end - start;
    }
    shown.draw(painter, origin, selections);

    if (caret < 0)
        return;
    const int inStretch = caret - view_ + (caret == cursor_ ? compositionCursor_ : 0);
    if (inStretch >= 0 && inStretch <= shown.text().size() + composition_.size())
        shown.drawCursor(painter, origin, inStretch, caretWidth);
}

} // namespace textbox
