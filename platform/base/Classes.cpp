#include "platform/base/Classes.h"

#include <algorithm>

namespace {
[[noreturn]] void indexError(int index)
{
    throw EListError(Format("List index out of bounds (%d)", index));
}
}  // namespace

int TList::Add(void* item)
{
    FItems.push_back(item);
    return static_cast<int>(FItems.size()) - 1;
}

void TList::Clear()
{
    FItems.clear();
    FItems.shrink_to_fit();
}

void* TList::Get(int index) const
{
    if (index < 0 || index >= GetCount()) indexError(index);
    return FItems[static_cast<size_t>(index)];
}

void TList::Put(int index, void* item)
{
    if (index < 0 || index >= GetCount()) indexError(index);
    FItems[static_cast<size_t>(index)] = item;
}

// A merge sort that only ever reads inside its bounds, so a compare function
// that is not a consistent order (a shell answering oddly) cannot make it run
// off the list; it also makes fewer comparisons than a quicksort.
void TList::Sort(TListSortCompare compare)
{
    const size_t n = FItems.size();
    if (!compare || n < 2) return;
    constexpr size_t kRun = 16;
    for (size_t start = 0; start < n; start += kRun) {
        const size_t end = std::min(n, start + kRun);
        for (size_t i = start + 1; i < end; ++i) {
            void* item = FItems[i];
            size_t j = i;
            while (j > start && compare(item, FItems[j - 1]) < 0) {
                FItems[j] = FItems[j - 1];
                --j;
            }
            FItems[j] = item;
        }
    }
    std::vector<void*> buffer(n);
    std::vector<void*>* from = &FItems;
    std::vector<void*>* to = &buffer;
    for (size_t width = kRun; width < n; width *= 2) {
        for (size_t left = 0; left < n; left += 2 * width) {
            const size_t mid = std::min(n, left + width);
            const size_t right = std::min(n, left + 2 * width);
            size_t a = left, b = mid, k = left;
            while (a < mid && b < right)
                (*to)[k++] = compare((*from)[b], (*from)[a]) < 0 ? (*from)[b++] : (*from)[a++];
            while (a < mid) (*to)[k++] = (*from)[a++];
            while (b < right) (*to)[k++] = (*from)[b++];
        }
        std::swap(from, to);
    }
    if (from != &FItems) FItems.swap(buffer);
}

int TStrings::AddObject(const AnsiString& text, void* object)
{
    const int index = GetCount();
    InsertObject(index, text, object);
    return index;
}

int TStrings::IndexOf(const AnsiString& text) const
{
    const int count = GetCount();
    for (int i = 0; i < count; ++i)
        if (Get(i) == text) return i;
    return -1;
}

AnsiString TStringList::Get(int index) const
{
    if (index < 0 || index >= GetCount()) indexError(index);
    return FItems[static_cast<size_t>(index)].text;
}

void* TStringList::GetObject(int index) const
{
    if (index < 0 || index >= GetCount()) indexError(index);
    return FItems[static_cast<size_t>(index)].object;
}

void TStringList::InsertObject(int index, const AnsiString& text, void* object)
{
    if (index < 0 || index > GetCount()) indexError(index);
    FItems.insert(FItems.begin() + index, Entry{text, object});
}

void TStringList::Delete(int index)
{
    if (index < 0 || index >= GetCount()) indexError(index);
    FItems.erase(FItems.begin() + index);
}
