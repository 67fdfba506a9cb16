// Draws the window's code chart and icon from the Morse table, so that neither can
// disagree with the codes the program sends.

#include "morse/MorseTable.h"

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>

#include <cstdio>
#include <string_view>

namespace {

// Draws a code as dots and bars on the timing grid: a dot one unit long, a dash three,
// a gap of one unit between them. Returns the length drawn.
double drawCode(
    QPainter &painter, QPointF leftCentre, std::u16string_view code, double unit, double thickness)
{
    double x = leftCentre.x();
    for (char16_t symbol : code) {
        const double length = symbol == u'-' ? 3 * unit : unit;
        if (symbol == u'-') {
            const QRectF bar(x, leftCentre.y() - thickness / 2, length, thickness);
            painter.drawRoundedRect(bar, thickness / 4, thickness / 4);
        } else {
            painter.drawEllipse(
                QPointF(x + unit / 2, leftCentre.y()), thickness / 2 + 0.5, thickness / 2 + 0.5);
        }
        x += length + unit;
    }
    return x - unit - leftCentre.x();
}

std::u16string_view codeOf(char16_t character)
{
    const QStringView code = morse::codeFor(QStringView(&character, 1)).value_or(QStringView());
    return std::u16string_view(code.utf16(), code.size());
}

QFont sans(int pixelSize, bool bold)
{
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}

QImage drawChart()
{
    QImage chart(312, 388, QImage::Format_ARGB32_Premultiplied);
    chart.fill(Qt::white);
    QPainter painter(&chart);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Qt::black, 1));
    painter.drawRect(QRectF(0.5, 0.5, 311, 387));

    painter.setFont(sans(15, true));
    painter.drawText(QRect(0, 6, 312, 20), Qt::AlignHCenter | Qt::AlignVCenter,
        QStringLiteral("International Morse Code"));

    const QString rules[] = {
        QStringLiteral("1. A dot lasts one unit."),
        QStringLiteral("2. A dash lasts three units."),
        QStringLiteral("3. Between the parts of a character: one unit."),
        QStringLiteral("4. Between characters: three units."),
        QStringLiteral("5. Between words: seven units."),
    };
    painter.setFont(sans(11, false));
    int y = 32;
    for (const QString &rule : rules) {
        painter.drawText(QRect(12, y, 292, 14), Qt::AlignLeft | Qt::AlignVCenter, rule);
        y += 14;
    }
    painter.drawLine(QPointF(8, 107.5), QPointF(304, 107.5));

    // Three columns: A to M, N to Z, 0 to 9.
    const std::u16string_view columns[] = {u"ABCDEFGHIJKLM", u"NOPQRSTUVWXYZ", u"0123456789"};
    constexpr double unit = 4;
    constexpr int rowHeight = 20;
    painter.setFont(sans(13, true));
    // The letters' codes are at most 13 units long, the digits' 19.
    const int lefts[] = {12, 108, 204};
    for (int column = 0; column < 3; ++column) {
        const int left = lefts[column];
        int top = 114;
        for (char16_t character : columns[column]) {
            painter.setPen(Qt::black);
            painter.drawText(
                QRect(left, top, 14, rowHeight), Qt::AlignCenter, QString(QChar(character)));
            painter.setPen(Qt::NoPen);
            painter.setBrush(Qt::black);
            drawCode(
                painter, QPointF(left + 20, top + rowHeight / 2.0), codeOf(character), unit, 4);
            painter.setBrush(Qt::NoBrush);
            top += rowHeight;
        }
    }
    return chart;
}

QImage drawIcon()
{
    QImage icon(32, 32, QImage::Format_ARGB32);
    icon.fill(Qt::transparent);
    QPainter painter(&icon);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::black);
    // One row a letter, each centred.
    const std::u16string_view word = u"MORSE";
    constexpr double unit = 2.5;
    double y = 4;
    for (char16_t letter : word) {
        const std::u16string_view code = codeOf(letter);
        double units = -1;
        for (char16_t symbol : code)
            units += (symbol == u'-' ? 3 : 1) + 1;
        drawCode(painter, QPointF((32 - units * unit) / 2, y), code, unit, 3);
        y += 6;
    }
    return icon;
}

} // namespace

int main(int argc, char *argv[])
{
    QGuiApplication application(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_FOLDER\n", argv[0]);
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    if (!drawChart().save(folder.filePath(QStringLiteral("chart.png")))
        || !drawIcon().save(folder.filePath(QStringLiteral("icon.png")))) {
        std::fprintf(stderr, "%s: cannot write the images into %s\n", argv[0], argv[1]);
        return 1;
    }
    return 0;
}
