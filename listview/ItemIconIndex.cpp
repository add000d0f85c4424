#include "listview/ItemIconIndex.h"

int ItemIconIndex(LPCITEMIDLIST id, bool large, bool open)
{
    SHFILEINFOA info{};
    UINT flags = SHGFI_SYSICONINDEX | SHGFI_ICON | SHGFI_PIDL;
    if (open) flags |= SHGFI_OPENICON;
    if (!large) flags |= SHGFI_SMALLICON;
    SHGetFileInfoA(reinterpret_cast<LPCSTR>(id), 0, &info, sizeof info, flags);
    if (info.hIcon) DestroyIcon(info.hIcon);
    return info.iIcon;
}
