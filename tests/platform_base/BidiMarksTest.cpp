#include "platform/base/BidiMarks.h"

#include <gtest/gtest.h>

TEST(BidiMarks, EachControlBecomesItsMarkAndEveryOtherByteStays)
{
    const struct {
        const char* control;
        const char* mark;
    } cases[] = {
        {"\u202A", "\u2039LRE\u203A"}, {"\u202B", "\u2039RLE\u203A"}, {"\u202C", "\u2039PDF\u203A"},
        {"\u202D", "\u2039LRO\u203A"}, {"\u202E", "\u2039RLO\u203A"}, {"\u2066", "\u2039LRI\u203A"},
        {"\u2067", "\u2039RLI\u203A"}, {"\u2068", "\u2039FSI\u203A"}, {"\u2069", "\u2039PDI\u203A"},
        {"\u200E", "\u2039LRM\u203A"}, {"\u200F", "\u2039RLM\u203A"}, {"\u061C", "\u2039ALM\u203A"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(VisibleBidiControls(AnsiString("a") + c.control + "b" + c.control),
                  AnsiString("a") + c.mark + "b" + c.mark);
    }
    // Neighbours of the controls, Arabic and Hebrew letters, and bytes that
    // are not UTF-8 (a lone lead byte before a control included) stay.
    for (const char* kept : {"plain.jpg", "\u202F\u2065\u206A\u200D\u061B\u061D",
                             "\u05D0\u0627.txt", "\xE2\x80", "\xD8", "\xFF\xFE", ""}) {
        EXPECT_EQ(VisibleBidiControls(kept), kept);
    }
    EXPECT_EQ(VisibleBidiControls("\xFF\u202E\xE2"), "\xFF\u2039RLO\u203A\xE2");
}
