#include "assets/Artwork.h"
#include "assets/Assets.h"

#include <QRegularExpression>
#include <QTest>
#include <algorithm>

namespace {

// Pixels neither near white nor near black: the soft edges of what is drawn.
int softPixels(const QImage &image)
{
    int soft = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const int grey = qGray(image.pixel(x, y));
            soft += grey > 48 && grey < 208;
        }
    return soft;
}

int darkPixels(const QImage &image)
{
    int dark = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            dark += qGray(image.pixel(x, y)) < 64;
    return dark;
}

// The opaque marks of a picture, counted row by row from the top: marks whose middles
// lie within a tenth of the side of each other share a row.
QList<int> marksPerRow(const QImage &image)
{
    const int w = image.width(), h = image.height();
    QList<bool> seen(w * h, false);
    QList<int> middles;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            if (seen[y * w + x] || qAlpha(image.pixel(x, y)) <= 128)
                continue;
            QList<QPoint> todo{{x, y}};
            seen[y * w + x] = true;
            int top = y, bottom = y;
            while (!todo.isEmpty()) {
                const QPoint p = todo.takeLast();
                top = std::min(top, p.y());
                bottom = std::max(bottom, p.y());
                for (const QPoint next :
                    {p + QPoint(1, 0), p - QPoint(1, 0), p + QPoint(0, 1), p - QPoint(0, 1)})
                    if (next.x() >= 0 && next.x() < w && next.y() >= 0 && next.y() < h
                        && !seen[next.y() * w + next.x()] && qAlpha(image.pixel(next)) > 128) {
                        seen[next.y() * w + next.x()] = true;
                        todo.append(next);
                    }
            }
            middles.append(top + bottom);
        }
    std::sort(middles.begin(), middles.end());
    QList<int> rows;
    int rowMiddle = -h;
    for (const int middle : middles) {
        if (middle - rowMiddle > h / 5)
            rows.append(0);
        ++rows.last();
        rowMiddle = middle;
    }
    return rows;
}

} // namespace

class TestArtwork : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void chartKeepsItsSizeAtEveryScale_data();
    void chartKeepsItsSizeAtEveryScale();
    void chartAtTwiceTheScaleIsNoResampledPicture();
    void windowIconOffersEverySide();
    void svgIconHoldsTheMarksOfMorse();
};

void TestArtwork::chartKeepsItsSizeAtEveryScale_data()
{
    QTest::addColumn<qreal>("ratio");
    QTest::addColumn<QSize>("pixels");
    QTest::newRow("1x") << 1.0 << QSize(312, 388);
    QTest::newRow("1.25x") << 1.25 << QSize(390, 485);
    QTest::newRow("1.5x") << 1.5 << QSize(468, 582);
    QTest::newRow("2x") << 2.0 << QSize(624, 776);
    QTest::newRow("3x, drawn as the program runs") << 3.0 << QSize(936, 1164);
}

void TestArtwork::chartKeepsItsSizeAtEveryScale()
{
    QFETCH(qreal, ratio);
    QFETCH(QSize, pixels);
    const QPixmap chart = assets::morseChart(ratio);
    QCOMPARE(chart.size(), pixels);
    QCOMPARE(chart.deviceIndependentSize(), QSizeF(312, 388));
    const QImage image = chart.toImage();
    // White inside its black frame, with the codes drawn in proportion to the area.
    QCOMPARE(image.pixelColor(0, 0), QColor(Qt::black));
    QCOMPARE(image.pixelColor(int(150 * ratio), int(250 * ratio)), QColor(Qt::white));
    QVERIFY2(darkPixels(image) > 3000 * ratio * ratio, "the chart has too little drawn on it");
    // Whether the build drew it or the program does, it is the same picture.
    QCOMPARE(image.convertToFormat(QImage::Format_Grayscale8),
        assets::chartImage(ratio).convertToFormat(QImage::Format_Grayscale8));
}

// Drawn for the scale, edges stay one device pixel soft; a 1x picture blown up has edges
// twice as soft, over twice the length.
void TestArtwork::chartAtTwiceTheScaleIsNoResampledPicture()
{
    const QImage sharp = assets::morseChart(2).toImage();
    const QImage resampled = assets::morseChart(1).toImage().scaled(
        sharp.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    QVERIFY2(softPixels(sharp) * 3 < softPixels(resampled) * 2,
        qPrintable(QStringLiteral("%1 soft pixels drawn at 2x, %2 in a resampled 1x chart")
                       .arg(softPixels(sharp))
                       .arg(softPixels(resampled))));
}

void TestArtwork::windowIconOffersEverySide()
{
    const QIcon icon = assets::windowIcon();
    QList<QSize> sides;
    for (int side : {16, 22, 24, 32, 48, 64, 128, 256})
        sides.append(QSize(side, side));
    // In this order: X11 takes them in turn until one request is full.
    QCOMPARE(icon.availableSizes(), sides);
    for (const QSize &side : sides) {
        const QImage picture = icon.pixmap(side).toImage();
        QCOMPARE(picture.size(), side);
        QVERIFY(picture.hasAlphaChannel());
        // Transparent at the corners, black rows of marks in the middle.
        QCOMPARE(qAlpha(picture.pixel(0, 0)), 0);
        const int centre = side.width() / 2;
        QVERIFY(qAlpha(picture.pixel(centre, side.height() / 2)) > 128);
    }
    // From 32 up, every mark stands apart: the rows of M, O, R, S and E, top to bottom.
    for (const QSize &side : sides.mid(sides.indexOf(QSize(32, 32))))
        QCOMPARE(marksPerRow(icon.pixmap(side).toImage()), QList<int>({2, 3, 3, 3, 1}));
}

// M, O, R, S and E have 12 marks in all: 6 dashes of 7.5 x 3 and 6 dots of radius 2 on the
// 32-unit square.
void TestArtwork::svgIconHoldsTheMarksOfMorse()
{
    const QString svg = QString::fromUtf8(assets::iconSvg(32));
    QVERIFY(svg.startsWith(QLatin1String("<?xml")));
    QVERIFY(svg.contains(QLatin1String("viewBox=\"0 0 32 32\"")));
    QCOMPARE(svg.count(QRegularExpression(QStringLiteral("<circle [^>]*r=\"2\"/>"))), 6);
    QCOMPARE(svg.count(QRegularExpression(
                 QStringLiteral("<rect [^>]*width=\"7.5\" height=\"3\" rx=\"0.75\"/>"))),
        6);
    QVERIFY(svg.trimmed().endsWith(QLatin1String("</svg>")));
}

QTEST_MAIN(TestArtwork)
#include "tst_artwork.moc"
