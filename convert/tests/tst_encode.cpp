#include "convert/Decode.h"
#include "convert/Encode.h"
#include "fakes/FakeConversionHost.h"
#include "tests/Rows.h"

#include <QTest>

#include <functional>

using convert::Encoder;

namespace {

// Each wait ends at the first tick past its length.
constexpr int step = 201 + 501;
// How many runs may lie one inside another before a click waits for them to unwind.
constexpr int deepestRuns = 64;

} // namespace

class TestEncode : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();

    void encodesText1_data();
    void encodesText1();
    void secondRunAppendsToTheFirst();
    void decodeInsideAWaitKeepsTheStepsOwnCharacter();
    void newerRunSupersedesTheRunning_data();
    void newerRunSupersedesTheRunning();
    void clickStormKeepsTheRunsShallow();
    void clickStormSendsWhatText1HeldAtTheLatestClick_data();
    void clickStormSendsWhatText1HeldAtTheLatestClick();
    void everyTypableCharacterRoundTrips();

private:
    FakeConversionHost host;
};

void TestEncode::init()
{
    host = {};
}

void TestEncode::encodesText1_data()
{
    QTest::addColumn<QString>("text1");
    QTest::addColumn<QString>("text2");
    QTest::addColumn<QString>("text1After");
    QTest::addColumn<QString>("text2After");
    QTest::addColumn<QString>("text3After");
    QTest::addColumn<QString>("sounded");
    QTest::addColumn<int>("ticks");

    addRow("sos", u"sos", u"", u"SOS", u"... --- ... ", u"S ...", u"SOS", 3 * step);
    addRow("fresh window", u" Text ", u" Morse ", u"TEXT", u" Morse - . -..- - ", u"T -", u"TEXT",
        4 * step);
    addRow("spaces removed", u"ab c", u"", u"ABC", u".- -... -.-. ", u"C -.-.", u"ABC", 3 * step);
    addRow("Morse without a final space", u"e", u"...", u"E", u".... ", u"E .", u"E", step);
    addRow("zero", u"0", u"", u"0", u"----- ", u"0 -----", u"0", step);
    addRow("unknown character gets an empty code", u"s#", u"", u"S#", u"...  ", u"# ", u"S#",
        2 * step);
    addRow("equals sign", u"=", u"", u"=", u"-...- ", u"= -...-", u"=", step);
    addRow("accented letter", u"\u00e9t", u"", u"\u00c9T", u" - ", u"T -", u"\u00c9T", 2 * step);
    addRow("tab stays", u"a\tb", u"", u"A\tB", u".-  -... ", u"B -...", u"A\tB", 3 * step);
    addRow("colon and digits", u"1:9", u"", u"1:9", u".---- ---... ----. ", u"9 ----.", u"1:9",
        3 * step);
}

void TestEncode::encodesText1()
{
    QFETCH(QString, text1);
    QFETCH(QString, text2);
    QFETCH(QString, text1After);
    host.Text1 = text1;
    host.Text2 = text2;
    const std::uint32_t start = host.clock.now;
    Encoder(host).run();

    QCOMPARE(host.blankFieldMessages, 0);
    QCOMPARE(host.Text1, text1After);
    QTEST(host.Text2, "text2After");
    QTEST(host.Text3, "text3After");
    QTEST(host.soundedSymbols(), "sounded");
    QTEST(int(host.clock.now - start), "ticks");
    QCOMPARE(host.formStrings.SourceText, text1After);
    QCOMPARE(qsizetype(host.announced.size()), text1After.size());
}

void TestEncode::secondRunAppendsToTheFirst()
{
    Encoder encoder(host);
    host.Text1 = QStringLiteral("me");
    encoder.run();
    host.Text1 = QStringLiteral("t");
    encoder.run();
    QCOMPARE(host.Text2, QStringLiteral("-- . - "));
    QCOMPARE(host.soundedSymbols(), QStringLiteral("MET"));
}

void TestEncode::decodeInsideAWaitKeepsTheStepsOwnCharacter()
{
    host.Text1 = QStringLiteral("ab");
    // Inside the wait before A's sound.
    host.clock.at(1100, [this] { convert::decode(host); });
    Encoder(host).run();
    QCOMPARE(host.Text1, QStringLiteral("A "));
    QCOMPARE(host.Text2, QStringLiteral(".- -... "));
    QCOMPARE(host.Text3, QStringLiteral("B -..."));
    QCOMPARE(host.soundedSymbols(), QStringLiteral("AB"));
    QCOMPARE(host.formStrings.CurrentSymbol, QStringLiteral("B"));
    QCOMPARE(host.formStrings.LookupResult, QStringLiteral("-..."));
}

void TestEncode::newerRunSupersedesTheRunning_data()
{
    QTest::addColumn<int>("at");
    QTest::addColumn<QString>("newText");
    QTest::addColumn<QString>("text2After");
    QTest::addColumn<QString>("text3After");
    QTest::addColumn<QString>("sounded");
    QTest::addColumn<int>("blankFieldMessages");
    addRow("inside the pause after a character", 1500, "e", "... . ", "E .", "SE", 0);
    addRow("inside the wait before the sound", 1100, "e", "... . ", "E .", "E", 0);
    addRow("a blank text ends the running one too", 1500, "  ", "... ", "S ...", "S", 1);
}

void TestEncode::newerRunSupersedesTheRunning()
{
    QFETCH(int, at);
    QFETCH(QString, newText);
    Encoder encoder(host);
    host.Text1 = QStringLiteral("sos");
    host.clock.at(std::uint32_t(at), [&] {
        host.Text1 = newText;
        encoder.run();
    });
    encoder.run();
    QTEST(host.Text2, "text2After");
    QTEST(host.Text3, "text3After");
    QTEST(host.soundedSymbols(), "sounded");
    QTEST(host.blankFieldMessages, "blankFieldMessages");
}

void TestEncode::clickStormKeepsTheRunsShallow()
{
    Encoder encoder(host);
    host.Text1 = QStringLiteral("ab");
    // Each of 1000 clicks lands inside the wait of the run the click before started.
    int clicks = 0;
    std::function<void()> click = [&] {
        if (++clicks < 1000)
            host.clock.at(host.clock.now, click);
        encoder.run();
    };
    host.clock.at(1100, click);
    encoder.run();

    QCOMPARE(host.clock.deepestNesting, deepestRuns);
    // The runs that lay deepest each sent their first code; the last click's run, all.
    QCOMPARE(host.Text2, QStringLiteral(".- ").repeated(deepestRuns + 1) + QStringLiteral("-... "));
    QCOMPARE(host.Text3, QStringLiteral("B -..."));
    QCOMPARE(host.soundedSymbols(), QStringLiteral("AB"));
}

void TestEncode::clickStormSendsWhatText1HeldAtTheLatestClick_data()
{
    QTest::addColumn<int>("clicks");
    QTest::addColumn<QString>("atTheLastClick");
    QTest::addColumn<QString>("sounded");
    QTest::addColumn<int>("blankFieldMessages");
    addRow("within the nesting", deepestRuns - 1, "ab", "AB", 0);
    addRow("past the nesting", 1000, "ab", "AB", 0);
    addRow("past the nesting, another text", 1000, "t e", "TE", 0);
    addRow("past the nesting, blank", 1000, "  ", "", 1);
}

// A burst of clicks, the last one on the given text, then a decode that writes "P " into
// Text1 while the runs unwind: what is sent is what Text1 held at the last click, never
// what the decode wrote, and the decode's text stays.
void TestEncode::clickStormSendsWhatText1HeldAtTheLatestClick()
{
    QFETCH(int, clicks);
    QFETCH(QString, atTheLastClick);
    Encoder encoder(host);
    host.Text1 = QStringLiteral("ab");
    int clicked = 0;
    std::function<void()> decode = [&] {
        host.Text2 = QStringLiteral(".--. ");
        convert::decode(host);
    };
    std::function<void()> click = [&] {
        if (++clicked < clicks) {
            host.clock.at(host.clock.now, click);
        } else {
            host.Text1 = atTheLastClick;
            host.clock.at(host.clock.now + 1, decode);
        }
        encoder.run();
    };
    host.clock.at(1100, click);
    encoder.run();

    QCOMPARE(host.Text1, QStringLiteral("P "));
    QTEST(host.soundedSymbols(), "sounded");
    QTEST(host.blankFieldMessages, "blankFieldMessages");
}

void TestEncode::everyTypableCharacterRoundTrips()
{
    const QString typable = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789:");
    host.Text1 = typable.toLower();
    Encoder(host).run();
    convert::decode(host);

    QString spaced;
    for (QChar character : typable)
        spaced += character + QStringLiteral(" ");
    QCOMPARE(host.Text1, spaced);
}

QTEST_GUILESS_MAIN(TestEncode)
#include "tst_encode.moc"
