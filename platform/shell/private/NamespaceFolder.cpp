#include "platform/shell/private/NamespaceFolder.h"

#include "platform/base/Drives.h"
#include "platform/shell/private/Enumerators.h"
#include "platform/shell/private/NaturalOrder.h"
#include "platform/shell/private/ShellInternals.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace ItemId;

namespace {

// The CODE field of a success status carries the comparison's sign.
HRESULT compareResult(int order)
{
    const std::uint16_t code = order < 0 ? 0xFFFF : order > 0 ? 1 : 0;
    return static_cast<HRESULT>(code);
}

int kindRank(BYTE kind)
{
    switch (kind) {
    case DrivesFolderKind: return 0;
    case HomeKind: return 1;
    case DriveKind: return 2;
    default: return 3;
    }
}

int compareEntries(const BYTE* a, const BYTE* b)
{
    const BYTE kindA = KindOf(a), kindB = KindOf(b);
    if (kindA != kindB) return kindRank(kindA) - kindRank(kindB);
    if (kindA == DriveKind) return a[3] - b[3];
    if (kindA != EntryKind) return 0;
    const bool folderA = IsFolderEntry(a), folderB = IsFolderEntry(b);
    if (folderA != folderB) return folderA ? -1 : 1;
    const std::uint64_t keyA = EntryKey(a), keyB = EntryKey(b);
    if (keyA != keyB) return keyA < keyB ? -1 : 1;
    // A valid entry's name ends by its last byte: so much of each can be read.
    return CompareNatural(EntryName(a), EntrySize(a) - kNameOffset, EntryName(b),
                          EntrySize(b) - kNameOffset);
}

bool setCString(STRRET* name, const std::string& text)
{
    name->uType = STRRET_CSTR;
    const size_t length = std::min(text.size(), sizeof name->cStr - 1);
    std::memcpy(name->cStr, text.data(), length);
    name->cStr[length] = 0;
    return true;
}

HRESULT setWide(STRRET* name, const AnsiString& text)
{
    LPOLESTR wide = StringToOleStr(text);
    if (!wide) return E_OUTOFMEMORY;
    name->uType = STRRET_WSTR;
    name->pOleStr = wide;
    return S_OK;
}

std::string userName()
{
    if (const passwd* user = getpwuid(getuid()); user && user->pw_name && *user->pw_name)
        return user->pw_name;
    return "Home";
}

std::string driveName(char letter)
{
    const DriveMapping* drive = FindDrive(letter);
    std::string label = "Local Disk";
    if (drive && drive->root != "/") label = drive->root.substr(drive->root.rfind('/') + 1);
    return label + " (" + letter + ":)";
}

std::vector<Bytes> desktopChildren()
{
    std::vector<Bytes> children(2);
    AppendDrivesFolder(children[0]);
    AppendHome(children[1]);
    return children;
}

std::vector<Bytes> driveChildren()
{
    std::vector<Bytes> children;
    for (const DriveMapping& drive : DriveMap()) {
        children.emplace_back();
        AppendDrive(children.back(), drive.letter);
    }
    return children;
}

}  // namespace

SFGAOF AttributesOfEntry(const BYTE* entry)
{
    if (!entry) return SFGAO_FOLDER;
    switch (KindOf(entry)) {
    case DrivesFolderKind: return SFGAO_FOLDER;
    case HomeKind:
    case DriveKind: return SFGAO_FOLDER | SFGAO_FILESYSTEM;
    case EntryKind: return SFGAO_FILESYSTEM | (IsFolderEntry(entry) ? SFGAO_FOLDER : 0);
    default: return 0;
    }
}

NamespaceFolder::NamespaceFolder(Bytes absolute, Location where)
    : CountedObject(IID_IShellFolder), FAbsolute(std::move(absolute)), FWhere(std::move(where))
{
}

NamespaceFolder::~NamespaceFolder()
{
    if (const int descriptor = FDescriptor.load(); descriptor >= 0) close(descriptor);
}

const char* NamespaceFolder::ChildEntryName(LPCITEMIDLIST child) const
{
    if (!child || !FWhere.folder) return nullptr;
    if (FWhere.kind != Location::Home && FWhere.kind != Location::Drive &&
        FWhere.kind != Location::Entry)
        return nullptr;
    const auto* entry = reinterpret_cast<const BYTE*>(child);
    if (!IsValidEntry(entry) || KindOf(entry) != EntryKind) return nullptr;
    const BYTE* next = entry + EntrySize(entry);
    if (next[0] != 0 || next[1] != 0) return nullptr;
    const char* name = EntryName(entry);
    return *name && !std::strchr(name, '/') ? name : nullptr;
}

int NamespaceFolder::Descriptor()
{
    const int known = FDescriptor.load(std::memory_order_acquire);
    if (known >= 0) return known;
    const int opened = open(FWhere.posix.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    if (opened < 0) return -1;
    // Two threads may open it at once: the one that comes second keeps the first's.
    int expected = -1;
    if (FDescriptor.compare_exchange_strong(expected, opened, std::memory_order_acq_rel))
        return opened;
    close(opened);
    return expected;
}

HRESULT NamespaceFolder::ParseDisplayName(HWND, IBindCtx*, LPOLESTR displayName, ULONG* eaten,
                                          LPITEMIDLIST* id, ULONG* attributes)
{
    if (!id) return E_INVALIDARG;
    *id = nullptr;
    if (!displayName) return E_INVALIDARG;
    // Only the desktop parses: every name it knows is absolute.
    if (FWhere.kind != Location::Desktop) return E_NOTIMPL;
    Bytes entries;
    bool folder = false;
    if (const HRESULT hr = ParseNamespacePath(WideCharToString(displayName), entries, folder);
        FAILED(hr))
        return hr;
    *id = NewList(entries);
    if (!*id) return E_OUTOFMEMORY;
    if (eaten) {
        ULONG length = 0;
        while (displayName[length]) ++length;
        *eaten = length;
    }
    if (attributes) *attributes &= AttributesOfEntry(LastEntry(*id));
    return S_OK;
}

HRESULT NamespaceFolder::EnumObjects(HWND, DWORD flags, IEnumIDList** enumerator)
{
    if (!enumerator) return E_INVALIDARG;
    *enumerator = nullptr;
    if (const HRESULT fault = EnumObjectsFault(); fault != S_OK) return fault;
    switch (FWhere.kind) {
    case Location::Desktop:
        *enumerator =
            new ListEnumerator(flags & SHCONTF_FOLDERS ? desktopChildren() : std::vector<Bytes>{});
        return S_OK;
    case Location::DrivesFolder:
        *enumerator =
            new ListEnumerator(flags & SHCONTF_FOLDERS ? driveChildren() : std::vector<Bytes>{});
        return S_OK;
    default: break;
    }
    DIR* dir = opendir(FWhere.posix.c_str());
    if (!dir) return StatusFromErrno(errno);
    *enumerator = new FolderEnumerator(dir, flags);
    return S_OK;
}

HRESULT NamespaceFolder::BindToObject(LPCITEMIDLIST id, IBindCtx*, REFIID riid, void** object)
{
    if (!object) return E_INVALIDARG;
    *object = nullptr;
    if (!(riid == IID_IShellFolder)) return E_NOINTERFACE;
    return BindFolder(FAbsolute, id, reinterpret_cast<IShellFolder**>(object));
}

HRESULT NamespaceFolder::CompareIDs(LPARAM, LPCITEMIDLIST id1, LPCITEMIDLIST id2)
{
    if (!id1 || !id2) return E_INVALIDARG;
    const auto* a = reinterpret_cast<const BYTE*>(id1);
    const auto* b = reinterpret_cast<const BYTE*>(id2);
    // Entry by entry; a list that ends first comes first.
    while (true) {
        const WORD cbA = EntrySize(a), cbB = EntrySize(b);
        if (cbA == 0 || cbB == 0) return compareResult(cbA == cbB ? 0 : cbA == 0 ? -1 : 1);
        if (!IsValidEntry(a) || !IsValidEntry(b)) return E_INVALIDARG;
        if (const int order = compareEntries(a, b); order != 0) return compareResult(order);
        a += cbA;
        b += cbB;
    }
}

HRESULT NamespaceFolder::GetAttributesOf(UINT cidl, LPCITEMIDLIST* ids, SFGAOF* inOut)
{
    if (!inOut || (cidl > 0 && !ids)) return E_INVALIDARG;
    if (cidl == 0) {
        *inOut &= AttributesOfEntry(nullptr);
        return S_OK;
    }
    SFGAOF common = ~SFGAOF{0};
    for (UINT i = 0; i < cidl; ++i) {
        const BYTE* last = LastEntry(ids[i]);
        if (!last || !IsValidEntry(last)) return E_INVALIDARG;
        common &= AttributesOfEntry(last);
    }
    *inOut &= common;
    return S_OK;
}

HRESULT NamespaceFolder::GetDisplayNameOf(LPCITEMIDLIST id, DWORD flags, STRRET* name)
{
    if (!id || !name) return E_INVALIDARG;
    const BYTE* last = LastEntry(id);
    if (last && !IsValidEntry(last)) return E_INVALIDARG;
    const bool parsing = (flags & SHGDN_FORPARSING) && !(flags & SHGDN_INFOLDER);
    if (parsing) {
        const auto where = Resolve(FAbsolute, id);
        if (!where) return E_INVALIDARG;
        return setWide(name, ParsingName(*where));
    }
    if (!last) {
        setCString(name, FWhere.kind == Location::Desktop ? "Desktop" : "");
        return S_OK;
    }
    switch (KindOf(last)) {
    case DrivesFolderKind: setCString(name, "Computer"); break;
    case HomeKind: setCString(name, userName()); break;
    case DriveKind: setCString(name, driveName(static_cast<char>(last[3]))); break;
    default:
        // Points into the caller's id: no allocation per listed item.
        name->uType = STRRET_OFFSET;
        name->uOffset = static_cast<UINT>(last - reinterpret_cast<const BYTE*>(id)) + kNameOffset;
        break;
    }
    return S_OK;
}

HRESULT BindFolder(const Bytes& prefix, LPCITEMIDLIST relative, IShellFolder** folder)
{
    *folder = nullptr;
    auto where = Resolve(prefix, relative);
    if (!where) return E_INVALIDARG;
    if (where->kind != Location::Desktop && where->kind != Location::DrivesFolder) {
        struct stat status {};
        if (stat(where->posix.c_str(), &status) != 0) {
            const int error = errno;
            if (where->kind == Location::Drive) return HRESULT_FROM_WIN32(ERROR_NOT_READY);
            return error == ENOENT ? HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND)
                                   : StatusFromErrno(error);
        }
        if (!S_ISDIR(status.st_mode)) return HRESULT_FROM_WIN32(ERROR_DIRECTORY);
    }
    Bytes absolute = prefix;
    const Bytes tail = EntriesOf(relative);
    absolute.insert(absolute.end(), tail.begin(), tail.end());
    *folder = new NamespaceFolder(std::move(absolute), std::move(*where));
    return S_OK;
}
