#include "platform/toolkit/private/ModalLoop.h"

#include "platform/base/Messages.h"

#include <QApplication>
#include <QDialog>
#include <QEventLoop>
#include <QWindow>

namespace {

// The window an event's receiver belongs to: a widget's or window's own, for
// a shortcut or action the one of the widget that holds it.
QWindow* windowOf(QObject* receiver)
{
    for (QObject* o = receiver; o; o = o->parent()) {
        if (auto* window = qobject_cast<QWindow*>(o)) return window;
        if (o->isWidgetType()) {
            QWidget* top = static_cast<QWidget*>(o)->window();
            return top->windowHandle();
        }
    }
    return nullptr;
}

class InputBlocker : public QObject {
public:
    explicit InputBlocker(QDialog& dialog) : FDialog(dialog) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (!IsUserInputEvent(event->type()) || allowed(windowOf(watched))) return false;
        if (event->type() == QEvent::ShortcutOverride) event->accept();  // no shortcut fires
        if (event->type() == QEvent::MouseButtonPress) {
            FDialog.raise();
            FDialog.activateWindow();
        }
        return true;
    }

private:
    // The dialog's window and the windows it opens (menus, tool tips).
    bool allowed(QWindow* window) const
    {
        const QWindow* own = FDialog.windowHandle();
        for (QWindow* w = window; w; w = w->transientParent())
            if (w == own) return true;
        return window && own && own->isAncestorOf(window);
    }

    QDialog& FDialog;
};

}  // namespace

int ExecModal(QDialog& dialog)
{
    dialog.setWindowModality(Qt::NonModal);
    QEventLoop loop;
    QObject::connect(&dialog, &QDialog::finished, &loop, [&loop] { loop.exit(); });
    InputBlocker blocker(dialog);
    qApp->installEventFilter(&blocker);
    dialog.show();
    dialog.raise();
    dialog.activateWindow();
    loop.exec(QEventLoop::DialogExec);
    qApp->removeEventFilter(&blocker);
    dialog.hide();
    return dialog.result();
}
