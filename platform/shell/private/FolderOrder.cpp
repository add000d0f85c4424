#include "platform/shell/private/FolderOrder.h"

#include "platform/shell/private/BothAtOnce.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace {

using Listed = ListedEntry;

// What a sort call may do with its second thread: share is set while this
// call is the only one running, so no more than two threads ever sort.
struct Sorting {
    const char* names;
    std::ptrdiff_t sharedFrom;
    bool share;

    Sorting alone() const { return {names, sharedFrom, false}; }
    bool splits(const Listed* first, const Listed* last) const
    {
        return share && last - first >= sharedFrom;
    }
};

// Calls each(from, to, sorting) on two halves of [first, last) at once when
// the range is large enough to share, else once on the whole range.
template <class Each>
void overHalves(Listed* first, Listed* last, const Sorting& sorting, Each each)
{
    if (!sorting.splits(first, last)) {
        each(first, last, sorting);
        return;
    }
    Listed* middle = first + (last - first) / 2;
    BothAtOnce([&] { each(first, middle, sorting.alone()); },
               [&] { each(middle, last, sorting.alone()); });
}

// A function object, not a function, so that std::sort inlines the compare.
constexpr auto byKey = [](const Listed& a, const Listed& b) { return a.key < b.key; };

// Byte at (0 the most significant) of key.
unsigned keyByte(const NaturalKey& key, int at)
{
    const std::uint64_t half = at < 8 ? key.high : key.low;
    return static_cast<unsigned>(half >> (56 - 8 * (at & 7))) & 0xFF;
}

// Sorts [first, last) by key: a radix sort on the keys' bytes, from the first
// byte in which they differ, that leaves small groups to std::sort. A large
// sort over the whole array misses the cache at every step; the groups fit.
void sortByKey(Listed* first, Listed* last)
{
    constexpr std::ptrdiff_t kSmall = 128;
    if (last - first < kSmall) {
        std::sort(first, last, byKey);
        return;
    }
    // The bits that differ among the keys; none when they are all equal.
    std::uint64_t allHigh = ~std::uint64_t{0}, anyHigh = 0, allLow = ~std::uint64_t{0}, anyLow = 0;
    for (const Listed* entry = first; entry != last; ++entry) {
        allHigh &= entry->key.high;
        anyHigh |= entry->key.high;
        allLow &= entry->key.low;
        anyLow |= entry->key.low;
    }
    const std::uint64_t high = allHigh ^ anyHigh;
    const std::uint64_t low = allLow ^ anyLow;
    if (high == 0 && low == 0) return;
    const int at = high ? __builtin_clzll(high) / 8 : 8 + __builtin_clzll(low) / 8;

    std::ptrdiff_t count[256] = {};
    for (const Listed* entry = first; entry != last; ++entry) ++count[keyByte(entry->key, at)];
    // Each entry is moved straight into the room of its byte's group.
    Listed* next[256];
    Listed* end[256];
    Listed* room = first;
    for (unsigned byte = 0; byte < 256; ++byte) {
        next[byte] = room;
        room += count[byte];
        end[byte] = room;
    }
    for (unsigned byte = 0; byte < 256; ++byte) {
        while (next[byte] != end[byte]) {
            Listed moving = *next[byte];
            unsigned home = keyByte(moving.key, at);
            while (home != byte) {
                std::swap(moving, *next[home]++);
                home = keyByte(moving.key, at);
            }
            *next[byte]++ = moving;
        }
    }
    room = first;
    for (unsigned byte = 0; byte < 256; ++byte) {
        if (count[byte] > 1) sortByKey(room, room + count[byte]);
        room += count[byte];
    }
}

// Sorts [lower, upper) and the rest of [first, last) by key, each alone or
// both at once.
void sortAround(Listed* first, Listed* lower, Listed* upper, Listed* last, const Sorting& sorting)
{
    if (sorting.splits(first, last))
        BothAtOnce([&] { sortByKey(first, lower); }, [&] { sortByKey(upper, last); });
    else {
        sortByKey(first, lower);
        sortByKey(upper, last);
    }
}

// Sorts [first, last) by key. Names in real folders mostly share a beginning,
// so one key often holds most of a group: then the others are moved to either
// side of it and sorted alone, and the big run keeps its names in the order
// they lie in memory for the passes that follow. A group to be shared is cut
// at a key from its middle the same way, and its sides sorted at once.
void sortKeys(Listed* first, Listed* last, const Sorting& sorting)
{
    // The key held by more than half of the entries, if one is.
    const Listed* candidate = first;
    std::ptrdiff_t votes = 0;
    for (const Listed* entry = first; entry != last; ++entry) {
        if (votes == 0) candidate = entry;
        votes += entry->key == candidate->key ? 1 : -1;
    }
    NaturalKey cut = candidate->key;
    const auto held = std::count_if(first, last, [&](const Listed& e) { return e.key == cut; });
    if (held == last - first) return;
    if (held * 2 <= last - first) {
        if (!sorting.splits(first, last)) {
            sortByKey(first, last);
            return;
        }
        // The middle key of a sample spread over the group.
        constexpr std::ptrdiff_t kSample = 63;
        NaturalKey sample[kSample];
        const std::ptrdiff_t step = (last - first) / kSample;
        for (std::ptrdiff_t i = 0; i < kSample; ++i) sample[i] = first[i * step].key;
        std::nth_element(sample, sample + kSample / 2, sample + kSample);
        cut = sample[kSample / 2];
    }
    Listed* lower = std::partition(first, last, [&](const Listed& e) { return e.key < cut; });
    Listed* upper = std::partition(lower, last, [&](const Listed& e) { return e.key == cut; });
    sortAround(first, lower, upper, last, sorting);
}

// The end of the run of equal keys that starts at run.
Listed* runEnd(Listed* run, Listed* last)
{
    Listed* end = run + 1;
    while (end != last && end->key == run->key) ++end;
    return end;
}

// Calls each(run, end, sorting) for every run of equal keys in [first, last),
// which is sorted by key. A range to be shared is cut at the edge of a run
// near its middle and its halves done at once; when one run holds nearly all
// of it, that run may share its own work instead.
template <class Each>
void forEachRun(Listed* first, Listed* last, const Sorting& sorting, Each each)
{
    Listed* cut = nullptr;
    if (sorting.splits(first, last)) {
        Listed* middle = first + (last - first) / 2;
        Listed* start = middle;
        while (start != first && (start - 1)->key == middle->key) --start;
        Listed* end = runEnd(middle, last);
        cut = middle - start < end - middle ? start : end;
        const std::ptrdiff_t least = (last - first) / 8;
        if (cut - first < least || last - cut < least) cut = nullptr;
    }
    if (!cut) {
        for (Listed* run = first; run != last;) {
            Listed* end = runEnd(run, last);
            each(run, end, sorting);
            run = end;
        }
        return;
    }
    const Sorting alone = sorting.alone();
    BothAtOnce([&] { forEachRun(first, cut, alone, each); },
               [&] { forEachRun(cut, last, alone, each); });
}

// How far the names of [first, last), which agree byte for byte up to from,
// go on agreeing. A large group is compared in two halves at once, each
// against the group's first name.
size_t sharedBytes(Listed* first, Listed* last, size_t from, const Sorting& sorting)
{
    const char* names = sorting.names;
    const char* base = names + first->offset;
    size_t half[2] = {first->length, first->length};
    overHalves(first, last, sorting, [&](Listed* begin, Listed* end, const Sorting&) {
        size_t& shared = half[begin != first];
        for (const Listed* entry = begin; entry != end && shared > from; ++entry) {
            FetchNameAhead(entry, end, names);
            const char* name = names + entry->offset;
            size_t same = from;
            while (same < shared && name[same] == base[same]) ++same;
            shared = same;
        }
    });
    return std::min(half[0], half[1]);
}

// The 16 raw bytes of name from depth on, zero past its end (a name holds no
// zero), and whether the name goes on past them.
NaturalKey rawKeyAt(const char* name, size_t length, size_t depth, bool* goesOn)
{
    unsigned char bytes[16] = {};
    if (depth < length) std::memcpy(bytes, name + depth, std::min<size_t>(16, length - depth));
    *goesOn = length > depth + 16;
    return NaturalKeyOfBytes(bytes);
}

// Puts [first, last) in the order of their raw bytes; they agree up to depth.
// The same radix sort as by name, for names whose folded forms are equal and
// which only their bytes tell apart (the same words in other cases).
void sortByBytes(Listed* first, Listed* last, size_t depth, const Sorting& sorting)
{
    if (last - first < 2) return;
    const char* names = sorting.names;
    depth = sharedBytes(first, last, depth, sorting);
    overHalves(first, last, sorting, [&](Listed* from, Listed* to, const Sorting&) {
        for (Listed* entry = from; entry != to; ++entry) {
            FetchNameAhead(entry, to, names);
            bool goesOn = false;
            entry->key = rawKeyAt(names + entry->offset, entry->length, depth, &goesOn);
            entry->filled = goesOn ? kGoesOn : 0;
        }
    });
    sortKeys(first, last, sorting);
    forEachRun(first, last, sorting, [depth](Listed* run, Listed* end, const Sorting& within) {
        // Of equal keys, a name that ends there is the shorter; two that end
        // are the same name.
        Listed* going =
            std::partition(run, end, [](const Listed& e) { return e.filled != kGoesOn; });
        sortByBytes(going, end, depth + 16, within);
    });
}

// What every name of a group shares: raw bytes up to a point where no digit
// run is cut, the folded bytes they make, and how far the folded forms agree.
struct Shared {
    size_t raw = 0;      // the names agree byte for byte this far
    size_t folded = 0;   // the folded length of those bytes
    size_t agreed = 0;   // the folded forms agree this far (at least folded)
    bool alike = false;  // every name folds to the same form
};

// The group [first, last) shares its folded forms up to depth. The raw bytes
// are compared first, so a long common prefix costs a byte compare and only
// what follows it is folded. A large group is folded in two halves at once.
Shared sharedPrefix(Listed* first, Listed* last, size_t depth, const Sorting& sorting)
{
    const char* names = sorting.names;
    const char* base = names + first->offset;
    size_t raw = sharedBytes(first, last, 0, sorting);
    while (raw > 0 && base[raw - 1] >= '0' && base[raw - 1] <= '9') --raw;

    Shared shared;
    shared.raw = raw;
    unsigned char folded[kNaturalFoldLimit];
    if (raw > 0) {
        const std::string head(base, raw);
        shared.folded = FoldNatural(head.c_str(), folded, sizeof folded);
    }
    // From there on the folded forms, from the raw bytes' end.
    unsigned char rest[kNaturalFoldLimit];
    const size_t start = std::max(depth, shared.folded) - shared.folded;
    const size_t restLength = FoldNatural(base + raw, rest, sizeof rest);
    // One byte past the base's form tells a name that goes on from one that
    // folds alike; forms that reach the cut are never called alike.
    struct Agreement {
        size_t agreed;
        bool alike;
    };
    const Agreement whole{restLength, shared.folded + restLength + 1 < kNaturalFoldLimit};
    Agreement half[2] = {whole, whole};
    overHalves(first, last, sorting, [&](Listed* begin, Listed* end, const Sorting&) {
        Agreement& mine = half[begin != first];
        unsigned char other[kNaturalFoldLimit];
        for (const Listed* entry = begin; entry != end && mine.agreed > start; ++entry) {
            FetchNameAhead(entry, end, names);
            const size_t limit = std::min(mine.agreed + 1, sizeof other);
            const size_t length = FoldNatural(names + entry->offset + raw, other, limit);
            size_t same = start;
            while (same < std::min(length, mine.agreed) && other[same] == rest[same]) ++same;
            mine.alike = mine.alike && length == restLength && same == restLength;
            mine.agreed = same;
        }
    });
    const size_t agreed = std::min(half[0].agreed, half[1].agreed);
    shared.agreed = shared.folded + std::max(agreed, start);
    shared.alike = half[0].alike && half[1].alike && agreed == restLength;
    return shared;
}

// Puts [first, last) in name order; their folded names agree up to depth,
// and their keys were taken there when keysAtDepth holds. An MSD radix sort
// with 16-byte digits: keys are sorted, runs of equal keys go one digit
// deeper, and a group first skips whatever all of its names share, so the
// cost does not grow with the length of a common prefix.
void sortByName(Listed* first, Listed* last, size_t depth, bool keysAtDepth, const Sorting& sorting)
{
    if (last - first < 2) return;
    const char* names = sorting.names;
    // Past the cut of the folded forms only the full comparison decides.
    if (depth + 17 > kNaturalFoldLimit) {
        std::sort(first, last, [names](const Listed& a, const Listed& b) {
            return CompareNatural(names + a.offset, names + b.offset) < 0;
        });
        return;
    }
    if (!keysAtDepth) {
        const Shared shared = sharedPrefix(first, last, depth, sorting);
        // The same words in other cases, or digits with other leading zeros.
        if (shared.alike) {
            sortByBytes(first, last, 0, sorting);
            return;
        }
        depth = shared.agreed;
        // The names fold alike up to their shared raw bytes, so each key is
        // taken from what follows them.
        overHalves(first, last, sorting, [&](Listed* from, Listed* to, const Sorting&) {
            for (Listed* entry = from; entry != to; ++entry) {
                FetchNameAhead(entry, to, names);
                unsigned filled = 0;
                entry->key = NaturalKeyAt(names + entry->offset + shared.raw, depth - shared.folded,
                                          &filled);
                entry->filled = static_cast<std::uint8_t>(filled);
            }
        });
    }
    sortKeys(first, last, sorting);
    forEachRun(first, last, sorting, [depth](Listed* run, Listed* end, const Sorting& within) {
        if (end - run < 2) return;
        // Of equal keys, names that end there come first, shorter folded
        // forms before longer; equal forms go by their raw bytes.
        Listed* going =
            std::partition(run, end, [](const Listed& e) { return e.filled != kGoesOn; });
        std::sort(run, going, [](const Listed& a, const Listed& b) { return a.filled < b.filled; });
        for (Listed* same = run; same != going;) {
            Listed* next = same + 1;
            while (next != going && next->filled == same->filled) ++next;
            sortByBytes(same, next, 0, within.alone());
            same = next;
        }
        sortByName(going, end, depth + 16, false, within);
    });
}

}  // namespace

ListedEntry ListName(const char* name, size_t length, std::uint32_t offset, bool folder)
{
    unsigned filled = 0;
    const NaturalKey key = NaturalKeyAt(name, 0, &filled);
    return ListedEntry{key,    key.high,
                       offset, static_cast<std::uint16_t>(length),
                       folder, static_cast<std::uint8_t>(filled)};
}

void SortListed(ListedEntry* first, ListedEntry* last, const char* names, std::ptrdiff_t sharedFrom)
{
    const Sorting sorting{names, std::max<std::ptrdiff_t>(sharedFrom, 2), true};
    Listed* files = std::partition(first, last, [](const Listed& e) { return e.folder; });
    // The larger side, usually the files, gets the second thread.
    const bool moreFolders = files - first > last - files;
    sortByName(first, files, 0, true, moreFolders ? sorting : sorting.alone());
    sortByName(files, last, 0, true, moreFolders ? sorting.alone() : sorting);
}
