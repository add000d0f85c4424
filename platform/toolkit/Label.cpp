#include "platform/toolkit/Label.h"

#include <QEvent>
#include <QLabel>
#include <QTextLayout>
#include <QtMath>

namespace {

// A caption whose line is taller than the label (a fixed size, a tall face)
// is centred on the label's height: the line's empty top and bottom are cut
// off rather than the glyphs' bottoms.
class CaptionWidget : public QLabel {
public:
    void SetHorizontal(Qt::Alignment horizontal)
    {
        FHorizontal = horizontal;
        FitVertically();
    }

    void FitVertically()
    {
        const Qt::Alignment vertical =
            LineHeight() > contentsRect().height() ? Qt::AlignVCenter : Qt::AlignTop;
        if (alignment() != (FHorizontal | vertical)) setAlignment(FHorizontal | vertical);
    }

protected:
    bool event(QEvent* event) override
    {
        const bool handled = QLabel::event(event);
        if (event->type() == QEvent::Resize || event->type() == QEvent::FontChange ||
            event->type() == QEvent::Polish)
            FitVertically();
        return handled;
    }

private:
    // The caption's line as drawn: the faces that supply its characters
    // (a fallback face for Chinese is often taller than the label's own).
    int LineHeight() const
    {
        QTextLayout layout(text(), font());
        layout.beginLayout();
        const QTextLine line = layout.createLine();
        layout.endLayout();
        return line.isValid() ? qCeil(line.height()) : fontMetrics().height();
    }

    Qt::Alignment FHorizontal = Qt::AlignLeft;
};

}  // namespace

TLabel::TLabel(TComponent* AOwner) : TControl(AOwner, new CaptionWidget)
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
    static_cast<CaptionWidget*>(LabelWidget())->FitVertically();
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
    static_cast<CaptionWidget*>(LabelWidget())->SetHorizontal(horizontal);
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
