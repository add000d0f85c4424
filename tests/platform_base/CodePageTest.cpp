#include "platform/base/SysUtils.h"
#include "platform/base/Windows.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::u16string toWide(const std::string& bytes)
{
    const int n =
        MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::u16string wide(static_cast<size_t>(n), u'\0');
    if (n > 0) {
        EXPECT_EQ(n, MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()),
                                         wide.data(), n));
    }
    return wide;
}

std::string toBytes(const std::u16string& wide)
{
    const int n = WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()),
                                      nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<size_t>(n), '\0');
    if (n > 0) {
        EXPECT_EQ(n, WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()),
                                         bytes.data(), n, nullptr, nullptr));
    }
    return bytes;
}

}  // namespace

// Any byte string survives bytes -> wide -> bytes, valid UTF-8 or not.
TEST(CodePage, RoundTripsEveryByteString)
{
    const std::string cases[] = {
        "plain.jpg",
        "caf\xC3\xA9",               // valid two-byte sequence
        "\xE4\xB8\xAD\xE6\x96\x87",  // CJK
        "\xF0\x9F\x93\xB7",          // four bytes: a surrogate pair
        "caf\xE9",                   // Latin-1 byte
        "\xFF\xFE",                  // never valid
        "\xC0\xAF",                  // overlong '/'
        "\xED\xA0\x80",              // an encoded surrogate
        "\xED\xB2\x80",              // the encoded form of U+DC80 itself
        "\xE4\xB8",                  // truncated sequence at the end
        "\xF4\x90\x80\x80",          // beyond U+10FFFF
    };
    for (const std::string& bytes : cases) EXPECT_EQ(bytes, toBytes(toWide(bytes))) << bytes;
}

TEST(CodePage, MapsBytesAndCharactersAsDocumented)
{
    EXPECT_EQ(u"caf\xDCE9", toWide("caf\xE9"));
    EXPECT_EQ(u"caf\u00E9", toWide("caf\xC3\xA9"));
    EXPECT_EQ(std::u16string(u"\xD83D\xDCF7"), toWide("\xF0\x9F\x93\xB7"));
    // A lone high surrogate has no byte form: U+FFFD, and usedDefault says so.
    const char16_t lone[] = {u'a', 0xD800, u'b'};
    char out[8] = {};
    BOOL usedDefault = FALSE;
    EXPECT_EQ(5, WideCharToMultiByte(CP_ACP, 0, lone, 3, out, sizeof out, nullptr, &usedDefault));
    EXPECT_EQ(std::string("a\xEF\xBF\xBD"
                          "b"),
              std::string(out, 5));
    EXPECT_TRUE(usedDefault);
}

TEST(CodePage, FollowsTheLengthAndBufferConventions)
{
    // -1: zero-terminated, and the terminator is counted and written.
    EXPECT_EQ(4, MultiByteToWideChar(CP_ACP, 0, "abc", -1, nullptr, 0));
    WCHAR wide[4] = {1, 1, 1, 1};
    EXPECT_EQ(4, MultiByteToWideChar(CP_UTF8, 0, "abc", -1, wide, 4));
    EXPECT_EQ(0, wide[3]);
    EXPECT_EQ(4, WideCharToMultiByte(CP_ACP, 0, u"abc", -1, nullptr, 0, nullptr, nullptr));
    // Too small a buffer fails and writes nothing.
    char small[2] = {'x', 'x'};
    EXPECT_EQ(0, WideCharToMultiByte(CP_ACP, 0, u"abc", -1, small, 2, nullptr, nullptr));
    EXPECT_EQ('x', small[0]);
    // Other code pages are not provided.
    EXPECT_EQ(0, MultiByteToWideChar(1252, 0, "abc", -1, nullptr, 0));
}

// The run-time library's conversion stops at the terminator and keeps bytes
// that are not UTF-8, as the names it converts may hold them.
TEST(CodePage, WideCharToStringConvertsUpToTheTerminator)
{
    EXPECT_EQ("", WideCharToString(nullptr));
    EXPECT_EQ("", WideCharToString(u""));
    const std::u16string wide = toWide("caf\xE9 \xE4\xB8\xAD");
    EXPECT_EQ("caf\xE9 \xE4\xB8\xAD", WideCharToString(wide.c_str()));
    const char16_t cut[] = {u'a', u'b', 0, u'c', 0};
    EXPECT_EQ("ab", WideCharToString(cut));
}
