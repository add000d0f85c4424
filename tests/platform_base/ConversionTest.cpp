#include "platform/base/SysUtils.h"

#include <gtest/gtest.h>

#include <optional>

TEST(StrToInt, AcceptsDecimalAndHexWithin32Bits)
{
    const struct {
        const char* text;
        std::optional<int> value;
    } cases[] = {
        {"0", 0},
        {"42", 42},
        {"  42 ", 42},
        {"-17", -17},
        {"+5", 5},
        {"2147483647", 2147483647},
        {"-2147483648", -2147483647 - 1},
        {"$FF", 255},
        {"$ff", 255},
        {"-$10", -16},
        {"$FFFFFFFF", -1},
        {"007", 7},
        {"", std::nullopt},
        {"  ", std::nullopt},
        {"-", std::nullopt},
        {"12a", std::nullopt},
        {"1 2", std::nullopt},
        {"2147483648", std::nullopt},
        {"-2147483649", std::nullopt},
        {"99999999999999999999", std::nullopt},
        {"$", std::nullopt},
        {"$G1", std::nullopt},
        {"$100000000", std::nullopt},
        {"0x10", std::nullopt},
        {"1.5", std::nullopt},
    };
    for (const auto& c : cases) {
        if (c.value) {
            EXPECT_EQ(*c.value, StrToInt(c.text)) << c.text;
        } else {
            try {
                StrToInt(c.text);
                ADD_FAILURE() << "no error for '" << c.text << "'";
            } catch (const EConvertError& e) {
                EXPECT_EQ("'" + std::string(c.text) + "' is not a valid integer value",
                          e.Message());
            }
        }
    }
}

TEST(SysUtils, FormatsAndUppercases)
{
    EXPECT_EQ("-12", IntToStr(-12));
    EXPECT_EQ("List index out of bounds (7)", Format("List index out of bounds (%d)", 7));
    EXPECT_EQ(std::string(300, 'y'), Format("%s", std::string(300, 'y').c_str()));
    EXPECT_EQ("ABC \xC3\xA9Z1", UpperCase("abc \xC3\xA9z1"));  // a-z only
}

namespace {
SYSTEMTIME at(int y, int mo, int d, int h = 0, int mi = 0, int s = 0, int ms = 0)
{
    SYSTEMTIME t{};
    t.wYear = static_cast<WORD>(y);
    t.wMonth = static_cast<WORD>(mo);
    t.wDay = static_cast<WORD>(d);
    t.wHour = static_cast<WORD>(h);
    t.wMinute = static_cast<WORD>(mi);
    t.wSecond = static_cast<WORD>(s);
    t.wMilliseconds = static_cast<WORD>(ms);
    return t;
}
}  // namespace

TEST(DateTime, EncodesOnlyRealDates)
{
    EXPECT_DOUBLE_EQ(0.5, SystemTimeToDateTime(at(1899, 12, 30, 12)));
    EXPECT_DOUBLE_EQ(2.0, SystemTimeToDateTime(at(1900, 1, 1)));
    EXPECT_DOUBLE_EQ(45351.0, SystemTimeToDateTime(at(2024, 2, 29)));
    EXPECT_DOUBLE_EQ(-1.25, SystemTimeToDateTime(at(1899, 12, 29, 6)));  // time subtracted
    EXPECT_NO_THROW(SystemTimeToDateTime(at(1, 1, 1)));
    EXPECT_NO_THROW(SystemTimeToDateTime(at(9999, 12, 31, 23, 59, 59, 999)));
    const SYSTEMTIME invalid[] = {
        at(2023, 2, 29),    at(2024, 13, 1),       at(2024, 0, 1),
        at(2024, 4, 31),    at(0, 1, 1),           at(10000, 1, 1),
        at(2024, 1, 1, 24), at(2024, 1, 1, 0, 60), at(2024, 1, 1, 0, 0, 60),
        at(1900, 2, 29)};
    for (const SYSTEMTIME& t : invalid)
        EXPECT_THROW(SystemTimeToDateTime(t), EConvertError)
            << t.wYear << "-" << t.wMonth << "-" << t.wDay;
}

TEST(DateTime, TextLeavesOutTheTimeAtMidnight)
{
    const AnsiString midnight = DateTimeToStr(SystemTimeToDateTime(at(2024, 3, 9)));
    const AnsiString noon = DateTimeToStr(SystemTimeToDateTime(at(2024, 3, 9, 12, 34, 56)));
    const AnsiString almost = DateTimeToStr(SystemTimeToDateTime(at(2024, 3, 9, 0, 0, 0, 500)));
    ASSERT_FALSE(midnight.empty());
    EXPECT_EQ(midnight, almost);  // milliseconds are not looked at
    EXPECT_EQ(midnight + " ", noon.substr(0, midnight.size() + 1));
    EXPECT_NE(std::string::npos, noon.find("34"));
    EXPECT_NE(std::string::npos, noon.find("56"));
    EXPECT_NE(DateTimeToStr(SystemTimeToDateTime(at(2024, 3, 10))), midnight);
    EXPECT_FALSE(DateTimeToStr(SystemTimeToDateTime(at(1850, 6, 1, 1))).empty());
}

TEST(FileTime, ConvertsToCalendarTime)
{
    SYSTEMTIME t{};
    FILETIME zero{0, 0};
    ASSERT_TRUE(FileTimeToSystemTime(&zero, &t));
    EXPECT_EQ(1601, t.wYear);
    EXPECT_EQ(1, t.wDayOfWeek);  // a Monday
    const unsigned long long unixEpoch =
        116444736000000000ull + 10'000'000ull * (86400 + 3661) + 1234567;
    FILETIME epoch{static_cast<DWORD>(unixEpoch), static_cast<DWORD>(unixEpoch >> 32)};
    ASSERT_TRUE(FileTimeToSystemTime(&epoch, &t));
    EXPECT_EQ(1970, t.wYear);
    EXPECT_EQ(1, t.wMonth);
    EXPECT_EQ(2, t.wDay);
    EXPECT_EQ(5, t.wDayOfWeek);
    EXPECT_EQ(1, t.wHour);
    EXPECT_EQ(1, t.wMinute);
    EXPECT_EQ(1, t.wSecond);
    EXPECT_EQ(123, t.wMilliseconds);
    FILETIME huge{0, 0x80000000u};
    EXPECT_FALSE(FileTimeToSystemTime(&huge, &t));
    // Local time moves by a whole number of minutes, and a time too close to
    // the end of the range fails rather than wrapping.
    FILETIME local{};
    ASSERT_TRUE(FileTimeToLocalFileTime(&epoch, &local));
    const long long shift = static_cast<long long>(
        (static_cast<unsigned long long>(local.dwHighDateTime) << 32 | local.dwLowDateTime) -
        unixEpoch);
    EXPECT_EQ(0, shift % 600'000'000LL);
}

TEST(WindowMessages, ReachTheRegisteredProcedureOnly)
{
    std::vector<UINT> seen;
    HWND window = RegisterWindowProc([&](UINT message, WPARAM w, LPARAM l) -> LRESULT {
        seen.push_back(message);
        return static_cast<LRESULT>(w) + l;
    });
    EXPECT_EQ(5, SendMessageA(window, LVM_SETIMAGELIST, 2, 3));
    UnregisterWindowProc(window);
    EXPECT_EQ(0, SendMessageA(window, LVM_SETIMAGELIST, 2, 3));
    EXPECT_EQ(0, SendMessageA(nullptr, 1, 0, 0));
    EXPECT_EQ(std::vector<UINT>{LVM_SETIMAGELIST}, seen);
}
