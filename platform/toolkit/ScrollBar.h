#pragma once
// A scroll bar. The position runs from Min to Max, or to Max - PageSize + 1
// when the page size (the thumb's share of the range) is positive. Every
// change of the position, by the user or by SetPosition, raises OnChange.

#include "platform/toolkit/Controls.h"

class QScrollBar;

enum TScrollBarKind { sbHorizontal, sbVertical };

class TScrollBar : public TWinControl {
public:
    // Horizontal, range 0 to 100, position 0, page size 0, steps of 1.
    explicit TScrollBar(TComponent* AOwner);

    TScrollBarKind Kind() const { return FKind; }
    void SetKind(TScrollBarKind kind);
    int Min() const { return FMin; }
    void SetMin(int value);
    int Max() const { return FMax; }
    void SetMax(int value);
    int PageSize() const { return FPageSize; }
    void SetPageSize(int value);
    int Position() const;
    // Clamped into the range.
    void SetPosition(int value);
    // The step of a click on the track (large) and on an arrow (small).
    int LargeChange() const;
    void SetLargeChange(int value);
    int SmallChange() const;
    void SetSmallChange(int value);

    TNotifyEvent OnChange;

private:
    void applyRange();

    QScrollBar* FBar;
    TScrollBarKind FKind = sbHorizontal;
    int FMin = 0;
    int FMax = 100;
    int FPageSize = 0;
};
