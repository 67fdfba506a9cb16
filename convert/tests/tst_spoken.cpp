#include "convert/Spoken.h"
#include "tests/Rows.h"

#include <QTest>

class TestSpoken : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void stepSaysTheCharacterThenItsCode_data();
    void stepSaysTheCharacterThenItsCode();
    void decodeIsReadWithinBounds_data();
    void decodeIsReadWithinBounds();
};

void TestSpoken::stepSaysTheCharacterThenItsCode_data()
{
    QTest::addColumn<QString>("symbol");
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("spoken");
    addRow("letter", "S", "...", "S, dot dot dot");
    addRow("digit of five dashes", "0", "-----", "0, dash dash dash dash dash");
    addRow("punctuation by its name", ".", ".-.-.-", "full stop, dot dash dot dash dot dash");
    addRow("hyphen is no dash", "-", "-....-", "hyphen, dash dot dot dot dot dash");
    addRow("quotation mark", "\"", ".-..-.", "quotation mark, dot dash dot dot dash dot");
    addRow("pasted character without a code", "#", "", "#, no code");
    addRow("accented letter as it is", "É", "", "É, no code");
    addRow("tab", "\t", "", "tab, no code");
    addRow("past the end of a shortened text", "", "", "no character, no code");
}

void TestSpoken::stepSaysTheCharacterThenItsCode()
{
    QFETCH(QString, symbol);
    QFETCH(QString, code);
    QFETCH(QString, spoken);
    QCOMPARE(convert::spokenStep(symbol, code), spoken);
}

void TestSpoken::decodeIsReadWithinBounds_data()
{
    // As the README promises: the first 500 characters, then how many more.
    const qsizetype most = 500;
    const QString full(most, u'E');
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("spoken");
    addRow("decoded text as it is", "S O S ", "S O S ");
    addRow("nothing decoded", "", "no text decoded");
    addRow("only spaces decoded", "   ", "no text decoded");
    QTest::newRow("longest read whole") << full << full;
    QTest::newRow("one more") << full + u'E' << full + ", and 1 more character";
    QTest::newRow("ten mebibytes") << QString(
        10 << 20, u'E') << full + QString(", and %1 more characters").arg((10 << 20) - most);
    QTest::newRow("a surrogate pair is never split")
        << full.first(most - 1) + QString::fromUtf8("\xF0\x9F\x98\x80") + u'E'
        << full.first(most - 1) + ", and 3 more characters";
}

void TestSpoken::decodeIsReadWithinBounds()
{
    QFETCH(QString, text);
    QFETCH(QString, spoken);
    QCOMPARE(convert::spokenDecode(text), spoken);
}

QTEST_GUILESS_MAIN(TestSpoken)
#include "tst_spoken.moc"
