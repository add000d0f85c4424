#include "shell/ShellItem.h"

#include "app/Quillet.h"
#include "platform/base/BlockPool.h"
#include "platform/shell/ComObj.h"
#include "platform/shell/ComRef.h"
#include "shell/IdList.h"

#include <cstring>
#include <type_traits>

PShellItem::~PShellItem()
{
    // The window's ClearItemList frees the lists first and reports a failure;
    // a record destroyed otherwise (a fill cut short, which raises already)
    // frees them here. A destructor must not throw, so an allocator that
    // cannot be had leaves them unfreed.
    try {
        FreeItemId(ChildId);
        FreeItemId(AbsoluteId);
    } catch (const Exception&) {
    }
}

namespace {

// Never destroyed: records may be freed by static destructors.
BlockPool& recordPool()
{
    static BlockPool* const pool = new BlockPool(sizeof(PShellItem), alignof(PShellItem));
    return *pool;
}

}  // namespace

void* PShellItem::operator new(size_t)
{
    return recordPool().Allocate();
}

void PShellItem::operator delete(void* record)
{
    recordPool().Free(record);
}

namespace {

// Raises EOleSysError when the allocator cannot be had; the text is then not freed.
void FreeShellString(LPOLESTR text)
{
    ComRef<IMalloc> malloc;
    OleCheck(SHGetMalloc(malloc.put()));
    malloc->Free(text);
}

// Text is AnsiString or PackedString: a name the folder hands out inside the
// id goes straight into the first and is borrowed by the second.
template <class Text>
Text displayName(IShellFolder* folder, LPCITEMIDLIST id, bool forParsing)
{
    // Only what a folder that answers nothing would leave is cleared: zeroing
    // the whole answer (260 bytes of room for a name) cost more than the
    // rest of making a record.
    STRRET name;
    name.uType = ~0u;
    name.pOleStr = nullptr;
    if (FAILED(folder->GetDisplayNameOf(id, forParsing ? SHGDN_FORPARSING : SHGDN_NORMAL, &name)))
        return {};
    switch (name.uType) {
    case STRRET_WSTR: {
        if (!name.pOleStr) return {};
        Text text(WideCharToString(name.pOleStr));
        FreeShellString(name.pOleStr);
        return text;
    }
    case STRRET_OFFSET:
        if constexpr (std::is_same_v<Text, PackedString>)
            return PackedString::Borrowing(reinterpret_cast<const char*>(id) + name.uOffset);
        else
            return Text(reinterpret_cast<const char*>(id) + name.uOffset);
    case STRRET_CSTR:
        return Text(std::string_view(name.cStr, strnlen(name.cStr, sizeof name.cStr)));
    default: return {};
    }
}

}  // namespace

AnsiString ItemDisplayName(IShellFolder* folder, LPCITEMIDLIST id, bool forParsing)
{
    return displayName<AnsiString>(folder, id, forParsing);
}

PackedString PackedDisplayName(IShellFolder* folder, LPCITEMIDLIST id, bool forParsing)
{
    return displayName<PackedString>(folder, id, forParsing);
}

bool IsFolderItem(IShellFolder* folder, LPCITEMIDLIST id)
{
    SFGAOF attributes = SFGAO_FOLDER;
    folder->GetAttributesOf(1, &id, &attributes);
    return (attributes & SFGAO_FOLDER) != 0;
}

int CompareShellItems(void* first, void* second)
{
    const HRESULT status = frmQuillet->FCurrentFolder->CompareIDs(
        0, static_cast<PShellItem*>(first)->ChildId, static_cast<PShellItem*>(second)->ChildId);
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(status & 0xFFFF));
}
