#include "platform/toolkit/CoolBar.h"

#include <QPainter>
#include <QWidget>

namespace {
// Room on each band: the grip on the left, a margin around the control.
constexpr int kGripWidth = 11;
constexpr int kMargin = 2;
}  // namespace

// Draws the bands' grips and the etched lines between the bands.
class CoolBarWidget : public QWidget {
public:
    std::vector<int> bandTops;  // top of every band, then the bottom of the last

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        const QColor light = palette().color(QPalette::Light);
        const QColor dark = palette().color(QPalette::Mid);
        for (size_t i = 0; i + 1 < bandTops.size(); ++i) {
            const int top = bandTops[i];
            const int bottom = bandTops[i + 1];
            // Grip: two raised ridges.
            for (int x : {3, 6}) {
                painter.setPen(light);
                painter.drawLine(x, top + 3, x, bottom - 4);
                painter.setPen(dark);
                painter.drawLine(x + 1, top + 3, x + 1, bottom - 4);
            }
            painter.setPen(dark);
            painter.drawLine(0, bottom - 2, width() - 1, bottom - 2);
            painter.setPen(light);
            painter.drawLine(0, bottom - 1, width() - 1, bottom - 1);
        }
    }
};

TCoolBar::TCoolBar(TComponent* AOwner) : TWinControl(AOwner, new CoolBarWidget)
{
    new EventHook(Widget(), [this](QEvent* event) {
        if (event->type() == QEvent::Resize) ArrangeBands();
        return false;
    });
}

TCoolBar::~TCoolBar() = default;

void TCoolBar::BoundsChanged()
{
    TWinControl::BoundsChanged();
    ArrangeBands();
}

void TCoolBar::AddBand(TControl* control, int minHeight, int width)
{
    if (!control) return;
    control->SetAlign(alNone);
    control->SetParent(this);
    FBands.push_back({control, minHeight, width});
    ArrangeBands();
}

void TCoolBar::ArrangeBands()
{
    auto* bar = static_cast<CoolBarWidget*>(Widget());
    if (!bar) return;
    bar->bandTops.clear();
    int top = 0;
    for (const Band& band : FBands) {
        // A band whose control is gone or hidden takes no room.
        bool present = false;
        for (int i = 0; i < ControlCount(); ++i) present = present || Controls(i) == band.control;
        if (!present || !band.control->Visible()) continue;
        const int height = std::max(band.minHeight, band.control->Height());
        // Alone in its row, a band fills the bar's width.
        const int width = std::max(0, bar->width() - kGripWidth - 2 * kMargin);
        bar->bandTops.push_back(top);
        band.control->SetBounds(kGripWidth + kMargin, top + kMargin, width, height);
        top += height + 2 * kMargin;
    }
    bar->bandTops.push_back(top);
    bar->update();
}
