#include "textbox/AccessibleNotices.h"

#include <QAccessible>
#include <QWidget>

namespace textbox {

void notifyTextReplaced(QWidget *box, const QString &old, const QString &text)
{
    if (!QAccessible::isActive())
        return;
    QAccessibleTextUpdateEvent event(box, 0, old, text);
    QAccessible::updateAccessibility(&event);
}

void notifyTextChanged(QWidget *box, int position, const QString &removed, const QString &inserted)
{
    if (!QAccessible::isActive())
        return;
    if (!removed.isEmpty()) {
        QAccessibleTextRemoveEvent event(box, position, removed);
        QAccessible::updateAccessibility(&event);
    }
    if (!inserted.isEmpty()) {
        QAccessibleTextInsertEvent event(box, position, inserted);
        QAccessible::updateAccessibility(&event);
    }
}

void notifyCursorMoved(QWidget *box, int position)
{
    if (!QAccessible::isActive())
        return;
    QAccessibleTextCursorEvent event(box, position);
    QAccessible::updateAccessibility(&event);
}

void notifySelectionChanged(QWidget *box, int start, int end)
{
    if (!QAccessible::isActive())
        return;
    QAccessibleTextSelectionEvent event(box, start, end);
    QAccessible::updateAccessibility(&event);
}

} // namespace textbox
