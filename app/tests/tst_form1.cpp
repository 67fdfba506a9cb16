#include "Form1Fixture.h"
#include "app/Contrast.h"
#include "app/KeyPreview.h"
#include "tests/Rows.h"

#include <QAccessible>
#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <memory>

namespace {

const QColor lightGrey(192, 192, 192);

QColor pixel(QWidget *widget, QPoint at)
{
    return widget->grab().toImage().pixelColor(at);
}

// A desktop's colour scheme: its window's ground and text, its boxes' ground and text,
// and its selection's ground and text.
QPalette scheme(const char *window, const char *windowText, const char *base, const char *text,
    const char *highlight, const char *highlightedText)
{
    QPalette palette(QColor(QLatin1String(windowText)), QColor(QLatin1String(window)),
        QColor(QLatin1String(window)).lighter(), QColor(QLatin1String(window)).darker(),
        QColor(QLatin1String(window)), QColor(QLatin1String(text)), QColor(Qt::white),
        QColor(QLatin1String(base)), QColor(QLatin1String(window)));
    palette.setColor(QPalette::ButtonText, QColor(QLatin1String(windowText)));
    palette.setColor(QPalette::Highlight, QColor(QLatin1String(highlight)));
    palette.setColor(QPalette::HighlightedText, QColor(QLatin1String(highlightedText)));
    return palette;
}

// Whether text of one colour reads on another, with the ratio when it does not.
bool reads(const QColor &text, const QColor &ground, QByteArray *why)
{
    const double ratio = app::contrastRatio(text, ground);
    *why = text.name().toLatin1() + " on " + ground.name().toLatin1() + ": "
        + QByteArray::number(ratio, 'f', 2);
    return ratio >= app::readableContrast;
}

} // namespace

class TestForm1 : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void startsWithItsInitialTexts();
    void controlsSitWhereTheyBelong_data();
    void controlsSitWhereTheyBelong();
    void windowKeepsItsSize();
    void boxesUseCourierNew_data();
    void boxesUseCourierNew();
    void greyBackgroundsAndWhiteBoxes();
    void textReadsInEveryScheme_data();
    void textReadsInEveryScheme();
    void chartAndIconAreDrawn();
    void tabCyclesTheBoxesAndButtons();
    void controlsCarryAccessibleNames();
    void screenReadersSeeAFrameWithDescriptions();
    void enterAndEscapePressNoButton();
    void keyPreviewSeesKeysFirst();
    void arrowKeysSoundAndStillMoveTheCaret();
    void heldArrowRestartsItsSound();
    void resetEmptiesTheBoxes_data();
    void resetEmptiesTheBoxes();
    void decodeButtonDecodesText2();
    void blankMorseShowsTheErrorBox();
    void boxesHoldAMebibyte();
    void encodeShowsEachCodeBeforeItsCharacterAndSound();
    void eachCharacterIsAnnouncedAsItIsSounded();
    void screenReaderIsToldOnlyOfEachCodeAdded();
    void resetDuringAnEncode();
    void handlersRunBetweenTheDashesOfZero_data();
    void handlersRunBetweenTheDashesOfZero();

private:
    std::unique_ptr<Form1Fixture> window;
};

void TestForm1::init()
{
    window = std::make_unique<Form1Fixture>("/opt/varnock");
    QVERIFY(window->show());
}

void TestForm1::cleanup()
{
    window.reset();
}

void TestForm1::startsWithItsInitialTexts()
{
    QCOMPARE(window->form.windowTitle(), QStringLiteral("Varnock"));
    QCOMPARE(window->box("Text1")->text(), QStringLiteral(" Text "));
    QCOMPARE(window->box("Text2")->text(), QStringLiteral(" Morse "));
    QCOMPARE(window->box("Text3")->text(), QString());
    QCOMPARE(window->button("Command1")->text(), QStringLiteral("Varnock"));
    QCOMPARE(window->button("Command2")->text(), QStringLiteral("Reset"));
    QCOMPARE(window->button("Command3")->text(), QStringLiteral("Morse To Text"));
    QCOMPARE(QApplication::focusWidget(), window->box("Text1"));
    QCOMPARE(window->form.formStrings().SourceText, QString());
    QCOMPARE(window->form.formStrings().CurrentSymbol, QString());
    QCOMPARE(window->form.formStrings().LookupResult, QString());
    QVERIFY(!window->control<QLabel>("Label1")->text().isEmpty());
    QCOMPARE(window->control<QLabel>("Label2")->text(), window->control<QLabel>("Label1")->text());
    // Silent, with the output readied for the first sound.
    QCOMPARE(window->fake.sink.paths(), QStringList());
    QCOMPARE(window->fake.sink.prepared, QList<QByteArray>{"/opt/varnock/morsecode_E.wav"});
}

void TestForm1::controlsSitWhereTheyBelong_data()
{
    QTest::addColumn<QRect>("geometry");
    // Twips at 15 to a pixel, rounded to the nearest pixel.
    QTest::newRow("Text1") << QRect(16, 16, 313, 25);
    QTest::newRow("Command1") << QRect(250, 80, 80, 33);
    QTest::newRow("Text2") << QRect(16, 48, 313, 25);
    QTest::newRow("Label1") << QRect(32, 0, 257, 17);
    QTest::newRow("Text3") << QRect(16, 80, 87, 33);
    QTest::newRow("Command2") << QRect(107, 80, 53, 33);
    QTest::newRow("Label2") << QRect(0, 512, 345, 9);
    QTest::newRow("Command3") << QRect(165, 80, 80, 33);
    QTest::newRow("Image1") << QRect(16, 120, 312, 388);
}

void TestForm1::controlsSitWhereTheyBelong()
{
    QFETCH(QRect, geometry);
    QCOMPARE(window->control(QTest::currentDataTag())->geometry(), geometry);
}

void TestForm1::windowKeepsItsSize()
{
    QCOMPARE(window->form.size(), QSize(342, 518));
    // Nothing resizes it, nor does maximising it; its title bar offers no maximise, which
    // the end-to-end tests see from the window manager.
    window->form.resize(600, 700);
    QCOMPARE(window->form.size(), QSize(342, 518));
    window->form.showMaximized();
    QTRY_VERIFY(window->form.isMaximized());
    QCOMPARE(window->form.size(), QSize(342, 518));
    window->form.showNormal();
}

void TestForm1::boxesUseCourierNew_data()
{
    QTest::addColumn<int>("pixelSize");
    QTest::addColumn<bool>("bold");
    QTest::newRow("Text1") << 16 << false;
    QTest::newRow("Text2") << 16 << true;
    QTest::newRow("Text3") << 19 << true;
    QTest::newRow("Command1") << 13 << false;
    QTest::newRow("Command2") << 13 << false;
    QTest::newRow("Command3") << 13 << false;
}

void TestForm1::boxesUseCourierNew()
{
    QFETCH(int, pixelSize);
    QFETCH(bool, bold);
    // The font the text is drawn in: Courier New's metric twin stands in for it.
    const QFontInfo font(window->control(QTest::currentDataTag())->font());
    QCOMPARE(font.family(), QStringLiteral("Liberation Mono"));
    QCOMPARE(font.pixelSize(), pixelSize);
    QCOMPARE(font.bold(), bold);
    QVERIFY(!font.italic());
}

void TestForm1::greyBackgroundsAndWhiteBoxes()
{
    // Between the Morse box and the row of buttons only the window shows.
    QCOMPARE(pixel(&window->form, QPoint(170, 76)), lightGrey);
    QCOMPARE(pixel(&window->form, QPoint(335, 300)), lightGrey);
    for (const char *label : {"Label1", "Label2"})
        QCOMPARE(pixel(window->control(label), QPoint(1, 1)), lightGrey);
    // The face of each button, clear of its bevel and caption.
    for (const char *button : {"Command1", "Command2", "Command3"})
        QCOMPARE(pixel(window->control(button), QPoint(4, 4)), lightGrey);
    for (const char *box : {"Text1", "Text2", "Text3"}) {
        auto *widget = window->control(box);
        QCOMPARE(
            pixel(widget, QPoint(widget->width() - 5, widget->height() / 2)), QColor(Qt::white));
    }
}

void TestForm1::textReadsInEveryScheme_data()
{
    QTest::addColumn<QPalette>("desktop");
    addRow("light", scheme("#efefef", "#000000", "#ffffff", "#000000", "#308cc6", "#ffffff"));
    addRow("dark", scheme("#323232", "#f0f0f0", "#242424", "#f0f0f0", "#308cc6", "#f0f0f0"));
    addRow("inverse", scheme("#000000", "#ffffff", "#000000", "#ffffff", "#1a5fb4", "#ffffff"));
    addRow("pale boxes", scheme("#efefef", "#000000", "#ffffff", "#b0b0b0", "#ffff00", "#000000"));
}

void TestForm1::textReadsInEveryScheme()
{
    QFETCH(QPalette, desktop);
    const auto restore
        = qScopeGuard([before = QApplication::palette()] { QApplication::setPalette(before); });
    QApplication::setPalette(desktop);
    // The running window hears of the change through its event queue.
    QTRY_COMPARE(
        window->box("Text1")->palette().color(QPalette::Base), desktop.color(QPalette::Base));
    // A window that starts under the scheme, and one that was running when it came.
    Form1Fixture started;
    for (Form1Fixture *fixture : {&started, window.get()}) {
        QByteArray why;
        for (const char *name : {"Label1", "Label2", "Command1", "Command2", "Command3"}) {
            QWidget *control = fixture->control(name);
            const QPalette &palette = control->palette();
            const QColor ground = palette.color(control->backgroundRole());
            QCOMPARE(ground, lightGrey);
            QVERIFY2(reads(palette.color(control->foregroundRole()), ground, &why), why);
        }
        for (const char *name : {"Text1", "Text2", "Text3"}) {
            const QPalette &palette = fixture->control(name)->palette();
            QCOMPARE(palette.color(QPalette::Base), desktop.color(QPalette::Base));
            // The desktop's text colour wherever it can be read; the caret is drawn in it.
            const QColor text = palette.color(QPalette::Text);
            QVERIFY2(reads(text, palette.color(QPalette::Base), &why), why);
            if (app::contrastRatio(desktop.color(QPalette::Text), desktop.color(QPalette::Base))
                >= app::readableContrast)
                QCOMPARE(text, desktop.color(QPalette::Text));
            for (const auto group : {QPalette::Active, QPalette::Inactive})
                QVERIFY2(reads(palette.color(group, QPalette::HighlightedText),
                             palette.color(group, QPalette::Highlight), &why),
                    why);
        }
    }
}

void TestForm1::chartAndIconAreDrawn()
{
    const QImage chart = window->control<QLabel>("Image1")->pixmap().toImage();
    QCOMPARE(chart.size(), QSize(312, 388));
    QCOMPARE(chart.pixelColor(150, 250), QColor(Qt::white));
    int dark = 0;
    for (int y = 0; y < chart.height(); ++y)
        for (int x = 0; x < chart.width(); ++x)
            dark += qGray(chart.pixel(x, y)) < 64;
    QVERIFY2(dark > 3000, "the chart has too little drawn on it");

    // The icon comes once the window has been drawn.
    QTRY_VERIFY(!window->form.windowIcon().isNull());
    const QImage icon = window->form.windowIcon().pixmap(32, 32).toImage();
    QCOMPARE(icon.size(), QSize(32, 32));
    QVERIFY(icon.hasAlphaChannel());
    QCOMPARE(qAlpha(icon.pixel(0, 0)), 0);
    int black = 0;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            black += qAlpha(icon.pixel(x, y)) == 255 && qGray(icon.pixel(x, y)) == 0;
    QVERIFY(black > 50);
}

void TestForm1::tabCyclesTheBoxesAndButtons()
{
    const char *const order[] = {"Command1", "Text2", "Text3", "Command2", "Command3", "Text1"};
    for (const char *name : order) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget()->objectName(), QLatin1String(name));
    }
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
    QCOMPARE(QApplication::focusWidget()->objectName(), QLatin1String("Command3"));
    for (const char *name : {"Label1", "Label2", "Image1"})
        QCOMPARE(window->control(name)->focusPolicy(), Qt::NoFocus);
}

void TestForm1::controlsCarryAccessibleNames()
{
    const std::pair<const char *, const char *> names[] = {
        {"Text1", "Plain text"},
        {"Text2", "Morse code"},
        {"Text3", "Current character"},
        {"Command1", "Varnock"},
        {"Command2", "Reset"},
        {"Command3", "Morse To Text"},
        {"Image1", "International Morse Code chart"},
    };
    for (const auto &[control, name] : names) {
        QAccessibleInterface *accessible
            = QAccessible::queryAccessibleInterface(window->control(control));
        QVERIFY(accessible);
        QCOMPARE(accessible->text(QAccessible::Name), QLatin1String(name));
    }
}

void TestForm1::screenReadersSeeAFrameWithDescriptions()
{
    QCOMPARE(QAccessible::queryAccessibleInterface(&window->form)->role(), QAccessible::Window);

    QStringList descriptions;
    for (const char *command : {"Command1", "Command2", "Command3"}) {
        descriptions << QAccessible::queryAccessibleInterface(window->control(command))
                            ->text(QAccessible::Description);
        QVERIFY2(!descriptions.back().isEmpty(), command);
    }
    descriptions.removeDuplicates();
    QCOMPARE(descriptions.size(), 3);

    const QString chart = QAccessible::queryAccessibleInterface(window->control("Image1"))
                              ->text(QAccessible::Description);
    for (const char *shown :
        {"5. Between words: seven units.", "A: dot dash.", "Z: dash dash dot dot.",
            "0: dash dash dash dash dash.", "9: dash dash dash dash dot."})
        QVERIFY2(chart.contains(QLatin1String(shown)), shown);
}

void TestForm1::enterAndEscapePressNoButton()
{
    int clicks = 0;
    for (const char *button : {"Command1", "Command2", "Command3"})
        connect(window->button(button), &QPushButton::clicked, this, [&] { ++clicks; });
    for (const char *box : {"Text1", "Text2", "Text3"}) {
        auto *widget = window->box(box);
        widget->setFocus();
        widget->setText(QStringLiteral("..."));
        QTest::keyClick(widget, Qt::Key_Return);
        QTest::keyClick(widget, Qt::Key_Enter, Qt::KeypadModifier);
        QTest::keyClick(widget, Qt::Key_Escape);
        // Nor do shortcuts that the boxes do not offer change anything.
        QTest::keyClick(widget, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        QTest::keyClick(widget, Qt::Key_K, Qt::ControlModifier);
        QCOMPARE(widget->text(), QStringLiteral("..."));
        QCOMPARE(QApplication::focusWidget(), widget);
    }
    QCOMPARE(clicks, 0);
}

void TestForm1::keyPreviewSeesKeysFirst()
{
    auto *text1 = window->box("Text1");
    text1->setCursorPosition(3);
    QList<std::pair<int, int>> seen; // key and the caret at that moment
    connect(window->form.keyPreview(), &app::KeyPreview::keyDown, this,
        [&](int key, Qt::KeyboardModifiers) {
            seen.append({key, text1->cursorPosition()});
        });

    QTest::keyClick(text1, Qt::Key_Left, Qt::ShiftModifier);
    // Shift goes down first, and is previewed like any other key.
    QCOMPARE(seen, (QList<std::pair<int, int>>{{Qt::Key_Shift, 3}, {Qt::Key_Left, 3}}));
    QCOMPARE(text1->cursorPosition(), 2);

    // A key the focused button ignores climbs to the window, yet is seen once.
    seen.clear();
    auto *command2 = window->button("Command2");
    command2->setFocus();
    QTest::keyClick(command2, Qt::Key_F5);
    QCOMPARE(seen.size(), 1);
    QCOMPARE(seen.front().first, int(Qt::Key_F5));
}

void TestForm1::arrowKeysSoundAndStillMoveTheCaret()
{
    const QString dot = QStringLiteral("/opt/varnock/morsecode_E.wav");
    const QString dash = QStringLiteral("/opt/varnock/morsecode_T.wav");
    auto *text1 = window->box("Text1");
    text1->setCursorPosition(3);

    QTest::keyClick(text1, Qt::Key_Left);
    QCOMPARE(window->fake.sink.paths(), QStringList{dot});
    QCOMPARE(text1->cursorPosition(), 2);
    QTest::keyClick(text1, Qt::Key_Right);
    QCOMPARE(window->fake.sink.paths(), (QStringList{dot, dash}));
    QCOMPARE(text1->cursorPosition(), 3);
    QTest::keyClick(text1, Qt::Key_Left, Qt::ControlModifier);
    QCOMPARE(window->fake.sink.paths().size(), 3);
    QCOMPARE(window->fake.sink.paths().last(), dot);

    window->fake.sink.starts.clear();
    for (const Qt::Key silent : {Qt::Key_Up, Qt::Key_Down, Qt::Key_Home, Qt::Key_Space, Qt::Key_E,
             Qt::Key_T, Qt::Key_Shift})
        QTest::keyClick(text1, silent);
    QCOMPARE(window->fake.sink.paths(), QStringList());

    // Also while a button has the focus.
    auto *command1 = window->button("Command1");
    command1->setFocus();
    QTest::keyClick(command1, Qt::Key_Right);
    QCOMPARE(window->fake.sink.paths(), QStringList{dash});
}

void TestForm1::heldArrowRestartsItsSound()
{
    auto *text2 = window->box("Text2");
    text2->setFocus();
    text2->setCursorPosition(0);
    for (int repeat = 0; repeat < 3; ++repeat) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Right, Qt::NoModifier, QString(), repeat > 0);
        QApplication::sendEvent(text2, &press);
    }
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_Right, Qt::NoModifier);
    QApplication::sendEvent(text2, &release);
    QCOMPARE(
        window->fake.sink.paths(), QStringList(3, QStringLiteral("/opt/varnock/morsecode_T.wav")));
    QCOMPARE(text2->cursorPosition(), 3);
}

void TestForm1::resetEmptiesTheBoxes_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("boxes holding text") << "SOS";
    QTest::newRow("boxes already empty") << "";
}

void TestForm1::resetEmptiesTheBoxes()
{
    QFETCH(QString, text);
    // Leave something in the shared strings, which the reset keeps.
    window->box("Text2")->setText(QStringLiteral("... --- "));
    window->click("Command3");
    const convert::FormStrings before = window->form.formStrings();
    for (const char *name : {"Text1", "Text2", "Text3"})
        window->box(name)->setText(text);
    auto *reset = window->button("Command2");
    reset->setFocus();

    QTest::mouseClick(reset, Qt::LeftButton);
    for (const char *name : {"Text1", "Text2", "Text3"})
        QCOMPARE(window->box(name)->text(), QString());
    QCOMPARE(QApplication::focusWidget(), window->box("Text1"));
    QCOMPARE(window->form.formStrings().CurrentSymbol, before.CurrentSymbol);
    QCOMPARE(window->form.formStrings().LookupResult, before.LookupResult);
    QCOMPARE(window->form.formStrings().SourceText, before.SourceText);
    QCOMPARE(window->form.formStrings().CurrentSymbol, QStringLiteral("---"));
}

void TestForm1::decodeButtonDecodesText2()
{
    window->box("Text2")->setText(QStringLiteral("... --- ... "));
    window->box("Text3")->setText(QStringLiteral("S ..."));
    window->clickWithMouse("Command3");
    QCOMPARE(window->messages, QStringList());
    QCOMPARE(window->box("Text1")->text(), QStringLiteral("S O S "));
    QCOMPARE(window->box("Text2")->text(), QStringLiteral("... --- ... "));
    QCOMPARE(window->box("Text3")->text(), QString());
    QCOMPARE(window->form.formStrings().CurrentSymbol, QStringLiteral("..."));
    QCOMPARE(window->form.formStrings().LookupResult, QStringLiteral("S"));
}

void TestForm1::blankMorseShowsTheErrorBox()
{
    window->box("Text2")->clear();
    window->box("Text3")->setText(QStringLiteral("S ..."));
    QString text, title;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
    QTimer::singleShot(0, this, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box)
            return;
        text = box->text();
        title = box->windowTitle();
        icon = box->icon();
        buttons = box->standardButtons();
        box->button(QMessageBox::Ok)->click();
    });
    QTest::mouseClick(window->button("Command3"), Qt::LeftButton);

    QCOMPARE(text, QStringLiteral("This Field Can't Be Blank!!"));
    QCOMPARE(title, QStringLiteral("Error"));
    QCOMPARE(icon, QMessageBox::Critical);
    QCOMPARE(buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    QCOMPARE(window->box("Text1")->text(), QString());
    QCOMPARE(window->box("Text3")->text(), QString());
    QVERIFY(!QApplication::activeModalWidget());
}

void TestForm1::boxesHoldAMebibyte()
{
    QString morse;
    while (morse.size() < 1024 * 1024)
        morse += QStringLiteral(".- -... ");
    window->box("Text2")->setText(morse);
    QCOMPARE(window->box("Text2")->text().size(), morse.size());
    window->clickWithMouse("Command3");
    QCOMPARE(window->messages, QStringList());
    const QString plain = window->box("Text1")->text();
    QCOMPARE(plain.size(), morse.size() / 2);
    QVERIFY(plain.startsWith(QStringLiteral("A B A B ")));
}

void TestForm1::encodeShowsEachCodeBeforeItsCharacterAndSound()
{
    window->box("Text1")->setText(QStringLiteral("sos"));
    window->box("Text2")->clear();
    QList<std::uint32_t> text2Changes, text3Changes, soundTicks;
    FakeClock &clock = window->fake.clock;
    connect(window->box("Text2"), &textbox::TextBox::textChanged, this,
        [&] { text2Changes.append(clock.now); });
    connect(window->box("Text3"), &textbox::TextBox::textChanged, this,
        [&] { text3Changes.append(clock.now); });
    window->click("Command1");

    QCOMPARE(window->messages, QStringList());
    QCOMPARE(window->box("Text1")->text(), QStringLiteral("SOS"));
    QCOMPARE(window->box("Text2")->text(), QStringLiteral("... --- ... "));
    QCOMPARE(window->box("Text3")->text(), QStringLiteral("S ..."));
    QCOMPARE(text2Changes, (QList<std::uint32_t>{1000, 1702, 2404}));
    QCOMPARE(text3Changes, (QList<std::uint32_t>{1201, 1903, 2605}));
    QCOMPARE(window->fake.sink.paths(),
        (QStringList{"/opt/varnock/morsecode_S.wav", "/opt/varnock/morsecode_O.wav",
            "/opt/varnock/morsecode_S.wav"}));
    for (const auto &start : window->fake.sink.starts)
        soundTicks.append(start.tick);
    QCOMPARE(soundTicks, text3Changes);
    QCOMPARE(clock.now, 1000u + 3 * (201 + 501));
}

void TestForm1::eachCharacterIsAnnouncedAsItIsSounded()
{
    window->box("Text1")->setText(QStringLiteral("s.#"));
    window->box("Text2")->clear();
    window->button("Command1")->setFocus();
    auto *announcement = window->control("Announcement");
    // Orca speaks a notification shown inside a status bar without naming its role.
    QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(announcement);
    QCOMPARE(accessible->role(), QAccessible::Notification);
    QCOMPARE(accessible->parent()->role(), QAccessible::StatusBar);
    // Read halfway through each character's 500 ms wait, after its sound started.
    QStringList heard;
    for (const std::uint32_t tick : {1450, 2152, 2854})
        window->fake.clock.at(tick, [&] { heard.append(announcement->accessibleName()); });
    window->click("Command1");

    QCOMPARE(heard,
        (QStringList{"S, dot dot dot", "full stop, dot dash dot dash dot dash", "#, no code"}));
    QCOMPARE(QApplication::focusWidget(), window->button("Command1"));
    QCOMPARE(window->box("Text2")->text(), QStringLiteral("... .-.-.-  "));
    QCOMPARE(window->box("Text3")->text(), QStringLiteral("# "));
}

// With a long Morse text in the box, a screen reader is told of each code as it comes,
// never of the whole box again.
void TestForm1::screenReaderIsToldOnlyOfEachCodeAdded()
{
    window->box("Text1")->setText(QStringLiteral("sos"));
    window->box("Text2")->setText(QStringLiteral("-.-. "));
    QSignalSpy changes(window->box("Text2"), &textbox::TextBox::contentsChange);
    window->click("Command1");
    QCOMPARE(window->box("Text2")->text(), QStringLiteral("-.-. ... --- ... "));
    QCOMPARE(changes, (QList<QVariantList>{{5, 0, 4}, {9, 0, 4}, {13, 0, 4}}));
}

void TestForm1::resetDuringAnEncode()
{
    window->box("Text1")->setText(QStringLiteral("sos"));
    window->box("Text2")->clear();
    window->fake.clock.at(1500, [this] { window->button("Command2")->click(); });
    window->click("Command1");
    QCOMPARE(window->box("Text1")->text(), QString());
    QCOMPARE(window->box("Text2")->text(), QStringLiteral("--- ... "));
    QCOMPARE(window->box("Text3")->text(), QStringLiteral("S ..."));
    QCOMPARE(window->fake.sink.paths().size(), 3);
}

// The digit 0 sounds as five dashes 300 ms apart, and the window answers between them: a
// reset, a decode or a close in the second pause does its work at once, and the dashes
// still to come still sound, unless the window has closed.
void TestForm1::handlersRunBetweenTheDashesOfZero_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QStringList>("boxes");
    QTest::addColumn<int>("dashes");
    addRow("reset", u"Command2", QStringList{"", ". ", "E ."}, 5);
    addRow("decode", u"Command3", QStringList{"0 ", "----- . ", "E ."}, 5);
    addRow("close", u"", QStringList{"0E", "----- ", "0 -----"}, 2);
}

void TestForm1::handlersRunBetweenTheDashesOfZero()
{
    QFETCH(QString, button);
    QFETCH(QStringList, boxes);
    QFETCH(int, dashes);
    window->box("Text1")->setText(QStringLiteral("0e"));
    window->box("Text2")->clear();
    // What the boxes show and which dashes started, when the encode ends or the process.
    QStringList shown;
    QList<std::uint32_t> dashTicks;
    const auto look = [&] {
        if (!shown.isEmpty())
            return;
        for (const char *box : {"Text1", "Text2", "Text3"})
            shown.append(window->box(box)->text());
        for (const auto &start : window->fake.sink.starts)
            if (start.path.endsWith("morsecode_T.wav"))
                dashTicks.append(start.tick);
    };
    window->fake.onProcessEnd = look;
    window->fake.clock.at(1650, [&] {
        if (button.isEmpty())
            window->form.close();
        else
            window->button(qPrintable(button))->click();
    });
    window->click("Command1");
    look();
    QCOMPARE(shown, boxes);
    // The dashes start at 1201, 1502, 1803, 2104 and 2405.
    QCOMPARE(dashTicks, (QList<std::uint32_t>{1201, 1502, 1803, 2104, 2405}).mid(0, dashes));
    QCOMPARE(window->fake.processEnds, button.isEmpty() ? 1 : 0);
}

QTEST_MAIN(TestForm1)
#include "tst_form1.moc"
