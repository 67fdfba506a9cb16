#include "convert/Decode.h"
#include "convert/Spoken.h"
#include "fakes/FakeConversionHost.h"
#include "tests/Rows.h"

#include <QTest>

using convert::Box;

class TestDecode : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void decodesIntoText1_data();
    void decodesIntoText1();
    void blankMorseShowsTheMessage();
    void decodesAMebibyteOfMorse();
};

void TestDecode::decodesIntoText1_data()
{
    QTest::addColumn<QString>("morse");
    QTest::addColumn<QString>("plain");
    QTest::addColumn<QString>("currentSymbol");
    QTest::addColumn<QString>("lookupResult");

    addRow("encoder output", u"... --- ... ", u"S O S ", u"...", u"S");
    addRow("no final space", u"... --- ...", u"S O S", u"...", u"S");
    addRow("one code", u"...", u"S", u"...", u"");
    addRow("one code and its space", u"... ", u"S ", u"...", u"S");
    addRow("two spaces", u".-  -...", u"A  B", u"-...", u"B");
    addRow("leading and final space", u" .- ", u" A ", u".-", u"A");
    addRow("unknown code", u"... ------- --- ", u"S  O ", u"---", u"O");
    addRow("unknown last code", u"... -------", u"S ", u"-------", u"");
    addRow("three spaces", u"   ", u"   ", u"", u"");
    addRow("a word", u" hello ", u"  ", u"hello", u"");
    addRow("quotation mark", u".-..-. ", u"\" ", u".-..-.", u"\"");
    addRow("one unknown code", u"......", u"", u"......", u"");
    addRow("equals sign", u"-...- -...-", u"= =", u"-...-", u"=");
    addRow("tab inside a token", u".-\t.- .-", u" A", u".-", u"A");
    addRow("line break is no separator", u"...\n--- ...", u" S", u"...", u"S");
    addRow("no-break space is no separator", u"...\u00a0... .", u" E", u".", u"E");
    addRow("NUL", u"\0 .", u" E", u".", u"E");
    addRow("lone surrogate", u"\xd800 -", u" T", u"-", u"T");
}

void TestDecode::decodesIntoText1()
{
    QFETCH(QString, morse);
    QFETCH(QString, plain);
    QFETCH(QString, currentSymbol);
    QFETCH(QString, lookupResult);

    FakeConversionHost host;
    host.Text1 = QStringLiteral("typed before");
    host.Text2 = morse;
    host.Text3 = QStringLiteral("S ...");
    // An encode run leaves its last code behind; no token may pick it up.
    host.formStrings = {QStringLiteral("SOS"), QStringLiteral("S"), QStringLiteral("...")};

    convert::decode(host);

    QCOMPARE(host.Text1, plain);
    QCOMPARE(host.Text2, morse);
    QCOMPARE(host.Text3, QString());
    QCOMPARE(host.blankFieldMessages, 0);
    // Nothing can run inside a decode.
    QCOMPARE(host.waits, 0);
    QVERIFY(host.sounds.isEmpty());
    QCOMPARE(host.formStrings.CurrentSymbol, currentSymbol);
    QCOMPARE(host.formStrings.LookupResult, lookupResult);
    QCOMPARE(host.formStrings.SourceText, QStringLiteral("SOS"));
    // Read out once, after the text is written.
    QCOMPARE(host.announced, QStringList{convert::spokenDecode(plain)});
}

void TestDecode::blankMorseShowsTheMessage()
{
    FakeConversionHost host;
    host.Text1 = QStringLiteral("HELLO");
    host.Text3 = QStringLiteral("O ---");
    host.formStrings = {QStringLiteral("HELLO"), QStringLiteral("O"), QStringLiteral("---")};

    convert::decode(host);

    QCOMPARE(host.blankFieldMessages, 1);
    // The message box is read out; nothing else is.
    QCOMPARE(host.announced, QStringList());
    QCOMPARE(host.Text1, QString());
    QCOMPARE(host.Text3, QString());
    QCOMPARE(host.formStrings.CurrentSymbol, QStringLiteral("O"));
    QCOMPARE(host.formStrings.LookupResult, QStringLiteral("---"));
}

void TestDecode::decodesAMebibyteOfMorse()
{
    // Codes of one to five symbols, a digit among them, each known by heart.
    const QString piece = QStringLiteral(". .- -... -.-. ----- ..--- ");
    const QString decoded = QStringLiteral("E A B C 0 2 ");
    const qsizetype times = 1024 * 1024 / piece.size() + 1;

    FakeConversionHost host;
    host.Text2 = piece.repeated(times);
    convert::decode(host);
    QCOMPARE(host.Text1.size(), decoded.size() * times);
    QVERIFY(host.Text1 == decoded.repeated(times));
}

QTEST_APPLESS_MAIN(TestDecode)
#include "tst_decode.moc"
