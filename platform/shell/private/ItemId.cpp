#include "platform/shell/private/ItemId.h"

#include "platform/base/Drives.h"
#include "platform/shell/private/ShellInternals.h"

#include <cstdlib>
#include <cstring>
#include <pwd.h>
#include <unistd.h>

namespace ItemId {

namespace {

WORD readWord(const BYTE* p)
{
    return static_cast<WORD>(p[0] | (p[1] << 8));
}

void putWord(BYTE* p, WORD value)
{
    p[0] = static_cast<BYTE>(value & 0xFF);
    p[1] = static_cast<BYTE>(value >> 8);
}

void appendHeader(Bytes& list, WORD size, BYTE kind)
{
    const size_t at = list.size();
    list.resize(at + 3);
    putWord(list.data() + at, size);
    list[at + 2] = kind;
}

void writeEntry(BYTE* at, const char* name, size_t length, bool folder, std::uint64_t key)
{
    putWord(at, static_cast<WORD>(kEntryOverhead + length));
    at[2] = EntryKind;
    at[3] = folder ? kFolderFlag : 0;
    std::memcpy(at + 4, &key, sizeof key);
    std::memcpy(at + kNameOffset, name, length);
    at[kNameOffset + length] = 0;
}

}  // namespace

void AppendDrivesFolder(Bytes& list)
{
    appendHeader(list, 3, DrivesFolderKind);
}
void AppendHome(Bytes& list)
{
    appendHeader(list, 3, HomeKind);
}

void AppendDrive(Bytes& list, char letter)
{
    appendHeader(list, 4, DriveKind);
    list.push_back(static_cast<BYTE>(letter));
}

bool AppendEntry(Bytes& list, const char* name, bool folder)
{
    const size_t length = std::strlen(name);
    if (length == 0 || length + kEntryOverhead > 0xFFFF) return false;
    const size_t at = list.size();
    list.resize(at + kEntryOverhead + length);
    writeEntry(list.data() + at, name, length, folder, NaturalSortKey(name).high);
    return true;
}

LPITEMIDLIST NewList(const Bytes& entries)
{
    auto* block = static_cast<BYTE*>(ShellAlloc(entries.size() + 2));
    if (!block) return nullptr;
    if (!entries.empty()) std::memcpy(block, entries.data(), entries.size());
    putWord(block + entries.size(), 0);
    return reinterpret_cast<LPITEMIDLIST>(block);
}

void WriteEntryList(BYTE* at, const char* name, size_t length, bool folder, std::uint64_t key)
{
    writeEntry(at, name, length, folder, key);
    putWord(at + kEntryOverhead + length, 0);
}

LPITEMIDLIST NewEntryList(const char* name, size_t length, bool folder, std::uint64_t key)
{
    auto* block = static_cast<BYTE*>(ShellAlloc(EntryListSize(length)));
    if (!block) return nullptr;
    WriteEntryList(block, name, length, folder, key);
    return reinterpret_cast<LPITEMIDLIST>(block);
}

Bytes EntriesOf(LPCITEMIDLIST list)
{
    Bytes bytes;
    if (!list) return bytes;
    const auto* p = reinterpret_cast<const BYTE*>(list);
    const BYTE* q = p;
    while (WORD cb = readWord(q)) q += cb;
    bytes.assign(p, q);
    return bytes;
}

const BYTE* LastEntry(LPCITEMIDLIST list)
{
    if (!list) return nullptr;
    const auto* p = reinterpret_cast<const BYTE*>(list);
    const BYTE* last = nullptr;
    while (WORD cb = readWord(p)) {
        last = p;
        p += cb;
    }
    return last;
}

namespace {

// Moves where one entry further down; false when entry cannot follow it.
bool step(Location& where, const BYTE* entry)
{
    if (!IsValidEntry(entry)) return false;
    const BYTE kind = KindOf(entry);
    switch (where.kind) {
    case Location::Desktop:
        if (kind == DrivesFolderKind) {
            where.kind = Location::DrivesFolder;
            return true;
        }
        if (kind == HomeKind) {
            where.kind = Location::Home;
            where.underHome = true;
            where.posix = HomePath();
            return true;
        }
        return false;
    case Location::DrivesFolder: {
        if (kind != DriveKind) return false;
        const DriveMapping* drive = FindDrive(static_cast<char>(entry[3]));
        if (!drive) return false;
        where.kind = Location::Drive;
        where.letter = drive->letter;
        where.posix = drive->root;
        return true;
    }
    case Location::Home:
    case Location::Drive:
    case Location::Entry:
        if (kind != EntryKind || !where.folder) return false;
        where.kind = Location::Entry;
        where.elements.emplace_back(EntryName(entry));
        where.folder = IsFolderEntry(entry);
        if (where.posix.empty() || where.posix.back() != '/') where.posix.push_back('/');
        where.posix += where.elements.back();
        return true;
    }
    return false;
}

bool walk(Location& where, const BYTE* p, const BYTE* end)
{
    while (true) {
        if (end && p + 2 > end) return p == end;
        const WORD cb = readWord(p);
        if (cb == 0) return true;
        if (cb < 3 || (end && p + cb > end) || !step(where, p)) return false;
        p += cb;
    }
}

}  // namespace

std::optional<Location> Resolve(const Bytes& prefix, LPCITEMIDLIST relative)
{
    Location where;
    if (!prefix.empty() && !walk(where, prefix.data(), prefix.data() + prefix.size()))
        return std::nullopt;
    if (relative && !walk(where, reinterpret_cast<const BYTE*>(relative), nullptr))
        return std::nullopt;
    return where;
}

AnsiString ParsingName(const Location& where)
{
    switch (where.kind) {
    case Location::Desktop: return "Desktop";
    case Location::DrivesFolder: return kDrivesFolderParsingName;
    default: break;
    }
    // A name holding a backslash keeps the POSIX form, so that the parsing
    // name always maps back to the item's exact bytes.
    if (where.underHome) return PosixToNamespacePath(where.posix).value_or(where.posix);
    return DriveForm(where.letter, where.elements).value_or(where.posix);
}

}  // namespace ItemId

std::string HomePath()
{
    if (const char* home = std::getenv("HOME"); home && home[0] == '/') return home;
    if (const passwd* user = getpwuid(getuid()); user && user->pw_dir) return user->pw_dir;
    return "/";
}
