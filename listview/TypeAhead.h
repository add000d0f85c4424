#pragma once
// Type-ahead search over the rows' names: the first row, from a start row
// onward, whose name begins with the typed text, letters a-z compared
// without regard to case and every other byte exactly.

#include "platform/base/SysUtils.h"
#include "platform/toolkit/ListView.h"

#include <functional>
#include <string_view>

// nameAt(i) for 0 <= i < count must return a view of a stored name.
using RowNameAccessor = std::function<std::string_view(int index)>;

// Whether name begins with prefix, folding only a-z to A-Z in both.
bool StartsWithFolded(std::string_view name, std::string_view prefix);

// The index of the first matching row, testing start..count-1 and then, when
// wrap is set, 0..start-1; -1 for no match. Only the partial- and exact-string
// kinds are served (alike: both are prefix tests); the others, an empty text
// and an empty list give -1. A start outside 0..count-1 searches from row 0
// when wrap is set and gives -1 otherwise; no name outside the rows is read.
int FindItemByPrefix(TItemFind kind, const AnsiString& text, int start, bool wrap, int count,
                     const RowNameAccessor& nameAt);
