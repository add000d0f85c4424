#include "platform/base/FileAttributes.h"

DWORD PosixFileAttributes(const struct stat& status, const char* name)
{
    DWORD attributes = 0;
    const mode_t mode = status.st_mode;
    if (!(mode & S_IWUSR)) attributes |= FILE_ATTRIBUTE_READONLY;
    if (name && name[0] == '.') attributes |= FILE_ATTRIBUTE_HIDDEN;
    if (S_ISCHR(mode) || S_ISBLK(mode) || S_ISSOCK(mode) || S_ISFIFO(mode))
        attributes |= FILE_ATTRIBUTE_SYSTEM;
    if (S_ISDIR(mode)) attributes |= FILE_ATTRIBUTE_DIRECTORY;
    if (S_ISREG(mode)) attributes |= FILE_ATTRIBUTE_ARCHIVE;
    return attributes ? attributes : FILE_ATTRIBUTE_NORMAL;
}

FILETIME PosixToFileTime(std::int64_t seconds, long nanoseconds)
{
    constexpr std::int64_t kEpochDifference = 11644473600;  // 1601 to 1970 in seconds
    FILETIME result{0, 0};
    if (seconds < -kEpochDifference) return result;
    const auto ticks = static_cast<std::uint64_t>(seconds + kEpochDifference) * 10'000'000u +
                       static_cast<std::uint64_t>(nanoseconds / 100);
    result.dwLowDateTime = static_cast<DWORD>(ticks);
    result.dwHighDateTime = static_cast<DWORD>(ticks >> 32);
    return result;
}
