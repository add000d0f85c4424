#pragma once
// File attribute bits of a POSIX file: read-only when the owner may not
// write, hidden for dot-names, system for devices, sockets and pipes,
// directory, archive for regular files; normal when none of these applies.

#include "platform/base/Windows.h"

#include <sys/stat.h>

DWORD PosixFileAttributes(const struct stat& status, const char* name);

// FILETIME of a POSIX time (seconds and nanoseconds since 1970 UTC); zero
// for times before 1601.
FILETIME PosixToFileTime(std::int64_t seconds, long nanoseconds);
