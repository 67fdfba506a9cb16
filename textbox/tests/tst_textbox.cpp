#include "tests/Rows.h"
#include "textbox/TextBox.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QInputMethod>
#include <QInputMethodEvent>
#include <QSignalSpy>
#include <QTest>

namespace {

const QString acute = QStringLiteral("e\u0301");
const QString smile = QStringLiteral("\U0001F600");

// One key a character: letters and digits as themselves, and named keys in braces.
void press(QWidget *box, const QString &keys)
{
    for (qsizetype i = 0; i < keys.size(); ++i) {
        if (keys[i] != u'{') {
            QTest::keyClick(box, keys[i].toLatin1());
            continue;
        }
        const qsizetype end = keys.indexOf(u'}', i);
        const QString name = keys.mid(i + 1, end - i - 1);
        i = end;
        Qt::KeyboardModifiers modifiers;
        QString key = name;
        for (;;) {
            if (key.startsWith(QLatin1String("shift+")))
                modifiers |= Qt::ShiftModifier;
            else if (key.startsWith(QLatin1String("ctrl+")))
                modifiers |= Qt::ControlModifier;
            else
                break;
            key = key.mid(key.indexOf(u'+') + 1);
        }
        const QKeySequence sequence(key);
        QTest::keyClick(box, Qt::Key(sequence[0].key()), modifiers);
    }
}

} // namespace

class TestTextBox : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void editingKeys_data();
    void editingKeys();
    void undoAndRedo();
    void clipboardKeys();
    void hugeTextShowsTheStretchAroundTheCaret();
    void viewStartsOnACharacterBoundary_data();
    void viewStartsOnACharacterBoundary();
    void aMarkTypedAtTheViewsStartJoinsItsLetter();
    void mouseSelects();
    void inputMethodCommitsAndPreedits();
    void screenReaderReadsAndEdits();
    void signalsComeOnceTheCaretIsPlaced();
    void appendAddsWithoutHistory();
    void compositionEndsOnAClickAndOnSetText();
    void candidateWindowFollowsTheCaret();

private:
    std::unique_ptr<textbox::TextBox> box;
};

void TestTextBox::init()
{
    box = std::make_unique<textbox::TextBox>(QString());
    box->resize(313, 25);
    box->show();
    box->activateWindow();
    box->setFocus();
    QVERIFY(QTest::qWaitForWindowActive(box.get()));
}

void TestTextBox::editingKeys_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("cursor");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("after");
    QTest::addColumn<int>("cursorAfter");
    addRow("typing at the caret", "ac", 1, "b", "abc", 2);
    addRow("backspace and delete", "abcd", 2, "{Backspace}{Delete}", "ad", 1);
    addRow("home and end", "abc", 1, "{Home}x{End}y", "xabcy", 5);
    addRow("a selection is typed over", "abcd", 3, "{shift+Left}{shift+Left}x", "axd", 2);
    addRow("left ends a selection at its start", "abcd", 3, "{shift+Left}{shift+Left}{Left}x",
        "axbcd", 2);
    addRow("word moves", "one two three", 0, "{ctrl+Right}x{ctrl+End}{ctrl+Left}y",
        "one xtwo ythree", 10);
    addRow("word deletes", "one two three", 7, "{ctrl+Backspace}", "one  three", 4);
    QTest::newRow("a surrogate pair is one character")
        << smile + smile << 4 << "{Left}{Backspace}" << smile << 0;
    QTest::newRow("a combining mark goes with its letter")
        << acute + acute << 0 << "{Right}{Delete}" << acute << 2;
    addRow("enter, escape and tab type nothing", "ab", 1, "{Return}{Escape}{Tab}", "ab", 1);
}

void TestTextBox::editingKeys()
{
    QFETCH(QString, text);
    QFETCH(int, cursor);
    QFETCH(QString, keys);
    box->setText(text);
    box->setCursorPosition(cursor);
    press(box.get(), keys);
    QTEST(box->text(), "after");
    QTEST(box->cursorPosition(), "cursorAfter");
}

void TestTextBox::undoAndRedo()
{
    box->setText(QStringLiteral("x"));
    press(box.get(), QStringLiteral("abc"));
    QApplication::clipboard()->setText(QStringLiteral("PASTE"));
    press(box.get(), QStringLiteral("{ctrl+V}d{Backspace}{Backspace}"));
    QCOMPARE(box->text(), QStringLiteral("xabcPAST"));

    // As a line edit undoes: the Backspaces together, then the typing, then the paste.
    const QStringList undone{QStringLiteral("xabcPASTEd"), QStringLiteral("xabcPASTE"),
        QStringLiteral("xabc"), QStringLiteral("x"), QStringLiteral("x")};
    for (const QString &expected : undone) {
        press(box.get(), QStringLiteral("{ctrl+Z}"));
        QCOMPARE(box->text(), expected);
    }
    press(box.get(), QStringLiteral("{ctrl+shift+Z}{ctrl+shift+Z}"));
    QCOMPARE(box->text(), QStringLiteral("xabcPASTE"));
    QCOMPARE(box->cursorPosition(), 9);

    // What the program writes starts the history afresh.
    box->setText(QStringLiteral("new"));
    press(box.get(), QStringLiteral("{ctrl+Z}"));
    QCOMPARE(box->text(), QStringLiteral("new"));
}

void TestTextBox::clipboardKeys()
{
    box->setText(QStringLiteral("dot dash"));
    press(box.get(), QStringLiteral("{shift+Home}{ctrl+C}"));
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("dot dash"));
    press(box.get(), QStringLiteral("{Right}{shift+ctrl+Left}{shift+Delete}"));
    QCOMPARE(box->text(), QStringLiteral("dot "));
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("dash"));
    press(box.get(), QStringLiteral("{Home}{shift+Insert}"));
    QCOMPARE(box->text(), QStringLiteral("dashdot "));
}

void TestTextBox::hugeTextShowsTheStretchAroundTheCaret()
{
    const QString huge = QStringLiteral("sos paris ").repeated(1024 * 1024);
    box->setText(huge);
    // The caret at the end shows the text's last characters, and the first are out of view.
    QVERIFY(!box->characterRect(int(huge.size()) - 1).isNull());
    QVERIFY(box->characterRect(int(huge.size()) - 1).right() < box->width());
    QVERIFY(box->characterRect(0).isNull());
    QCOMPARE(
        box->positionAt(box->characterRect(int(huge.size()) - 3).center()), int(huge.size()) - 3);

    press(box.get(), QStringLiteral("{Home}X"));
    QCOMPARE(box->firstVisible(), 0);
    QVERIFY(!box->characterRect(0).isNull());
    QCOMPARE(box->text().size(), huge.size() + 1);
    QCOMPARE(box->text().left(3), QStringLiteral("Xso"));
    // The start is drawn: the left half of the box holds much more ink than it does empty.
    const auto ink = [this] {
        const QImage shown = box->grab().toImage();
        int dark = 0;
        for (int y = 0; y < shown.height(); ++y)
            for (int x = 0; x < shown.width() / 2; ++x)
                dark += qGray(shown.pixel(x, y)) < 128;
        return dark;
    };
    const int withText = ink();
    box->clear();
    QVERIFY2(withText > ink() + box->width() / 2,
        qPrintable(QStringLiteral("ink: %1 with the text, %2 without").arg(withText).arg(ink())));
}

void TestTextBox::viewStartsOnACharacterBoundary_data()
{
    QTest::addColumn<QString>("character");
    QTest::addColumn<QString>("back");
    addRow("surrogate pairs", smile, "{Left}");
    addRow("letters with combining marks", acute, "{Left}");
    // In a line that reads right to left, the text's start is to the right.
    addRow("right-to-left letters with marks", u"\u05E9\u05C1", "{Right}");
}

void TestTextBox::viewStartsOnACharacterBoundary()
{
    QFETCH(QString, character);
    QFETCH(QString, back);
    box->setText(character.repeated(5000));
    QVERIFY(box->firstVisible() > 0);
    QCOMPARE(box->firstVisible() % character.size(), 0);
    for (int step = 0; step < 300; ++step)
        press(box.get(), back);
    QCOMPARE(box->cursorPosition(), (5000 - 300) * character.size());
    QCOMPARE(box->firstVisible() % character.size(), 0);
    QVERIFY(!box->characterRect(box->cursorPosition()).isNull());
}

void TestTextBox::aMarkTypedAtTheViewsStartJoinsItsLetter()
{
    box->setText(acute.repeated(5000));
    QVERIFY(box->firstVisible() > 0);
    // Far enough left that the view starts at the caret.
    for (int step = 0; step < 300; ++step)
        press(box.get(), QStringLiteral("{Left}"));
    QCOMPARE(box->firstVisible(), box->cursorPosition());
    QKeyEvent mark(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QStringLiteral("\u0301"));
    QApplication::sendEvent(box.get(), &mark);
    // The letter before now carries two accents, and is shown whole.
    QCOMPARE(box->cursorPosition() % 2, 1);
    QCOMPARE(box->firstVisible(), box->cursorPosition() - 3);
}

void TestTextBox::mouseSelects()
{
    box->setText(QStringLiteral("dit dah dit"));
    const QPoint onDah = box->characterRect(5).center();
    QTest::mouseDClick(box.get(), Qt::LeftButton, {}, onDah);
    QCOMPARE(box->selectedText(), QStringLiteral("dah"));

    QTest::mouseClick(box.get(), Qt::LeftButton, {}, box->characterRect(1).topLeft());
    QCOMPARE(box->cursorPosition(), 1);
    QVERIFY(!box->hasSelectedText());
    QTest::mouseClick(
        box.get(), Qt::LeftButton, Qt::ShiftModifier, box->characterRect(9).topLeft());
    QCOMPARE(box->selectedText(), QStringLiteral("it dah d"));
}

void TestTextBox::inputMethodCommitsAndPreedits()
{
    box->setText(QStringLiteral("ab"));
    box->setCursorPosition(1);
    QInputMethodEvent preedit(QStringLiteral("x"), {});
    QApplication::sendEvent(box.get(), &preedit);
    QCOMPARE(box->text(), QStringLiteral("ab"));
    QInputMethodEvent commit;
    commit.setCommitString(QStringLiteral("\u00e9"));
    QApplication::sendEvent(box.get(), &commit);
    QCOMPARE(box->text(), QStringLiteral("a\u00e9b"));
    QCOMPARE(box->inputMethodQuery(Qt::ImSurroundingText).toString(), QStringLiteral("a\u00e9b"));
    QCOMPARE(box->inputMethodQuery(Qt::ImCursorPosition).toInt(), 2);
}

void TestTextBox::screenReaderReadsAndEdits()
{
    box->setAccessibleName(QStringLiteral("Plain text"));
    box->setText(QStringLiteral("sos paris"));
    QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(box.get());
    QVERIFY(accessible);
    QCOMPARE(accessible->role(), QAccessible::EditableText);
    QCOMPARE(accessible->text(QAccessible::Name), QStringLiteral("Plain text"));
    QVERIFY(accessible->state().editable);
    QAccessibleTextInterface *text = accessible->textInterface();
    QVERIFY(text);
    QCOMPARE(text->characterCount(), 9);
    QCOMPARE(text->text(4, -1), QStringLiteral("paris"));
    int start = 0, end = 0;
    QCOMPARE(
        text->textAtOffset(6, QAccessible::WordBoundary, &start, &end), QStringLiteral("paris"));
    QCOMPARE(start, 4);
    QCOMPARE(
        text->textBeforeOffset(6, QAccessible::WordBoundary, &start, &end), QStringLiteral(" "));
    QCOMPARE(text->textAtOffset(1, QAccessible::CharBoundary, &start, &end), QStringLiteral("o"));
    QCOMPARE(text->textAtOffset(1, QAccessible::LineBoundary, &start, &end),
        QStringLiteral("sos paris"));
    QCOMPARE(text->offsetAtPoint(box->mapToGlobal(box->characterRect(2).center())), 2);

    text->setSelection(0, 0, 3);
    QCOMPARE(box->selectedText(), QStringLiteral("sos"));
    accessible->editableTextInterface()->replaceText(4, 9, QStringLiteral("london"));
    QCOMPARE(box->text(), QStringLiteral("sos london"));
}

void TestTextBox::signalsComeOnceTheCaretIsPlaced()
{
    box->setText(QStringLiteral("dot dash"));
    // What a slot reads of the box when told of a change, against what it reads after.
    QStringList whenTold;
    const auto read = [&] {
        return QStringLiteral("%1/%2 %3")
            .arg(box->cursorPosition())
            .arg(box->text().size())
            .arg(box->selectedText());
    };
    connect(box.get(), &textbox::TextBox::contentsChange, this, [&] { whenTold << read(); });
    connect(box.get(), &textbox::TextBox::textChanged, this, [&] { whenTold << read(); });
    // Typing over a selection undoes and redoes in one step, telling of each change.
    for (const QString &keys : {QStringLiteral("{shift+Home}{Backspace}"), QStringLiteral("x"),
             QStringLiteral("{ctrl+Z}"), QStringLiteral("{ctrl+shift+Z}")}) {
        whenTold.clear();
        press(box.get(), keys);
        QVERIFY(whenTold.size() >= 2);
        QCOMPARE(whenTold, QStringList(whenTold.size(), read()));
    }
}

void TestTextBox::appendAddsWithoutHistory()
{
    box->setText(QStringLiteral("... "));
    press(box.get(), QStringLiteral("{Home}{shift+Right}"));
    QSignalSpy changes(box.get(), &textbox::TextBox::contentsChange);
    box->append(QStringLiteral("--- "));
    QCOMPARE(box->text(), QStringLiteral("... --- "));
    QCOMPARE(box->cursorPosition(), 8);
    QVERIFY(!box->hasSelectedText());
    QVERIFY(!box->isUndoAvailable());
    QCOMPARE(changes, (QList<QVariantList>{{4, 0, 4}}));
}

void TestTextBox::compositionEndsOnAClickAndOnSetText()
{
    const auto caretX
        = [this] { return box->inputMethodQuery(Qt::ImCursorRectangle).toRect().x(); };
    const auto compose = [this] {
        QInputMethodEvent preedit(QStringLiteral("\u3042\u3044"), {});
        QApplication::sendEvent(box.get(), &preedit);
    };
    box->setText(QStringLiteral("ab"));
    box->setCursorPosition(1);
    const int betweenTheTwo = caretX();
    box->setCursorPosition(2);
    const int atEnd = caretX();
    compose();
    QVERIFY(caretX() > atEnd);
    // A click outside the composition ends it; with no input method to commit it here,
    // it is dropped, and the caret goes where the click was. A font's advances need not
    // be whole pixels: the caret is where the box puts it for that place, whatever the font.
    QTest::mouseClick(box.get(), Qt::LeftButton, {}, box->characterRect(1).topLeft());
    QCOMPARE(box->text(), QStringLiteral("ab"));
    QCOMPARE(box->cursorPosition(), 1);
    QCOMPARE(caretX(), betweenTheTwo);

    compose();
    box->setText(QStringLiteral("ab"));
    QCOMPARE(caretX(), atEnd);
}

void TestTextBox::candidateWindowFollowsTheCaret()
{
    QSignalSpy moved(QGuiApplication::inputMethod(), &QInputMethod::cursorRectangleChanged);
    press(box.get(), QStringLiteral("a"));
    QVERIFY(!moved.isEmpty());
    moved.clear();
    QInputMethodEvent preedit(QStringLiteral("kana"), {});
    QApplication::sendEvent(box.get(), &preedit);
    QVERIFY(!moved.isEmpty());
}

QTEST_MAIN(TestTextBox)
#include "tst_textbox.moc"
