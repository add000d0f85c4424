#pragma once
// Details of a file row that cost shell and file-system calls; they are
// loaded once per record, only for the rows the list is about to show.

#include "platform/shell/ShlObj.h"

// The index of the item's icon in the system image lists (which share one
// index space), 0 when the shell gives none. id is an absolute item id list,
// borrowed. The icon handle the shell hands out with it is destroyed here.
int ItemIconIndex(LPCITEMIDLIST id, bool large, bool open);
