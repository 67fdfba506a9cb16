#pragma once

#include <QByteArray>
#include <QImage>
#include <QRectF>
#include <QString>

#include <string_view>
#include <vector>

class QPainter;

namespace assets {

// The chart's size in logical pixels; drawn at a device pixel ratio it keeps this size and
// gains detail.
inline constexpr int chartWidth = 312;
inline constexpr int chartHeight = 388;

// Draws the International Morse Code, its timing rules and the codes of A to Z and 0 to 9,
// in black on white over chartWidth x chartHeight from the painter's origin.
void drawChart(QPainter &painter);

// The chart drawn for a screen of the given device pixel ratio, so that it is as sharp
// there as text is: chartWidth x chartHeight logical pixels, white where nothing is drawn.
QImage chartImage(qreal devicePixelRatio);

// What the chart shows: its timing rules, then the characters whose codes it draws.
inline constexpr const char16_t *chartRules[] = {
    u"1. A dot lasts one unit.",
    u"2. A dash lasts three units.",
    u"3. Between the parts of a character: one unit.",
    u"4. Between characters: three units.",
    u"5. Between words: seven units.",
};
inline constexpr std::u16string_view chartCharacters = u"ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";

// The chart in words, for a screen reader: its title, its rules and every code it shows.
QString chartDescription();

// One mark of a code: a dot (a circle inscribed in box) or a dash (a bar with rounded
// corners of the given radius).
struct Mark {
    QRectF box;
    double cornerRadius;
    bool isDot;
};

// The program's icon: the codes of M, O, R, S and E, one row a letter, each row centred on
// a square of the given side. Every side draws the same figure to scale.
std::vector<Mark> iconMarks(double side);

// The icon as black marks on a transparent ground.
void drawIcon(QPainter &painter, double side);

// The icon as a scalable SVG document of the given nominal side.
QByteArray iconSvg(double side);

} // namespace assets
