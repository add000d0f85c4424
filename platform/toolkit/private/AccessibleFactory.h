#pragma once
// The toolkit's widgets reach assistive technology through Qt's accessibility
// framework. Where Qt's own interface for a widget would tell a reader the
// wrong thing (a window as a filler, a separator as a push button, a list
// as an empty pane), one factory, registered with Qt, hands out the
// toolkit's own.

#include <QAccessible>

class QWidget;

// Registers the factory with Qt; every control's constructor calls it, the
// first call with an application object registers.
void InstallAccessibleFactory();

// Tells readers that states of widget changed (for example checked).
void NotifyStateChanged(QWidget* widget, const QAccessible::State& changed);

// Drops the interface Qt keeps for widget, so that the next reader who asks
// gets one made afresh: for a control whose kind changed after it was made.
void ForgetAccessible(QWidget* widget);
