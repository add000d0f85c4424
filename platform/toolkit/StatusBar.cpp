#include "platform/toolkit/StatusBar.h"

#include <QStatusBar>

TStatusBar::TStatusBar(TComponent* AOwner) : TWinControl(AOwner, new QStatusBar)
{
    SetBounds(0, 0, 100, 19);
}
