#include "platform/toolkit/GroupBox.h"

#include <QGroupBox>

TGroupBox::TGroupBox(TComponent* AOwner) : TWinControl(AOwner, new QGroupBox)
{
    // A group box hides what lies behind it, caption line included.
    Widget()->setAutoFillBackground(true);
}

void TGroupBox::SetText(const AnsiString& text)
{
    TWinControl::SetText(text);
    if (Widget()) static_cast<QGroupBox*>(Widget())->setTitle(ToQString(text));
}

QRect TGroupBox::AlignRect() const
{
    QWidget* box = Widget();
    if (!box) return {};
    // Inside the frame, below the caption line.
    const int captionHeight = box->fontMetrics().height();
    return box->rect().adjusted(2, captionHeight, -2, -2);
}
