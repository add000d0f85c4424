#pragma once
// Strings, exceptions, conversions, dates and the file search of the toolkit's
// run-time library.

#include "platform/base/Windows.h"

#include <exception>
#include <string>

// 8-bit text in the system code page (UTF-8 here).
using AnsiString = std::string;

// The toolkit's exception class; everything the program raises derives from it.
class Exception : public std::exception {
public:
    explicit Exception(AnsiString message) : FMessage(std::move(message)) {}
    const AnsiString& Message() const { return FMessage; }
    const char* what() const noexcept override { return FMessage.c_str(); }

private:
    AnsiString FMessage;
};

class EConvertError : public Exception {
public:
    using Exception::Exception;
};

AnsiString IntToStr(int value);
// Optionally signed decimal digits, or $ followed by hex digits, surrounded by
// blanks; anything else, or a value outside 32 bits, raises EConvertError
// "'text' is not a valid integer value".
int StrToInt(const AnsiString& text);
// printf-style formatting into an AnsiString.
AnsiString Format(const char* format, ...) __attribute__((format(printf, 1, 2)));
AnsiString UpperCase(const AnsiString& text);  // a-z only
// Zero-terminated wide text in the system code page (WideCharToMultiByte with
// CP_ACP), up to its terminator; empty for null.
AnsiString WideCharToString(LPCWSTR source);

// Days since 1899-12-30, fraction is the time of day.
using TDateTime = double;
// Raises EConvertError for a calendar date or time that does not exist or a
// year outside 1..9999.
TDateTime SystemTimeToDateTime(const SYSTEMTIME& systemTime);
// The user's short date format, a blank and the long time format; the time
// part is left out at exactly midnight. The formats are the user's locale's
// (LC_ALL, LC_TIME, LANG), the time with its day period as the AM/PM marker
// and without a time zone.
AnsiString DateTimeToStr(TDateTime value);
// The same in the formats of the locale named in the POSIX way
// ("zh_TW.UTF-8", "de_DE", "C"); an unknown name gives the C locale's.
AnsiString DateTimeToStr(TDateTime value, const AnsiString& localeName);

// File search over namespace paths ("C:\photos\*.jpg"); the wildcard in the
// last element matches without regard to case.
constexpr int faReadOnly = 0x01;
constexpr int faHidden = 0x02;
constexpr int faSysFile = 0x04;
constexpr int faVolumeID = 0x08;
constexpr int faDirectory = 0x10;
constexpr int faArchive = 0x20;
constexpr int faAnyFile = 0x3F;

struct TSearchRec {
    int Time = 0;
    long long Size = 0;
    int Attr = 0;
    AnsiString Name;
    int ExcludeAttr = 0;
    void* FindHandle = nullptr;
};
// 0 when an entry was found (then in rec), otherwise a non-zero error code.
int FindFirst(const AnsiString& path, int attributes, TSearchRec& rec);
int FindNext(TSearchRec& rec);
void FindClose(TSearchRec& rec);
