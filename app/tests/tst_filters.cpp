#include "Form1Fixture.h"
#include "tests/Rows.h"
#include "typing/TypedCharacterRules.h"

#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QTest>

#include <memory>

namespace {

// Types each character as a key press carrying it, as a keyboard does; characters
// beyond ASCII arrive with no key code of their own.
void type(QWidget *target, const QString &text)
{
    for (QChar character : text) {
        const char16_t code = character.toUpper().unicode();
        // Qt's codes for the printable ASCII keys are those of their capitals.
        const int key = code >= ' ' && code < 127 ? int(code) : int(Qt::Key_unknown);
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString(character));
        QApplication::sendEvent(target, &press);
        QKeyEvent release(QEvent::KeyRelease, press.key(), Qt::NoModifier, QString(character));
        QApplication::sendEvent(target, &release);
    }
}

} // namespace

class TestFilters : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void filtersAdmitTheirCodes_data();
    void filtersAdmitTheirCodes();
    void typingIntoTheBoxes_data();
    void typingIntoTheBoxes();
    void backspaceAndControlHDelete_data();
    void backspaceAndControlHDelete();
    void keysWithoutCharactersStillWork();
    void editCommandsWork_data();
    void editCommandsWork();
    void inputMethodCommitsAreFiltered();
    void text3IsNotFiltered();

private:
    std::unique_ptr<Form1Fixture> window;
};

void TestFilters::init()
{
    window = std::make_unique<Form1Fixture>();
    QVERIFY(window->show());
    for (const char *name : {"Text1", "Text2", "Text3"})
        window->box(name)->clear();
}

void TestFilters::cleanup()
{
    window.reset();
}

void TestFilters::filtersAdmitTheirCodes_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("plain");
    QTest::addColumn<int>("morse");
    // Each edge of the sets the two boxes take; a refused code becomes 0.
    const auto row = [](const char *name, int code, int plain, int morse) {
        addRow(name, code, plain, morse);
    };
    row("NUL", 0, 0, 0);
    row("Backspace", 8, 8, 8);
    row("tab", 9, 0, 0);
    row("space", ' ', ' ', ' ');
    row("comma", ',', 0, 0);
    row("hyphen", '-', 0, '-');
    row("full stop", '.', 0, '.');
    row("slash", '/', 0, 0);
    row("0", '0', '0', 0);
    row("9", '9', '9', 0);
    row("colon", ':', ':', 0);
    row("semicolon", ';', 0, 0);
    row("at sign", '@', 0, 0);
    row("A", 'A', 'A', 0);
    row("Z", 'Z', 'Z', 0);
    row("left bracket", '[', 0, 0);
    row("grave accent", '`', 0, 0);
    row("a", 'a', 'A', 0);
    row("z", 'z', 'Z', 0);
    row("left brace", '{', 0, 0);
    row("DEL", 127, 0, 0);
    row("e acute in Latin-1", 0xe9, 0, 0);
    row("y diaeresis in Latin-1", 0xff, 0, 0);
}

void TestFilters::filtersAdmitTheirCodes()
{
    QFETCH(int, code);
    QTEST(app::filterPlainText(code), "plain");
    QTEST(app::filterMorse(code), "morse");
}

void TestFilters::typingIntoTheBoxes_data()
{
    QTest::addColumn<QString>("boxName");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("entered");

    addRow("plain text in capitals", "Text1", "sos 1:", "SOS 1:");
    addRow("marks refused", "Text1", "a.b,c?", "ABC");
    addRow("marks between digits and letters", "Text1", ";<=>?@", "");
    addRow("marks above Z", "Text1", "[\\]^_`{|}~", "");
    addRow("marks below digits", "Text1", "!\"#$%&'()*+,-./", "");
    addRow("every letter", "Text1", "The Quick Brown Fox 0123456789",
        "THE QUICK BROWN FOX 0123456789");
    addRow("letters beyond ASCII", "Text1", "\u00e9\u00df\u00c4x", "X");
    addRow("Morse as typed", "Text2", "... --- ...", "... --- ...");
    addRow("Morse marks", "Text2", "._-+/", ".-");
    addRow("letters and digits in Morse", "Text2", "abcXYZ0189:", "");
    addRow("dashes beyond ASCII", "Text2", "\u2014\u2013\u00b7", "");
}

void TestFilters::typingIntoTheBoxes()
{
    QFETCH(QString, boxName);
    QFETCH(QString, typed);
    QFETCH(QString, entered);
    textbox::TextBox *target = window->box(qPrintable(boxName));
    target->setFocus();
    type(target, typed);
    QCOMPARE(target->text(), entered);
}

void TestFilters::backspaceAndControlHDelete_data()
{
    QTest::addColumn<QString>("boxName");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<int>("key");
    QTest::newRow("Backspace in Text1") << "Text1" << int(Qt::NoModifier) << int(Qt::Key_Backspace);
    QTest::newRow("Control+H in Text1") << "Text1" << int(Qt::ControlModifier) << int(Qt::Key_H);
    QTest::newRow("Backspace in Text2") << "Text2" << int(Qt::NoModifier) << int(Qt::Key_Backspace);
    QTest::newRow("Control+H in Text2") << "Text2" << int(Qt::ControlModifier) << int(Qt::Key_H);
}

void TestFilters::backspaceAndControlHDelete()
{
    QFETCH(QString, boxName);
    QFETCH(int, modifiers);
    QFETCH(int, key);
    textbox::TextBox *target = window->box(qPrintable(boxName));
    target->setFocus();
    target->setText(QStringLiteral("... -"));
    QTest::keyClick(target, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QCOMPARE(target->text(), QStringLiteral("... "));
}

void TestFilters::keysWithoutCharactersStillWork()
{
    textbox::TextBox *text2 = window->box("Text2");
    text2->setFocus();
    text2->setText(QStringLiteral(".-.."));
    QTest::keyClick(text2, Qt::Key_Home);
    QTest::keyClick(text2, Qt::Key_Delete);
    QCOMPARE(text2->text(), QStringLiteral("-.."));
    QTest::keyClick(text2, Qt::Key_End);
    QTest::keyClick(text2, Qt::Key_Left);
    QTest::keyClicks(text2, QStringLiteral(" "));
    QCOMPARE(text2->text(), QStringLiteral("-. ."));

    QTest::keyClick(text2, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), window->box("Text3"));
    QTest::keyClick(window->box("Text3"), Qt::Key_Backtab, Qt::ShiftModifier);
    QCOMPARE(QApplication::focusWidget(), text2);
}

void TestFilters::editCommandsWork_data()
{
    QTest::addColumn<QString>("boxName");
    QTest::addColumn<QString>("text");
    addRow("plain text", "Text1", "SOS 73");
    addRow("Morse", "Text2", "... ---");
    addRow("current character", "Text3", "S ...");
}

// Every key the platform binds to a command of the boxes' context menu does it in every box.
void TestFilters::editCommandsWork()
{
    QFETCH(QString, boxName);
    QFETCH(QString, text);
    textbox::TextBox *target = window->box(qPrintable(boxName));
    target->setFocus();
    const auto press = [&](QKeySequence::StandardKey command, int binding = 0) {
        const QKeyCombination key = QKeySequence::keyBindings(command).value(binding)[0];
        QTest::keyClick(target, key.key(), key.keyboardModifiers());
    };

    for (const QKeySequence &binding : QKeySequence::keyBindings(QKeySequence::SelectAll)) {
        target->setText(text);
        target->setCursorPosition(1);
        QTest::keyClick(target, binding[0].key(), binding[0].keyboardModifiers());
        QCOMPARE(target->selectedText(), text);
    }
    press(QKeySequence::Copy);
    QCOMPARE(QApplication::clipboard()->text(), text);
    press(QKeySequence::Cut);
    QCOMPARE(target->text(), QString());
    press(QKeySequence::Paste);
    press(QKeySequence::Paste);
    QCOMPARE(target->text(), text + text);
    const int redoBindings = int(QKeySequence::keyBindings(QKeySequence::Redo).size());
    QVERIFY(redoBindings > 0);
    for (int binding = 0; binding < redoBindings; ++binding) {
        press(QKeySequence::Undo);
        QCOMPARE(target->text(), text);
        press(QKeySequence::Redo, binding);
        QCOMPARE(target->text(), text + text);
    }

    // Pasted text is taken as it is.
    QApplication::clipboard()->setText(QStringLiteral("hello, world"));
    target->clear();
    press(QKeySequence::Paste);
    QCOMPARE(target->text(), QStringLiteral("hello, world"));
}

void TestFilters::inputMethodCommitsAreFiltered()
{
    textbox::TextBox *text1 = window->box("Text1");
    text1->setFocus();
    QInputMethodEvent commit;
    commit.setCommitString(QStringLiteral("a;b\u00e9\b"));
    QApplication::sendEvent(text1, &commit);
    QCOMPARE(text1->text(), QStringLiteral("AB"));

    textbox::TextBox *text2 = window->box("Text2");
    text2->setFocus();
    QInputMethodEvent morse;
    morse.setCommitString(QStringLiteral(".x- "));
    QApplication::sendEvent(text2, &morse);
    QCOMPARE(text2->text(), QStringLiteral(".- "));
}

void TestFilters::text3IsNotFiltered()
{
    textbox::TextBox *text3 = window->box("Text3");
    text3->setFocus();
    type(text3, QStringLiteral("a;?\u00e9"));
    QCOMPARE(text3->text(), QStringLiteral("a;?\u00e9"));
}

QTEST_MAIN(TestFilters)
#include "tst_filters.moc"
