#pragma once
// The icon of a file row, from the system image lists.

#include "platform/shell/ShlObj.h"

// The index of the item's icon in the system image lists (which share one
// index space), 0 when the shell gives none. id is an absolute item id list,
// borrowed. The icon handle the shell hands out with it is destroyed here.
int ItemIconIndex(LPCITEMIDLIST id, bool large, bool open);
