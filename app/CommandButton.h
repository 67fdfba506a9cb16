#pragma once

#include <QPushButton>

namespace app {

// A push button drawn in the classic graphical style: a flat face in the button's own
// background colour inside a raised bevel, its caption wrapped onto a second line when
// it is wider than the button.
class CommandButton : public QPushButton {
    Q_OBJECT

public:
    CommandButton(const QString &caption, QWidget *parent);

protected:
    void paintEvent(QPaintEvent *event) override;
};

} // namespace app
