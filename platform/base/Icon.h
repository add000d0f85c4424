#pragma once
// Icon handles: a picture handed to a caller, who gives it back with
// DestroyIcon. The live count lets tests prove that every handle is destroyed.

#include "platform/base/Windows.h"

#include <QPixmap>

HICON CreateIconHandle(const QPixmap& picture);
QPixmap IconPicture(HICON icon);
int LiveIconCount();
