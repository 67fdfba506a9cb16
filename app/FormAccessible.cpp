#include "app/FormAccessible.h"

#include <QAccessibleWidget>
#include <QWidget>

#include <mutex>

namespace app {
namespace {

QAccessibleInterface *formFactory(const QString &className, QObject *object)
{
    if (className == QLatin1String("app::Form1") && object && object->isWidgetType())
        return new QAccessibleWidget(static_cast<QWidget *>(object), QAccessible::Window);
    return nullptr;
}

} // namespace

void installFormAccessibility()
{
    static std::once_flag installed;
    std::call_once(installed, [] { QAccessible::installFactory(formFactory); });
}

} // namespace app
