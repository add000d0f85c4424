#include "platform/shell/private/FolderOrder.h"

#include "platform/shell/private/BothAtOnce.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

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

// A group this small is sorted by std::sort alone.
constexpr std::ptrdiff_t kSmallGroup = 128;

// Where the keys of a group can differ: the first (most significant) eight
// bits that are not the same in all of them, or fewer when fewer differ. A
// group's keys are sorted by these bits first; names often differ in only a
// few bits of a byte (a letter's case, a digit, the count of a digit run),
// so a byte would split them into few groups, where these bits split them
// into as many as they hold.
struct Digit {
    int bits = 0;
    int at[8] = {};  // bit positions from the key's top, 0 to 127
    // When the bits lie side by side in one half of the key (a whole byte
    // differs, say), that half shifted right by this much ends in them.
    int shift = -1;

    unsigned of(const NaturalKey& key) const
    {
        if (shift >= 0)
            return static_cast<unsigned>((at[0] < 64 ? key.high : key.low) >> shift) &
                   ((1u << bits) - 1);
        unsigned digit = 0;
        for (int i = 0; i < bits; ++i) {
            const int bit = at[i];
            const std::uint64_t half = bit < 64 ? key.high : key.low;
            digit = digit << 1 | static_cast<unsigned>(half >> (63 - (bit & 63)) & 1);
        }
        return digit;
    }
};

// The digit of [first, last), which hold at least two keys; no bits when
// the keys are all equal.
Digit digitOf(const Listed* first, const Listed* last)
{
    std::uint64_t allHigh = ~std::uint64_t{0}, anyHigh = 0, allLow = ~std::uint64_t{0}, anyLow = 0;
    for (const Listed* entry = first; entry != last; ++entry) {
        allHigh &= entry->key.high;
        anyHigh |= entry->key.high;
        allLow &= entry->key.low;
        anyLow |= entry->key.low;
    }
    std::uint64_t differ[2] = {allHigh ^ anyHigh, allLow ^ anyLow};
    Digit digit;
    for (int half = 0; half < 2 && digit.bits < 8; ++half) {
        while (differ[half] != 0 && digit.bits < 8) {
            const int top = __builtin_clzll(differ[half]);
            digit.at[digit.bits++] = 64 * half + top;
            differ[half] &= ~(std::uint64_t{1} << (63 - top));
        }
    }
    if (digit.bits == 0) return digit;
    const int lastBit = digit.at[digit.bits - 1];
    if (lastBit - digit.at[0] == digit.bits - 1 && lastBit / 64 == digit.at[0] / 64)
        digit.shift = 63 - (lastBit & 63);
    return digit;
}

// Sorts [first, last) by key, digits holding a byte for each entry: a radix
// sort on the digits of the keys (Digit), which leaves small groups to
// std::sort. A large sort over the whole array misses the cache at every
// step; the groups fit.
void sortByDigits(Listed* first, Listed* last, unsigned char* digits)
{
    if (last - first < kSmallGroup) {
        std::sort(first, last, byKey);
        return;
    }
    const Digit digit = digitOf(first, last);
    if (digit.bits == 0) return;
    const std::ptrdiff_t n = last - first;
    std::ptrdiff_t count[256] = {};
    for (std::ptrdiff_t i = 0; i < n; ++i) {
        digits[i] = static_cast<unsigned char>(digit.of(first[i].key));
        ++count[digits[i]];
    }
    // Each entry is moved straight into the room of its digit.
    std::ptrdiff_t next[256];
    std::ptrdiff_t end[256];
    std::ptrdiff_t room = 0;
    for (unsigned value = 0; value < 256; ++value) {
        next[value] = room;
        room += count[value];
        end[value] = room;
    }
    for (unsigned value = 0; value < 256; ++value) {
        while (next[value] != end[value]) {
            const std::ptrdiff_t at = next[value];
            const unsigned home = digits[at];
            if (home == value) {
                ++next[value];
                continue;
            }
            const std::ptrdiff_t to = next[home]++;
            std::swap(first[at], first[to]);
            std::swap(digits[at], digits[to]);
        }
    }
    room = 0;
    for (unsigned value = 0; value < 256; ++value) {
        if (count[value] > 1)
            sortByDigits(first + room, first + room + count[value], digits + room);
        room += count[value];
    }
}

// Sorts [first, last) by key.
void sortByKey(Listed* first, Listed* last)
{
    if (last - first < kSmallGroup) {
        std::sort(first, last, byKey);
        return;
    }
    std::vector<unsigned char> digits(static_cast<size_t>(last - first));
    sortByDigits(first, last, digits.data());
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
            // Small runs are too short to fetch their own names ahead: the
            // names of the runs that follow are fetched meanwhile. A large
            // run fetches its own.
            for (const Listed* entry = run; entry != end && entry - run < kFetchAhead; ++entry)
                FetchNameAhead(entry, last, sorting.names);
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
        // A group whose first name is a byte prefix of the others agrees on
        // nothing past it, but is alike only if every name ends there too:
        // the walk goes on while either is still open.
        for (const Listed* entry = begin; entry != end && (mine.agreed > start || mine.alike);
             ++entry) {
            FetchNameAhead(entry, end, names);
            // A name the same as the first but for case folds as it does
            // (and leaves the agreement as it is): that is told a word at a
            // time, without folding it.
            if (entry->length == first->length &&
                FoldsAlike(names + entry->offset + raw, base + raw, first->length - raw))
                continue;
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
