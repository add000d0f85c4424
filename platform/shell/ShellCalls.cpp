#include "platform/base/FileAttributes.h"
#include "platform/shell/private/NamespaceFolder.h"
#include "platform/shell/private/ShellInternals.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>

HRESULT SHGetDesktopFolder(IShellFolder** folder)
{
    if (!folder) return E_INVALIDARG;
    *folder = new NamespaceFolder({}, ItemId::Location{});
    return S_OK;
}

HRESULT SHGetSpecialFolderLocation(HWND, int folder, LPITEMIDLIST* id)
{
    if (!id) return E_INVALIDARG;
    *id = nullptr;
    ItemId::Bytes entries;
    switch (folder) {
    case CSIDL_DESKTOP: break;
    case CSIDL_DRIVES: ItemId::AppendDrivesFolder(entries); break;
    case CSIDL_PROFILE: ItemId::AppendHome(entries); break;
    default: return E_INVALIDARG;
    }
    *id = ItemId::NewList(entries);
    return *id ? S_OK : E_OUTOFMEMORY;
}

HRESULT SHGetDataFromIDListA(IShellFolder* folder, LPCITEMIDLIST id, int format, void* data,
                             int dataSize)
{
    CountQuery();
    auto* own = dynamic_cast<NamespaceFolder*>(folder);
    if (!own || !id || !data || format != SHGDFIL_FINDDATA ||
        dataSize < static_cast<int>(sizeof(WIN32_FIND_DATAA)))
        return E_INVALIDARG;
    struct stat status {};
    std::optional<ItemId::Location> where;
    const char* name = own->ChildEntryName(id);
    const int folderDescriptor = name ? own->Descriptor() : -1;
    if (folderDescriptor >= 0) {
        // An entry of the folder itself, the row of a list: found from the
        // folder, not by a walk down the whole path.
        if (fstatat(folderDescriptor, name, &status, 0) != 0 &&
            fstatat(folderDescriptor, name, &status, AT_SYMLINK_NOFOLLOW) != 0)
            return StatusFromErrno(errno);
    } else {
        where = ItemId::Resolve(own->Absolute(), id);
        // Only file-system entries have find data; drives and virtual folders do not.
        if (!where || where->kind != ItemId::Location::Entry) return E_INVALIDARG;
        if (stat(where->posix.c_str(), &status) != 0 && lstat(where->posix.c_str(), &status) != 0)
            return StatusFromErrno(errno);
        name = where->elements.back().c_str();
    }
    WIN32_FIND_DATAA found{};
    found.dwFileAttributes = PosixFileAttributes(status, name);
    found.ftLastWriteTime = PosixToFileTime(status.st_mtim.tv_sec, status.st_mtim.tv_nsec);
    found.ftLastAccessTime = PosixToFileTime(status.st_atim.tv_sec, status.st_atim.tv_nsec);
    found.ftCreationTime = found.ftLastWriteTime;
    const auto size =
        S_ISDIR(status.st_mode) ? 0ull : static_cast<unsigned long long>(status.st_size);
    found.nFileSizeHigh = static_cast<DWORD>(size >> 32);
    found.nFileSizeLow = static_cast<DWORD>(size);
    const size_t length = strnlen(name, sizeof found.cFileName - 1);
    std::memcpy(found.cFileName, name, length);
    std::memcpy(data, &found, sizeof found);
    return S_OK;
}
