#include "Form1Fixture.h"
#include "assets/Assets.h"

#include <QTest>
#include <QWindow>

// The window as Qt scales it for a high-density screen, at the scale QT_SCALE_FACTOR
// gives the run: every pixel of the client area drawn at the scale, the grey ground to
// each edge, and the chart drawn for the scale in its place rather than the 1x picture
// resampled.
class TestScale : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void windowIsDrawnAtTheScale();
};

void TestScale::windowIsDrawnAtTheScale()
{
    const qreal scale = qEnvironmentVariable("QT_SCALE_FACTOR").toDouble();
    QVERIFY2(scale > 1, "run with QT_SCALE_FACTOR above 1");
    Form1Fixture window;
    QVERIFY(window.show());
    QCOMPARE(window.form.windowHandle()->devicePixelRatio(), scale);

    const QImage shot = window.form.grab().toImage();
    QCOMPARE(shot.size(), (QSizeF(342, 518) * scale).toSize());
    const QColor grey(192, 192, 192);
    for (const QPoint corner : {QPoint(0, 0), QPoint(shot.width() - 1, 0),
             QPoint(0, shot.height() - 1), QPoint(shot.width() - 1, shot.height() - 1)})
        QCOMPARE(shot.pixelColor(corner), grey);

    // The chart's place at 1x is 16,120, 312 x 388.
    const QImage chart = assets::morseChart(scale).toImage().convertToFormat(shot.format());
    const QRect place(QPointF(16 * scale, 120 * scale).toPoint(), chart.size());
    QCOMPARE(shot.copy(place), chart);
}

QTEST_MAIN(TestScale)
#include "tst_scale.moc"
