#pragma once
// Operations on item identifier lists. Every list lives in the shell
// allocator's memory; null means no list and is distinct from the empty list
// (a lone 16-bit zero), which names the desktop.

#include "platform/shell/ShlObj.h"

// The entry after id (id advanced by its own count); id must not be a terminator.
LPITEMIDLIST NextId(LPCITEMIDLIST id);
// Total size in bytes, terminator included: 0 for null, 2 for the empty list.
int IdListSize(LPCITEMIDLIST list);
// Cuts the last entry off list in place; returns the new terminator (null for null).
LPITEMIDLIST StripLastId(LPITEMIDLIST list);
// A new block of size bytes that reads as an empty list; null when the
// allocator is unavailable or exhausted. The caller owns it.
LPITEMIDLIST AllocIdList(int size);
// An exact copy (caller owns it), or null.
LPITEMIDLIST CopyIdList(LPCITEMIDLIST list);
// parent's entries, then child's, then one terminator (caller owns it), or null.
LPITEMIDLIST JoinIdLists(LPCITEMIDLIST parent, LPCITEMIDLIST child);
// Returns list to the shell allocator; null is ignored. Raises EOleSysError
// when the allocator cannot be obtained (the list is then not freed).
void FreeItemId(LPITEMIDLIST list);
// True when list's first count is 0.
inline bool IsEmptyIdList(LPCITEMIDLIST list)
{
    return list && list->mkid.cb == 0;
}
