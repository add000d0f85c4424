#include "platform/toolkit/RadioButton.h"

#include <QRadioButton>

TRadioButton::TRadioButton(TComponent* AOwner) : TButtonControl(AOwner, new QRadioButton)
{
    // Toggled covers the mouse, the keyboard and SetChecked alike; clicking a
    // button that is already checked changes nothing and raises nothing.
    QObject::connect(Button(), &QAbstractButton::toggled, Button(), [this](bool checked) {
        if (checked)
            InvokeHandler([this] {
                if (OnClick) OnClick(this);
            });
    });
}

void TRadioButton::SetChecked(bool checked)
{
    if (checked == Checked()) return;
    if (checked) {
        Button()->setChecked(true);
        return;
    }
    // Qt refuses to uncheck the checked member of an exclusive group; the
    // toolkit allows a group with none checked.
    Button()->setAutoExclusive(false);
    Button()->setChecked(false);
    Button()->setAutoExclusive(true);
}

void TRadioButton::Click()
{
    if (Enabled()) SetChecked(true);
}
