#include "app/Accessibility.h"

#include "app/Announcer.h"

#include <QAccessibleWidget>
#include <QWidget>

#include <mutex>

namespace app {
namespace {

QAccessibleInterface *factory(const QString &className, QObject *object)
{
    if (!object || !object->isWidgetType())
        return nullptr;
    auto *widget = static_cast<QWidget *>(object);
    if (className == QLatin1String("app::Form1"))
        return new QAccessibleWidget(widget, QAccessible::Window);
    if (className == QLatin1String("app::Announcer"))
        return new QAccessibleWidget(widget, QAccessible::StatusBar);
    if (qobject_cast<Announcer *>(object->parent()))
        return new QAccessibleWidget(widget, QAccessible::Notification);
    return nullptr;
}

} // namespace

void installAccessibility()
{
    static std::once_flag installed;
    std::call_once(installed, [] { QAccessible::installFactory(factory); });
}

} // namespace app
