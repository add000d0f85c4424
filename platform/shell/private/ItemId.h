#pragma once
// The entries this namespace writes into item id lists, and how an absolute
// list is read back as a place.
//
// Every entry: cb (2 bytes), kind (1 byte), then by kind:
//   drives folder, home folder: nothing more;
//   drive: the drive letter;
//   file-system entry: flags (1 byte, bit 0 = folder), the high half of the
//   name's natural sort key (native byte order), the raw name bytes and a
//   zero.
// A file-system entry of an n-byte name takes 13 + n bytes, and its name sits
// at a fixed offset so GetDisplayNameOf can answer STRRET_OFFSET.

#include "platform/shell/ShlObj.h"
#include "platform/shell/private/NaturalOrder.h"

#include <cstring>
#include <optional>
#include <string>
#include <vector>

namespace ItemId {

enum Kind : BYTE { DrivesFolderKind = 0x1F, HomeKind = 0x2E, DriveKind = 0x2F, EntryKind = 0x31 };
constexpr BYTE kFolderFlag = 0x01;
constexpr UINT kNameOffset = 12;
constexpr UINT kEntryOverhead = kNameOffset + 1;

using Bytes = std::vector<BYTE>;

void AppendDrivesFolder(Bytes& list);
void AppendHome(Bytes& list);
void AppendDrive(Bytes& list, char letter);
// False when the name does not fit an entry.
bool AppendEntry(Bytes& list, const char* name, bool folder);

// entries plus a terminator in shell allocator memory; null when exhausted.
LPITEMIDLIST NewList(const Bytes& entries);
// A one-entry list for a file-system entry, built straight into shell memory
// (the enumerator's path for every listed item); name holds length bytes and a
// zero, key is NaturalSortKey(name).high.
LPITEMIDLIST NewEntryList(const char* name, size_t length, bool folder, std::uint64_t key);
// The bytes of that list, terminator included, and the list written at at.
constexpr size_t EntryListSize(size_t length)
{
    return kEntryOverhead + length + 2;
}
void WriteEntryList(BYTE* at, const char* name, size_t length, bool folder, std::uint64_t key);

// The entries of list without its terminator (null counts as empty).
Bytes EntriesOf(LPCITEMIDLIST list);

// Readers; entry points at cb. Inline: sorting a large folder calls them
// tens of millions of times.
inline WORD EntrySize(const BYTE* entry)
{
    return static_cast<WORD>(entry[0] | (entry[1] << 8));
}
inline BYTE KindOf(const BYTE* entry)
{
    return EntrySize(entry) >= 3 ? entry[2] : 0;
}
// Whether the entry's count fits its kind. The final zero of a name bounds
// every read of it; an earlier zero only shortens it, so it is not searched.
inline bool IsValidEntry(const BYTE* entry)
{
    const WORD cb = EntrySize(entry);
    switch (KindOf(entry)) {
    case DrivesFolderKind:
    case HomeKind: return cb == 3;
    case DriveKind: return cb == 4;
    case EntryKind: return cb > kEntryOverhead && entry[cb - 1] == 0;
    default: return false;
    }
}
// The following readers need a valid file-system entry.
inline bool IsFolderEntry(const BYTE* entry)
{
    return (entry[3] & kFolderFlag) != 0;
}
inline const char* EntryName(const BYTE* entry)
{
    return reinterpret_cast<const char*>(entry + kNameOffset);
}
inline std::uint64_t EntryKey(const BYTE* entry)
{
    std::uint64_t key;
    std::memcpy(&key, entry + 4, sizeof key);
    return key;
}
// Start of the last entry of list, null for the empty list or null.
const BYTE* LastEntry(LPCITEMIDLIST list);

// A place in the namespace, read from an absolute list.
struct Location {
    enum Kind { Desktop, DrivesFolder, Home, Drive, Entry } kind = Desktop;
    char letter = 0;  // the drive, when below one
    bool underHome = false;
    std::vector<std::string> elements;  // names below the drive or home
    bool folder = true;                 // as the id records it
    std::string posix;                  // Home, Drive, Entry: the POSIX path
};
// Reads prefix's entries then relative's (either may be null); none when the
// entries do not form a place this namespace knows (bad bytes, unmapped drive).
std::optional<Location> Resolve(const Bytes& prefix, LPCITEMIDLIST relative);
// "C:\a\b", "::{...}" and so on.
AnsiString ParsingName(const Location& where);

}  // namespace ItemId

// The parsing name of the drives folder.
constexpr const char* kDrivesFolderParsingName = "::{20D04FE0-3AEA-1069-A2D8-08002B30309D}";
// $HOME, or the password database's home when it is unset.
std::string HomePath();
