#pragma once
// The order of names in a folder: letters without regard to ASCII case, runs
// of digits by their value ("img2" before "img10"), other bytes (including
// bytes that are not UTF-8) by value. Names are compared through a folded
// form in which a digit run becomes its count of significant digits and those
// digits packed two to a byte. The first 16 bytes of that form, read as two
// big-endian integers, are a name's sort key: an item id carries the first
// half, so most comparisons are one integer compare. The enumerator orders a
// folder's entries by keys taken further into the folded form, past what the
// names share (NaturalKeyAt).

#include <cstddef>
#include <cstdint>

struct NaturalKey {
    std::uint64_t high = 0;  // folded bytes 0..7
    std::uint64_t low = 0;   // folded bytes 8..15
};
NaturalKey NaturalSortKey(const char* name);
// 16 bytes read as a key, the first the most significant.
NaturalKey NaturalKeyOfBytes(const unsigned char* bytes);
// Orders keys as the names they come from; equal keys decide nothing.
inline bool operator<(const NaturalKey& a, const NaturalKey& b)
{
    return a.high != b.high ? a.high < b.high : a.low < b.low;
}
inline bool operator==(const NaturalKey& a, const NaturalKey& b)
{
    return a.high == b.high && a.low == b.low;
}
// Folded forms are cut at this length; names of up to 400 bytes never reach it.
constexpr size_t kNaturalFoldLimit = 640;
// Writes at most limit bytes of name's folded form to out; returns the count.
// The bytes written are the start of the whole folded form.
size_t FoldNatural(const char* name, unsigned char* out, size_t limit);
// The 16 folded bytes from offset depth on, as a key (zero past the end),
// and how many of them the folded form fills: 0 to 16 when it ends within
// them, kGoesOn when it goes on. For names whose folded forms agree before
// depth, differing keys order them as CompareNatural does; of names with
// equal keys, one that ends comes before one that goes on, and of two that
// end the one filling fewer bytes comes first; two that fill the same are
// equal but for their raw bytes.
constexpr unsigned kGoesOn = 17;
NaturalKey NaturalKeyAt(const char* name, size_t depth, unsigned* filled);

// Whether the length bytes at a and at b are the same but for the case of
// ASCII letters, so that names made of them fold alike. Reads those bytes
// and no others.
bool FoldsAlike(const char* a, const char* b, size_t length);

// Negative, 0 or positive. Names equal in folded form are ordered by their
// raw bytes, so 0 means byte-equal names.
int CompareNatural(const char* a, const char* b);
// The same, for names of which readableA and readableB bytes may be read
// (each name's zero lies at or before its last readable byte): a long shared
// beginning is passed over eight bytes at a time, and so are letters that
// differ only in case.
int CompareNatural(const char* a, size_t readableA, const char* b, size_t readableB);
