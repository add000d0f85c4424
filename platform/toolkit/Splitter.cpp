#include "platform/toolkit/Splitter.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWidget>

// Turns mouse drags into resizes, measured from where the press was so that
// the bar moving under the mouse does not matter.
class SplitterWidget : public QWidget {
public:
    explicit SplitterWidget(TSplitter* splitter) : FSplitter(splitter) {}

protected:
    void mousePressEvent(QMouseEvent* event) override
    {
        if (event->button() != Qt::LeftButton) return;
        FPress = event->globalPosition().toPoint();
        FDragging = true;
        FSplitter->BeginDrag();
    }

    void mouseMoveEvent(QMouseEvent* event) override
    {
        if (!FDragging) return;
        const QPoint delta = event->globalPosition().toPoint() - FPress;
        const TAlign align = FSplitter->Align();
        FSplitter->DragBy(align == alTop || align == alBottom ? delta.y() : delta.x());
    }

    void mouseReleaseEvent(QMouseEvent* event) override
    {
        // The last move has placed the bar already.
        if (!FDragging || event->button() != Qt::LeftButton) return;
        FDragging = false;
        FSplitter->EndDrag();
    }

private:
    TSplitter* FSplitter;
    QPoint FPress;
    bool FDragging = false;
};

namespace {
// The grip reaches this far over each neighbour's edge.
constexpr int kGripMargin = 2;
}  // namespace

TSplitter::TSplitter(TComponent* AOwner)
    : TControl(AOwner, new SplitterWidget(this)), FGrip(new SplitterWidget(this))
{
    FGrip->hide();
    SetBounds(0, 0, 3, 100);
    SetAlign(alLeft);
    SetCursor(crHSplit);
}

TSplitter::~TSplitter()
{
    delete FGrip.data();
}

void TSplitter::BoundsChanged()
{
    // The grip goes with the bar, a little wider, over the neighbours' edges
    // and above them; it paints nothing, so they show through.
    QWidget* bar = Widget();
    if (!FGrip || !bar) return;
    if (FGrip->parentWidget() != bar->parentWidget()) FGrip->setParent(bar->parentWidget());
    const bool across = Align() == alTop || Align() == alBottom;
    FGrip->setGeometry(across ? bar->geometry().adjusted(0, -kGripMargin, 0, kGripMargin)
                              : bar->geometry().adjusted(-kGripMargin, 0, kGripMargin, 0));
    FGrip->setCursor(bar->cursor());
    FGrip->setVisible(bar->parentWidget() && Visible());
    FGrip->raise();
}

void TSplitter::SetVisible(bool visible)
{
    TControl::SetVisible(visible);
    BoundsChanged();
}

QWidget* TSplitter::Grip() const
{
    return FGrip;
}

TControl* TSplitter::ResizedControl() const
{
    TWinControl* parent = Parent();
    if (!parent) return nullptr;
    TControl* previous = nullptr;
    for (TControl* control : parent->FControls) {
        if (control == this) return previous;
        if (control->Align() == Align() && control->Visible()) previous = control;
    }
    return nullptr;
}

void TSplitter::BeginDrag()
{
    TControl* control = ResizedControl();
    if (!control) {
        FStartSize = -1;
        return;
    }
    FStartSize = Align() == alTop || Align() == alBottom ? control->Height() : control->Width();
    FStartRoom = Align() == alTop || Align() == alBottom ? Parent()->FClientRemainder.height()
                                                         : Parent()->FClientRemainder.width();
}

void TSplitter::DragBy(int delta)
{
    TControl* control = ResizedControl();
    if (!control || FStartSize < 0) return;
    // Dragging towards the client area grows a control aligned left or top.
    const int growth = Align() == alRight || Align() == alBottom ? -delta : delta;
    // Both the resized control and what is left for the client keep MinSize.
    const int largest = std::max(FMinSize, FStartSize + FStartRoom - FMinSize);
    const int size = std::clamp(FStartSize + growth, std::min(FMinSize, FStartSize), largest);
    if (Align() == alTop || Align() == alBottom)
        control->SetHeight(size);
    else
        control->SetWidth(size);
}

void TSplitter::EndDrag()
{
    if (FStartSize >= 0 && OnMoved) InvokeHandler([this] { OnMoved(this); });
    FStartSize = -1;
}
