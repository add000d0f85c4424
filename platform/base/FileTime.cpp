// FILETIME conversions: 100 ns ticks since 1601-01-01.

#include "platform/base/Windows.h"

#include <ctime>
#include <limits>

namespace {

constexpr std::int64_t kTicksPerSecond = 10'000'000;
constexpr std::int64_t kTicksPerDay = kTicksPerSecond * 86400;
// The largest value the platform converts to a calendar time.
constexpr std::uint64_t kMaxTicks = 0x7FFFFFFFFFFFFFFFull;

std::uint64_t ticks(const FILETIME& t)
{
    return (static_cast<std::uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
}

void setTicks(FILETIME& t, std::uint64_t value)
{
    t.dwLowDateTime = static_cast<DWORD>(value);
    t.dwHighDateTime = static_cast<DWORD>(value >> 32);
}

// Days since 1601-01-01 to a civil date (proleptic Gregorian).
void civilFromDays(std::int64_t days1601, int& year, unsigned& month, unsigned& day)
{
    // Shift to days since 0000-03-01.
    const std::int64_t z = days1601 + 584694;
    const std::int64_t era = z / 146097;
    const std::int64_t doe = z - era * 146097;
    const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const std::int64_t mp = (5 * doy + 2) / 153;
    day = static_cast<unsigned>(doy - (153 * mp + 2) / 5 + 1);
    month = static_cast<unsigned>(mp < 10 ? mp + 3 : mp - 9);
    year = static_cast<int>(yoe + era * 400 + (month <= 2 ? 1 : 0));
}

}  // namespace

BOOL FileTimeToLocalFileTime(const FILETIME* fileTime, FILETIME* localFileTime)
{
    if (!fileTime || !localFileTime) return FALSE;
    // The offset in force now, not the one of the file's date.
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    if (!localtime_r(&now, &local)) return FALSE;
    const std::int64_t offset = static_cast<std::int64_t>(local.tm_gmtoff) * kTicksPerSecond;
    const std::uint64_t value = ticks(*fileTime);
    if (offset < 0 && value < static_cast<std::uint64_t>(-offset)) return FALSE;
    if (offset > 0 &&
        value > std::numeric_limits<std::uint64_t>::max() - static_cast<std::uint64_t>(offset))
        return FALSE;
    setTicks(*localFileTime, value + static_cast<std::uint64_t>(offset));
    return TRUE;
}

BOOL FileTimeToSystemTime(const FILETIME* fileTime, SYSTEMTIME* systemTime)
{
    if (!fileTime || !systemTime) return FALSE;
    const std::uint64_t value = ticks(*fileTime);
    if (value > kMaxTicks) return FALSE;
    const auto days = static_cast<std::int64_t>(value / kTicksPerDay);
    const auto rest = static_cast<std::int64_t>(value % kTicksPerDay);
    int year;
    unsigned month, day;
    civilFromDays(days, year, month, day);
    systemTime->wYear = static_cast<WORD>(year);
    systemTime->wMonth = static_cast<WORD>(month);
    systemTime->wDay = static_cast<WORD>(day);
    systemTime->wDayOfWeek = static_cast<WORD>((days + 1) % 7);  // 1601-01-01 was a Monday
    systemTime->wHour = static_cast<WORD>(rest / (kTicksPerSecond * 3600));
    systemTime->wMinute = static_cast<WORD>(rest / (kTicksPerSecond * 60) % 60);
    systemTime->wSecond = static_cast<WORD>(rest / kTicksPerSecond % 60);
    systemTime->wMilliseconds = static_cast<WORD>(rest / 10000 % 1000);
    return TRUE;
}
