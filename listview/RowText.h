#pragma once
// The texts of a file row that depend on nothing but the record's fields and
// the platform's conversions: size, attribute letters, last-write date.

#include "platform/base/SysUtils.h"

// "%dKB": signed decimal digits followed by KB, no blank, no grouping.
AnsiString SizeText(int sizeKB);

// One letter per set bit, always in the order R (0x1), H (0x2), S (0x4),
// A (0x20); every other bit gives nothing.
AnsiString AttributeLetters(DWORD attributes);

// A find-data size (two 32-bit words) in units of 1000 bytes, truncated, at
// least 1. The whole 64-bit size is divided, and a quotient past the largest
// signed 32-bit value is clamped to it, so files of 4 GiB and more keep a
// meaningful size.
int SizeKBFromFindData(DWORD sizeHigh, DWORD sizeLow);

// A last-write time as local date-and-time text (short date, blank, long
// time; no time part at midnight). Empty for a zero time, for a time the
// platform cannot convert, or for a year outside 1..9999.
AnsiString FileTimeText(const FILETIME& lastWrite);
