#include "assets/Artwork.h"

#include "morse/MorseTable.h"
#include "morse/SpokenMorse.h"

#include <QPainter>
#include <QStringList>

#include <cmath>
#include <string_view>

namespace assets {
namespace {

// On the timing grid a dot is one unit long, a dash three, and one unit parts them.
constexpr int dotUnits = 1;
constexpr int dashUnits = 3;
constexpr int gapUnits = 1;

std::u16string_view codeOf(char16_t character)
{
    const QStringView code = morse::codeFor(QStringView(&character, 1)).value_or(QStringView());
    return std::u16string_view(code.utf16(), code.size());
}

int unitsOf(std::u16string_view code)
{
    int units = -gapUnits;
    for (char16_t symbol : code)
        units += (symbol == u'-' ? dashUnits : dotUnits) + gapUnits;
    return units;
}

// The marks of a code laid on the grid from leftCentre. A dot is drawn a little fuller than
// a bar is thick, so that it reads as round beside a dash.
void layCode(std::vector<Mark> &marks, QPointF leftCentre, std::u16string_view code, double unit,
    double thickness, double dotRadius)
{
    double x = leftCentre.x();
    for (char16_t symbol : code) {
        if (symbol == u'-') {
            marks.push_back({QRectF(x, leftCentre.y() - thickness / 2, dashUnits * unit, thickness),
                thickness / 4, false});
            x += dashUnits * unit;
        } else {
            const QPointF centre(x + dotUnits * unit / 2, leftCentre.y());
            marks.push_back({QRectF(centre.x() - dotRadius, centre.y() - dotRadius, 2 * dotRadius,
                                 2 * dotRadius),
                dotRadius, true});
            x += dotUnits * unit;
        }
        x += gapUnits * unit;
    }
}

void paintMarks(QPainter &painter, const std::vector<Mark> &marks)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::black);
    for (const Mark &mark : marks) {
        if (mark.isDot)
            painter.drawEllipse(mark.box);
        else
            painter.drawRoundedRect(mark.box, mark.cornerRadius, mark.cornerRadius);
    }
    painter.restore();
}

QFont sans(int pixelSize, bool bold)
{
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}

// The chart's frame, its title and its timing rules, ruled off from the codes below.
void drawChartHeading(QPainter &painter)
{
    // The frame and the rule are filled rather than stroked, so that they are a logical
    // pixel wide at every scale.
    painter.fillRect(QRect(0, 0, chartWidth, chartHeight), Qt::black);
    painter.fillRect(QRect(1, 1, chartWidth - 2, chartHeight - 2), Qt::white);
    painter.setPen(Qt::black);

    painter.setFont(sans(15, true));
    painter.drawText(QRect(0, 6, chartWidth, 20), Qt::AlignHCenter | Qt::AlignVCenter,
        QStringLiteral("International Morse Code"));

    constexpr int ruleHeight = 14;
    painter.setFont(sans(11, false));
    int y = 32;
    for (const char16_t *rule : chartRules) {
        painter.drawText(QRect(12, y, chartWidth - 20, ruleHeight),
            Qt::AlignLeft | Qt::AlignVCenter, QString::fromUtf16(rule));
        y += ruleHeight;
    }
    painter.fillRect(QRect(8, 107, chartWidth - 16, 1), Qt::black);
}

// Three columns of characters with their codes: A to M, N to Z, 0 to 9. The letters'
// codes are at most 13 units long, the digits' 19.
void drawChartCodes(QPainter &painter)
{
    const std::u16string_view columns[] = {
        chartCharacters.substr(0, 13), chartCharacters.substr(13, 13), chartCharacters.substr(26)};
    const int lefts[] = {12, 108, 204};
    constexpr double unit = 4;
    constexpr double thickness = 4;
    constexpr double dotRadius = 2.5;
    constexpr int rowHeight = 20;
    constexpr int firstRowTop = 114;
    constexpr int letterWidth = 14;
    constexpr int codeIndent = 20;
    painter.setFont(sans(13, true));
    std::vector<Mark> marks;
    for (int column = 0; column < 3; ++column) {
        const int left = lefts[column];
        int top = firstRowTop;
        for (char16_t character : columns[column]) {
            painter.drawText(QRect(left, top, letterWidth, rowHeight), Qt::AlignCenter,
                QString(QChar(character)));
            layCode(marks, QPointF(left + codeIndent, top + rowHeight / 2.0), codeOf(character),
                unit, thickness, dotRadius);
            top += rowHeight;
        }
    }
    paintMarks(painter, marks);
}

} // namespace

QImage chartImage(qreal devicePixelRatio)
{
    QImage chart(int(std::ceil(chartWidth * devicePixelRatio)),
        int(std::ceil(chartHeight * devicePixelRatio)), QImage::Format_RGB32);
    chart.setDevicePixelRatio(devicePixelRatio);
    chart.fill(Qt::white);
    QPainter painter(&chart);
    drawChart(painter);
    return chart;
}

void drawChart(QPainter &painter)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    drawChartHeading(painter);
    drawChartCodes(painter);
    painter.restore();
}

std::vector<Mark> iconMarks(double side)
{
    // Drawn on a 32-unit square and scaled: a unit of 2.5, rows 6 apart from 4 down.
    const double scale = side / 32;
    const double unit = 2.5 * scale;
    const double thickness = 3 * scale;
    const double dotRadius = 2 * scale;
    std::vector<Mark> marks;
    double y = 4 * scale;
    for (char16_t letter : std::u16string_view(u"MORSE")) {
        const std::u16string_view code = codeOf(letter);
        layCode(
            marks, QPointF((side - unitsOf(code) * unit) / 2, y), code, unit, thickness, dotRadius);
        y += 6 * scale;
    }
    return marks;
}

void drawIcon(QPainter &painter, double side)
{
    paintMarks(painter, iconMarks(side));
}

QString chartDescription()
{
    QStringList parts{QStringLiteral("International Morse Code.")};
    for (const char16_t *rule : chartRules)
        parts << QString::fromUtf16(rule);
    for (const char16_t character : chartCharacters) {
        const QString code = morse::spokenCode(QStringView(codeOf(character)));
        parts << QStringLiteral("%1: %2.").arg(QChar(character), code);
    }
    return parts.join(u' ');
}

QByteArray iconSvg(double side)
{
    const auto number = [](double value) { return QByteArray::number(value, 'g', 6); };
    QByteArray svg = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                     "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\""
        + number(side) + "\" height=\"" + number(side) + "\" viewBox=\"0 0 " + number(side) + ' '
        + number(side) + "\">\n<g fill=\"#000000\">\n";
    for (const Mark &mark : iconMarks(side)) {
        if (mark.isDot) {
            svg += "<circle cx=\"" + number(mark.box.center().x()) + "\" cy=\""
                + number(mark.box.center().y()) + "\" r=\"" + number(mark.box.width() / 2)
                + "\"/>\n";
        } else {
            svg += "<rect x=\"" + number(mark.box.x()) + "\" y=\"" + number(mark.box.y())
                + "\" width=\"" + number(mark.box.width()) + "\" height=\""
                + number(mark.box.height()) + "\" rx=\"" + number(mark.cornerRadius) + "\"/>\n";
        }
    }
    svg += "</g>\n</svg>\n";
    return svg;
}

} // namespace assets
