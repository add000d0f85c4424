#pragma once
// The cool bar: bands stacked top to bottom, each holding one control that
// fills the band's width after the band's grip.

#include "platform/toolkit/Controls.h"

class TCoolBar : public TWinControl {
public:
    explicit TCoolBar(TComponent* AOwner);
    ~TCoolBar() override;

    // Adds a band below the others holding control (which becomes a child of
    // the bar); the band is at least minHeight pixels high. Every band sits
    // in a row of its own and so fills the bar's width; width is kept as the
    // band's nominal width.
    void AddBand(TControl* control, int minHeight, int width);
    int BandCount() const { return static_cast<int>(FBands.size()); }

protected:
    void BoundsChanged() override;

private:
    struct Band {
        TControl* control;
        int minHeight;
        int width;
    };
    void ArrangeBands();

    std::vector<Band> FBands;
};
