#include "listview/TypeAhead.h"

#include <gtest/gtest.h>

#include <vector>

namespace {
const std::vector<AnsiString> rows = {
    "alpha",              // 0
    "Report.txt",         // 1
    "beta",               // 2
    "REPLY",              // 3
    "\xC3\x89t\xC3\xA9",  // 4: accented capital E, then t, accented small e
    "zeta",               // 5
    "report-final",       // 6
};

int Find(TItemFind kind, const AnsiString& text, int start, bool wrap,
         const std::vector<AnsiString>& names = rows)
{
    return FindItemByPrefix(
        kind, text, start, wrap, static_cast<int>(names.size()),
        [&names](int i) -> const AnsiString& { return names.at(static_cast<size_t>(i)); });
}
}  // namespace

TEST(TypeAhead, SearchOrderAndWrap)
{
    const struct {
        const char* text;
        int start;
        bool wrap;
        int expected;
    } cases[] = {
        {"rep", 0, false, 1},  // any mix of case
        {"rep", 2, false, 3},  // the first from the start wins over earlier matches
        {"rep", 4, false, 6},
        {"rep", 6, false, 6},  // a match in the last row
        {"rep", 6, true, 6},
        {"alp", 6, false, -1},  // without wrap the last row is tested alone
        {"alp", 6, true, 0},    // with wrap the only match lies before the start
        {"bet", 3, true, 2},
        {"zz", 0, true, -1},  // every row tested once, no match
        {"zz", 3, true, -1},
        {"reportx", 0, true, -1},
        {"report.txt.bak", 0, true, -1},  // longer than the name
        {"Report.txt", 0, false, 1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Find(ifPartialString, c.text, c.start, c.wrap), c.expected)
            << c.text << " from " << c.start << (c.wrap ? " wrapping" : "");
    }
}

// The exact-string kind is served by the same prefix test.
TEST(TypeAhead, ExactStringKindMatchesPrefixes)
{
    EXPECT_EQ(Find(ifExactString, "REP", 0, false), 1);
    EXPECT_EQ(Find(ifExactString, "zet", 0, true), 5);
}

TEST(TypeAhead, UnservedKindsAndEmptyInputsFindNothing)
{
    EXPECT_EQ(Find(ifData, "rep", 0, true), -1);
    EXPECT_EQ(Find(ifNearest, "rep", 0, true), -1);
    EXPECT_EQ(Find(ifPartialString, "", 0, true), -1);
    EXPECT_EQ(Find(ifPartialString, "rep", 0, true, {}), -1);
}

// Only a-z fold; every other byte, accented letters included, must be equal.
TEST(TypeAhead, CaseFoldingIsAsciiOnly)
{
    EXPECT_EQ(Find(ifPartialString, "\xC3\x89t", 0, true), 4);
    EXPECT_EQ(Find(ifPartialString, "\xC3\xA9t", 0, true), -1);  // small accented e typed
    EXPECT_TRUE(StartsWithFolded("\xC3\x89T\xC3\xA9", "\xC3\x89t\xC3\xA9"));
    EXPECT_FALSE(StartsWithFolded("\xC3\x89T\xC3\x89", "\xC3\x89t\xC3\xA9"));
    EXPECT_TRUE(StartsWithFolded("[x]", "[X"));
    EXPECT_FALSE(StartsWithFolded("{x}", "[x"));  // '{' and '[' differ by the case bit
    EXPECT_FALSE(StartsWithFolded("@", "`"));
}

// A start outside the rows reads no name outside them: with wrap the search
// runs from row 0, without it nothing is found.
TEST(TypeAhead, StartOutsideTheRows)
{
    for (int start : {-1, -100, 7, 1000}) {
        EXPECT_EQ(Find(ifPartialString, "rep", start, true), 1) << start;
        EXPECT_EQ(Find(ifPartialString, "rep", start, false), -1) << start;
    }
}
