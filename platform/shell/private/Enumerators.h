#pragma once
// Enumerators handed out by EnumObjects: one over ready-made child ids (the
// desktop's and the drives folder's virtual children) and one over a POSIX
// folder read from the kernel (FolderReading.h).

#include "platform/base/MappedBlock.h"
#include "platform/shell/private/CountedObject.h"
#include "platform/shell/private/FolderOrder.h"
#include "platform/shell/private/ItemId.h"

#include <dirent.h>

class EnumeratorBase : public CountedObject<IEnumIDList> {
public:
    EnumeratorBase() : CountedObject(IID_IEnumIDList) {}
    HRESULT Next(ULONG celt, LPITEMIDLIST* ids, ULONG* fetched) override;
    HRESULT Skip(ULONG celt) override;

protected:
    // The next child id (caller owns it); null at the end, or when memory
    // runs out (then *status says so).
    virtual LPITEMIDLIST NextOne(HRESULT* status) = 0;
};

class ListEnumerator final : public EnumeratorBase {
public:
    explicit ListEnumerator(std::vector<ItemId::Bytes> children) : FChildren(std::move(children)) {}
    HRESULT Reset() override;

protected:
    LPITEMIDLIST NextOne(HRESULT* status) override;

private:
    std::vector<ItemId::Bytes> FChildren;
    size_t FNext = 0;
};

// Lists a folder without a stat per entry: the entry's type as the kernel
// reports it decides folder or not, and only entries whose type it does not
// tell, or symbolic links, are stat'ed (a link to a folder is a folder).
//
// The folder is read whole at the first request and its ids handed out in
// the folder's own order: folders first, then names as CompareIDs orders
// them. The order is found on a compact array of keys and the ids are then
// made in that order, so a caller that sorts what it is given finds it in
// order and walks memory front to back while checking.
class FolderEnumerator final : public EnumeratorBase {
public:
    // Takes dir over.
    FolderEnumerator(DIR* dir, DWORD flags) : FDir(dir), FFlags(flags) {}
    // Frees the ids not handed out.
    ~FolderEnumerator() override;
    HRESULT Reset() override;

protected:
    LPITEMIDLIST NextOne(HRESULT* status) override;

private:
    struct Listing;
    void ReadAll();
    // The ids of the sorted listing, into the arena or FIds.
    void MakeIds(const MappedArray<ListedEntry>& listed, const char* names);
    void FreeIds();

    DIR* FDir;
    DWORD FFlags;
    bool FRead = false;
    HRESULT FReadStatus = S_OK;  // a failure while reading, reported after the last id
    // A large folder's ids lie one after another in an arena (IdArena.h),
    // from FNextInArena to FEndInArena those not handed out yet; a small
    // folder's, or any when no arena can be had, are blocks of their own.
    BYTE* FNextInArena = nullptr;
    BYTE* FEndInArena = nullptr;
    std::vector<LPITEMIDLIST> FIds;
    size_t FNext = 0;
};
