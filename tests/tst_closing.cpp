#include "FakePlatform.h"
#include "app/Form1.h"
#include "app/WindowGeometry.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <algorithm>
#include <limits>
#include <memory>

namespace {

// A window on a screen 1280 pixels wide. It may refuse to move, and keeps a smallest
// size; every pass's Top is kept.
class FakeWindow : public app::WindowGeometry {
public:
    float top = 3930, left = 7035, width = 5160, height = 8085;
    float screen = 19200;
    bool moves = true;
    float smallest = std::numeric_limits<float>::lowest();
    QList<float> tops;

    float Top() override { return top; }
    float Left() override { return left; }
    float Width() override { return width; }
    float Height() override { return height; }
    void setTop(float twips) override { top = moves ? twips : top; }
    void setLeft(float twips) override { left = moves ? twips : left; }
    void setWidth(float twips) override { width = std::max(twips, smallest); }
    void setHeight(float twips) override { height = std::max(twips, smallest); }
    float screenWidth() override { return screen; }
    void show() override { tops.append(top); }
};

} // namespace

class TestClosing : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void windowSlidesUntilPastTheScreenWidth_data();
    void windowSlidesUntilPastTheScreenWidth();
    void windowThatWillNotMoveEndsAtOnce();
    void clampedSizeKeepsMoving();
    void closingTheWindowAnimatesAndEndsTheProcess();
    void closingDuringAnEncodeEndsIt();
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
    const float left = window.left, width = window.width, height = window.height;
    app::animateClosing(window);

    QCOMPARE(window.tops.size(), passes);
    for (int pass = 0; pass < passes; ++pass)
        QCOMPARE(window.tops[pass], top + 30.f * float(pass + 1));
    QVERIFY(window.tops.last() > window.screen);
    if (passes > 1)
        QVERIFY(window.tops[passes - 2] <= window.screen);
    QCOMPARE(window.left, left + 30.f * float(passes));
    QCOMPARE(window.width, width - 60.f * float(passes));
    QCOMPARE(window.height, height - 60.f * float(passes));
}

void TestClosing::windowThatWillNotMoveEndsAtOnce()
{
    FakeWindow window;
    window.moves = false;
    app::animateClosing(window);
    QCOMPARE(window.tops.size(), 1);
    QCOMPARE(window.width, 5100.f);
}

void TestClosing::clampedSizeKeepsMoving()
{
    FakeWindow window;
    window.smallest = 1800;
    app::animateClosing(window);
    QCOMPARE(window.tops.size(), 510);
    QCOMPARE(window.width, 1800.f);
    QCOMPARE(window.height, 1800.f);
    QCOMPARE(window.left, 7035.f + 510 * 30);
}

void TestClosing::closingTheWindowAnimatesAndEndsTheProcess()
{
    FakePlatform fake(QStringLiteral("/v"));
    app::Form1 form(fake.platform());
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    const QRect before = form.frameGeometry();
    QRect atTheEnd;
    fake.onProcessEnd = [&] { atTheEnd = form.frameGeometry(); };

    form.close();
    QCOMPARE(fake.processEnds, 1);
    QVERIFY(atTheEnd.top() * 15 > form.screen()->geometry().width() * 15);
    QVERIFY(atTheEnd.left() > before.left());
    QVERIFY(atTheEnd.width() < before.width());
    QVERIFY(atTheEnd.height() < before.height());

    // Asking again changes nothing.
    form.close();
    QCOMPARE(fake.processEnds, 1);
}

void TestClosing::closingDuringAnEncodeEndsIt()
{
    FakePlatform fake(QStringLiteral("/v"));
    app::Form1 form(fake.platform());
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    auto *text2 = form.findChild<QLineEdit *>(QStringLiteral("Text2"));
    form.findChild<QLineEdit *>(QStringLiteral("Text1"))->setText(QStringLiteral("sos"));
    text2->clear();
    QString morseAtTheEnd;
    fake.onProcessEnd = [&] { morseAtTheEnd = text2->text(); };
    fake.clock.at(1500, [&] { form.close(); });

    form.findChild<QPushButton *>(QStringLiteral("Command1"))->click();
    QCOMPARE(fake.processEnds, 1);
    QCOMPARE(morseAtTheEnd, QStringLiteral("... "));
}

QTEST_MAIN(TestClosing)
#include "tst_closing.moc"
