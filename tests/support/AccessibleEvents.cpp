#include "tests/support/AccessibleEvents.h"

#include <QGuiApplication>
#include <private/qguiapplication_p.h>
#include <qpa/qplatformaccessibility.h>
#include <qpa/qplatformintegration.h>

namespace {
AccessibleEvents* gRecorder = nullptr;

void Record(QAccessibleEvent* event)
{
    if (!gRecorder) return;
    AccessibleEvents::Event entry{event->type(), QAccessible::NoRole, {}, {}, {}, event->child()};
    if (QAccessibleInterface* iface = event->accessibleInterface()) {
        entry.role = iface->role();
        entry.name = iface->text(QAccessible::Name);
        entry.description = iface->text(QAccessible::Description);
        entry.state = iface->state();
    }
    gRecorder->events.push_back(entry);
}

// Qt's flag, which views and the bridge consult, is the platform's.
void SetActive(bool active)
{
    if (QPlatformAccessibility* platform =
            QGuiApplicationPrivate::platformIntegration()->accessibility())
        platform->setActive(active);
}
}  // namespace

AccessibleEvents::AccessibleEvents()
{
    gRecorder = this;
    QAccessible::installUpdateHandler(Record);
    SetActive(true);
}

AccessibleEvents::~AccessibleEvents()
{
    SetActive(false);
    QAccessible::installUpdateHandler(nullptr);
    gRecorder = nullptr;
}

std::vector<AccessibleEvents::Event> AccessibleEvents::OfType(QAccessible::Event type) const
{
    std::vector<Event> found;
    for (const Event& event : events)
        if (event.type == type) found.push_back(event);
    return found;
}
