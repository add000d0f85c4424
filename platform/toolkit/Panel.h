#pragma once
// The panel: a plain container with a bevel, a colour and a centred caption.

#include "platform/toolkit/Controls.h"

enum TBevelCut { bvNone, bvLowered, bvRaised };

class TPanel : public TWinControl {
public:
    explicit TPanel(TComponent* AOwner);

    TBevelCut BevelOuter() const { return FBevelOuter; }
    void SetBevelOuter(TBevelCut bevel);
    TBevelCut BevelInner() const { return FBevelInner; }
    void SetBevelInner(TBevelCut bevel);
    void SetText(const AnsiString& text) override;

protected:
    void ColorChanged() override;
    QRect AlignRect() const override;

private:
    friend class PanelWidget;
    TBevelCut FBevelOuter = bvRaised;
    TBevelCut FBevelInner = bvNone;
};
