#include "app/Announcer.h"

#include "app/Accessibility.h"

#include <QAccessible>

namespace app {

Announcer::Announcer(QWidget *parent)
    : QWidget(parent)
    , notification_(new QWidget(this))
{
    presentAs(this, QAccessible::StatusBar);
    presentAs(notification_, QAccessible::Notification);
    setObjectName(QStringLiteral("Announcer"));
    setAccessibleName(QStringLiteral("Announcements"));
    notification_->setObjectName(QStringLiteral("Announcement"));
    hide();
}

void Announcer::announce(const QString &line)
{
    notification_->setAccessibleName(line);
    if (!QAccessible::isActive())
        return;
    QAccessibleEvent shown(notification_, QAccessible::ObjectShow);
    QAccessible::updateAccessibility(&shown);
}

} // namespace app
