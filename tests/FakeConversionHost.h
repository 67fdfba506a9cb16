#pragma once

#include "convert/ConversionHost.h"

#include <QString>
#include <QStringList>

// Three plain strings for the boxes; counts the messages shown, the waits and the sounds,
// and keeps the lines announced.
class FakeConversionHost : public convert::ConversionHost {
public:
    QString Text1;
    QString Text2;
    QString Text3;
    convert::FormStrings formStrings;
    int blankFieldMessages = 0;
    int waits = 0;
    int sounds = 0;
    QStringList announced;

    QString text(convert::Box box) const override
    {
        return const_cast<FakeConversionHost *>(this)->box(box);
    }
    void setText(convert::Box box, const QString &text) override { this->box(box) = text; }
    void showBlankFieldMessage() override { ++blankFieldMessages; }
    convert::FormStrings &strings() override { return formStrings; }
    void Delay(double) override { ++waits; }
    void GetSound() override { ++sounds; }
    void announce(const QString &line) override { announced << line; }

private:
    QString &box(convert::Box box)
    {
        switch (box) {
        case convert::Box::Text1:
            return Text1;
        case convert::Box::Text2:
            return Text2;
        case convert::Box::Text3:
            break;
        }
        return Text3;
    }
};
