#include "platform/toolkit/Panel.h"

#include <QPainter>
#include <QWidget>

// Fills itself with the panel's colour, draws the bevels and the caption.
class PanelWidget : public QWidget {
public:
    explicit PanelWidget(TPanel* panel) : FPanel(panel) {}

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        QRect area = rect();
        painter.fillRect(area, ToQColor(FPanel->Color()));
        for (TBevelCut bevel : {FPanel->FBevelOuter, FPanel->FBevelInner}) {
            if (bevel == bvNone) continue;
            const QColor light = palette().color(QPalette::Light);
            const QColor dark = palette().color(QPalette::Dark);
            const QColor& topLeft = bevel == bvRaised ? light : dark;
            const QColor& bottomRight = bevel == bvRaised ? dark : light;
            painter.setPen(topLeft);
            painter.drawLine(area.topLeft(), area.topRight());
            painter.drawLine(area.topLeft(), area.bottomLeft());
            painter.setPen(bottomRight);
            painter.drawLine(area.bottomLeft(), area.bottomRight());
            painter.drawLine(area.topRight(), area.bottomRight());
            area.adjust(1, 1, -1, -1);
        }
        const AnsiString caption = FPanel->GetText();
        if (!caption.empty()) {
            painter.setPen(ToQColor(FPanel->Font()->Color));
            painter.drawText(area, Qt::AlignCenter, ToQString(caption));
        }
    }

private:
    TPanel* FPanel;
};

TPanel::TPanel(TComponent* AOwner) : TWinControl(AOwner, new PanelWidget(this)) {}

void TPanel::SetBevelOuter(TBevelCut bevel)
{
    FBevelOuter = bevel;
    Realign();
    if (Widget()) Widget()->update();
}

void TPanel::SetBevelInner(TBevelCut bevel)
{
    FBevelInner = bevel;
    Realign();
    if (Widget()) Widget()->update();
}

void TPanel::SetText(const AnsiString& text)
{
    TWinControl::SetText(text);
    if (Widget()) Widget()->update();
}

void TPanel::ColorChanged()
{
    if (Widget()) Widget()->update();
}

QRect TPanel::AlignRect() const
{
    if (!Widget()) return {};
    const int border = (FBevelOuter != bvNone ? 1 : 0) + (FBevelInner != bvNone ? 1 : 0);
    return Widget()->rect().adjusted(border, border, -border, -border);
}
