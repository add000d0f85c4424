#include "platform/toolkit/ScrollBar.h"

#include <QScrollBar>

#include <algorithm>

TScrollBar::TScrollBar(TComponent* AOwner)
    : TWinControl(AOwner, new QScrollBar(Qt::Horizontal)), FBar(static_cast<QScrollBar*>(Widget()))
{
    // A tab stop, moved with the arrow keys, as a scroll bar control is.
    FBar->setFocusPolicy(Qt::StrongFocus);
    FBar->setSingleStep(1);
    FBar->setPageStep(1);
    applyRange();
    FBar->setValue(0);
    QObject::connect(FBar, &QScrollBar::valueChanged, FBar, [this](int) {
        InvokeHandler([this] {
            if (OnChange) OnChange(this);
        });
    });
}

void TScrollBar::SetKind(TScrollBarKind kind)
{
    FKind = kind;
    FBar->setOrientation(kind == sbHorizontal ? Qt::Horizontal : Qt::Vertical);
}

void TScrollBar::SetMin(int value)
{
    FMin = value;
    applyRange();
}

void TScrollBar::SetMax(int value)
{
    FMax = value;
    applyRange();
}

void TScrollBar::SetPageSize(int value)
{
    FPageSize = std::max(value, 0);
    applyRange();
}

int TScrollBar::Position() const
{
    return FBar->value();
}

void TScrollBar::SetPosition(int value)
{
    FBar->setValue(value);
}

int TScrollBar::LargeChange() const
{
    return FBar->pageStep();
}

void TScrollBar::SetLargeChange(int value)
{
    FBar->setPageStep(value);
}

int TScrollBar::SmallChange() const
{
    return FBar->singleStep();
}

void TScrollBar::SetSmallChange(int value)
{
    FBar->setSingleStep(value);
}

void TScrollBar::applyRange()
{
    // The thumb covers PageSize values, so the last position lies that much
    // before Max; an inverted range collapses to Min.
    const long long last = FPageSize > 0 ? static_cast<long long>(FMax) - FPageSize + 1 : FMax;
    const int top = FMax > FMin ? FMax : FMin;
    FBar->setRange(FMin, static_cast<int>(std::clamp<long long>(last, FMin, top)));
}
