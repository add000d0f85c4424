#pragma once
// The track bar: a slider over Min..Max. A vertical bar has its minimum at the
// top.

#include "platform/toolkit/Controls.h"

class QSlider;

enum TTrackBarOrientation { trHorizontal, trVertical };
enum TTickMark { tmBottomRight, tmTopLeft, tmBoth };
enum TTickStyle { tsNone, tsAuto, tsManual };

class TTrackBar : public TWinControl {
public:
    explicit TTrackBar(TComponent* AOwner);

    TTrackBarOrientation Orientation() const { return FOrientation; }
    void SetOrientation(TTrackBarOrientation orientation);
    int Min() const;
    int Max() const;
    // A new range pulls the position inside it.
    void SetMin(int value);
    void SetMax(int value);
    int Position() const;
    // Clamped to Min..Max; raises OnChange when the position changes.
    void SetPosition(int value);
    void SetPageSize(int value);
    void SetFrequency(int value);
    // Arrow-key step in positions; 0 makes the arrow keys move nothing.
    void SetLineSize(int value);
    void SetTickMarks(TTickMark marks);
    void SetTickStyle(TTickStyle style);

    // Raised whenever the position changes, by the user or the program.
    TNotifyEvent OnChange;

    QSlider* Slider() const;

private:
    void ApplyTicks();

    TTrackBarOrientation FOrientation = trHorizontal;
    TTickMark FTickMarks = tmBottomRight;
    TTickStyle FTickStyle = tsAuto;
};
