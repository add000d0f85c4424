#include "platform/toolkit/CheckBox.h"

#include <QCheckBox>

TCheckBox::TCheckBox(TComponent* AOwner)
    : TWinControl(AOwner, new QCheckBox), FBox(static_cast<QCheckBox*>(Widget()))
{
    QObject::connect(FBox, &QCheckBox::toggled, FBox, [this](bool) {
        InvokeHandler([this] { if (OnClick) OnClick(this); });
    });
}

bool TCheckBox::Checked() const
{
    return FBox->isChecked();
}

void TCheckBox::SetChecked(bool checked)
{
    FBox->setChecked(checked);
}

void TCheckBox::Click()
{
    if (Enabled()) SetChecked(!Checked());
}

AnsiString TCheckBox::GetText() const
{
    return FBox->text().toStdString();
}

void TCheckBox::SetText(const AnsiString& text)
{
    TWinControl::SetText(text);
    FBox->setText(QString::fromStdString(text));
}
