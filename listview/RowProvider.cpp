// The file list's rows: each answer is built afresh from the record, so a
// record whose details load later shows them at the next request.

#include "app/Quillet.h"
#include "listview/RowText.h"
#include "platform/base/BidiMarks.h"
#include "platform/base/Classes.h"

void TfrmQuillet::lstvwVirtualListData(TObject*, TListItem* Item)
{
    // The list may still hold the previous folder's count while records are
    // being replaced; such rows stay blank.
    if (Item->Index >= FShellItems->GetCount()) return;
    const PShellItem* record = GetShellItem(Item->Index);
    // Shown as it is: the record keeps the name's bytes for everything else.
    Item->Caption = VisibleBidiControls(record->Name);
    Item->ImageIndex = record->IconIndex;
    if (lstvwVirtualList->ViewStyle() != vsReport) return;

    // The folder test is put to the shell on every request, never stored.
    const bool folder = IsFolderItem(FCurrentFolder, record->ChildId);
    Item->SubItems->Add(folder ? AnsiString() : SizeText(record->SizeKB));
    Item->SubItems->Add(record->TypeText);
    Item->SubItems->Add(record->DateText);
    Item->SubItems->Add(AttributeLetters(record->Attributes));
}

void TfrmQuillet::lstvwVirtualListCustomDrawItem(TCustomListView*, TListItem* Item,
                                                 TCustomDrawState, bool&)
{
    DWORD attributes = 0;
    if (Item) attributes = GetShellItem(Item->Index)->Attributes;
    TFont* font = lstvwVirtualList->Canvas()->Font;
    if (attributes & FILE_ATTRIBUTE_READONLY) font->Color = clGrayText;
    if (attributes & FILE_ATTRIBUTE_HIDDEN) font->Style |= fsStrikeOut;
    // Last, so a read-only system item is drawn as a system one.
    if (attributes & FILE_ATTRIBUTE_SYSTEM) font->Color = clHighlight;
}

void TfrmQuillet::lstvwVirtualListCustomDrawSubItem(TCustomListView*, TListItem*, int SubItem,
                                                    TCustomDrawState, bool&)
{
    // Only the name column carries the attribute colour; the others are
    // drawn in the window-text colour as it is right now.
    if (SubItem != 0) {
        lstvwVirtualList->Canvas()->Font->Color =
            static_cast<TColor>(GetSysColor(COLOR_WINDOWTEXT));
    }
}

void TfrmQuillet::lstvwVirtualListClick(TObject*)
{
    // Selection is the list's own business.
}
