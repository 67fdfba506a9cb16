#include "convert/FormStrings.h"
#include "morse/MorseTable.h"

#include <QTest>

using convert::FormStrings;

class TestMorseTable : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void everyEntryRoundTrips_data();
    void everyEntryRoundTrips();
    void tableHoldsExactlyTheseEntries();
    void missesFindNothing_data();
    void missesFindNothing();
    void aMissLeavesTheLastAnswer();
};

void TestMorseTable::everyEntryRoundTrips_data()
{
    QTest::addColumn<QString>("character");
    QTest::addColumn<QString>("code");
    // clang-format off
    const char *const rows[][2] = {
        {"A", ".-"},      {"B", "-..."},    {"C", "-.-."},    {"D", "-.."},    {"E", "."},
        {"F", "..-."},    {"G", "--."},     {"H", "...."},    {"I", ".."},     {"J", ".---"},
        {"K", "-.-"},     {"L", ".-.."},    {"M", "--"},      {"N", "-."},     {"O", "---"},
        {"P", ".--."},    {"Q", "--.-"},    {"R", ".-."},     {"S", "..."},    {"T", "-"},
        {"U", "..-"},     {"V", "...-"},    {"W", ".--"},     {"X", "-..-"},   {"Y", "-.--"},
        {"Z", "--.."},    {"0", "-----"},   {"1", ".----"},   {"2", "..---"},  {"3", "...--"},
        {"4", "....-"},   {"5", "....."},   {"6", "-...."},   {"7", "--..."},  {"8", "---.."},
        {"9", "----."},   {",", "--..--"},  {".", ".-.-.-"},  {"?", "..--.."}, {";", "-.-.-"},
        {":", "---..."},  {"/", "-..-."},   {"-", "-....-"},  {"'", ".----."}, {"+", ".-.-."},
        {"\"", ".-..-."}, {"@", ".--.-."},  {"(", "-.--."},   {")", "-.--.-"}, {"_", "..--.-"},
        {"$", "...-..-"}, {"&", ".-..."},   {"=", "-...-"}
    };
    // clang-format on
    for (const auto &row : rows)
        QTest::newRow(row[0]) << QString::fromLatin1(row[0]) << QString::fromLatin1(row[1]);
}

void TestMorseTable::everyEntryRoundTrips()
{
    QFETCH(QString, character);
    QFETCH(QString, code);

    FormStrings strings{QString(), character, QStringLiteral("stale")};
    convert::GetMorse(strings);
    QCOMPARE(strings.LookupResult, code);

    strings.CurrentSymbol = strings.LookupResult;
    strings.LookupResult = QStringLiteral("stale");
    convert::GetText(strings);
    QCOMPARE(strings.LookupResult, character);
    QCOMPARE(strings.CurrentSymbol, code);
}

void TestMorseTable::tableHoldsExactlyTheseEntries()
{
    // The 53 rows above and nothing else.
    QCOMPARE(int(morse::entries().size()), 53);
}

void TestMorseTable::missesFindNothing_data()
{
    QTest::addColumn<QString>("symbol");
    QTest::newRow("lower case") << QStringLiteral("a");
    QTest::newRow("empty") << QString();
    QTest::newRow("two characters") << QStringLiteral("AB");
    QTest::newRow("code with a space") << QStringLiteral(" .-");
    QTest::newRow("code with a trailing space") << QStringLiteral(".- ");
    QTest::newRow("six dots") << QStringLiteral("......");
    QTest::newRow("eight symbols") << QStringLiteral("........");
    QTest::newRow("semicolon with six symbols") << QStringLiteral("-.-.-.");
    QTest::newRow("space") << QStringLiteral(" ");
    QTest::newRow("hash") << QStringLiteral("#");
    QTest::newRow("accented capital") << QStringLiteral("\u00c9");
    QTest::newRow("full-width A") << QStringLiteral("\uff21");
    QTest::newRow("NUL") << QString(QChar(0));
    QTest::newRow("underscores for dashes") << QStringLiteral("._");
    QTest::newRow("em dash") << QStringLiteral("\u2014");
}

void TestMorseTable::missesFindNothing()
{
    QFETCH(QString, symbol);
    QVERIFY(!morse::codeFor(symbol));
    QVERIFY(!morse::characterFor(symbol));

    FormStrings strings{QString(), symbol, QStringLiteral("earlier")};
    convert::GetMorse(strings);
    QCOMPARE(strings.LookupResult, QStringLiteral("earlier"));
    convert::GetText(strings);
    QCOMPARE(strings.LookupResult, QStringLiteral("earlier"));
}

void TestMorseTable::aMissLeavesTheLastAnswer()
{
    FormStrings strings;
    strings.CurrentSymbol = QStringLiteral("X");
    convert::GetMorse(strings);
    QCOMPARE(strings.LookupResult, QStringLiteral("-..-"));
    strings.CurrentSymbol = QStringLiteral("x");
    convert::GetMorse(strings);
    QCOMPARE(strings.LookupResult, QStringLiteral("-..-"));

    // A dot and a dash are codes to one lookup and characters to the other.
    strings.CurrentSymbol = QStringLiteral(".");
    convert::GetText(strings);
    QCOMPARE(strings.LookupResult, QStringLiteral("E"));
    convert::GetMorse(strings);
    QCOMPARE(strings.LookupResult, QStringLiteral(".-.-.-"));
    strings.CurrentSymbol = QStringLiteral("-");
    convert::GetText(strings);
    QCOMPARE(strings.LookupResult, QStringLiteral("T"));
    convert::GetMorse(strings);
    QCOMPARE(strings.LookupResult, QStringLiteral("-....-"));
}

QTEST_APPLESS_MAIN(TestMorseTable)
#include "tst_morsetable.moc"
