#pragma once

#include <QFont>
#include <QList>
#include <QRect>
#include <QString>
#include <QTextLayout>

#include <memory>

class QPainter;

namespace textbox {

class TextEdits;

// What a box shows of its one line of text: the text in view laid out, and scrolled so
// that the caret stays in view, by the rules of the line edit users know. A text of up to
// a few thousand characters is laid out whole, as a line edit lays it out; a longer one
// only in a stretch around what is in view, so that its cost does not grow with the text.
// Positions are the text's; x coordinates are the box's.
class LineView {
public:
    explicit LineView(const TextEdits &edits);

    // The font, the box's text area and the top of its line; a change lays it out afresh.
    void setGeometry(const QFont &font, const QRect &area, int lineTop);
    // Whether the text reads right to left, as the box's keys take it.
    void setRightToLeft(bool rightToLeft);
    // The caret, and a composition shown there with its own caret and formats.
    void setCaret(int cursor);
    void setComposition(
        const QString &text, int cursor, const QList<QTextLayout::FormatRange> &formats);
    // The text changed from a position on; or all of it.
    void changed(int position);
    void replaced();

    // Scrolls by the line edit's rules, which a line edit applies at each paint. The
    // questions below, asked before the first paint since a change, apply them once.
    void scroll();
    int firstVisible();
    // The rectangle of a character in view, empty when it is out of view.
    QRect characterRect(int position);
    int positionAt(int x, QTextLine::CursorPosition between);
    // Where the caret stands, the composition's caret included.
    int caretX();
    // Draws the line with a selection, and a caret at a position of the text when it is
    // not -1 (the caret's own, with the composition's, when it is the cursor).
    void draw(
        QPainter *painter, const QTextLayout::FormatRange &selection, int caret, int caretWidth);

private:
    bool laidOutWhole() const;
    bool mirrored() const;
    const QTextLayout &stretch();
    int stretchLength(int start) const;
    int caretInStretch() const;
    qreal xInStretch(int position);
    int positionInStretch(
        qreal x, QTextLine::CursorPosition between = QTextLine::CursorBetweenCharacters);
    qreal boxX(qreal x) const;
    qreal stretchWidth();
    void scrollIfMoved();
    void rebase();
    void invalidate();

    const TextEdits &edits_;
    QFont font_;
    QRect area_;
    int lineTop_ = 0;
    bool rightToLeft_ = false;
    int cursor_ = 0;
    QString composition_;
    int compositionCursor_ = 0;
    QList<QTextLayout::FormatRange> compositionFormats_;

    // The stretch starts at view_, always a character boundary, and the box's text area
    // begins hscroll_ pixels into it.
    int view_ = 0;
    int hscroll_ = 0;
    std::unique_ptr<QTextLayout> stretch_;
    int stretchStart_ = -1;
    bool moved_ = true;
};

} // namespace textbox
