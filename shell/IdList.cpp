#include "shell/IdList.h"

#include "platform/shell/ComObj.h"
#include "platform/shell/ComRef.h"

#include <cstring>

namespace {

// Counts may lie at odd addresses: read and write them bytewise.
WORD ReadCount(const void* at)
{
    WORD count;
    std::memcpy(&count, at, sizeof count);
    return count;
}

void WriteTerminator(void* at)
{
    const WORD zero = 0;
    std::memcpy(at, &zero, sizeof zero);
}

}  // namespace

LPITEMIDLIST NextId(LPCITEMIDLIST id)
{
    auto* bytes = reinterpret_cast<const BYTE*>(id);
    return reinterpret_cast<LPITEMIDLIST>(const_cast<BYTE*>(bytes + ReadCount(bytes)));
}

int IdListSize(LPCITEMIDLIST list)
{
    if (!list) return 0;
    int total = 2;
    for (auto* at = reinterpret_cast<const BYTE*>(list); WORD count = ReadCount(at); at += count)
        total += count;
    return total;
}

LPITEMIDLIST StripLastId(LPITEMIDLIST list)
{
    if (!list) return nullptr;
    auto* last = reinterpret_cast<BYTE*>(list);
    for (auto* at = last; WORD count = ReadCount(at); at += count) last = at;
    WriteTerminator(last);
    return reinterpret_cast<LPITEMIDLIST>(last);
}

LPITEMIDLIST AllocIdList(int size)
{
    if (size < 0) return nullptr;
    ComRef<IMalloc> malloc;
    if (FAILED(SHGetMalloc(malloc.put())) || !malloc) return nullptr;
    auto* block = static_cast<BYTE*>(malloc->Alloc(static_cast<size_t>(size)));
    if (!block) return nullptr;
    std::memset(block, 0, static_cast<size_t>(size < 4 ? size : 4));
    return reinterpret_cast<LPITEMIDLIST>(block);
}

LPITEMIDLIST CopyIdList(LPCITEMIDLIST list)
{
    if (!list) return nullptr;
    const int size = IdListSize(list);
    LPITEMIDLIST copy = AllocIdList(size);
    if (copy) std::memcpy(copy, list, static_cast<size_t>(size));
    return copy;
}

LPITEMIDLIST JoinIdLists(LPCITEMIDLIST parent, LPCITEMIDLIST child)
{
    const int parentLength = parent ? IdListSize(parent) - 2 : 0;
    const int childLength = child ? IdListSize(child) : 2;
    LPITEMIDLIST joined = AllocIdList(parentLength + childLength);
    if (!joined) return nullptr;
    auto* bytes = reinterpret_cast<BYTE*>(joined);
    if (parent) std::memcpy(bytes, parent, static_cast<size_t>(parentLength));
    if (child)
        std::memcpy(bytes + parentLength, child, static_cast<size_t>(childLength));
    else
        WriteTerminator(bytes + parentLength);
    return joined;
}

void FreeItemId(LPITEMIDLIST list)
{
    if (!list) return;
    ComRef<IMalloc> malloc;
    OleCheck(SHGetMalloc(malloc.put()));
    malloc->Free(list);
}
