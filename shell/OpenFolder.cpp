// Opening a folder: binding it, enumerating its items into the records, and
// keeping the path box's history with the item id lists it owns.

#include "app/OpenTiming.h"
#include "app/Quillet.h"
#include "platform/base/MappedBlock.h"
#include "platform/base/Messages.h"
#include "platform/shell/ComObj.h"
#include "platform/shell/ComRef.h"
#include "platform/toolkit/ComboBox.h"
#include "shell/IdList.h"

#include <algorithm>
#include <memory>
#include <utility>
#include <vector>

namespace {

// Records made between two looks at the window's messages during a fill: a
// few milliseconds of work, so that a close is seen at once.
constexpr int kRecordsBetweenMessages = 16384;

// Puts the screen cursor back however the enumeration ends.
class CursorRestorer {
public:
    CursorRestorer() : FSaved(Screen->Cursor()) {}
    ~CursorRestorer() { Screen->SetCursor(FSaved); }
    CursorRestorer(const CursorRestorer&) = delete;
    CursorRestorer& operator=(const CursorRestorer&) = delete;

private:
    TCursor FSaved;
};

// Ends the list's update however the open ends.
class UpdateBracket {
public:
    explicit UpdateBracket(TListItems* items) : FItems(items) { FItems->BeginUpdate(); }
    ~UpdateBracket() { FItems->EndUpdate(); }
    UpdateBracket(const UpdateBracket&) = delete;
    UpdateBracket& operator=(const UpdateBracket&) = delete;

private:
    TListItems* FItems;
};

// Destroys every record of records and empties it. The lists are freed here,
// where a failure can reach the user, not by the records' destructors, which
// cannot report. The allocator is had once for all of them (a million
// records are freed in one pass): when it cannot be had this raises before
// any list is freed, and every record keeps its lists.
void freeRecords(TList& records)
{
    const int count = records.GetCount();
    if (count == 0) return;
    ComRef<IMalloc> malloc;
    OleCheck(SHGetMalloc(malloc.put()));
    for (int i = 0; i < count; ++i) {
        auto* record = static_cast<PShellItem*>(records.Get(i));
        malloc->Free(record->ChildId);
        record->ChildId = nullptr;
        record->Name = PackedString();  // it may have referred to the list
        malloc->Free(record->AbsoluteId);
        record->AbsoluteId = nullptr;
        delete record;
    }
    records.Clear();
}

// Deletes the records a list still holds when it goes (with their lists):
// the new records of a fill that raises.
class RecordsHeld {
public:
    explicit RecordsHeld(TList& records) : FRecords(records) {}
    ~RecordsHeld()
    {
        for (int i = 0; i < FRecords.GetCount(); ++i)
            delete static_cast<PShellItem*>(FRecords.Get(i));
    }
    RecordsHeld(const RecordsHeld&) = delete;
    RecordsHeld& operator=(const RecordsHeld&) = delete;

private:
    TList& FRecords;
};

}  // namespace

void TfrmQuillet::OpenFolderPath(const AnsiString& path)
{
    LPOLESTR wide = StringToOleStr(path);
    ULONG eaten = 0;
    ULONG attributes = 0;
    LPITEMIDLIST id = nullptr;
    const HRESULT status = FDesktopFolder->ParseDisplayName(Application->Handle(), nullptr, wide,
                                                            &eaten, &id, &attributes);
    SysFreeString(wide);
    OleCheck(status);
    OpenFolderId(id);
}

bool TfrmQuillet::IsHistoryList(LPCITEMIDLIST id) const
{
    return std::any_of(FHistoryIds.begin(), FHistoryIds.end(),
                       [id](const OwnedIdList& held) { return held.get() == id; });
}

void TfrmQuillet::OpenFolderId(LPITEMIDLIST id)
{
    // A new list is this open's own until it succeeds, and is freed when it
    // fails; a list the window already holds (a history entry's, or
    // FCurrentId itself) stays where it is.
    OwnedIdList taken(id == FCurrentId || IsHistoryList(id) ? nullptr : id);

    // An open gives lists back: the records it replaces, the list FCurrentId
    // held. Without the allocator they would be lost, so the open is refused
    // before anything changes.
    {
        ComRef<IMalloc> malloc;
        OleCheck(SHGetMalloc(malloc.put()));
    }

    ComRef<IShellFolder> folder;
    OleCheck(FDesktopFolder->BindToObject(id, nullptr, IID_IShellFolder, folder.putVoid()));
    // Named before the open folder changes: nothing after the fill can fail
    // half-way through the new state.
    const AnsiString path = ItemDisplayName(FDesktopFolder, id, true);

    UpdateBracket update(lstvwVirtualList->Items());
    FillItemList(folder.get());
    folder.release();  // FillItemList made it the open folder

    OwnedIdList replaced;  // stays empty when the history holds the old list
    if (id != FCurrentId) {
        replaced = std::exchange(FOwnedCurrentId, std::move(taken));
        FCurrentId = id;
    }
    FCurrentPath = path;
    const int entry = cmbxPath->Items()->IndexOf(FCurrentPath);
    if (entry < 0) {
        FHistoryIds.reserve(FHistoryIds.size() + 1);
        cmbxPath->Items()->InsertObject(0, FCurrentPath, FCurrentId);
        // The history owns the list from now on, unless an entry holds it already.
        if (FOwnedCurrentId) FHistoryIds.push_back(std::move(FOwnedCurrentId));
        cmbxPath->SetText(FCurrentPath);
    } else {
        cmbxPath->SetItemIndex(entry);
        cmbxPath->SetText(FCurrentPath);
    }

    if (lstvwVirtualList->Items()->GetCount() > 0) {
        lstvwVirtualList->SetSelection(lstvwVirtualList->Items()->GetItem(0));
        if (TListItem* selected = lstvwVirtualList->GetSelection()) {
            selected->SetState(isFocused, true);
            selected->MakeVisible(false);
        }
    }
    OpenTiming::Opened(lstvwVirtualList);
    // Last: if it raises, the new folder is already complete.
    replaced.Free();
}

PShellItem* TfrmQuillet::GetShellItem(int index)
{
    return static_cast<PShellItem*>(FShellItems->Get(index));
}

void TfrmQuillet::FillItemList(IShellFolder* folder)
{
    CursorRestorer cursor;
    Screen->SetCursor(crHourGlass);
    // The listing's pages, freed once its ids are made, become the records
    // and their list; what is left of them goes back when the fill ends.
    const RecyclingPages recycling;

    IEnumIDList* enumerated = nullptr;
    const HRESULT status = folder->EnumObjects(
        Application->Handle(), SHCONTF_FOLDERS | SHCONTF_NONFOLDERS | SHCONTF_INCLUDEHIDDEN,
        &enumerated);
    ComRef<IEnumIDList> enumerator(enumerated);
    OleCheck(status);

    // The new records are made before anything of the open folder changes, so
    // a fill that raises leaves the folder, its records and the rows as they
    // were, and the caller keeps its reference on folder. They are made into
    // the list they are sorted in, which deletes whatever it still holds when
    // the fill ends: nothing once they are the rows.
    TList sorted;
    const RecordsHeld held(sorted);
    if (enumerator) {
        LPITEMIDLIST id = nullptr;
        ULONG fetched = 0;
        while (enumerator->Next(1, &id, &fetched) == S_OK) {
            OwnedIdList child(id);
            // A large folder takes a while: the window repaints meanwhile,
            // and a close ends the open here, with nothing changed.
            if (sorted.GetCount() % kRecordsBetweenMessages == kRecordsBetweenMessages - 1) {
                ProcessMessagesHoldingInput();
                if (Application->Terminated()) Abort();
            }
            auto item = std::make_unique<PShellItem>();
            item->ChildId = child.release();
            item->Name = PackedDisplayName(folder, item->ChildId, false);
            item->NeedsDetails = true;
            sorted.Add(item.get());
            static_cast<void>(item.release());
        }
    }
    enumerator.reset();
    // The program is ending: the new folder is of no use any more.
    if (Application->Terminated()) Abort();

    // The new records are sorted and shown as the rows before the old ones
    // are freed. The sort takes memory (a merge buffer), and so may the row
    // count; if either runs out, or the old records cannot be freed, the old
    // folder, its records and its rows are put back and the fill raises
    // having changed nothing, so the open fails as a whole.
    IShellFolder* const previousFolder = FCurrentFolder;
    const int previousRows = lstvwVirtualList->Items()->GetCount();
    FCurrentFolder = folder;  // CompareShellItems asks the open folder
    bool swapped = false;
    try {
        sorted.Sort(CompareShellItems);
        FShellItems->Swap(sorted);
        swapped = true;
        lstvwVirtualList->Items()->SetCount(FShellItems->GetCount());
        freeRecords(sorted);
    } catch (...) {
        FCurrentFolder = previousFolder;
        if (swapped) {
            FShellItems->Swap(sorted);
            lstvwVirtualList->Items()->SetCount(previousRows);
        }
        throw;
    }

    // Nothing below can fail. The caller's reference on folder passes to the
    // window here; the records belong to FShellItems.
    if (previousFolder) previousFolder->Release();
    lstvwVirtualList->Repaint();
}

void TfrmQuillet::ClearItemList()
{
    freeRecords(*FShellItems);
}

void TfrmQuillet::ReleaseFolderIds()
{
    // The entries point at the lists: they go first.
    cmbxPath->Items()->Clear();
    FCurrentId = nullptr;
    FOwnedCurrentId.Free();
    for (OwnedIdList& list : FHistoryIds) list.Free();
    FHistoryIds.clear();
}
