#include "platform/shell/private/Enumerators.h"

#include "platform/shell/private/ShellInternals.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <new>
#include <string>
#include <sys/stat.h>

HRESULT EnumeratorBase::Next(ULONG celt, LPITEMIDLIST* ids, ULONG* fetched)
{
    if (fetched) *fetched = 0;
    if (!ids || (celt > 1 && !fetched)) return E_INVALIDARG;
    ULONG count = 0;
    HRESULT status = S_OK;
    while (count < celt) {
        LPITEMIDLIST id = NextOne(&status);
        if (!id) break;
        ids[count++] = id;
    }
    if (fetched) *fetched = count;
    if (FAILED(status) && count == 0) return status;
    return count == celt ? S_OK : S_FALSE;
}

HRESULT EnumeratorBase::Skip(ULONG celt)
{
    for (ULONG i = 0; i < celt; ++i) {
        HRESULT status = S_OK;
        LPITEMIDLIST id = NextOne(&status);
        if (!id) return FAILED(status) ? status : S_FALSE;
        ShellFree(id);
    }
    return S_OK;
}

HRESULT ListEnumerator::Reset()
{
    FNext = 0;
    return S_OK;
}

LPITEMIDLIST ListEnumerator::NextOne(HRESULT* status)
{
    if (FNext >= FChildren.size()) return nullptr;
    LPITEMIDLIST id = ItemId::NewList(FChildren[FNext]);
    if (!id) {
        *status = E_OUTOFMEMORY;
        return nullptr;
    }
    ++FNext;
    return id;
}

FolderEnumerator::~FolderEnumerator()
{
    FreeIds();
    closedir(FDir);
}

void FolderEnumerator::FreeIds()
{
    for (size_t i = FNext; i < FIds.size(); ++i) ShellFree(FIds[i]);
    FIds.clear();
    FNext = 0;
}

HRESULT FolderEnumerator::Reset()
{
    FreeIds();
    FRead = false;
    FReadStatus = S_OK;
    rewinddir(FDir);
    return S_OK;
}

namespace {

// One listed entry while the folder is read: its key and where its name lies
// in the block of names.
struct Listed {
    NaturalKey key;
    std::uint64_t idKey;  // the first half of the name's first key, for its id
    std::uint32_t offset;
    std::uint16_t length;
    bool folder;
    std::uint8_t filled;  // of the key's bytes, as NaturalKeyAt tells (or kGoesOn)
};

bool byKey(const Listed& a, const Listed& b)
{
    return a.key < b.key;
}

// Sorts [first, last) by key. Names in real folders mostly share a beginning,
// so one key often holds most of a group: then the others are moved to either
// side of it and sorted alone, and the big run keeps its names in the order
// they lie in memory for the passes that follow.
void sortKeys(Listed* first, Listed* last)
{
    // The key held by more than half of the entries, if one is.
    const Listed* candidate = first;
    std::ptrdiff_t votes = 0;
    for (const Listed* entry = first; entry != last; ++entry) {
        if (votes == 0) candidate = entry;
        votes += entry->key == candidate->key ? 1 : -1;
    }
    const NaturalKey common = candidate->key;
    const auto held = std::count_if(first, last, [&](const Listed& e) { return e.key == common; });
    if (held * 2 <= last - first) {
        std::sort(first, last, byKey);
        return;
    }
    Listed* lower = std::partition(first, last, [&](const Listed& e) { return e.key < common; });
    Listed* upper = std::partition(lower, last, [&](const Listed& e) { return e.key == common; });
    std::sort(first, lower, byKey);
    std::sort(upper, last, byKey);
}

// After a sort the entries' names lie all over the block of names: each pass
// over them fetches the name a few entries ahead.
inline void fetchAhead(const Listed* entry, const Listed* last, const char* names)
{
    constexpr std::ptrdiff_t kAhead = 16;
    if (last - entry > kAhead) __builtin_prefetch(names + entry[kAhead].offset);
}

// How far the names of [first, last), which agree byte for byte up to from,
// go on agreeing.
size_t sharedBytes(const Listed* first, const Listed* last, const char* names, size_t from)
{
    const char* base = names + first->offset;
    size_t shared = first->length;
    for (const Listed* entry = first + 1; entry != last && shared > from; ++entry) {
        fetchAhead(entry, last, names);
        const char* name = names + entry->offset;
        size_t same = from;
        while (same < shared && name[same] == base[same]) ++same;
        shared = same;
    }
    return shared;
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
void sortByBytes(Listed* first, Listed* last, const char* names, size_t depth)
{
    if (last - first < 2) return;
    depth = sharedBytes(first, last, names, depth);
    for (Listed* entry = first; entry != last; ++entry) {
        fetchAhead(entry, last, names);
        bool goesOn = false;
        entry->key = rawKeyAt(names + entry->offset, entry->length, depth, &goesOn);
        entry->filled = goesOn ? kGoesOn : 0;
    }
    sortKeys(first, last);
    for (Listed* run = first; run != last;) {
        Listed* end = run + 1;
        while (end != last && end->key == run->key) ++end;
        // Of equal keys, a name that ends there is the shorter; two that end
        // are the same name.
        Listed* going =
            std::partition(run, end, [](const Listed& e) { return e.filled != kGoesOn; });
        sortByBytes(going, end, names, depth + 16);
        run = end;
    }
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
// what follows it is folded.
Shared sharedPrefix(const Listed* first, const Listed* last, const char* names, size_t depth)
{
    const char* base = names + first->offset;
    size_t raw = sharedBytes(first, last, names, 0);
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
    unsigned char other[kNaturalFoldLimit];
    const size_t from = std::max(depth, shared.folded) - shared.folded;
    const size_t restLength = FoldNatural(base + raw, rest, sizeof rest);
    // One byte past the base's form tells a name that goes on from one that
    // folds alike; forms that reach the cut are never called alike.
    bool alike = shared.folded + restLength + 1 < kNaturalFoldLimit;
    size_t agreed = restLength;
    for (const Listed* entry = first + 1; entry != last && agreed > from; ++entry) {
        fetchAhead(entry, last, names);
        const size_t limit = std::min(agreed + 1, sizeof other);
        const size_t length = FoldNatural(names + entry->offset + raw, other, limit);
        size_t same = from;
        while (same < std::min(length, agreed) && other[same] == rest[same]) ++same;
        alike = alike && length == restLength && same == restLength;
        agreed = same;
    }
    shared.agreed = shared.folded + std::max(agreed, from);
    shared.alike = alike && agreed == restLength;
    return shared;
}

// Puts [first, last) in name order; their folded names agree up to depth,
// and their keys were taken there when keysAtDepth holds. An MSD radix sort
// with 16-byte digits: keys are sorted, runs of equal keys go one digit
// deeper, and a group first skips whatever all of its names share, so the
// cost does not grow with the length of a common prefix.
void sortByName(Listed* first, Listed* last, const char* names, size_t depth, bool keysAtDepth)
{
    if (last - first < 2) return;
    // Past the cut of the folded forms only the full comparison decides.
    if (depth + 17 > kNaturalFoldLimit) {
        std::sort(first, last, [names](const Listed& a, const Listed& b) {
            return CompareNatural(names + a.offset, names + b.offset) < 0;
        });
        return;
    }
    if (!keysAtDepth) {
        const Shared shared = sharedPrefix(first, last, names, depth);
        // The same words in other cases, or digits with other leading zeros.
        if (shared.alike) {
            sortByBytes(first, last, names, 0);
            return;
        }
        depth = shared.agreed;
        // The names fold alike up to their shared raw bytes, so each key is
        // taken from what follows them.
        for (Listed* entry = first; entry != last; ++entry) {
            fetchAhead(entry, last, names);
            unsigned filled = 0;
            entry->key =
                NaturalKeyAt(names + entry->offset + shared.raw, depth - shared.folded, &filled);
            entry->filled = static_cast<std::uint8_t>(filled);
        }
    }
    sortKeys(first, last);
    for (Listed* run = first; run != last;) {
        Listed* end = run + 1;
        while (end != last && end->key == run->key) ++end;
        if (end - run > 1) {
            // Of equal keys, names that end there come first, shorter folded
            // forms before longer; equal forms go by their raw bytes.
            Listed* going =
                std::partition(run, end, [](const Listed& e) { return e.filled != kGoesOn; });
            std::sort(run, going,
                      [](const Listed& a, const Listed& b) { return a.filled < b.filled; });
            for (Listed* same = run; same != going;) {
                Listed* next = same + 1;
                while (next != going && next->filled == same->filled) ++next;
                sortByBytes(same, next, names, 0);
                same = next;
            }
            sortByName(going, end, names, depth + 16, false);
        }
        run = end;
    }
}

}  // namespace

void FolderEnumerator::ReadAll()
{
    FRead = true;
    std::vector<Listed> listed;
    std::string names;
    try {
        while (dirent* entry = readdir(FDir)) {
            const char* name = entry->d_name;
            if (name[0] == '.') {
                if (name[1] == 0 || (name[1] == '.' && name[2] == 0)) continue;
                if (!(FFlags & SHCONTF_INCLUDEHIDDEN)) continue;
            }
            bool folder = entry->d_type == DT_DIR;
            if (entry->d_type == DT_UNKNOWN || entry->d_type == DT_LNK) {
                struct stat status {};
                folder = fstatat(dirfd(FDir), name, &status, 0) == 0 && S_ISDIR(status.st_mode);
            }
            if (!(FFlags & (folder ? SHCONTF_FOLDERS : SHCONTF_NONFOLDERS))) continue;
            const size_t length = std::strlen(name);
            if (names.size() + length >= UINT32_MAX) {
                FReadStatus = E_OUTOFMEMORY;
                break;
            }
            // The first keys are taken while the name is at hand.
            unsigned filled = 0;
            const NaturalKey key = NaturalKeyAt(name, 0, &filled);
            listed.push_back(Listed{key, key.high, static_cast<std::uint32_t>(names.size()),
                                    static_cast<std::uint16_t>(length), folder,
                                    static_cast<std::uint8_t>(filled)});
            names.append(name, length + 1);
        }
        // Folders first.
        Listed* files = std::partition(listed.data(), listed.data() + listed.size(),
                                       [](const Listed& e) { return e.folder; });
        sortByName(listed.data(), files, names.data(), 0, true);
        sortByName(files, listed.data() + listed.size(), names.data(), 0, true);
        FIds.reserve(listed.size());
    } catch (const std::bad_alloc&) {
        FReadStatus = E_OUTOFMEMORY;
        return;
    }
    const Listed* end = listed.data() + listed.size();
    for (const Listed* at = listed.data(); at != end; ++at) {
        fetchAhead(at, end, names.data());
        const Listed& entry = *at;
        LPITEMIDLIST id = ItemId::NewEntryList(names.data() + entry.offset, entry.length,
                                               entry.folder, entry.idKey);
        if (!id) {
            FReadStatus = E_OUTOFMEMORY;
            break;
        }
        FIds.push_back(id);
    }
}

LPITEMIDLIST FolderEnumerator::NextOne(HRESULT* status)
{
    if (!FRead) ReadAll();
    if (FNext == FIds.size()) {
        *status = FReadStatus;
        return nullptr;
    }
    return FIds[FNext++];
}
