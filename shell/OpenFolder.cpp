// Opening a folder: binding it, enumerating its items into the records, and
// keeping the path box's history with the item id lists it owns.

#include "app/Quillet.h"
#include "platform/shell/ComObj.h"
#include "platform/shell/ComRef.h"
#include "platform/toolkit/ComboBox.h"
#include "shell/IdList.h"

#include <memory>
#include <vector>

namespace {

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
    TStrings* history = cmbxPath->Items();
    for (int i = 0; i < history->GetCount(); ++i)
        if (history->GetObject(i) == id) return true;
    return false;
}

bool TfrmQuillet::HistoryOwnsCurrentId() const
{
    return FCurrentId && IsHistoryList(FCurrentId);
}

void TfrmQuillet::OpenFolderId(LPITEMIDLIST id)
{
    // A new list is released when the open fails; a history entry's list
    // stays with the history.
    const bool fromHistory = IsHistoryList(id);
    ComRef<IShellFolder> folder;
    const HRESULT bound =
        FDesktopFolder->BindToObject(id, nullptr, IID_IShellFolder, folder.putVoid());
    if (FAILED(bound)) {
        if (!fromHistory) FreeItemId(id);
        OleCheck(bound);
    }

    UpdateBracket update(lstvwVirtualList->Items());
    try {
        FillItemList(folder.get());
    } catch (...) {
        if (FCurrentFolder == folder.get()) folder.release();
        if (!fromHistory) FreeItemId(id);
        throw;
    }
    folder.release();  // FillItemList made it the open folder

    LPITEMIDLIST previous = FCurrentId;
    const bool previousOwnedByHistory = HistoryOwnsCurrentId();
    FCurrentId = id;
    if (previous && previous != id && !previousOwnedByHistory) FreeItemId(previous);

    FCurrentPath = ItemDisplayName(FDesktopFolder, FCurrentId, true);
    const int entry = cmbxPath->Items()->IndexOf(FCurrentPath);
    if (entry < 0) {
        cmbxPath->Items()->InsertObject(0, FCurrentPath, FCurrentId);
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
}

PShellItem* TfrmQuillet::GetShellItem(int index)
{
    return static_cast<PShellItem*>(FShellItems->Get(index));
}

void TfrmQuillet::FillItemList(IShellFolder* folder)
{
    CursorRestorer cursor;
    Screen->SetCursor(crHourGlass);

    IEnumIDList* enumerated = nullptr;
    const HRESULT status = folder->EnumObjects(
        Application->Handle(), SHCONTF_FOLDERS | SHCONTF_NONFOLDERS | SHCONTF_INCLUDEHIDDEN,
        &enumerated);
    ComRef<IEnumIDList> enumerator(enumerated);
    OleCheck(status);

    // The caller's reference on folder passes to the window here.
    if (FCurrentFolder) FCurrentFolder->Release();
    FCurrentFolder = folder;

    ClearItemList();
    if (enumerator) {
        LPITEMIDLIST id = nullptr;
        ULONG fetched = 0;
        while (enumerator->Next(1, &id, &fetched) == S_OK) {
            auto item = std::make_unique<PShellItem>();
            item->ChildId = id;
            item->Name = ItemDisplayName(FCurrentFolder, id, false);
            item->NeedsDetails = true;
            FShellItems->Add(item.get());
            item.release();
        }
    }
    enumerator.reset();

    FShellItems->Sort(CompareShellItems);
    lstvwVirtualList->Items()->SetCount(FShellItems->GetCount());
    lstvwVirtualList->Repaint();
}

void TfrmQuillet::ClearItemList()
{
    for (int i = 0; i < FShellItems->GetCount(); ++i) delete GetShellItem(i);
    FShellItems->Clear();
}

void TfrmQuillet::ReleaseFolderIds()
{
    // Lists are shared between the history and FCurrentId; free each once.
    std::vector<LPITEMIDLIST> owned;
    TStrings* history = cmbxPath->Items();
    for (int i = 0; i < history->GetCount(); ++i)
        owned.push_back(static_cast<LPITEMIDLIST>(history->GetObject(i)));
    if (FCurrentId && !HistoryOwnsCurrentId()) owned.push_back(FCurrentId);
    history->Clear();
    FCurrentId = nullptr;
    for (LPITEMIDLIST id : owned) FreeItemId(id);
}
