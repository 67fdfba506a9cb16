#pragma once

#include "app/Platform.h"
#include "convert/ConversionHost.h"
#include "convert/Encode.h"
#include "convert/FormStrings.h"
#include "sound/CharacterSounds.h"

#include <QWidget>

class QLabel;
class QPushButton;

namespace textbox {
class TextBox;
}

namespace app {

class Announcer;
class KeyPreview;
using textbox::TextBox;

// The program's one window: the plain-text, Morse and current-character boxes, the
// encode, reset and decode buttons, two credit lines and the code chart.
class Form1 : public QWidget, private convert::ConversionHost {
    Q_OBJECT

public:
    explicit Form1(const Platform &platform, QWidget *parent = nullptr);

    // Starts the sound of CurrentSymbol.
    void GetSound() override;
    // Waits while the window stays alive; see Module1::Delay.
    void Delay(double ms) override;

    const convert::FormStrings &formStrings() const { return strings_; }
    KeyPreview *keyPreview() const { return keyPreview_; }

protected:
    bool event(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    // The controls at their places, in tab order.
    void createControls();
    void wireControls();
    void Form_Load();
    void keepTextReadable();
    void Form_KeyDown(int key);
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();

    QString text(convert::Box box) const override;
    void setText(convert::Box box, const QString &text) override;
    void appendText(convert::Box box, const QString &more) override;
    void showBlankFieldMessage() override;
    void announce(const QString &line) override;
    convert::FormStrings &strings() override { return strings_; }

    TextBox *box(convert::Box which) const;

    Platform platform_;
    sound::CharacterSounds sounds_;
    convert::FormStrings strings_;
    convert::Encoder encoder_;
    KeyPreview *keyPreview_;
    Announcer *announcer_;
    bool closing_ = false;
    bool iconAsked_ = false;

    TextBox *Text1;
    QPushButton *Command1;
    TextBox *Text2;
    QLabel *Label1;
    TextBox *Text3;
    QPushButton *Command2;
    QLabel *Label2;
    QPushButton *Command3;
    QLabel *Image1;
};

} // namespace app
