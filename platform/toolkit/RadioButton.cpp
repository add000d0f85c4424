#include "platform/toolkit/RadioButton.h"

#include <QRadioButton>

TRadioButton::TRadioButton(TComponent* AOwner)
    : TWinControl(AOwner, new QRadioButton), FButton(static_cast<QRadioButton*>(Widget()))
{
    // Toggled covers the mouse, the keyboard and SetChecked alike; clicking a
    // button that is already checked changes nothing and raises nothing.
    QObject::connect(FButton, &QRadioButton::toggled, FButton, [this](bool checked) {
        if (checked) InvokeHandler([this] { if (OnClick) OnClick(this); });
    });
}

bool TRadioButton::Checked() const
{
    return FButton->isChecked();
}

void TRadioButton::SetChecked(bool checked)
{
    if (checked == FButton->isChecked()) return;
    if (checked) {
        FButton->setChecked(true);
        return;
    }
    // Qt refuses to uncheck the checked member of an exclusive group; the
    // toolkit allows a group with none checked.
    FButton->setAutoExclusive(false);
    FButton->setChecked(false);
    FButton->setAutoExclusive(true);
}

void TRadioButton::Click()
{
    if (Enabled()) SetChecked(true);
}

AnsiString TRadioButton::GetText() const
{
    return FButton->text().toStdString();
}

void TRadioButton::SetText(const AnsiString& text)
{
    TWinControl::SetText(text);
    FButton->setText(QString::fromStdString(text));
}
