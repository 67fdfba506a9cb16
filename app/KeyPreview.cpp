#include "app/KeyPreview.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

namespace app {

KeyPreview::KeyPreview(QWidget *window)
    : QObject(window)
    , window_(window)
{
    qApp->installEventFilter(this);
}

bool KeyPreview::eventFilter(QObject *receiver, QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    // A key the focused control ignores travels on to its parents, passing this filter
    // again: only its first delivery, to the focused control, counts.
    QWidget *firstReceiver = QApplication::focusWidget();
    if (!firstReceiver)
        firstReceiver = QApplication::activeWindow();
    if (receiver != firstReceiver || firstReceiver->window() != window_)
        return false;
    const auto *key = static_cast<QKeyEvent *>(event);
    Q_EMIT keyDown(key->key(), key->modifiers());
    return false;
}

} // namespace app
