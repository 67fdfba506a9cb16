#include "FakePlatform.h"
#include "app/Form1.h"
#include "app/TextBox.h"

#include <QAccessible>
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>

using app::Form1;

class TestEncode : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void encodesText1_data();
    void encodesText1();
    void secondRunAppendsToTheFirst();
    void codeShowsBeforeTheCharacterAndItsSound();
    void eachCharacterIsAnnouncedAsItIsSounded();
    void resetDuringARun();
    void decodeDuringTheWaitBeforeTheSound();
    void newerEncodeSupersedesTheRunning_data();
    void newerEncodeSupersedesTheRunning();
    void clickStormKeepsTheRunsShallow();
    void everyTypableCharacterRoundTrips();

private:
    app::TextBox *box(const char *name)
    {
        return form->findChild<app::TextBox *>(QLatin1String(name));
    }
    QPushButton *button(const char *name)
    {
        return form->findChild<QPushButton *>(QLatin1String(name));
    }
    // Clicks the encode button; any message box that comes up is read and dismissed.
    void encode();
    QStringList soundedCharacters() const;

    std::unique_ptr<FakePlatform> fake;
    FakeClock *clock = nullptr;
    FakeSoundSink *sink = nullptr;
    Form1 *form = nullptr;
    QStringList messages;
};

void TestEncode::init()
{
    fake = std::make_unique<FakePlatform>("/v");
    clock = &fake->clock;
    sink = &fake->sink;
    form = new Form1(fake->platform());
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form));
    messages.clear();
}

void TestEncode::cleanup()
{
    delete form;
    form = nullptr;
}

void TestEncode::encode()
{
    auto *dismisser = new QTimer(this);
    connect(dismisser, &QTimer::timeout, this, [this] {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
            messages.append(box->windowTitle() + QStringLiteral(": ") + box->text());
            box->accept();
        }
    });
    dismisser->start(0);
    button("Command1")->click();
    delete dismisser;
}

QStringList TestEncode::soundedCharacters() const
{
    // The character of each recording started; a path of any other form stays whole, so
    // that a comparison shows it.
    QStringList characters;
    for (const QString &path : sink->paths()) {
        const bool recording = path.size() == 18 && path.startsWith(QStringLiteral("/v/morsecode_"))
            && path.endsWith(QStringLiteral(".wav"));
        characters.append(recording ? path.mid(13, 1) : path);
    }
    return characters;
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

    const int step = 201 + 501; // each wait ends at the first tick past its length
    QTest::newRow("sos") << "sos"
                         << ""
                         << "SOS"
                         << "... --- ... "
                         << "S ..."
                         << "SOS" << 3 * step;
    QTest::newRow("fresh window") << " Text "
                                  << " Morse "
                                  << "TEXT"
                                  << " Morse - . -..- - "
                                  << "T -"
                                  << "TEXT" << 4 * step;
    QTest::newRow("spaces removed") << "ab c"
                                    << ""
                                    << "ABC"
                                    << ".- -... -.-. "
                                    << "C -.-."
                                    << "ABC" << 3 * step;
    QTest::newRow("typed Morse without a final space") << "e"
                                                       << "..."
                                                       << "E"
                                                       << ".... "
                                                       << "E ."
                                                       << "E" << step;
    QTest::newRow("one character") << "k"
                                   << ""
                                   << "K"
                                   << "-.- "
                                   << "K -.-"
                                   << "K" << step;
    QTest::newRow("zero is five dashes") << "0"
                                         << ""
                                         << "0"
                                         << "----- "
                                         << "0 -----"
                                         << "TTTTT" << 201 + 5 * 301 + 501;
    QTest::newRow("unknown character gets an empty code") << "s#"
                                                          << ""
                                                          << "S#"
                                                          << "...  "
                                                          << "# "
                                                          << "S" << 2 * step;
    QTest::newRow("equals sign") << "="
                                 << ""
                                 << "="
                                 << "-...- "
                                 << "= -...-"
                                 << "" << step;
    QTest::newRow("accented letter") << "\u00e9t"
                                     << ""
                                     << "\u00c9T"
                                     << " - "
                                     << "T -"
                                     << "T" << 2 * step;
    QTest::newRow("tab stays") << "a\tb"
                               << ""
                               << "A\tB"
                               << ".-  -... "
                               << "B -..."
                               << "AB" << 3 * step;
    QTest::newRow("colon and digits") << "1:9"
                                      << ""
                                      << "1:9"
                                      << ".---- ---... ----. "
                                      << "9 ----."
                                      << "19" << 3 * step;
}

void TestEncode::encodesText1()
{
    QFETCH(QString, text1);
    QFETCH(QString, text2);
    QFETCH(QString, text1After);
    QFETCH(QString, text2After);
    QFETCH(QString, text3After);
    QFETCH(QString, sounded);
    QFETCH(int, ticks);

    box("Text1")->setText(text1);
    box("Text2")->setText(text2);
    const std::uint32_t start = clock->now;
    encode();

    QCOMPARE(messages, QStringList());
    QCOMPARE(box("Text1")->text(), text1After);
    QCOMPARE(box("Text2")->text(), text2After);
    QCOMPARE(box("Text3")->text(), text3After);
    QCOMPARE(soundedCharacters().join(QString()), sounded);
    QCOMPARE(int(clock->now - start), ticks);
    QCOMPARE(form->formStrings().SourceText, text1After);
}

void TestEncode::secondRunAppendsToTheFirst()
{
    box("Text1")->setText(QStringLiteral("me"));
    box("Text2")->clear();
    encode();
    box("Text1")->setText(QStringLiteral("t"));
    encode();
    QCOMPARE(box("Text2")->text(), QStringLiteral("-- . - "));
    QCOMPARE(soundedCharacters(), (QStringList{"M", "E", "T"}));
}

void TestEncode::codeShowsBeforeTheCharacterAndItsSound()
{
    box("Text1")->setText(QStringLiteral("sos"));
    box("Text2")->clear();
    QList<std::uint32_t> text2Changes, text3Changes;
    connect(
        box("Text2"), &app::TextBox::textChanged, this, [&] { text2Changes.append(clock->now); });
    connect(
        box("Text3"), &app::TextBox::textChanged, this, [&] { text3Changes.append(clock->now); });
    encode();

    QCOMPARE(text2Changes, (QList<std::uint32_t>{1000, 1702, 2404}));
    QCOMPARE(text3Changes, (QList<std::uint32_t>{1201, 1903, 2605}));
    QList<std::uint32_t> soundTicks;
    for (const auto &start : sink->starts)
        soundTicks.append(start.tick);
    QCOMPARE(soundTicks, text3Changes);
}

void TestEncode::eachCharacterIsAnnouncedAsItIsSounded()
{
    box("Text1")->setText(QStringLiteral("s.#"));
    box("Text2")->clear();
    button("Command1")->setFocus();
    auto *announcement = form->findChild<QWidget *>(QStringLiteral("Announcement"));
    QVERIFY(announcement);
    // Orca speaks a notification shown inside a status bar without naming its role.
    QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(announcement);
    QCOMPARE(accessible->role(), QAccessible::Notification);
    QCOMPARE(accessible->parent()->role(), QAccessible::StatusBar);
    // Read halfway through each character's 500 ms wait, after its sound started.
    QStringList heard;
    for (const std::uint32_t tick : {1450, 2152, 2854})
        clock->at(tick, [&] { heard.append(announcement->accessibleName()); });
    encode();

    QCOMPARE(heard,
        (QStringList{"S, dot dot dot", "full stop, dot dash dot dash dot dash", "#, no code"}));
    QCOMPARE(QApplication::focusWidget(), button("Command1"));
    QCOMPARE(box("Text2")->text(), QStringLiteral("... .-.-.-  "));
    QCOMPARE(box("Text3")->text(), QStringLiteral("# "));
}

void TestEncode::resetDuringARun()
{
    box("Text1")->setText(QStringLiteral("sos"));
    box("Text2")->clear();
    clock->at(1500, [this] { button("Command2")->click(); });
    encode();
    QCOMPARE(box("Text1")->text(), QString());
    QCOMPARE(box("Text2")->text(), QStringLiteral("--- ... "));
    QCOMPARE(box("Text3")->text(), QStringLiteral("S ..."));
    QCOMPARE(soundedCharacters(), (QStringList{"S", "O", "S"}));
}

void TestEncode::decodeDuringTheWaitBeforeTheSound()
{
    box("Text1")->setText(QStringLiteral("ab"));
    box("Text2")->clear();
    clock->at(1100, [this] { button("Command3")->click(); });
    encode();
    QCOMPARE(box("Text1")->text(), QStringLiteral("A "));
    QCOMPARE(box("Text2")->text(), QStringLiteral(".- -... "));
    QCOMPARE(box("Text3")->text(), QStringLiteral("B -..."));
    QCOMPARE(soundedCharacters(), (QStringList{"A", "B"}));
    QCOMPARE(form->formStrings().CurrentSymbol, QStringLiteral("B"));
    QCOMPARE(form->formStrings().LookupResult, QStringLiteral("-..."));
}

void TestEncode::newerEncodeSupersedesTheRunning_data()
{
    QTest::addColumn<int>("at");
    QTest::addColumn<QString>("newText");
    QTest::addColumn<QString>("text2After");
    QTest::addColumn<QString>("text3After");
    QTest::addColumn<QString>("sounded");
    QTest::addColumn<QStringList>("messagesShown");

    QTest::newRow("inside the pause after a character") << 1500 << "e"
                                                        << "... . "
                                                        << "E ."
                                                        << "SE" << QStringList();
    QTest::newRow("inside the wait before the sound") << 1100 << "e"
                                                      << "... . "
                                                      << "E ."
                                                      << "E" << QStringList();
    QTest::newRow("a blank text ends the running one too")
        << 1500 << "  "
        << "... "
        << "S ..."
        << "S" << QStringList{QStringLiteral("Error: This Field Can't Be Blank!!")};
}

void TestEncode::newerEncodeSupersedesTheRunning()
{
    QFETCH(int, at);
    QFETCH(QString, newText);
    QFETCH(QString, text2After);
    QFETCH(QString, text3After);
    QFETCH(QString, sounded);
    QFETCH(QStringList, messagesShown);

    box("Text1")->setText(QStringLiteral("sos"));
    box("Text2")->clear();
    clock->at(std::uint32_t(at), [&] {
        box("Text1")->setText(newText);
        encode();
    });
    encode();
    QCOMPARE(box("Text2")->text(), text2After);
    QCOMPARE(box("Text3")->text(), text3After);
    QCOMPARE(soundedCharacters().join(QString()), sounded);
    QCOMPARE(messages, messagesShown);
}

void TestEncode::clickStormKeepsTheRunsShallow()
{
    box("Text1")->setText(QStringLiteral("ab"));
    box("Text2")->clear();
    // Each click lands inside the wait of the run the click before started.
    int clicks = 0;
    std::function<void()> click = [&] {
        if (++clicks < 1000)
            clock->at(clock->now, click);
        encode();
    };
    clock->at(1100, click);
    encode();

    QCOMPARE(clicks, 1000);
    QCOMPARE(clock->deepestNesting, convert::Encoder::deepestNesting);
    // The runs that lay deepest each sent their first code; the last click's run, all.
    QCOMPARE(box("Text2")->text(),
        QStringLiteral(".- ").repeated(convert::Encoder::deepestNesting + 1)
            + QStringLiteral("-... "));
    QCOMPARE(box("Text3")->text(), QStringLiteral("B -..."));
    QCOMPARE(soundedCharacters(), (QStringList{"A", "B"}));
}

void TestEncode::everyTypableCharacterRoundTrips()
{
    const QString typable = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789:");
    box("Text1")->setText(typable.toLower());
    box("Text2")->clear();
    encode();
    button("Command3")->click();

    QString spaced;
    for (QChar character : typable)
        spaced += character + QStringLiteral(" ");
    QCOMPARE(box("Text1")->text(), spaced);
}

QTEST_MAIN(TestEncode)
#include "tst_encode.moc"
