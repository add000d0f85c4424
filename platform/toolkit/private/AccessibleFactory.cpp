#include "platform/toolkit/private/AccessibleFactory.h"

#include "platform/toolkit/Controls.h"
#include "platform/toolkit/private/AccessibleControls.h"
#include "platform/toolkit/private/ListViewAccessible.h"
#include "platform/toolkit/private/ListViewViews.h"

#include <QCoreApplication>
#include <QWidget>

namespace {

QAccessibleInterface* CreateInterface(const QString&, QObject* object)
{
    if (!object || !object->isWidgetType()) return nullptr;
    auto* widget = static_cast<QWidget*>(object);
    if (auto* view = dynamic_cast<ListViewGridView*>(widget)) return new ListViewAccessible(view);
    if (TControl* control = ControlOf(widget)) return CreateControlInterface(control, widget);
    return nullptr;
}

}  // namespace

void InstallAccessibleFactory()
{
    static bool installed = false;
    // Qt's own widget factory is registered with the application object;
    // the newest factory is asked first, so ours goes in after it.
    if (installed || !QCoreApplication::instance()) return;
    installed = true;
    QAccessible::installFactory(CreateInterface);
}

void NotifyStateChanged(QWidget* widget, const QAccessible::State& changed)
{
    if (!widget || !QAccessible::isActive()) return;
    QAccessibleStateChangeEvent event(widget, changed);
    QAccessible::updateAccessibility(&event);
}

void ForgetAccessible(QWidget* widget)
{
    if (!widget) return;
    if (QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(widget))
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(iface));
}
