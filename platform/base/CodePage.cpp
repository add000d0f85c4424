// UTF-8 <-> UTF-16 for the system code page. Bytes that are not valid UTF-8
// become lone surrogates U+DC80..U+DCFF and turn back into the same bytes, so
// file names that are not UTF-8 survive a trip through wide strings.

#include "platform/base/Windows.h"

#include <cstring>
#include <string>

namespace {

bool supported(UINT codePage)
{
    return codePage == CP_ACP || codePage == CP_UTF8;
}

// Length of a valid UTF-8 sequence at s (at most n bytes), 0 when invalid.
int validSequence(const unsigned char* s, size_t n, char32_t& code)
{
    const unsigned char b = s[0];
    int len;
    char32_t min;
    if (b < 0x80) {
        code = b;
        return 1;
    }
    if (b >= 0xC2 && b <= 0xDF) {
        len = 2;
        code = b & 0x1F;
        min = 0x80;
    } else if (b >= 0xE0 && b <= 0xEF) {
        len = 3;
        code = b & 0x0F;
        min = 0x800;
    } else if (b >= 0xF0 && b <= 0xF4) {
        len = 4;
        code = b & 0x07;
        min = 0x10000;
    } else
        return 0;
    if (n < static_cast<size_t>(len)) return 0;
    for (int i = 1; i < len; ++i) {
        if ((s[i] & 0xC0) != 0x80) return 0;
        code = (code << 6) | (s[i] & 0x3F);
    }
    if (code < min || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return 0;
    return len;
}

std::u16string decode(const unsigned char* s, size_t n)
{
    std::u16string out;
    out.reserve(n);
    for (size_t i = 0; i < n;) {
        char32_t code;
        const int len = validSequence(s + i, n - i, code);
        if (len == 0) {
            out.push_back(static_cast<char16_t>(0xDC00 + s[i]));
            ++i;
            continue;
        }
        if (code >= 0x10000) {
            code -= 0x10000;
            out.push_back(static_cast<char16_t>(0xD800 + (code >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + (code & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(code));
        }
        i += static_cast<size_t>(len);
    }
    return out;
}

void put(std::string& out, char32_t code)
{
    if (code < 0x80) {
        out.push_back(static_cast<char>(code));
    } else if (code < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (code >> 6)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    } else if (code < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (code >> 12)));
        out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (code >> 18)));
        out.push_back(static_cast<char>(0x80 | ((code >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    }
}

std::string encode(const char16_t* w, size_t n, bool& usedDefault)
{
    std::string out;
    out.reserve(n);
    for (size_t i = 0; i < n; ++i) {
        const char16_t c = w[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < n && w[i + 1] >= 0xDC00 && w[i + 1] <= 0xDFFF) {
            put(out, 0x10000 + ((static_cast<char32_t>(c) - 0xD800) << 10) + (w[i + 1] - 0xDC00));
            ++i;
        } else if (c >= 0xDC80 && c <= 0xDCFF) {
            out.push_back(static_cast<char>(c - 0xDC00));  // an escaped raw byte
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            put(out, 0xFFFD);  // any other lone surrogate has no byte form
            usedDefault = true;
        } else {
            put(out, c);
        }
    }
    return out;
}

template <class C>
size_t inputLength(const C* text, int length)
{
    if (length >= 0) return static_cast<size_t>(length);
    size_t n = 0;
    while (text[n] != 0) ++n;
    return n + 1;  // the terminator is converted and counted
}

}  // namespace

int WideCharToMultiByte(UINT codePage, DWORD, LPCWSTR wide, int wideLength, LPSTR out, int outSize,
                        LPCSTR, BOOL* usedDefault)
{
    if (!supported(codePage) || !wide || outSize < 0 || (outSize > 0 && !out) || wideLength == 0)
        return 0;
    bool defaulted = false;
    const std::string bytes = encode(wide, inputLength(wide, wideLength), defaulted);
    if (usedDefault) *usedDefault = defaulted ? TRUE : FALSE;
    const int needed = static_cast<int>(bytes.size());
    if (outSize == 0) return needed;
    if (needed > outSize) return 0;
    std::memcpy(out, bytes.data(), bytes.size());
    return needed;
}

int MultiByteToWideChar(UINT codePage, DWORD, LPCSTR text, int textLength, LPWSTR out, int outSize)
{
    if (!supported(codePage) || !text || outSize < 0 || (outSize > 0 && !out) || textLength == 0)
        return 0;
    const std::u16string wide =
        decode(reinterpret_cast<const unsigned char*>(text), inputLength(text, textLength));
    const int needed = static_cast<int>(wide.size());
    if (outSize == 0) return needed;
    if (needed > outSize) return 0;
    std::memcpy(out, wide.data(), wide.size() * sizeof(char16_t));
    return needed;
}
