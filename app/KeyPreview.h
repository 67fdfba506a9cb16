#pragma once

#include <QObject>

class QWidget;

namespace app {

// Shows the window every key pressed while it is active, before the control that has
// the focus gets it. The key then goes on to that control unchanged.
class KeyPreview : public QObject {
    Q_OBJECT

public:
    explicit KeyPreview(QWidget *window);

Q_SIGNALS:
    void keyDown(int key, Qt::KeyboardModifiers modifiers);

protected:
    bool eventFilter(QObject *receiver, QEvent *event) override;

private:
    QWidget *window_;
};

} // namespace app
