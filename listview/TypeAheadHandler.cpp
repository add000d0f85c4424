// The file list's find request, answered from the records' names alone.

#include "app/Quillet.h"
#include "listview/TypeAhead.h"
#include "platform/base/Classes.h"

void TfrmQuillet::lstvwVirtualListDataFind(TObject*, TItemFind Find, const AnsiString& FindString,
                                           const TPoint&, void*, int StartIndex, TSearchDirection,
                                           bool Wrap, int& Index)
{
    const int found =
        FindItemByPrefix(Find, FindString, StartIndex, Wrap, FShellItems->GetCount(),
                         [this](int i) -> std::string_view { return GetShellItem(i)->Name; });
    // No match leaves the index as the list passed it in.
    if (found >= 0) Index = found;
}
