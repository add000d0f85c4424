#include "platform/toolkit/TrackBar.h"

#include <QSlider>

TTrackBar::TTrackBar(TComponent* AOwner) : TWinControl(AOwner, new QSlider(Qt::Horizontal))
{
    QSlider* slider = Slider();
    slider->setRange(0, 10);
    slider->setPageStep(2);
    slider->setTickInterval(1);
    ApplyTicks();
    QObject::connect(slider, &QSlider::valueChanged, slider, [this](int) {
        if (OnChange) InvokeHandler([this] { OnChange(this); });
    });
}

QSlider* TTrackBar::Slider() const
{
    return static_cast<QSlider*>(Widget());
}

void TTrackBar::SetOrientation(TTrackBarOrientation orientation)
{
    FOrientation = orientation;
    if (!Slider()) return;
    Slider()->setOrientation(orientation == trVertical ? Qt::Vertical : Qt::Horizontal);
    // Qt puts a vertical slider's minimum at the bottom; this bar has it at
    // the top, and the arrow keys follow the picture.
    Slider()->setInvertedAppearance(orientation == trVertical);
    Slider()->setInvertedControls(orientation == trVertical);
    ApplyTicks();
}

int TTrackBar::Min() const
{
    return Slider() ? Slider()->minimum() : 0;
}
int TTrackBar::Max() const
{
    return Slider() ? Slider()->maximum() : 0;
}
int TTrackBar::Position() const
{
    return Slider() ? Slider()->value() : 0;
}

void TTrackBar::SetMin(int value)
{
    if (Slider()) Slider()->setMinimum(value);
}

void TTrackBar::SetMax(int value)
{
    if (Slider()) Slider()->setMaximum(value);
}

void TTrackBar::SetPosition(int value)
{
    if (Slider()) Slider()->setValue(value);  // clamps to the range
}

void TTrackBar::SetPageSize(int value)
{
    if (Slider()) Slider()->setPageStep(value);
}

void TTrackBar::SetFrequency(int value)
{
    if (Slider()) Slider()->setTickInterval(value);
}

void TTrackBar::SetLineSize(int value)
{
    if (Slider()) Slider()->setSingleStep(std::max(0, value));
}

void TTrackBar::SetTickMarks(TTickMark marks)
{
    FTickMarks = marks;
    ApplyTicks();
}

void TTrackBar::SetTickStyle(TTickStyle style)
{
    FTickStyle = style;
    ApplyTicks();
}

void TTrackBar::ApplyTicks()
{
    if (!Slider()) return;
    QSlider::TickPosition position = QSlider::NoTicks;
    if (FTickStyle != tsNone) {
        switch (FTickMarks) {
        case tmBottomRight: position = QSlider::TicksBelow; break;  // also "right" when vertical
        case tmTopLeft: position = QSlider::TicksAbove; break;
        default: position = QSlider::TicksBothSides; break;
        }
    }
    Slider()->setTickPosition(position);
}
