#include "fakes/FakeClock.h"
#include "sound/Module1.h"
#include "sound/QtEventPump.h"
#include "sound/TickCounter.h"

#include <QTest>

#include <cmath>
#include <limits>

using sound::Module1::Delay;

namespace {

// Hands out a fixed series of readings, one per read.
class ScriptedTicks : public sound::TickCounter {
public:
    explicit ScriptedTicks(QList<quint32> readings)
        : readings_(std::move(readings))
    {
    }

    std::uint32_t GetTickCount() override
    {
        if (next_ >= readings_.size())
            qFatal("the wait read the counter more often than scripted");
        return readings_[next_++];
    }
    bool allRead() const { return next_ == readings_.size(); }

private:
    QList<quint32> readings_;
    qsizetype next_ = 0;
};

// Remembers how long each pass offered to sleep.
class RecordingPump : public sound::EventPump {
public:
    QList<int> waits;
    void dispatchPendingEvents(int waitMs) override { waits.append(waitMs); }
};

} // namespace

class TestDelay : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void waitsForTheCounter_data();
    void waitsForTheCounter();
    void pendingEventsRunInsideTheWait();
    void nestedWaitEndsTheOuterAtItsNextPass();
};

void TestDelay::waitsForTheCounter_data()
{
    QTest::addColumn<double>("ms");
    QTest::addColumn<QList<quint32>>("readings");
    QTest::addColumn<QList<int>>("waits");

    QTest::newRow("ends at the first reading above the deadline")
        << 200.0 << QList<quint32>{1000, 1000, 1100, 1200, 1201} << QList<int>{201, 101, 1};
    QTest::newRow("second reading sets the deadline")
        << 200.0 << QList<quint32>{1000, 1010, 1201, 1211} << QList<int>{211, 10};
    QTest::newRow("zero ends when the counter moves")
        << 0.0 << QList<quint32>{5, 5, 5, 5, 6} << QList<int>{1, 1, 1};
    QTest::newRow("negative dispatches once") << -1.0 << QList<quint32>{5, 5, 5} << QList<int>{0};
    QTest::newRow("fractional wait") << 0.5 << QList<quint32>{5, 5, 6} << QList<int>{1};
    QTest::newRow("crossing 2^31 ends early")
        << 500.0 << QList<quint32>{2147483000u, 2147483000u, 2147483500u, 2147483648u}
        << QList<int>{501, 1};
    QTest::newRow("deadline beyond 2^31 ends at the crossing")
        << 200.0 << QList<quint32>{2147483600u, 2147483600u, 2147483647u, 2147483648u}
        << QList<int>{201, 154};
    QTest::newRow("wrapping at 2^32 runs the full length")
        << 500.0 << QList<quint32>{4294967000u, 4294967000u, 4294967295u, 0, 204, 205}
        << QList<int>{501, 206, 205, 1};
    QTest::newRow("NaN waits for nothing")
        << std::numeric_limits<double>::quiet_NaN() << QList<quint32>{5, 5} << QList<int>{0};
    QTest::newRow("infinity waits for nothing")
        << std::numeric_limits<double>::infinity() << QList<quint32>{5, 5} << QList<int>{0};
}

void TestDelay::waitsForTheCounter()
{
    QFETCH(double, ms);
    QFETCH(QList<quint32>, readings);
    QFETCH(QList<int>, waits);

    ScriptedTicks ticks(readings);
    RecordingPump pump;
    Delay(ms, ticks, pump);
    QVERIFY2(ticks.allRead(), "the wait ended before the counter said so");
    QCOMPARE(pump.waits, waits);
}

void TestDelay::pendingEventsRunInsideTheWait()
{
    int handled = 0;
    QMetaObject::invokeMethod(
        this, [&] { ++handled; }, Qt::QueuedConnection);

    // The clock has passed the deadline by the first look: one pass, events dispatched.
    ScriptedTicks ticks({0, 0, 300});
    sound::QtEventPump pump;
    Delay(200, ticks, pump);
    QCOMPARE(handled, 1);
}

void TestDelay::nestedWaitEndsTheOuterAtItsNextPass()
{
    FakeClock clock(0);
    std::uint32_t innerEnded = 0;
    clock.at(50, [&] {
        Delay(500, clock, clock);
        innerEnded = clock.now;
    });
    Delay(200, clock, clock);
    QCOMPARE(innerEnded, 551u);
    QCOMPARE(clock.now, 551u);
    // One pass of the outer wait, which held the inner one, and the inner's own.
    QCOMPARE(clock.dispatches, 2);
}

QTEST_GUILESS_MAIN(TestDelay)
#include "tst_delay.moc"
