#include "app/Accessibility.h"

#include <QAccessibleWidget>
#include <QWidget>

#include <mutex>

namespace app {
namespace {

// The role a widget asked for, kept on the widget itself.
constexpr char roleProperty[] = "varnockAccessibleRole";

QAccessibleInterface *factory(const QString &, QObject *object)
{
    if (!object || !object->isWidgetType())
        return nullptr;
    const QVariant role = object->property(roleProperty);
    if (!role.isValid())
        return nullptr;
    return new QAccessibleWidget(static_cast<QWidget *>(object), role.value<QAccessible::Role>());
}

} // namespace

void presentAs(QWidget *widget, QAccessible::Role role)
{
    static std::once_flag installed;
    std::call_once(installed, [] { QAccessible::installFactory(factory); });
    widget->setProperty(roleProperty, QVariant::fromValue(role));
}

} // namespace app
