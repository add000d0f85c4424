#pragma once
// The status bar: a plain bar along the bottom with a size grip.

#include "platform/toolkit/Controls.h"

class TStatusBar : public TWinControl {
public:
    explicit TStatusBar(TComponent* AOwner);
};
