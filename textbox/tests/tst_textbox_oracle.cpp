// The text box against the line edit users know: a TextBox and a plain QLineEdit, with
// the same font, size and text, go through the same seeded random sessions of typing,
// keys, clicks, drags, the program's setText and input-method events. After every step
// both must agree on the text, the caret, the selection, what undo and redo offer, the
// clipboard and where the caret is drawn.
//
// VARNOCK_ORACLE_SEED=N runs the one session with that seed, to replay a failure, and
// VARNOCK_ORACLE_TRACE=1 prints both states after every step.

#include "textbox/TextBox.h"

#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QTest>
#include <QTextCharFormat>

#include <memory>
#include <random>

namespace {

constexpr int sessions = 60;
constexpr int stepsPerSession = 250;

// What users type: plain and accented letters, combining marks, a letter outside the
// basic plane, right-to-left letters, the line and paragraph separators, a tab.
const QStringList typed{QStringLiteral("a"), QStringLiteral("Z"), QStringLiteral(" "),
    QStringLiteral("."), QStringLiteral("-"), QStringLiteral("7"), QStringLiteral("\u00e9"),
    QStringLiteral("\u00df"), QStringLiteral("\u0301"), QStringLiteral("\u0308"),
    QStringLiteral("\U0001F600"), QStringLiteral("\u05D0"), QStringLiteral("\u0628"),
    QStringLiteral("\u2028"), QStringLiteral("\u2029"), QStringLiteral("\t")};

// Left out on purpose: Ctrl+Home and Ctrl+End, which the line edit ignores and the box
// takes to the start and the end, as text fields elsewhere on the desktop do.
struct Key {
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
};
const Qt::KeyboardModifiers shift = Qt::ShiftModifier, control = Qt::ControlModifier;
const QList<Key> keys{{Qt::Key_Left, {}}, {Qt::Key_Right, {}}, {Qt::Key_Home, {}},
    {Qt::Key_End, {}}, {Qt::Key_Left, shift}, {Qt::Key_Right, shift}, {Qt::Key_Home, shift},
    {Qt::Key_End, shift}, {Qt::Key_Left, control}, {Qt::Key_Right, control},
    {Qt::Key_Left, control | shift}, {Qt::Key_Right, control | shift}, {Qt::Key_Backspace, {}},
    {Qt::Key_Delete, {}}, {Qt::Key_Backspace, control}, {Qt::Key_Delete, control},
    {Qt::Key_A, control}, {Qt::Key_C, control}, {Qt::Key_X, control}, {Qt::Key_V, control},
    {Qt::Key_Z, control}, {Qt::Key_Y, control}, {Qt::Key_Z, control | shift},
    {Qt::Key_Insert, shift}, {Qt::Key_Insert, control}, {Qt::Key_Delete, shift}};

// Home, End, Shift+Home and Shift+End among the keys.
const QList<int> homeAndEnd{2, 3, 6, 7};

// The state both boxes are compared by.
struct Seen {
    QString text;
    int cursor;
    int selectionStart;
    QString selected;
    bool undo;
    bool redo;
    QString clipboard;
    int caretX;
};

Seen seen(QWidget *widget, const QString &text, int cursor, int selectionStart,
    const QString &selected, bool undo, bool redo, int caretOffset)
{
    // The caret's place is what a paint leaves, as an input method reads it.
    widget->repaint();
    const QRect caret = widget->inputMethodQuery(Qt::ImCursorRectangle).toRect();
    return {text, cursor, selectionStart, selected, undo, redo, QApplication::clipboard()->text(),
        caret.x() + caretOffset};
}

Seen seen(QLineEdit *line)
{
    // A fault of the line edit's own: redoing the removal of a one-character selection
    // made leftwards leaves it a selection from -1 to 1. The box has none there.
    const bool selected = line->hasSelectedText() && line->selectionStart() >= 0;
    // The line edit's caret rectangle starts five pixels left of its caret.
    return seen(line, line->text(), line->cursorPosition(), selected ? line->selectionStart() : -1,
        selected ? line->selectedText() : QString(), line->isUndoAvailable(),
        line->isRedoAvailable(), 5);
}

Seen seen(textbox::TextBox *box)
{
    return seen(box, box->text(), box->cursorPosition(),
        box->hasSelectedText() ? box->selectionStart() : -1, box->selectedText(),
        box->isUndoAvailable(), box->isRedoAvailable(), 0);
}

QString describe(const Seen &s)
{
    const auto number = [](int n) { return QString::number(n); };
    return QStringLiteral("text %1 caret %2 selection %3+\"%4\" undo %5 redo %6 clipboard \"%7\" "
                          "caret x %8")
        .arg(QString::fromLatin1(s.text.toUtf8().toPercentEncoding(" ")), number(s.cursor),
            number(s.selectionStart), s.selected, number(s.undo), number(s.redo), s.clipboard,
            number(s.caretX));
}

bool agree(const Seen &a, const Seen &b)
{
    return a.text == b.text && a.cursor == b.cursor && a.selectionStart == b.selectionStart
        && a.selected == b.selected && a.undo == b.undo && a.redo == b.redo
        && a.clipboard == b.clipboard && std::abs(a.caretX - b.caretX) <= 1;
}

class Session {
public:
    Session(unsigned seed, QLineEdit *line, textbox::TextBox *box)
        : random_(seed)
        , line_(line)
        , box_(box)
    {
    }

    // One random step on both, described for the failure message.
    QString step()
    {
        // While composing, keys go to the input method; Home and End, which end the
        // composition, reach the box. (The line edit finds where other moves and clicks
        // go in its text with the composition still in it, positions of neither.)
        if (composing_) {
            if (pick(3))
                return inputMethod();
            composing_ = false;
            return key(keys[homeAndEnd[pick(int(homeAndEnd.size()))]]);
        }
        const int kind = pick(100);
        if (kind < 30)
            return type(typed[pick(int(typed.size()))]);
        if (kind < 70) {
            const Key chosen = keys[pick(int(keys.size()))];
            // With a selection, plain Left and Right take the caret to its edge on Linux
            // desktops, as the box does (tested beside this); the line edit here, on the
            // offscreen platform, follows Windows and moves on from the caret.
            const bool plainArrow = (chosen.key == Qt::Key_Left || chosen.key == Qt::Key_Right)
                && chosen.modifiers == Qt::NoModifier;
            if (plainArrow && line_->hasSelectedText())
                return key({chosen.key, Qt::ShiftModifier});
            return key(chosen);
        }
        if (kind < 82)
            return mouse();
        if (kind < 85) {
            // An input method told of the new text ends its composition first; with no
            // input method here, the test ends it as one would.
            both([](QWidget *w) {
                QInputMethodEvent end;
                QApplication::sendEvent(w, &end);
            });
            composing_ = false;
            const QString text = randomText(pick(40));
            line_->setText(text);
            box_->setText(text);
            return QStringLiteral("setText");
        }
        return inputMethod();
    }

    // Runs a step on the line edit, then on the box from the same clipboard.
    template <typename Step> void both(Step step)
    {
        const QString clipboard = QApplication::clipboard()->text();
        step(line_);
        const QString after = QApplication::clipboard()->text();
        QApplication::clipboard()->setText(clipboard);
        step(box_);
        if (QApplication::clipboard()->text() != after)
            boxClipboard_ = QApplication::clipboard()->text(), clipboardDiffers_ = true;
        QApplication::clipboard()->setText(after);
    }

    bool clipboardDiffers() const { return clipboardDiffers_; }
    QString boxClipboard() const { return boxClipboard_; }
    void forget() { clipboardDiffers_ = false; }

private:
    int pick(int below) { return std::uniform_int_distribution<int>(0, below - 1)(random_); }

    QString randomText(int length)
    {
        QString text;
        while (text.size() < length)
            text += typed[pick(int(typed.size()) - 1)];
        return text;
    }

    QString key(Key key)
    {
        both([&](QWidget *w) { QTest::keyClick(w, key.key, key.modifiers); });
        return QStringLiteral("key %1").arg(QKeySequence(key.key | key.modifiers).toString());
    }

    QString type(const QString &text)
    {
        both([&](QWidget *w) {
            QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, text);
            QApplication::sendEvent(w, &press);
            QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, text);
            QApplication::sendEvent(w, &release);
        });
        return QStringLiteral("type U+%1").arg(text.toUcs4().front(), 4, 16, QLatin1Char('0'));
    }

    QString mouse()
    {
        const int width = line_->width();
        const QPoint from(pick(width), line_->height() / 2);
        const QPoint to(pick(width + 40) - 20, line_->height() / 2);
        switch (pick(3)) {
        case 0:
            both([&](QWidget *w) { QTest::mouseClick(w, Qt::LeftButton, {}, from); });
            return QStringLiteral("click at %1").arg(from.x());
        case 1:
            both([&](QWidget *w) { QTest::mouseDClick(w, Qt::LeftButton, {}, from); });
            return QStringLiteral("double-click at %1").arg(from.x());
        default:
            // Pressed inside a selection, a move would start a drag; that is tested
            // apart.
            both([&](QWidget *w) {
                QTest::mousePress(w, Qt::LeftButton, {}, from);
                QTest::mouseMove(w, to);
                QTest::mouseRelease(w, Qt::LeftButton, {}, to);
            });
            return QStringLiteral("drag from %1 to %2").arg(from.x()).arg(to.x());
        }
    }

    QString inputMethod()
    {
        const QString preedit = pick(3) ? randomText(pick(12)) : QString();
        QList<QInputMethodEvent::Attribute> attributes;
        if (!preedit.isEmpty() && pick(2)) {
            attributes.append({QInputMethodEvent::Cursor, pick(int(preedit.size()) + 1), pick(2)});
            QTextCharFormat underline;
            underline.setFontUnderline(true);
            attributes.append({QInputMethodEvent::TextFormat, 0, int(preedit.size()), underline});
        }
        if (pick(4) == 0)
            attributes.append({QInputMethodEvent::Selection, pick(20), pick(5) - 2, {}});
        const QString commit = pick(2) ? randomText(pick(4)) : QString();
        // An input method replaces only text before the caret, as it corrects what it
        // committed.
        const int caret
            = line_->hasSelectedText() ? line_->selectionStart() : line_->cursorPosition();
        const int replaceStart = pick(4) ? 0 : -pick(std::min(3, caret + 1));
        const int replaceLength = replaceStart ? pick(1 - replaceStart) : 0;
        composing_ = !preedit.isEmpty();
        both([&](QWidget *w) {
            QInputMethodEvent event(preedit, attributes);
            event.setCommitString(commit, replaceStart, replaceLength);
            QApplication::sendEvent(w, &event);
        });
        QString described;
        for (const QInputMethodEvent::Attribute &a : attributes)
            described += QStringLiteral(" %1:%2+%3").arg(a.type).arg(a.start).arg(a.length);
        return QStringLiteral("input method: preedit %1 (%2), commit %3 over %4,%5")
            .arg(QString::fromLatin1(preedit.toUtf8().toPercentEncoding()), described)
            .arg(commit.size())
            .arg(replaceStart)
            .arg(replaceLength);
    }

    std::mt19937 random_;
    QLineEdit *line_;
    textbox::TextBox *box_;
    bool composing_ = false;
    bool clipboardDiffers_ = false;
    QString boxClipboard_;
};

} // namespace

class TestTextBoxOracle : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void behavesAsTheLineEdit();
};

void TestTextBoxOracle::behavesAsTheLineEdit()
{
    QList<unsigned> seeds;
    if (qEnvironmentVariableIsSet("VARNOCK_ORACLE_SEED"))
        seeds.append(qEnvironmentVariable("VARNOCK_ORACLE_SEED").toUInt());
    else
        for (unsigned seed = 1; seed <= sessions; ++seed)
            seeds.append(seed);

    QFont font(QStringLiteral("Courier New"));
    font.setPixelSize(16);
    for (const unsigned seed : seeds) {
        qInfo("session with seed %u", seed);
        QLineEdit line;
        line.setDragEnabled(true);
        textbox::TextBox box{QString()};
        for (QWidget *w : {static_cast<QWidget *>(&line), static_cast<QWidget *>(&box)}) {
            w->setFont(font);
            w->resize(160, line.sizeHint().height());
            w->show();
        }
        QVERIFY(QTest::qWaitForWindowExposed(&line));
        QVERIFY(QTest::qWaitForWindowExposed(&box));
        QApplication::clipboard()->setText(QStringLiteral("clip"));

        Session session(seed, &line, &box);
        QStringList done;
        for (int step = 0; step < stepsPerSession; ++step) {
            done.append(session.step());
            const Seen expected = seen(&line);
            // Its broken selection would corrupt the line edit's text at the next edit.
            if (line.hasSelectedText() && line.selectionStart() < 0)
                line.deselect();
            Seen actual = seen(&box);
            if (session.clipboardDiffers())
                actual.clipboard = session.boxClipboard();
            session.forget();
            if (qEnvironmentVariableIsSet("VARNOCK_ORACLE_TRACE"))
                qInfo("%s\n  %s\n  %s", qPrintable(done.back()), qPrintable(describe(expected)),
                    qPrintable(describe(actual)));
            if (!agree(expected, actual))
                QFAIL(
                    qPrintable(QStringLiteral("seed %1, after:\n  %2\nline edit: %3\ntext box:  %4")
                                   .arg(seed)
                                   .arg(done.mid(std::max(0, int(done.size()) - 8))
                                            .join(QStringLiteral("\n  ")))
                                   .arg(describe(expected), describe(actual))));
        }
    }
}

QTEST_MAIN(TestTextBoxOracle)
#include "tst_textbox_oracle.moc"
