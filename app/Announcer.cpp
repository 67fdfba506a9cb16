#include "app/Announcer.h"

#include <QAccessible>
#include <QAccessibleWidget>

#include <mutex>

namespace app {
namespace {

QAccessibleInterface *announcerFactory(const QString &className, QObject *object)
{
    if (!object || !object->isWidgetType())
        return nullptr;
    auto *widget = static_cast<QWidget *>(object);
    if (className == QLatin1String("app::Announcer"))
        return new QAccessibleWidget(widget, QAccessible::StatusBar);
    if (qobject_cast<Announcer *>(object->parent()))
        return new QAccessibleWidget(widget, QAccessible::Notification);
    return nullptr;
}

} // namespace

Announcer::Announcer(QWidget *parent)
    : QWidget(parent)
    , notification_(new QWidget(this))
{
    static std::once_flag installed;
    std::call_once(installed, [] { QAccessible::installFactory(announcerFactory); });
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
