#include "Form1Fixture.h"
#include "tests/Rows.h"

#include <QApplication>
#include <QClipboard>
#include <QPushButton>
#include <QTest>

#include <memory>

namespace {

constexpr qsizetype tenMebibytes = 10 * 1024 * 1024;

QString repeatedTo(const QString &piece, qsizetype size)
{
    return piece.repeated(size / piece.size());
}

} // namespace

// Whatever is pasted, the program keeps it whole, converts it without crashing and
// stays responsive.
class TestHostile : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void tenMebibytesPasteWhole_data();
    void tenMebibytesPasteWhole();
    void tenMebibytesOfMorseDecode();
    void oddCharactersGoThroughBothConversions_data();
    void oddCharactersGoThroughBothConversions();

private:
    std::unique_ptr<Form1Fixture> window;
};

void TestHostile::init()
{
    window = std::make_unique<Form1Fixture>();
    QVERIFY(window->show());
}

void TestHostile::cleanup()
{
    window.reset();
}

void TestHostile::tenMebibytesPasteWhole_data()
{
    QTest::addColumn<QString>("boxName");
    QTest::addColumn<QString>("piece");
    addRow("plain text", "Text1", "the quick brown fox ");
    addRow("Morse", "Text2", "... --- ... ");
    addRow("current character", "Text3", "#?!");
}

void TestHostile::tenMebibytesPasteWhole()
{
    QFETCH(QString, boxName);
    QFETCH(QString, piece);
    const QString pasted = repeatedTo(piece, tenMebibytes);
    QApplication::clipboard()->setText(pasted);
    textbox::TextBox *target = window->box(qPrintable(boxName));
    target->clear();
    target->setFocus();
    QTest::keyClick(target, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(target->text().size(), pasted.size());
    QVERIFY(target->text() == pasted);
}

void TestHostile::tenMebibytesOfMorseDecode()
{
    window->box("Text2")->setText(repeatedTo(QStringLiteral(".- -... "), tenMebibytes));
    window->click("Command3");
    const QString plain = window->box("Text1")->text();
    QCOMPARE(plain.size(), tenMebibytes / 2);
    QVERIFY(plain == repeatedTo(QStringLiteral("A B "), tenMebibytes / 2));
}

void TestHostile::oddCharactersGoThroughBothConversions_data()
{
    QTest::addColumn<QString>("pasted");
    QTest::addColumn<QString>("text1AfterEncode");
    QTest::addColumn<QString>("morseAfterEncode");
    QTest::addColumn<QString>("text1AfterDecode");

    // Characters the table lacks get an empty code; a token holding one decodes to nothing.
    addRow("NUL", u"e\0t", u"E\0T", ".  - ", "E  T ");
    // Half a surrogate pair is no character: in capitals it is the replacement character.
    addRow("lone surrogate", u"e\xd800t", "E\uFFFDT", ".  - ", "E  T ");
    addRow("lone low surrogate", u"e\xdc00t", "E\uFFFDT", ".  - ", "E  T ");
    addRow("right-to-left mark", "e\u200ft", "E\u200fT", ".  - ", "E  T ");
    addRow("combining accent", "e\u0301t", "E\u0301T", ".  - ", "E  T ");
    addRow("tab and line breaks", "e\t\r\nt", "E\t\r\nT", ".    - ", "E    T ");
    addRow("pair of surrogates", "e\U0001F600t", "E\U0001F600T", ".   - ", "E   T ");
}

void TestHostile::oddCharactersGoThroughBothConversions()
{
    QFETCH(QString, pasted);
    QFETCH(QString, text1AfterEncode);
    QFETCH(QString, morseAfterEncode);
    QFETCH(QString, text1AfterDecode);

    // The odd characters sit in every box at once.
    window->box("Text1")->setText(pasted);
    window->box("Text2")->clear();
    window->box("Text3")->setText(pasted);
    window->click("Command1");
    QCOMPARE(window->box("Text1")->text(), text1AfterEncode);
    QCOMPARE(window->box("Text2")->text(), morseAfterEncode);
    QCOMPARE(window->box("Text3")->text(), QStringLiteral("T -"));

    window->box("Text2")->setText(window->box("Text2")->text() + pasted + QStringLiteral(" "));
    window->click("Command3");
    QCOMPARE(window->messages, QStringList());
    QCOMPARE(window->box("Text1")->text(), text1AfterDecode + QStringLiteral(" "));
    QCOMPARE(window->box("Text3")->text(), QString());
}

QTEST_MAIN(TestHostile)
#include "tst_hostile.moc"
