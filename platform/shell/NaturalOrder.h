#pragma once
// The order of names in a folder: letters without regard to ASCII case, runs
// of digits by their value ("img2" before "img10"), other bytes (including
// bytes that are not UTF-8) by value. Names are compared through a folded
// form in which a digit run becomes its count of significant digits and those
// digits packed two to a byte; the first 8 bytes of that form, big-endian,
// are the sort key an item id carries, so most comparisons are one integer
// compare.

#include <cstddef>
#include <cstdint>

std::uint64_t NaturalSortKey(const char* name);
// Negative, 0 or positive. Names equal in folded form are ordered by their
// raw bytes, so 0 means byte-equal names.
int CompareNatural(const char* a, const char* b);
