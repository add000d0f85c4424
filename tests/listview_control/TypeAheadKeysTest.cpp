// Gathering typed characters into search texts, by the time between them.

#include "platform/toolkit/private/TypeAheadKeys.h"

#include <gtest/gtest.h>

namespace {

struct Typed {
    const char* character;
    std::int64_t at;  // milliseconds
    bool extends;
    const char* text;
};

TEST(TypeAheadKeys, BurstsSplitByTheInterval)
{
    const Typed typed[] = {
        {"r", 1000, false, "r"},
        {"e", 1100, true, "re"},
        {"p", 1500, true, "rep"},               // exactly the interval still extends
        {"x", 1901, false, "x"},                // one past it starts anew
        {"\xc3\xa9", 2000, true, "x\xc3\xa9"},  // a character of two bytes
        {"a", 1990, false, "a"},                // a clock that went back never extends
    };
    TypeAheadKeys keys(400);
    for (const Typed& t : typed) {
        EXPECT_EQ(keys.Add(t.character, t.at), t.extends) << t.text;
        EXPECT_EQ(keys.Text(), t.text);
    }
    keys.Reset();
    EXPECT_FALSE(keys.Add("b", 2000));
    EXPECT_EQ(keys.Text(), "b");
}

}  // namespace
