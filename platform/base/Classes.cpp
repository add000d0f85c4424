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

namespace {

constexpr size_t kRun = 16;    // sorted by insertion first
constexpr size_t kWays = 256;  // runs merged at once

// Merges up to kWays sorted runs of width items from from[left..right) into
// to, through a tournament tree: each item costs log2(kWays) comparisons and
// the heads being compared stay in cache, while every item's own data is
// fetched once per pass. With items scattered in memory (list rows sorted by
// name) that fetch is the cost, so few wide passes beat many narrow ones.
void mergeRuns(void* const* from, void** to, size_t left, size_t right, size_t width,
               TListSortCompare compare)
{
    size_t next[kWays], end[kWays];
    size_t runs = 0;
    for (size_t start = left; start < right; start += width, ++runs) {
        next[runs] = start;
        end[runs] = std::min(right, start + width);
    }
    constexpr size_t kNone = kWays;
    size_t tree[2 * kWays];
    const auto better = [&](size_t x, size_t y) {
        if (x == kNone) return y;
        if (y == kNone) return x;
        return compare(from[next[y]], from[next[x]]) < 0 ? y : x;
    };
    for (size_t i = 0; i < kWays; ++i) tree[kWays + i] = i < runs ? i : kNone;
    for (size_t node = kWays - 1; node >= 1; --node)
        tree[node] = better(tree[2 * node], tree[2 * node + 1]);
    for (size_t k = left; k < right; ++k) {
        const size_t winner = tree[1];
        to[k] = from[next[winner]++];
        if (next[winner] == end[winner]) {
            tree[kWays + winner] = kNone;
        } else if (next[winner] + 1 < end[winner]) {
            // The item after the new head is compared only once the head is
            // taken, usually many items later: fetch it meanwhile. A hint
            // only, harmless for values that are not addresses.
            __builtin_prefetch(from[next[winner] + 1]);
        }
        for (size_t node = (kWays + winner) / 2; node >= 1; node /= 2)
            tree[node] = better(tree[2 * node], tree[2 * node + 1]);
    }
}

}  // namespace

// A merge sort that only ever reads inside its bounds, so a compare function
// that is not a consistent order (a shell answering oddly) cannot make it run
// off the list; it also makes fewer comparisons than a quicksort.
void TList::Sort(TListSortCompare compare)
{
    const size_t n = FItems.size();
    if (!compare || n < 2) return;
    // A list already in order (a folder its enumerator sorted) costs one pass.
    size_t ordered = 1;
    while (ordered < n && compare(FItems[ordered], FItems[ordered - 1]) >= 0) ++ordered;
    if (ordered == n) return;
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
    if (n <= kRun) return;
    std::vector<void*, MappedAllocator<void*>> buffer(n);
    void** from = FItems.data();
    void** to = buffer.data();
    for (size_t width = kRun; width < n; width *= kWays) {
        for (size_t left = 0; left < n; left += width * kWays)
            mergeRuns(from, to, left, std::min(n, left + width * kWays), width, compare);
        std::swap(from, to);
    }
    if (from != FItems.data()) FItems.swap(buffer);
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
