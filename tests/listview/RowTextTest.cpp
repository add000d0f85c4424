#include "listview/RowText.h"

#include <gtest/gtest.h>

// The letters keep the order R H S A whatever else is set; other bits give none.
TEST(RowText, AttributeLettersInFixedOrder)
{
    const struct {
        DWORD bits;
        const char* letters;
    } cases[] = {
        {0x0, ""},
        {0x1, "R"},
        {0x2, "H"},
        {0x4, "S"},
        {0x20, "A"},
        {0x20 | 0x1, "RA"},
        {0x4 | 0x2, "HS"},
        {0x1 | 0x2 | 0x4 | 0x20, "RHSA"},
        {0x10, ""},                // directory
        {0x800, ""},               // compressed
        {0x100 | 0x80 | 0x8, ""},  // temporary, normal, volume
        {0xFFFFFFFF, "RHSA"},
        {0x10 | 0x2, "H"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(AttributeLetters(c.bits), c.letters) << std::hex << c.bits;
}

// Units of 1000 bytes, truncated, never 0; the whole 64-bit size counts and
// the result is clamped to the signed 32-bit range.
TEST(RowText, SizeKBFromBothWords)
{
    const struct {
        DWORD high;
        DWORD low;
        int kb;
    } cases[] = {
        {0, 0, 1},
        {0, 999, 1},
        {0, 1000, 1},
        {0, 1999, 1},
        {0, 2000, 2},
        {0, 12345, 12},
        {0, 0xFFFFFFFF, 4294967},
        {1, 0, 4294967},  // 4 GiB exactly: not the low word's 0
        {1, 1000, 4294968},
        {499, 0xFFFFFFFF, 2147483647},  // 2 147 483 647 999 bytes: the last that fits
        {500, 0, 2147483647},           // past it: clamped
        {0xFFFFFFFF, 0xFFFFFFFF, 2147483647},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SizeKBFromFindData(c.high, c.low), c.kb) << c.high << ":" << c.low;
    }
}

TEST(RowText, FileTimeTextEmptyForTimesWithoutADate)
{
    EXPECT_EQ(FileTimeText(FILETIME{0, 0}), "");
    // Year 30828: no date-time value can hold it.
    EXPECT_EQ(FileTimeText(FILETIME{0xFFFFFFFF, 0x7FFFFFFF}), "");
    // A zero low half alone is a real time.
    EXPECT_NE(FileTimeText(FILETIME{0, 0x01D00000}), "");
}
