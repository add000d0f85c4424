#include "platform/toolkit/private/AccessibleFactory.h"

#include "platform/toolkit/Controls.h"
#include "platform/toolkit/Splitter.h"
#include "platform/toolkit/private/AccessibleControls.h"
#include "platform/toolkit/private/ListViewAccessible.h"
#include "platform/toolkit/private/ListViewViews.h"

#include <QAccessibleWidget>
#include <QCoreApplication>
#include <QWidget>

namespace {

// A splitter's grip, the wider area beside its bar that the mouse grabs:
// it is the splitter again, so readers meet it as the line it is.
bool IsSplitterGrip(QWidget* widget)
{
    // A grip is a plain widget; a parent deleting its children leaves gaps
    // in their list.
    QWidget* parent = widget->parentWidget();
    if (!parent || widget->metaObject() != &QWidget::staticMetaObject) return false;
    for (QObject* sibling : parent->children()) {
        if (!sibling || !sibling->isWidgetType()) continue;
        auto* splitter = dynamic_cast<TSplitter*>(ControlOf(static_cast<QWidget*>(sibling)));
        if (splitter && splitter->Grip() == widget) return true;
    }
    return false;
}

QAccessibleInterface* CreateInterface(const QString&, QObject* object)
{
    if (!object || !object->isWidgetType()) return nullptr;
    auto* widget = static_cast<QWidget*>(object);
    if (auto* view = dynamic_cast<ListViewGridView*>(widget)) return new ListViewAccessible(view);
    if (TControl* control = ControlOf(widget)) return CreateControlInterface(control, widget);
    if (IsSplitterGrip(widget)) return new QAccessibleWidget(widget, QAccessible::Separator);
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
