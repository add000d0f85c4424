#pragma once
// The interfaces of the toolkit's controls that Qt's own would misdescribe:
// a form is a window named by its caption; a tool-bar gap, a splitter and
// a caption-less empty group box are separators, which cannot be pressed;
// a button a reader presses runs its handler, and a speed button tells
// whether it is the one in effect; containers say what they are instead of
// passing for fillers. Every other control keeps the interface Qt gives its
// widget.

class QAccessibleInterface;
class QWidget;
class TControl;

// The interface for control's own widget, or null to let Qt make its own.
QAccessibleInterface* CreateControlInterface(TControl* control, QWidget* widget);
