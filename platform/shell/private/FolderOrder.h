#pragma once
// The order a folder's entries are handed out in: folders first, then names
// as CompareIDs orders them (NaturalOrder.h). The enumerator reads a folder
// into a compact array of these entries and one block of names, sorts the
// array here, and only then makes the ids.

#include "platform/shell/private/NaturalOrder.h"

#include <cstddef>
#include <cstdint>

// One listed entry: its key and where its name lies in the block of names.
struct ListedEntry {
    NaturalKey key;        // the name's first key; the sort overwrites it
    std::uint64_t idKey;   // the first half of the name's first key, for its id
    std::uint32_t offset;  // of the name in the block of names
    std::uint16_t length;  // of the name, in bytes
    bool folder;
    std::uint8_t filled;  // of the key's bytes, as NaturalKeyAt tells (or kGoesOn)
};

// The entry of a name of length bytes that lies at offset in the block of
// names, with its first key taken.
ListedEntry ListName(const char* name, size_t length, std::uint32_t offset, bool folder);

// A listing of at least this many entries is sorted by two threads: the
// groups of entries are shared out between them, so a large folder's sort
// takes about half as long on a machine with a second core.
constexpr std::ptrdiff_t kSortSharedFrom = 32768;

// Puts [first, last) in CompareIDs order. Each entry is as ListName made it
// (its key may have been changed since); names is the block the offsets point into, each
// name ended by a zero. Groups of at least sharedFrom entries are split with
// a second thread (when none can be had, this thread sorts them all). Raises
// std::bad_alloc when memory runs out; the entries are then in some order.
void SortListed(ListedEntry* first, ListedEntry* last, const char* names,
                std::ptrdiff_t sharedFrom = kSortSharedFrom);

// How many entries ahead FetchNameAhead fetches a name.
constexpr std::ptrdiff_t kFetchAhead = 16;
// Fetches the name of the entry kFetchAhead places after entry into the
// cache: after the sort, the names of neighbouring entries lie all over the
// block.
inline void FetchNameAhead(const ListedEntry* entry, const ListedEntry* last, const char* names)
{
    if (last - entry > kFetchAhead) __builtin_prefetch(names + entry[kFetchAhead].offset);
}
