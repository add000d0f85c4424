#include "platform/toolkit/private/AccessibleControls.h"

#include "platform/toolkit/CoolBar.h"
#include "platform/toolkit/Forms.h"
#include "platform/toolkit/GroupBox.h"
#include "platform/toolkit/Image.h"
#include "platform/toolkit/PageControl.h"
#include "platform/toolkit/Panel.h"
#include "platform/toolkit/SpeedButton.h"
#include "platform/toolkit/Splitter.h"
#include "platform/toolkit/ToolBar.h"

#include <QAbstractButton>
#include <QAccessibleWidget>

namespace {

// A top-level window, named as the window system titles it; before the
// title is set, by the form's caption.
class FormAccessible : public QAccessibleWidget {
public:
    explicit FormAccessible(QWidget* widget) : QAccessibleWidget(widget, QAccessible::Window) {}

    QString text(QAccessible::Text t) const override
    {
        if (t != QAccessible::Name) return QAccessibleWidget::text(t);
        const QString title = widget()->windowTitle();
        if (!title.isEmpty()) return title;
        const auto* form = dynamic_cast<const TForm*>(ControlOf(widget()));
        return form ? ToQString(form->Caption()) : QString();
    }
};

// A tool or speed button. A reader's press, or toggle of a check button,
// clicks it as the mouse does, so that the program's handler runs (Qt's own
// toggles a check button without the click the toolkit acts on). A speed
// button is checked while the program says it is the one in effect.
class ButtonAccessible : public QAccessibleWidget {
public:
    explicit ButtonAccessible(QWidget* widget) : QAccessibleWidget(widget, QAccessible::Button) {}

    QAccessible::Role role() const override
    {
        return Button()->isCheckable() ? QAccessible::CheckBox : QAccessible::Button;
    }

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Accelerator) return KeyBinding();
        QString text = QAccessibleWidget::text(t);
        if (t == QAccessible::Name && text.isEmpty()) text = Button()->text();
        return text;
    }

    QStringList keyBindingsForAction(const QString& action) const override
    {
        const QString key = KeyBinding();
        if (key.isEmpty() || (action != pressAction() && action != toggleAction())) return {};
        return {key};
    }

    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        if (const auto* button = dynamic_cast<const TSpeedButton*>(ControlOf(widget()))) {
            state.checkable = button->AccessibleCheckable();
            state.checked = button->AccessibleChecked();
        } else {
            state.checkable = Button()->isCheckable();
            state.checked = Button()->isChecked();
        }
        state.pressed = !Button()->isCheckable() && Button()->isDown();
        return state;
    }

    QStringList actionNames() const override
    {
        QStringList names = QAccessibleWidget::actionNames();
        if (!widget()->isEnabled()) return names;
        if (Button()->isCheckable()) names.prepend(toggleAction());
        names.prepend(pressAction());
        return names;
    }

    void doAction(const QString& action) override
    {
        if ((action == pressAction() || action == toggleAction()) && widget()->isEnabled())
            Button()->click();
        else
            QAccessibleWidget::doAction(action);
    }

private:
    QAbstractButton* Button() const { return static_cast<QAbstractButton*>(widget()); }

    // The window's key for a tool button's command, as Qt writes it.
    QString KeyBinding() const
    {
        const auto* button = dynamic_cast<const TToolButton*>(ControlOf(widget()));
        return button ? KeySequenceOf(button->KeyBinding()).toString() : QString();
    }
};

// A group box labels the controls inside it. One without caption or
// controls draws nothing but its frame: a line between the controls around
// it. Its layout gives it both after Qt has asked for its interface, so the
// role is worked out whenever it is asked for.
class GroupBoxAccessible : public QAccessibleWidget {
public:
    explicit GroupBoxAccessible(QWidget* widget) : QAccessibleWidget(widget, QAccessible::Grouping)
    {
    }

    QAccessible::Role role() const override
    {
        const auto* box = dynamic_cast<const TGroupBox*>(ControlOf(widget()));
        const bool line = box && box->GetText().empty() && box->ControlCount() == 0;
        return line ? QAccessible::Separator : QAccessible::Grouping;
    }

    QList<QPair<QAccessibleInterface*, QAccessible::Relation>> relations(
        QAccessible::Relation match) const override
    {
        auto relations = QAccessibleWidget::relations(match);
        if (!(match & QAccessible::Labelled) || role() != QAccessible::Grouping) return relations;
        for (QObject* child : widget()->children()) {
            auto* part = qobject_cast<QWidget*>(child);
            if (!part || part->isWindow() || !ControlOf(part)) continue;
            if (QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(part))
                relations.append({iface, QAccessible::Labelled});
        }
        return relations;
    }
};

bool IsSeparator(TControl* control)
{
    if (auto* button = dynamic_cast<TToolButton*>(control))
        return button->Style() == tbsSeparator || button->Style() == tbsDivider;
    return dynamic_cast<TSplitter*>(control) != nullptr;
}

// The role of a plain container or picture; Client when Qt's own is right.
QAccessible::Role ContainerRole(TControl* control)
{
    if (dynamic_cast<TPanel*>(control) || dynamic_cast<TTabSheet*>(control) ||
        dynamic_cast<TPageControl*>(control))
        return QAccessible::Pane;
    if (dynamic_cast<TToolBar*>(control)) return QAccessible::ToolBar;
    if (dynamic_cast<TCoolBar*>(control)) return QAccessible::Grouping;
    if (dynamic_cast<TImage*>(control)) return QAccessible::Graphic;
    return QAccessible::Client;
}

}  // namespace

QAccessibleInterface* CreateControlInterface(TControl* control, QWidget* widget)
{
    if (dynamic_cast<TForm*>(control)) return new FormAccessible(widget);
    if (dynamic_cast<TGroupBox*>(control)) return new GroupBoxAccessible(widget);
    if (IsSeparator(control)) return new QAccessibleWidget(widget, QAccessible::Separator);
    if (dynamic_cast<TSpeedButton*>(control) || dynamic_cast<TToolButton*>(control))
        return new ButtonAccessible(widget);
    const QAccessible::Role role = ContainerRole(control);
    if (role != QAccessible::Client) return new QAccessibleWidget(widget, role);
    return nullptr;
}
