#pragma once
// The record of one child item of the open folder, and the small shell
// queries made about items.

#include "platform/base/PackedString.h"
#include "platform/shell/ShlObj.h"

// One row of the file list. It owns both of its item id lists. A folder may
// hold a million of them, so a record takes 56 bytes: the texts are packed
// (8 bytes each when empty), the name is the one ChildId holds when the
// folder keeps it there (so it lives exactly as long as ChildId), the flag
// comes last, where it costs no padding, and records are cut from a pool
// (BlockPool.h), with no header each. Made and freed on the window's thread.
struct PShellItem {
    LPITEMIDLIST AbsoluteId = nullptr;  // from the desktop; made when details load
    LPITEMIDLIST ChildId = nullptr;     // relative to the open folder
    PackedString Name;
    PackedString TypeText;
    PackedString DateText;
    int IconIndex = 0;
    int SizeKB = 0;
    DWORD Attributes = 0;
    bool NeedsDetails = true;

    PShellItem() = default;
    // Frees the lists it still holds through the shell allocator; never raises.
    ~PShellItem();
    PShellItem(const PShellItem&) = delete;
    PShellItem& operator=(const PShellItem&) = delete;

    static void* operator new(size_t size);
    static void operator delete(void* record);
};

// The item's name in normal or parsing form. An unknown STRRET kind or a failed
// query gives the empty text. Raises EOleSysError when a wide name cannot be
// given back because the allocator cannot be had.
AnsiString ItemDisplayName(IShellFolder* folder, LPCITEMIDLIST id, bool forParsing);
// The same, as a record keeps it: a name held in the id is not copied but
// refers to the id's bytes, so the text must not outlive id.
PackedString PackedDisplayName(IShellFolder* folder, LPCITEMIDLIST id, bool forParsing);
// Whether the item id (relative to folder) is a folder.
bool IsFolderItem(IShellFolder* folder, LPCITEMIDLIST id);
// Sort comparison of two records (PShellItem*) by the open folder's first
// column: the CODE field of CompareIDs as a signed 16-bit number.
int CompareShellItems(void* first, void* second);
