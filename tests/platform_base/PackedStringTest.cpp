// The texts of a row record: copies own their bytes, moves hand them over,
// the empty text holds no block, and reads see exactly the bytes given.

#include "platform/base/PackedString.h"

#include <gtest/gtest.h>

#include <sstream>
#include <vector>

TEST(PackedString, HoldsExactlyTheBytesItWasGiven)
{
    const std::string bytes("caf\xE9 \xE5\xAE\xB6 a.b", 11);
    for (const std::string& text :
         {std::string(), std::string("x"), bytes, std::string(300, 'n')}) {
        const PackedString packed(text);
        EXPECT_EQ(packed.size(), text.size());
        EXPECT_EQ(packed.empty(), text.empty());
        EXPECT_EQ(packed.view(), text);
        EXPECT_EQ(AnsiString(packed), text);
        EXPECT_EQ(packed.c_str()[text.size()], '\0');
        std::ostringstream printed;
        printed << packed;
        EXPECT_EQ(printed.str(), text);
    }
}

TEST(PackedString, CopiesAreIndependentAndMovesLeaveTheSourceEmpty)
{
    PackedString a("first");
    PackedString b(a);
    b = AnsiString("second");
    EXPECT_EQ(a, "first");
    EXPECT_EQ(b, "second");

    PackedString moved(std::move(b));
    EXPECT_EQ(moved, "second");
    EXPECT_TRUE(b.empty());  // NOLINT(bugprone-use-after-move): the moved-from state is defined
    EXPECT_STREQ(b.c_str(), "");

    a = a;  // self-assignment keeps the text
    EXPECT_EQ(a, "first");
    a = "";
    EXPECT_TRUE(a.empty());
    a.assign("abc", 2);
    EXPECT_EQ(a, "ab");
    a.assign("a\0b", 3);  // cut at the zero
    EXPECT_EQ(a, "a");
    EXPECT_EQ(a.size(), 1u);

    std::vector<PackedString> many(1000, PackedString("same"));
    many.resize(5000);  // moves on growth
    EXPECT_EQ(many[999], "same");
    EXPECT_TRUE(many[4999].empty());
}

// The point of the type: a record's empty texts cost no allocation and each
// text costs one pointer of the record.
TEST(PackedString, TakesOnePointer)
{
    static_assert(sizeof(PackedString) == sizeof(void*));
    EXPECT_EQ(PackedString().c_str(), PackedString().c_str());
}

// A borrowed text reads the bytes it refers to as they are, up to their zero,
// and frees nothing; a copy of it owns its bytes and outlives them.
TEST(PackedString, ABorrowedTextReadsItsBytesAndACopyOwnsThem)
{
    std::string bytes("borrowed\0tail", 13);
    PackedString borrowed = PackedString::Borrowing(bytes.c_str());
    EXPECT_EQ(borrowed, "borrowed");
    EXPECT_EQ(borrowed.c_str(), bytes.c_str());  // not a copy
    EXPECT_EQ(borrowed.size(), 8u);
    EXPECT_EQ(AnsiString(borrowed), "borrowed");

    PackedString copy(borrowed);
    bytes[0] = 'B';
    EXPECT_EQ(borrowed, "Borrowed");
    EXPECT_EQ(copy, "borrowed");

    PackedString moved(std::move(borrowed));
    EXPECT_EQ(moved.c_str(), bytes.c_str());
    moved = PackedString("owned");  // the borrowed bytes are not freed
    EXPECT_EQ(bytes.substr(0, 8), "Borrowed");

    EXPECT_TRUE(PackedString::Borrowing("").empty());
    EXPECT_TRUE(PackedString::Borrowing(nullptr).empty());
}
