#include "platform/toolkit/CheckBox.h"

#include <QCheckBox>

TCheckBox::TCheckBox(TComponent* AOwner) : TButtonControl(AOwner, new QCheckBox)
{
    QObject::connect(Button(), &QAbstractButton::toggled, Button(), [this](bool) {
        InvokeHandler([this] {
            if (OnClick) OnClick(this);
        });
    });
}

void TCheckBox::SetChecked(bool checked)
{
    Button()->setChecked(checked);
}

void TCheckBox::Click()
{
    if (Enabled()) SetChecked(!Checked());
}
