#include "platform/toolkit/SpeedButton.h"

#include "platform/toolkit/private/AccessibleFactory.h"

#include <QEvent>
#include <QIcon>
#include <QPalette>
#include <QPixmap>
#include <QToolButton>

namespace {
// The caption is drawn in the button-text colour, while FontChanged sets the
// window-text colour; keep the two together for the enabled states.
class SpeedButtonWidget : public QToolButton {
protected:
    void changeEvent(QEvent* event) override
    {
        QToolButton::changeEvent(event);
        if (event->type() != QEvent::PaletteChange) return;
        QPalette current = palette();
        bool changed = false;
        for (const auto group : {QPalette::Active, QPalette::Inactive}) {
            const QColor text = current.color(group, QPalette::WindowText);
            if (current.color(group, QPalette::ButtonText) == text) continue;
            current.setColor(group, QPalette::ButtonText, text);
            changed = true;
        }
        if (changed) setPalette(current);
    }
};
}  // namespace

TSpeedButton::TSpeedButton(TComponent* AOwner)
    : TControl(AOwner, new SpeedButtonWidget), FButton(static_cast<QToolButton*>(Widget()))
{
    // Tab reaches it and Space presses it, as any button of a window.
    FButton->setFocusPolicy(Qt::StrongFocus);
    FButton->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    QObject::connect(FButton, &QToolButton::clicked, FButton, [this] {
        InvokeHandler([this] {
            if (OnClick) OnClick(this);
        });
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
    // FontChanged leaves the palette alone for the default text colour.
    QPalette palette = FButton->palette();
    palette.setColor(QPalette::Active, QPalette::WindowText, ToQColor(color));
    palette.setColor(QPalette::Inactive, QPalette::WindowText, ToQColor(color));
    FButton->setPalette(palette);
}

void TSpeedButton::Click()
{
    if (!FButton->isEnabled()) return;
    FButton->click();
}

void TSpeedButton::SetAccessibleState(bool checkable, bool checked)
{
    QAccessible::State changed;
    changed.checkable = checkable != FCheckable;
    changed.checked = checked != FChecked;
    FCheckable = checkable;
    FChecked = checked;
    if (changed.checkable || changed.checked) NotifyStateChanged(FButton, changed);
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
