#pragma once
// The splitter: an aligned bar that resizes the control aligned the same way
// just before it in its parent's alignment order when the user drags it. The
// mouse catches it a little beyond the bar as drawn, so that a thin bar is
// easy to grab.

#include "platform/toolkit/Controls.h"

class TSplitter : public TControl {
public:
    explicit TSplitter(TComponent* AOwner);
    ~TSplitter() override;
    void SetVisible(bool visible) override;

    // Smallest size, in pixels, of both the resized control and the client
    // area that remains.
    int MinSize() const { return FMinSize; }
    void SetMinSize(int size) { FMinSize = size; }
    // The control the splitter resizes, null when none.
    TControl* ResizedControl() const;

    TNotifyEvent OnMoved;
    // What the mouse grabs: the bar and a margin of 2 pixels on both sides.
    QWidget* Grip() const;

protected:
    void BoundsChanged() override;

private:
    friend class SplitterWidget;
    void BeginDrag();
    // Drags by delta pixels from where the drag began.
    void DragBy(int delta);
    void EndDrag();

    int FMinSize = 30;
    // The resized control's size and the client's room when the drag began.
    int FStartSize = -1;
    int FStartRoom = 0;
    QPointer<QWidget> FGrip;
};
