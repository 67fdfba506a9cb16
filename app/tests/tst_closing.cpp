#include "Form1Fixture.h"
#include "app/ClosingAnimation.h"
#include "app/WindowGeometry.h"

#include <QTest>

#include <algorithm>
#include <limits>

namespace {

// A window on a screen 1280 pixels wide, under a window system that carries out what was
// asked only when the pass is handed over, as a window manager does. It may keep the
// window from moving past a place, or at all, keeps a smallest size, and may stop
// answering. Every pass's Top is kept.
class FakeWindow : public app::WindowGeometry {
public:
    float top = 3930, left = 7035, width = 5160, height = 8085;
    float screen = 19200;
    float lowestTop = std::numeric_limits<float>::max();
    float rightmostLeft = std::numeric_limits<float>::max();
    float smallest = 30;
    int passesAnswered = std::numeric_limits<int>::max();
    // Passes answered first with the frame as it was, as by a window manager still busy
    // with the window just shown.
    int passesIgnoredFirst = 0;
    int passesInTime = std::numeric_limits<int>::max();
    QList<float> tops;

    float Top() override { return top; }
    float Left() override { return left; }
    float Width() override { return width; }
    float Height() override { return height; }
    void setTop(float twips) override { asked.top = twips; }
    void setLeft(float twips) override { asked.left = twips; }
    void setWidth(float twips) override { asked.width = twips; }
    void setHeight(float twips) override { asked.height = twips; }
    float screenWidth() override { return screen; }
    bool carryOut() override
    {
        if (passesInTime-- <= 0)
            return false;
        if (passesIgnoredFirst-- > 0) {
            tops.append(top);
            return true;
        }
        if (passesAnswered-- > 0) {
            top = std::min(asked.top, std::max(top, lowestTop));
            left = std::min(asked.left, std::max(left, rightmostLeft));
            width = std::max(asked.width, smallest);
            height = std::max(asked.height, smallest);
        }
        tops.append(top);
        return true;
    }

private:
    struct {
        float top, left, width, height;
    } asked{};
};

} // namespace

class TestClosing : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void windowSlidesUntilPastTheScreenWidth_data();
    void windowSlidesUntilPastTheScreenWidth();
    void windowKeptFromMovingShrinksToItsSmallestThenEnds_data();
    void windowKeptFromMovingShrinksToItsSmallestThenEnds();
    void windowSystemThatStopsAnsweringEndsIt();
    void firstPassLeftUnansweredDoesNotEndIt();
    void windowOutOfTimeEndsAtOnce();
    void closingTheWindowAnimatesAndEndsTheProcess();
    void closingDuringAnEncodeEndsIt();
    void closingAWindowNeverShownEndsIt();
};

void TestClosing::windowSlidesUntilPastTheScreenWidth_data()
{
    QTest::addColumn<float>("top");
    QTest::addColumn<int>("passes");
    QTest::newRow("from the top") << 3930.f << 510;
    QTest::newRow("a pass reaching the width runs one more") << 19140.f << 3;
    QTest::newRow("already past") << 30000.f << 1;
    QTest::newRow("from above the screen") << -600.f << 661;
}

void TestClosing::windowSlidesUntilPastTheScreenWidth()
{
    QFETCH(float, top);
    QFETCH(int, passes);
    FakeWindow window;
    window.top = top;
    const float left = window.left;
    app::animateClosing(window);

    QCOMPARE(window.tops.size(), passes);
    for (int pass = 0; pass < passes; ++pass)
        QCOMPARE(window.tops[pass], top + 30.f * float(pass + 1));
    QVERIFY(window.tops.last() > window.screen);
    if (passes > 1)
        QVERIFY(window.tops[passes - 2] <= window.screen);
    QCOMPARE(window.left, left + 30.f * float(passes));
    QCOMPARE(window.width, std::max(5160.f - 60.f * float(passes), window.smallest));
    QCOMPARE(window.height, std::max(8085.f - 60.f * float(passes), window.smallest));
}

void TestClosing::windowKeptFromMovingShrinksToItsSmallestThenEnds_data()
{
    QTest::addColumn<float>("lowestTop");
    QTest::addColumn<float>("rightmostLeft");
    QTest::addColumn<int>("passes");
    QTest::addColumn<float>("top");
    QTest::addColumn<float>("left");
    // The height, the larger size, reaches the smallest in 135 passes; two more passes
    // change nothing.
    QTest::newRow("never moves") << 3930.f << 7035.f << 137 << 3930.f << 7035.f;
    QTest::newRow("kept on the screen, the left stopping first")
        << 15345.f << 12000.f << 383 << 15345.f << 12000.f;
    QTest::newRow("stops moving while it still shrinks")
        << 4500.f << 7600.f << 137 << 4500.f << 7600.f;
}

void TestClosing::windowKeptFromMovingShrinksToItsSmallestThenEnds()
{
    QFETCH(float, lowestTop);
    QFETCH(float, rightmostLeft);
    FakeWindow window;
    window.lowestTop = lowestTop;
    window.rightmostLeft = rightmostLeft;
    app::animateClosing(window);

    QTEST(int(window.tops.size()), "passes");
    QTEST(window.top, "top");
    QTEST(window.left, "left");
    QCOMPARE(window.width, window.smallest);
    QCOMPARE(window.height, window.smallest);
}

void TestClosing::windowSystemThatStopsAnsweringEndsIt()
{
    FakeWindow window;
    window.passesAnswered = 7;
    app::animateClosing(window);
    QCOMPARE(window.tops.size(), 9);
    QCOMPARE(window.top, 3930.f + 7 * 30);
}

void TestClosing::firstPassLeftUnansweredDoesNotEndIt()
{
    FakeWindow unhindered;
    app::animateClosing(unhindered);
    FakeWindow window;
    window.passesIgnoredFirst = 1;
    app::animateClosing(window);
    QCOMPARE(window.tops.size(), unhindered.tops.size() + 1);
    QVERIFY(window.top > window.screen);
}

void TestClosing::windowOutOfTimeEndsAtOnce()
{
    FakeWindow window;
    window.passesInTime = 3;
    app::animateClosing(window);
    QCOMPARE(window.tops.size(), 3);
}

void TestClosing::closingTheWindowAnimatesAndEndsTheProcess()
{
    Form1Fixture window;
    QVERIFY(window.show());
    const QRect before = window.form.frameGeometry();
    QRect atTheEnd;
    window.fake.onProcessEnd = [&] { atTheEnd = window.form.frameGeometry(); };

    window.form.close();
    QCOMPARE(window.fake.processEnds, 1);
    // The loop ends once the top has passed the screen's width.
    QVERIFY(atTheEnd.top() > window.form.screen()->geometry().width());
    QVERIFY(atTheEnd.left() > before.left());
    QVERIFY(atTheEnd.width() < before.width());
    QVERIFY(atTheEnd.height() < before.height());

    // Asking again changes nothing.
    window.form.close();
    QCOMPARE(window.fake.processEnds, 1);
}

void TestClosing::closingDuringAnEncodeEndsIt()
{
    Form1Fixture window;
    QVERIFY(window.show());
    window.box("Text1")->setText(QStringLiteral("sos"));
    window.box("Text2")->clear();
    QString morseAtTheEnd;
    window.fake.onProcessEnd = [&] { morseAtTheEnd = window.box("Text2")->text(); };
    window.fake.clock.at(1500, [&] { window.form.close(); });

    window.click("Command1");
    QCOMPARE(window.fake.processEnds, 1);
    QCOMPARE(morseAtTheEnd, QStringLiteral("... "));
}

void TestClosing::closingAWindowNeverShownEndsIt()
{
    Form1Fixture window;
    window.form.close();
    QCOMPARE(window.fake.processEnds, 1);
}

QTEST_MAIN(TestClosing)
#include "tst_closing.moc"
