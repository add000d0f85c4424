#pragma once
// The order of names in a folder: letters without regard to ASCII case, runs
// of digits by their value ("img2" before "img10"), other bytes (including
// bytes that are not UTF-8) by value. Names are compared through a folded
// form in which a digit run becomes its count of significant digits and those
// digits packed two to a byte. The first 16 bytes of that form, read as two
// big-endian integers, are a name's sort key: an item id carries the first
// half, so most comparisons are one integer compare, and the enumerator
// orders a folder's entries by the whole key.

#include <cstddef>
#include <cstdint>

struct NaturalKey {
    std::uint64_t high = 0;  // folded bytes 0..7
    std::uint64_t low = 0;   // folded bytes 8..15
};
NaturalKey NaturalSortKey(const char* name);
// Orders keys as the names they come from; equal keys decide nothing.
inline bool operator<(const NaturalKey& a, const NaturalKey& b)
{
    return a.high != b.high ? a.high < b.high : a.low < b.low;
}
inline bool operator==(const NaturalKey& a, const NaturalKey& b)
{
    return a.high == b.high && a.low == b.low;
}
// Negative, 0 or positive. Names equal in folded form are ordered by their
// raw bytes, so 0 means byte-equal names.
int CompareNatural(const char* a, const char* b);
