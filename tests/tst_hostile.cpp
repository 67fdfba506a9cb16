#include "Form1Fixture.h"

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
    app::TextBox *box(const char *name) { return window->box(name); }
    QPushButton *button(const char *name) { return window->button(name); }

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
    QTest::newRow("plain text") << "Text1"
                                << "the quick brown fox ";
    QTest::newRow("Morse") << "Text2"
                           << "... --- ... ";
    QTest::newRow("current character") << "Text3"
                                       << "#?!";
}

void TestHostile::tenMebibytesPasteWhole()
{
    QFETCH(QString, boxName);
    QFETCH(QString, piece);
    const QString pasted = repeatedTo(piece, tenMebibytes);
    QApplication::clipboard()->setText(pasted);
    app::TextBox *target = box(qPrintable(boxName));
    target->clear();
    target->setFocus();
    QTest::keyClick(target, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(target->text().size(), pasted.size());
    QVERIFY(target->text() == pasted);
}

void TestHostile::tenMebibytesOfMorseDecode()
{
    box("Text2")->setText(repeatedTo(QStringLiteral(".- -... "), tenMebibytes));
    button("Command3")->click();
    const QString plain = box("Text1")->text();
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
    QTest::newRow("NUL") << QString::fromUtf16(u"e\0t", 3) << QString::fromUtf16(u"E\0T", 3)
                         << ".  - "
                         << "E  T ";
    // Half a surrogate pair is no character: in capitals it is the replacement character.
    QTest::newRow("lone surrogate") << QString::fromUtf16(u"e\xd800t", 3) << "E\uFFFDT"
                                    << ".  - "
                                    << "E  T ";
    QTest::newRow("lone low surrogate") << QString::fromUtf16(u"e\xdc00t", 3) << "E\uFFFDT"
                                        << ".  - "
                                        << "E  T ";
    QTest::newRow("right-to-left mark") << "e\u200ft"
                                        << "E\u200fT"
                                        << ".  - "
                                        << "E  T ";
    QTest::newRow("combining accent") << "e\u0301t"
                                      << "E\u0301T"
                                      << ".  - "
                                      << "E  T ";
    QTest::newRow("tab and line breaks") << "e\t\r\nt"
                                         << "E\t\r\nT"
                                         << ".    - "
                                         << "E    T ";
    QTest::newRow("pair of surrogates") << "e\U0001F600t"
                                        << "E\U0001F600T"
                                        << ".   - "
                                        << "E   T ";
}

void TestHostile::oddCharactersGoThroughBothConversions()
{
    QFETCH(QString, pasted);
    QFETCH(QString, text1AfterEncode);
    QFETCH(QString, morseAfterEncode);
    QFETCH(QString, text1AfterDecode);

    // The odd characters sit in every box at once.
    box("Text1")->setText(pasted);
    box("Text2")->clear();
    box("Text3")->setText(pasted);
    button("Command1")->click();
    QCOMPARE(box("Text1")->text(), text1AfterEncode);
    QCOMPARE(box("Text2")->text(), morseAfterEncode);
    QCOMPARE(box("Text3")->text(), QStringLiteral("T -"));

    box("Text2")->setText(box("Text2")->text() + pasted + QStringLiteral(" "));
    button("Command3")->click();
    QCOMPARE(box("Text1")->text(), text1AfterDecode + QStringLiteral(" "));
    QCOMPARE(box("Text3")->text(), QString());
}

QTEST_MAIN(TestHostile)
#include "tst_hostile.moc"
