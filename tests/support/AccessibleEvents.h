#pragma once
// Listens to the accessibility events the program sends, as a screen reader
// would, without a desktop bridge: while a recorder lives, the platform's
// accessibility is active (as when a reader runs) and Qt hands every event
// to the recorder instead of a bridge. Each event is written down with what
// its object said at the moment it was sent.

#include <QAccessible>
#include <QString>

#include <vector>

class AccessibleEvents {
public:
    struct Event {
        QAccessible::Event type;
        QAccessible::Role role;  // of the object the event is about
        QString name;
        QString description;
        QAccessible::State state;
        int child;  // the child index the event names; -1 for the object itself
    };

    AccessibleEvents();
    ~AccessibleEvents();
    AccessibleEvents(const AccessibleEvents&) = delete;
    AccessibleEvents& operator=(const AccessibleEvents&) = delete;

    void Clear() { events.clear(); }
    // The events of type, in order.
    std::vector<Event> OfType(QAccessible::Event type) const;

    std::vector<Event> events;
};
