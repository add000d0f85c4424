#include "platform/toolkit/Button.h"

#include <QPushButton>

TButton::TButton(TComponent* AOwner) : TWinControl(AOwner, new QPushButton)
{
    auto* button = static_cast<QPushButton*>(Widget());
    QObject::connect(button, &QPushButton::clicked, button, [this] { DoClick(); });
}

void TButton::SetText(const AnsiString& text)
{
    TWinControl::SetText(text);
    if (Widget()) static_cast<QPushButton*>(Widget())->setText(ToQString(text));
}

void TButton::Click()
{
    DoClick();
}
