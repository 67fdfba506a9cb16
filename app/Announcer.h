#pragma once

#include <QWidget>

namespace app {

// Says lines to a screen reader that no control shows, without moving the focus. Qt offers
// no announcement on AT-SPI, so this is a status bar that is never shown, holding one
// notification: Orca speaks a notification whenever it is reported shown, in place of what
// it was saying. Orca 43 leaves out the word "notification" for one in a status bar; Orca 48
// says it first.
class Announcer : public QWidget {
    Q_OBJECT

public:
    explicit Announcer(QWidget *parent);

    void announce(const QString &line);

private:
    QWidget *notification_;
};

} // namespace app
