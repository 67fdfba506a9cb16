#include "app/Form1.h"

#include "app/Accessibility.h"
#include "app/Announcer.h"
#include "app/ChartLabel.h"
#include "app/ClosingAnimation.h"
#include "app/CommandButton.h"
#include "app/Contrast.h"
#include "app/FrameGeometry.h"
#include "app/KeyPreview.h"
#include "app/Twips.h"
#include "app/TypingEventFilter.h"
#include "assets/Artwork.h"
#include "assets/Assets.h"
#include "convert/Decode.h"
#include "sound/Module1.h"
#include "textbox/TextBox.h"
#include "typing/TypedCharacterRules.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>

namespace app {
namespace {

const QColor lightGrey(192, 192, 192);
const QString creditLine = QStringLiteral("Learn Morse code by eye and by ear");

QFont courierNew(int pixelSize, bool bold)
{
    QFont font(QStringLiteral("Courier New"));
    font.setStyleHint(QFont::TypeWriter);
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}

template <typename Control> Control *place(Control *control, const char *name, const TwipRect &rect)
{
    control->setObjectName(QLatin1String(name));
    control->setGeometry(toPixels(rect));
    return control;
}

TextBox *textBox(QWidget *form, const char *name, const TwipRect &rect, const QFont &font,
    const QString &text, const QString &accessibleName)
{
    // The boxes hold whatever is typed or pasted, however long.
    auto *edit = place(new TextBox(text, form), name, rect);
    edit->setFont(font);
    edit->setAccessibleName(accessibleName);
    return edit;
}

QPushButton *button(QWidget *form, const char *name, const TwipRect &rect, const QString &caption,
    const QString &description)
{
    auto *command = place(new CommandButton(caption, form), name, rect);
    command->setFont(courierNew(13, false));
    command->setAccessibleName(caption);
    command->setAccessibleDescription(description);
    return command;
}

QLabel *creditLabel(QWidget *form, const char *name, const TwipRect &rect)
{
    auto *label = place(new QLabel(creditLine, form), name, rect);
    label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    return label;
}

void setBackColor(QWidget *control, const QColor &color)
{
    QPalette palette = control->palette();
    palette.setColor(control->backgroundRole(), color);
    control->setPalette(palette);
    control->setAutoFillBackground(true);
}

constexpr QPalette::ColorGroup shownGroups[] = {QPalette::Active, QPalette::Inactive};

// Gives a control's text a colour that can be read on the ground it is drawn on.
void setReadableText(QPalette &palette, const QPalette &desktop, QPalette::ColorRole text,
    QPalette::ColorRole ground)
{
    for (const QPalette::ColorGroup group : shownGroups)
        palette.setColor(
            group, text, readableTextOn(palette.color(group, ground), desktop.color(group, text)));
}

// Gives the text of a grey control a colour that can be read on the grey.
void setReadableOnGrey(QWidget *control, QPalette::ColorRole text, QPalette::ColorRole ground)
{
    QPalette palette = control->palette();
    setReadableText(palette, QApplication::palette(control), text, ground);
    control->setPalette(palette);
}

// Gives a box's text a colour that can be read on the box, and its selection a ground on
// which the selected text can be read.
void setReadableBox(QWidget *box)
{
    const QPalette desktop = QApplication::palette(box);
    QPalette palette = box->palette();
    setReadableText(palette, desktop, QPalette::Text, QPalette::Base);
    for (const QPalette::ColorGroup group : shownGroups)
        palette.setColor(group, QPalette::Highlight,
            readableGroundUnder(desktop.color(group, QPalette::HighlightedText),
                desktop.color(group, QPalette::Highlight)));
    box->setPalette(palette);
}

} // namespace

Form1::Form1(const Platform &platform, QWidget *parent)
    : QWidget(parent,
        Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint
            | Qt::WindowCloseButtonHint)
    , platform_(platform)
    , sounds_(platform.sounds, platform.programFolder, [this](double ms) { Delay(ms); })
    , encoder_(*this)
    , keyPreview_(new KeyPreview(this))
    , announcer_(new Announcer(this))
{
    presentAs(this, QAccessible::Window);
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Varnock"));
    setFixedSize(toPixels(5130), toPixels(7770));

    createControls();
    wireControls();
    Form_Load();
    keepTextReadable();
    Text1->setFocus();
    sounds_.prepare();
}

void Form1::createControls()
{
    // Created in tab order.
    Text1 = textBox(this, "Text1", {240, 240, 4695, 375}, courierNew(16, false),
        QStringLiteral(" Text "), QStringLiteral("Plain text"));
    Command1 = button(this, "Command1", {3750, 1200, 1200, 500}, QStringLiteral("Varnock"),
        QStringLiteral("Sends the plain text as Morse code: each character's code is added to the "
                       "Morse box, shown with the character and sounded."));
    Text2 = textBox(this, "Text2", {240, 720, 4695, 375}, courierNew(16, true),
        QStringLiteral(" Morse "), QStringLiteral("Morse code"));
    Label1 = creditLabel(this, "Label1", {480, 0, 3855, 255});
    Text3 = textBox(this, "Text3", {240, 1200, 1300, 500}, courierNew(19, true), QString(),
        QStringLiteral("Current character"));
    Command2 = button(this, "Command2", {1600, 1200, 800, 500}, QStringLiteral("Reset"),
        QStringLiteral("Empties the plain-text, Morse and current-character boxes."));
    Label2 = creditLabel(this, "Label2", {0, 7680, 5175, 135});
    Command3 = button(this, "Command3", {2480, 1200, 1200, 500}, QStringLiteral("Morse To Text"),
        QStringLiteral("Turns the Morse code in the Morse box, letters parted by spaces, into "
                       "text in the plain-text box."));
    Image1 = place(new ChartLabel(this), "Image1", {240, 1800, 4680, 5820});
    Image1->setAccessibleName(QStringLiteral("International Morse Code chart"));
    Image1->setAccessibleDescription(assets::chartDescription());

    // The credit lines lie under the boxes they touch, so every border shows whole.
    Label1->lower();
    Label2->lower();
}

// The typing filters, the tab order and the events: each control to its handler.
void Form1::wireControls()
{
    new TypingEventFilter(Text1, filterPlainText);
    new TypingEventFilter(Text2, filterMorse);

    setTabOrder(Text1, Command1);
    setTabOrder(Command1, Text2);
    setTabOrder(Text2, Text3);
    setTabOrder(Text3, Command2);
    setTabOrder(Command2, Command3);

    connect(keyPreview_, &KeyPreview::keyDown, this, &Form1::Form_KeyDown);
    connect(Command1, &QPushButton::clicked, this, &Form1::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &Form1::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &Form1::Command3_Click);
}

void Form1::Form_Load()
{
    setBackColor(this, lightGrey);
    setBackColor(Label1, lightGrey);
    setBackColor(Label2, lightGrey);
    setBackColor(Command1, lightGrey);
    setBackColor(Command2, lightGrey);
    setBackColor(Command3, lightGrey);
}

void Form1::keepTextReadable()
{
    // The desktop's text colour is meant for its own grounds; on the fixed grey it may
    // not be readable, as with a dark style's light text.
    for (QWidget *label : {Label1, Label2})
        setReadableOnGrey(label, QPalette::WindowText, QPalette::Window);
    for (QWidget *button : {Command1, Command2, Command3})
        setReadableOnGrey(button, QPalette::ButtonText, QPalette::Button);
    // The boxes keep the desktop's colours, mended only where they cannot be read.
    for (QWidget *box : {Text1, Text2, Text3})
        setReadableBox(box);
}

bool Form1::event(QEvent *event)
{
    const bool handled = QWidget::event(event);
    if (event->type() == QEvent::ApplicationPaletteChange)
        keepTextReadable();
    // The icon waits until the first frame is on the screen: reading its pictures and
    // handing them to the window system would hold that frame back by a sixth, and the
    // window manager shows an icon given later as well.
    if (event->type() == QEvent::Paint && !iconAsked_) {
        iconAsked_ = true;
        QMetaObject::invokeMethod(
            this, [this] { setWindowIcon(assets::windowIcon()); }, Qt::QueuedConnection);
    }
    return handled;
}

void Form1::GetSound()
{
    sounds_.GetSound(strings_.CurrentSymbol);
}

void Form1::Delay(double ms)
{
    sound::Module1::Delay(ms, platform_.ticks, platform_.events);
}

void Form1::Form_KeyDown(int key)
{
    // The Left arrow sounds a single dot, the Right arrow a single dash.
    if (key == Qt::Key_Left)
        sounds_.playRecording(sound::CharacterSounds::dotRecording);
    else if (key == Qt::Key_Right)
        sounds_.playRecording(sound::CharacterSounds::dashRecording);
}

void Form1::Command1_Click()
{
    encoder_.run();
}

void Form1::Command2_Click()
{
    Text1->clear();
    Text2->clear();
    Text3->clear();
    Text1->setFocus();
}

void Form1::Command3_Click()
{
    convert::decode(*this);
}

void Form1::closeEvent(QCloseEvent *event)
{
    // A second request to close while the window slides away changes nothing.
    if (closing_) {
        event->ignore();
        return;
    }
    closing_ = true;
    // A window never shown has nowhere to slide from.
    if (!windowHandle()) {
        platform_.endProcess();
        return;
    }
    // A window in the task bar would slide away unseen.
    if (isMinimized())
        showNormal();
    // The user may not resize the window; the animation does.
    setMinimumSize(0, 0);
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    FrameGeometry frame(this, platform_.ticks);
    animateClosing(frame);
    platform_.endProcess();
}

TextBox *Form1::box(convert::Box which) const
{
    switch (which) {
    case convert::Box::Text1:
        return Text1;
    case convert::Box::Text2:
        return Text2;
    case convert::Box::Text3:
        return Text3;
    }
    Q_UNREACHABLE();
}

QString Form1::text(convert::Box box) const
{
    return this->box(box)->text();
}

void Form1::setText(convert::Box box, const QString &text)
{
    this->box(box)->setText(text);
}

void Form1::appendText(convert::Box box, const QString &more)
{
    this->box(box)->append(more);
}

void Form1::showBlankFieldMessage()
{
    QMessageBox message(QMessageBox::Critical, QStringLiteral("Error"),
        QStringLiteral("This Field Can't Be Blank!!"), QMessageBox::Ok, this);
    message.exec();
}

void Form1::announce(const QString &line)
{
    announcer_->announce(line);
}

} // namespace app
