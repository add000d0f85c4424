// Lazy loading of the row details: icon, type name, size, date, attributes.
// They cost shell and file-system calls, so they are loaded once per record,
// only for the rows the list is about to show.

#include "app/Quillet.h"
#include "listview/ItemIconIndex.h"
#include "listview/RowText.h"
#include "platform/base/Classes.h"
#include "shell/IdList.h"

#include <cstring>

void TfrmQuillet::lstvwVirtualListDataHint(TObject*, int StartIndex, int EndIndex)
{
    // A range that is not wholly inside the records is ignored as a whole.
    const int count = FShellItems->GetCount();
    if (StartIndex < 0 || StartIndex >= count || EndIndex >= count) return;
    LoadItemDetails(StartIndex, EndIndex);
}

void TfrmQuillet::LoadItemDetails(int StartIndex, int EndIndex)
{
    // A wide counter, so an end index at the top of the int range cannot overflow.
    for (long long i = StartIndex; i <= EndIndex; ++i) {
        PShellItem* record = GetShellItem(static_cast<int>(i));
        if (!record->NeedsDetails) continue;

        // A load cut short by an exception left its list in the record; the
        // join would give the same list, so it is kept rather than leaked.
        if (!record->AbsoluteId) record->AbsoluteId = JoinIdLists(FCurrentId, record->ChildId);
        if (record->AbsoluteId) {
            record->IconIndex =
                ItemIconIndex(record->AbsoluteId, lstvwVirtualList->ViewStyle() == vsIcon, false);
            SHFILEINFOA info{};
            SHGetFileInfoA(reinterpret_cast<LPCSTR>(record->AbsoluteId), 0, &info, sizeof info,
                           SHGFI_TYPENAME | SHGFI_PIDL);
            // Bounded: a type name that fills the block has no terminator.
            record->TypeText.assign(info.szTypeName,
                                    strnlen(info.szTypeName, sizeof info.szTypeName));
        }

        WIN32_FIND_DATAA found{};
        SHGetDataFromIDListA(FCurrentFolder, record->ChildId, SHGDFIL_FINDDATA, &found,
                             sizeof found);
        record->SizeKB = SizeKBFromFindData(found.nFileSizeHigh, found.nFileSizeLow);
        record->DateText = FileTimeText(found.ftLastWriteTime);
        record->Attributes = found.dwFileAttributes;
        // Last: a record is complete once this is cleared.
        record->NeedsDetails = false;
    }
}
