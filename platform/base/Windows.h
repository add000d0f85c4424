#pragma once
// The base types, constants and calls of the desktop platform the program was
// written against, provided over POSIX and Qt. Only what the program calls.

#include <cstdint>
#include <functional>

using BYTE = std::uint8_t;
using WORD = std::uint16_t;
using DWORD = std::uint32_t;
using UINT = unsigned int;
using ULONG = std::uint32_t;
using LONG = std::int32_t;
using BOOL = int;
using HRESULT = std::int32_t;
using WCHAR = char16_t;
using LPWSTR = WCHAR*;
using LPCWSTR = const WCHAR*;
using LPSTR = char*;
using LPCSTR = const char*;
using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;
using DWORD_PTR = std::uintptr_t;
using COLORREF = DWORD;

constexpr BOOL TRUE = 1;
constexpr BOOL FALSE = 0;
constexpr UINT MAX_PATH = 260;

// Window handles are opaque; a toolkit window registers a procedure for its
// handle so that SendMessageA can reach it.
struct HWND__;
using HWND = HWND__*;

// Icons are reference objects that the caller of the call returning one owns
// and gives back with DestroyIcon.
struct HICON__;
using HICON = HICON__*;

// Image lists are owned by whoever made them (the shell owns the system ones).
class ImageListData;
using HIMAGELIST = ImageListData*;

// HRESULT values and helpers.
constexpr HRESULT S_OK = 0;
constexpr HRESULT S_FALSE = 1;
constexpr HRESULT E_NOTIMPL = static_cast<HRESULT>(0x80004001);
constexpr HRESULT E_NOINTERFACE = static_cast<HRESULT>(0x80004002);
constexpr HRESULT E_POINTER = static_cast<HRESULT>(0x80004003);
constexpr HRESULT E_FAIL = static_cast<HRESULT>(0x80004005);
constexpr HRESULT E_OUTOFMEMORY = static_cast<HRESULT>(0x8007000E);
constexpr HRESULT E_INVALIDARG = static_cast<HRESULT>(0x80070057);
constexpr bool SUCCEEDED(HRESULT hr)
{
    return hr >= 0;
}
constexpr bool FAILED(HRESULT hr)
{
    return hr < 0;
}
constexpr HRESULT HRESULT_FROM_WIN32(DWORD code)
{
    return code == 0 ? 0 : static_cast<HRESULT>((code & 0x0000FFFFu) | 0x80070000u);
}
constexpr DWORD ERROR_FILE_NOT_FOUND = 2;
constexpr DWORD ERROR_PATH_NOT_FOUND = 3;
constexpr DWORD ERROR_ACCESS_DENIED = 5;
constexpr DWORD ERROR_NOT_READY = 21;
constexpr DWORD ERROR_INVALID_NAME = 123;
constexpr DWORD ERROR_DIRECTORY = 267;
constexpr DWORD ERROR_INVALID_DRIVE = 15;
constexpr DWORD ERROR_CANT_RESOLVE_FILENAME = 1921;

// File attributes.
constexpr DWORD FILE_ATTRIBUTE_READONLY = 0x1;
constexpr DWORD FILE_ATTRIBUTE_HIDDEN = 0x2;
constexpr DWORD FILE_ATTRIBUTE_SYSTEM = 0x4;
constexpr DWORD FILE_ATTRIBUTE_DIRECTORY = 0x10;
constexpr DWORD FILE_ATTRIBUTE_ARCHIVE = 0x20;
constexpr DWORD FILE_ATTRIBUTE_NORMAL = 0x80;

// 100-nanosecond intervals since 1601-01-01 UTC.
struct FILETIME {
    DWORD dwLowDateTime;
    DWORD dwHighDateTime;
};

struct SYSTEMTIME {
    WORD wYear;
    WORD wMonth;
    WORD wDayOfWeek;
    WORD wDay;
    WORD wHour;
    WORD wMinute;
    WORD wSecond;
    WORD wMilliseconds;
};

struct WIN32_FIND_DATAA {
    DWORD dwFileAttributes;
    FILETIME ftCreationTime;
    FILETIME ftLastAccessTime;
    FILETIME ftLastWriteTime;
    DWORD nFileSizeHigh;
    DWORD nFileSizeLow;
    DWORD dwReserved0;
    DWORD dwReserved1;
    char cFileName[MAX_PATH];
    char cAlternateFileName[14];
};

// Code pages: the system ANSI code page is UTF-8 here. Bytes that are not
// valid UTF-8 map to the lone surrogates U+DC80..U+DCFF and back, so any
// name round-trips byte for byte.
constexpr UINT CP_ACP = 0;
constexpr UINT CP_UTF8 = 65001;
int WideCharToMultiByte(UINT codePage, DWORD flags, LPCWSTR wide, int wideLength, LPSTR out,
                        int outSize, LPCSTR defaultChar, BOOL* usedDefault);
int MultiByteToWideChar(UINT codePage, DWORD flags, LPCSTR text, int textLength, LPWSTR out,
                        int outSize);

// Time conversion. FileTimeToLocalFileTime applies the offset in force now.
BOOL FileTimeToLocalFileTime(const FILETIME* fileTime, FILETIME* localFileTime);
BOOL FileTimeToSystemTime(const FILETIME* fileTime, SYSTEMTIME* systemTime);

// System colours (COLORREF is 0x00BBGGRR).
constexpr int COLOR_WINDOW = 5;
constexpr int COLOR_WINDOWTEXT = 8;
constexpr int COLOR_APPWORKSPACE = 12;
constexpr int COLOR_HIGHLIGHT = 13;
constexpr int COLOR_BTNFACE = 15;
constexpr int COLOR_GRAYTEXT = 17;
DWORD GetSysColor(int index);

// Icons.
BOOL DestroyIcon(HICON icon);

// Messages to windows. A toolkit window registers its procedure under its
// handle; unknown handles answer 0.
constexpr UINT LVM_FIRST = 0x1000;
constexpr UINT LVM_SETIMAGELIST = LVM_FIRST + 3;
constexpr WPARAM LVSIL_NORMAL = 0;
constexpr WPARAM LVSIL_SMALL = 1;
using WindowProc = std::function<LRESULT(UINT message, WPARAM wParam, LPARAM lParam)>;
HWND RegisterWindowProc(WindowProc proc);
void UnregisterWindowProc(HWND window);
LRESULT SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Virtual-key codes the program looks at.
constexpr WORD VK_BACK = 0x08;
constexpr WORD VK_RETURN = 0x0D;
constexpr WORD VK_ESCAPE = 0x1B;
constexpr WORD VK_UP = 0x26;
constexpr WORD VK_APPS = 0x5D;  // the context-menu key
constexpr WORD VK_F5 = 0x74;
constexpr WORD VK_F10 = 0x79;
