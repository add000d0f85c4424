// The ways from one folder to another: the folder picker, the path box, the
// file list's double-click and keys, and Up One Level.

#include "app/OpenTiming.h"
#include "app/Quillet.h"
#include "platform/toolkit/ComboBox.h"
#include "platform/toolkit/Dialogs.h"
#include "shell/IdList.h"

void TfrmQuillet::tlbtnBrowseClick(TObject*)
{
    AnsiString directory;
    if (SelectDirectory("Select Directory", u"", directory)) OpenFolderPath(directory);
}

void TfrmQuillet::cmbxPathKeyDown(TObject*, WORD& Key, TShiftState)
{
    if (Key != VK_RETURN) return;
    const AnsiString text = cmbxPath->GetText();
    if (text.empty()) return;
    // A drive designator opens the drive's root.
    if (text.back() == ':') cmbxPath->SetText(text + "\\");
    OpenTiming::Started();
    OpenFolderPath(cmbxPath->GetText());
    Key = 0;
    // The next arrow key moves in the folder just opened, not in the history.
    // (A failed open has raised above: the focus stays in the box.)
    (LstViewPicture->Visible() ? LstViewPicture : lstvwVirtualList)->SetFocus();
}

void TfrmQuillet::cmbxPathClick(TObject*)
{
    const AnsiString text = cmbxPath->GetText();
    const int entry = cmbxPath->Items()->IndexOf(text);
    if (entry >= 0)
        OpenFolderId(static_cast<LPITEMIDLIST>(cmbxPath->Items()->GetObject(entry)));
    else
        OpenFolderPath(text);
}

void TfrmQuillet::FocusPathBox(TObject*)
{
    cmbxPath->SetFocus();
    cmbxPath->SetSelStart(0);
    cmbxPath->SetSelLength(static_cast<int>(cmbxPath->GetText().size()));
}

void TfrmQuillet::ReopenFolder(TObject* Sender)
{
    // As choosing the open folder's history entry.
    OpenTiming::Started();
    cmbxPath->SetText(FCurrentPath);
    cmbxPathClick(Sender);
}

void TfrmQuillet::lstvwVirtualListDblClick(TObject*)
{
    TListItem* selected = lstvwVirtualList->GetSelection();
    if (!selected) return;
    LPCITEMIDLIST child = GetShellItem(selected->GetIndex())->ChildId;
    if (!IsFolderItem(FCurrentFolder, child)) return;
    if (LPITEMIDLIST joined = JoinIdLists(FCurrentId, child)) OpenFolderId(joined);
}

void TfrmQuillet::lstvwVirtualListKeyDown(TObject* Sender, WORD& Key, TShiftState)
{
    if (Key == VK_BACK)
        tlbtnUpOneLevelClick(Sender);
    else if (Key == VK_RETURN)
        lstvwVirtualListDblClick(Sender);
}

void TfrmQuillet::tlbtnUpOneLevelClick(TObject*)
{
    LPITEMIDLIST parent = CopyIdList(FCurrentId);
    if (!parent) return;
    StripLastId(parent);
    // The desktop itself is never opened.
    if (IsEmptyIdList(parent)) {
        FreeItemId(parent);
        return;
    }
    OpenFolderId(parent);
}
