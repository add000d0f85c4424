#include "platform/toolkit/Label.h"

#include <QLabel>

TLabel::TLabel(TComponent* AOwner) : TControl(AOwner, new QLabel)
{
    LabelWidget()->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    ApplyLook();
}

QLabel* TLabel::LabelWidget() const
{
    return static_cast<QLabel*>(Widget());
}

void TLabel::SetText(const AnsiString& text)
{
    TControl::SetText(text);
    if (!LabelWidget()) return;
    LabelWidget()->setText(ToQString(text));
    FitCaption();
    NameFocusControl();
}

void TLabel::SetAutoSize(bool autoSize)
{
    FAutoSize = autoSize;
    FitCaption();
}

void TLabel::SetTransparent(bool transparent)
{
    FTransparent = transparent;
    ApplyLook();
}

void TLabel::SetAlignment(TAlignment alignment)
{
    if (!LabelWidget()) return;
    Qt::Alignment horizontal = Qt::AlignLeft;
    if (alignment == taRightJustify) horizontal = Qt::AlignRight;
    if (alignment == taCenter) horizontal = Qt::AlignHCenter;
    LabelWidget()->setAlignment(horizontal | Qt::AlignTop);
}

void TLabel::SetFocusControl(TWinControl* control)
{
    FFocusControl = control ? control->Widget() : nullptr;
    if (LabelWidget()) LabelWidget()->setBuddy(FFocusControl);
    NameFocusControl();
}

void TLabel::NameFocusControl()
{
    // The name also reaches the inner parts of a control (a combo box's
    // edit), which the relation alone would leave unnamed.
    if (TControl* control = ControlOf(FFocusControl)) control->SetAccessibleName(GetText());
}

void TLabel::ColorChanged()
{
    ApplyLook();
}

void TLabel::ApplyLook()
{
    QLabel* label = LabelWidget();
    if (!label) return;
    label->setAutoFillBackground(!FTransparent);
    QPalette palette = label->palette();
    palette.setColor(QPalette::Window, ToQColor(Color()));
    palette.setColor(QPalette::WindowText, ToQColor(Font()->Color));
    label->setPalette(palette);
}

void TLabel::FitCaption()
{
    if (FAutoSize && LabelWidget()) {
        const QSize size = LabelWidget()->sizeHint();
        SetBounds(Left(), Top(), size.width(), size.height());
    }
}
