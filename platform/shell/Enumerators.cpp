#include "platform/shell/Enumerators.h"

#include "platform/shell/ShellInternals.h"

#include <cstring>
#include <sys/stat.h>

EnumeratorBase::EnumeratorBase() { CountObject(1); }  // the creator's reference
EnumeratorBase::~EnumeratorBase() = default;

HRESULT EnumeratorBase::QueryInterface(REFIID riid, void** object)
{
    if (!object) return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_IEnumIDList) {
        *object = static_cast<IEnumIDList*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG EnumeratorBase::AddRef()
{
    CountObject(1);
    return ++FRefs;
}

ULONG EnumeratorBase::Release()
{
    CountObject(-1);
    const ULONG left = --FRefs;
    if (left == 0) delete this;
    return left;
}

HRESULT EnumeratorBase::Next(ULONG celt, LPITEMIDLIST* ids, ULONG* fetched)
{
    if (fetched) *fetched = 0;
    if (!ids || (celt > 1 && !fetched)) return E_INVALIDARG;
    ULONG count = 0;
    HRESULT status = S_OK;
    while (count < celt) {
        LPITEMIDLIST id = NextOne(&status);
        if (!id) break;
        ids[count++] = id;
    }
    if (fetched) *fetched = count;
    if (FAILED(status) && count == 0) return status;
    return count == celt ? S_OK : S_FALSE;
}

HRESULT EnumeratorBase::Skip(ULONG celt)
{
    for (ULONG i = 0; i < celt; ++i) {
        HRESULT status = S_OK;
        LPITEMIDLIST id = NextOne(&status);
        if (!id) return FAILED(status) ? status : S_FALSE;
        ShellFree(id);
    }
    return S_OK;
}

HRESULT ListEnumerator::Reset()
{
    FNext = 0;
    return S_OK;
}

LPITEMIDLIST ListEnumerator::NextOne(HRESULT* status)
{
    if (FNext >= FChildren.size()) return nullptr;
    LPITEMIDLIST id = ItemId::NewList(FChildren[FNext]);
    if (!id) {
        *status = E_OUTOFMEMORY;
        return nullptr;
    }
    ++FNext;
    return id;
}

FolderEnumerator::~FolderEnumerator() { closedir(FDir); }

HRESULT FolderEnumerator::Reset()
{
    rewinddir(FDir);
    return S_OK;
}

LPITEMIDLIST FolderEnumerator::NextOne(HRESULT* status)
{
    while (dirent* entry = readdir(FDir)) {
        const char* name = entry->d_name;
        if (name[0] == '.') {
            if (name[1] == 0 || (name[1] == '.' && name[2] == 0)) continue;
            if (!(FFlags & SHCONTF_INCLUDEHIDDEN)) continue;
        }
        bool folder = entry->d_type == DT_DIR;
        if (entry->d_type == DT_UNKNOWN || entry->d_type == DT_LNK) {
            struct stat status {};
            folder = fstatat(dirfd(FDir), name, &status, 0) == 0 && S_ISDIR(status.st_mode);
        }
        if (!(FFlags & (folder ? SHCONTF_FOLDERS : SHCONTF_NONFOLDERS))) continue;
        LPITEMIDLIST id = ItemId::NewEntryList(name, std::strlen(name), folder);
        if (!id) *status = E_OUTOFMEMORY;
        return id;
    }
    return nullptr;
}
