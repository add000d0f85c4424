#include "platform/toolkit/SpeedButton.h"

#include <QIcon>
#include <QPalette>
#include <QPixmap>
#include <QToolButton>

TSpeedButton::TSpeedButton(TComponent* AOwner)
    : TControl(AOwner, new QToolButton), FButton(static_cast<QToolButton*>(Widget()))
{
    FButton->setFocusPolicy(Qt::NoFocus);
    FButton->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    SetFontColor(clBlack);
    QObject::connect(FButton, &QToolButton::clicked, FButton, [this] {
        InvokeHandler([this] { if (OnClick) OnClick(this); });
    });
}

bool TSpeedButton::Flat() const
{
    return FButton->autoRaise();
}

void TSpeedButton::SetFlat(bool flat)
{
    FButton->setAutoRaise(flat);
}

void TSpeedButton::SetGlyph(const QPixmap& glyph)
{
    FButton->setIconSize(glyph.size());
    FButton->setIcon(QIcon(glyph));
}

void TSpeedButton::SetFontColor(TColor color)
{
    Font()->Color = color;
    FontChanged();
    QPalette palette = FButton->palette();
    const QColor text = ToQColor(color);
    palette.setColor(QPalette::Active, QPalette::ButtonText, text);
    palette.setColor(QPalette::Inactive, QPalette::ButtonText, text);
    palette.setColor(QPalette::Active, QPalette::WindowText, text);
    palette.setColor(QPalette::Inactive, QPalette::WindowText, text);
    FButton->setPalette(palette);
}

void TSpeedButton::Click()
{
    if (!FButton->isEnabled()) return;
    FButton->click();
}

AnsiString TSpeedButton::GetText() const
{
    return FButton->text().toStdString();
}

void TSpeedButton::SetText(const AnsiString& text)
{
    TControl::SetText(text);
    FButton->setText(QString::fromStdString(text));
}
