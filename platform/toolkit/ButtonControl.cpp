#include "platform/toolkit/ButtonControl.h"

#include <QAbstractButton>

TButtonControl::TButtonControl(TComponent* AOwner, QAbstractButton* button)
    : TWinControl(AOwner, button), FButton(button)
{
}

bool TButtonControl::Checked() const
{
    return FButton->isChecked();
}

AnsiString TButtonControl::GetText() const
{
    return FButton->text().toStdString();
}

void TButtonControl::SetText(const AnsiString& text)
{
    TWinControl::SetText(text);
    FButton->setText(QString::fromStdString(text));
}
