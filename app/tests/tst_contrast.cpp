#include "app/Contrast.h"
#include "tests/Rows.h"

#include <QTest>

using app::contrastRatio;

namespace {

const QColor grey(192, 192, 192);
const QColor black(Qt::black);
const QColor white(Qt::white);
// A dark style's text and the selection colour that Qt's styles share.
const QColor paleText(240, 240, 240);
const QColor selectionBlue(0x30, 0x8c, 0xc6);

} // namespace

class TestContrast : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void ratiosAreWcags_data();
    void ratiosAreWcags();
    void textTakesAReadableColour_data();
    void textTakesAReadableColour();
    void groundsMoveJustFarEnough_data();
    void groundsMoveJustFarEnough();
};

void TestContrast::ratiosAreWcags_data()
{
    QTest::addColumn<QColor>("a");
    QTest::addColumn<QColor>("b");
    QTest::addColumn<double>("ratio");
    // The figures WCAG 2.1 and its understanding documents give.
    addRow("black on white", black, white, 21.0);
    addRow("white on black", white, black, 21.0);
    addRow("a colour on itself", grey, grey, 1.0);
    addRow("#777777 just fails", QColor(0x77, 0x77, 0x77), white, 4.478);
    addRow("#767676 just passes", QColor(0x76, 0x76, 0x76), white, 4.542);
    addRow("black on the grey", black, grey, 11.542);
    addRow("a dark style's text on the grey", paleText, grey, 1.597);
    addRow("blue on the grey", QColor(Qt::blue), grey, 4.723);
    addRow("white on the selection blue", white, selectionBlue, 3.689);
}

void TestContrast::ratiosAreWcags()
{
    QFETCH(QColor, a);
    QFETCH(QColor, b);
    QFETCH(double, ratio);
    QVERIFY2(std::abs(contrastRatio(a, b) - ratio) < 0.001,
        qPrintable(QString::number(contrastRatio(a, b))));
}

void TestContrast::textTakesAReadableColour_data()
{
    QTest::addColumn<QColor>("ground");
    QTest::addColumn<QColor>("preferred");
    QTest::addColumn<QColor>("taken");
    addRow("readable black stays", grey, black, black);
    addRow("readable blue stays", grey, QColor(Qt::blue), QColor(Qt::blue));
    addRow("a dark style's text on the grey turns black", grey, paleText, black);
    addRow("white on the grey turns black", grey, white, black);
    addRow("mid grey on the grey turns black", grey, QColor(128, 128, 128), black);
    addRow("dark grey on black turns white", black, QColor(0x33, 0x33, 0x33), white);
    addRow("light text on a dark box stays", QColor(0x24, 0x24, 0x24), paleText, paleText);
}

void TestContrast::textTakesAReadableColour()
{
    QFETCH(QColor, ground);
    QFETCH(QColor, preferred);
    QFETCH(QColor, taken);
    QCOMPARE(app::readableTextOn(ground, preferred), taken);
}

void TestContrast::groundsMoveJustFarEnough_data()
{
    QTest::addColumn<QColor>("text");
    QTest::addColumn<QColor>("preferred");
    QTest::addColumn<bool>("kept");
    addRow("white on navy stays", white, QColor(0, 0, 0x80), true);
    addRow("black on the selection blue stays", black, selectionBlue, true);
    addRow("white on the selection blue darkens", white, selectionBlue, false);
    addRow("pale text on the selection blue darkens", paleText, selectionBlue, false);
    addRow("black on dark red lightens", black, QColor(0x80, 0, 0), false);
    addRow("mid grey on mid grey goes as far as it can", QColor(128, 128, 128),
        QColor(120, 120, 120), false);
}

void TestContrast::groundsMoveJustFarEnough()
{
    QFETCH(QColor, text);
    QFETCH(QColor, preferred);
    QFETCH(bool, kept);
    const QColor ground = app::readableGroundUnder(text, preferred);
    if (kept) {
        QCOMPARE(ground, preferred);
        return;
    }
    const double reached = contrastRatio(text, ground);
    // Mid grey reads on neither end; it gets the end that reads best.
    const double best = std::max(contrastRatio(text, black), contrastRatio(text, white));
    QVERIFY2(reached >= app::readableContrast || std::abs(reached - best) < 0.001,
        qPrintable(QString::number(reached)));
    // Moved away from the text, and no further than a step past readable.
    const bool textIsLighter = contrastRatio(text, black) > contrastRatio(text, white);
    QCOMPARE(ground.lightness() < preferred.lightness(), textIsLighter);
    QVERIFY2(reached < app::readableContrast + 0.5 || std::abs(reached - best) < 0.001,
        qPrintable(QString::number(reached)));
    // The hue stays where there is one.
    if (preferred.hsvHue() >= 0 && ground != black && ground != white)
        QVERIFY(std::abs(ground.hsvHue() - preferred.hsvHue()) <= 2);
}

QTEST_APPLESS_MAIN(TestContrast)
#include "tst_contrast.moc"
