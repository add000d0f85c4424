// Icon handles own a copy of their picture until DestroyIcon.

#include "platform/base/Icon.h"

#include <atomic>

struct HICON__ {
    QPixmap picture;
};

namespace {
std::atomic<int> liveIcons{0};
}

HICON CreateIconHandle(const QPixmap& picture)
{
    ++liveIcons;
    return new HICON__{picture};
}

QPixmap IconPicture(HICON icon)
{
    return icon ? icon->picture : QPixmap();
}

BOOL DestroyIcon(HICON icon)
{
    if (!icon) return FALSE;
    delete icon;
    --liveIcons;
    return TRUE;
}

int LiveIconCount()
{
    return liveIcons;
}
