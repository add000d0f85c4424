#pragma once
// The record of one child item of the open folder, and the small shell
// queries made about items.

#include "platform/base/PackedString.h"
#include "platform/shell/ShlObj.h"

// One row of the file list. It owns both of its item id lists. A folder may
// hold a million of them, so the texts are packed: 8 bytes each when empty.
struct PShellItem {
    LPITEMIDLIST AbsoluteId = nullptr;  // from the desktop; made when details load
    LPITEMIDLIST ChildId = nullptr;     // relative to the open folder
    bool NeedsDetails = true;
    PackedString Name;
    PackedString TypeText;
    PackedString DateText;
    int IconIndex = 0;
    int SizeKB = 0;
    DWORD Attributes = 0;

    PShellItem() = default;
    // Frees the lists it still holds through the shell allocator; never raises.
    ~PShellItem();
    PShellItem(const PShellItem&) = delete;
    PShellItem& operator=(const PShellItem&) = delete;
};

// The item's name in normal or parsing form. An unknown STRRET kind or a failed
// query gives the empty text. Raises EOleSysError when a wide name cannot be
// given back because the allocator cannot be had.
AnsiString ItemDisplayName(IShellFolder* folder, LPCITEMIDLIST id, bool forParsing);
// The same, as a record keeps it: a name held in the id is copied only once.
PackedString PackedDisplayName(IShellFolder* folder, LPCITEMIDLIST id, bool forParsing);
// Whether the item id (relative to folder) is a folder.
bool IsFolderItem(IShellFolder* folder, LPCITEMIDLIST id);
// Sort comparison of two records (PShellItem*) by the open folder's first
// column: the CODE field of CompareIDs as a signed 16-bit number.
int CompareShellItems(void* first, void* second);
