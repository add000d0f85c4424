#include "platform/base/SysUtils.h"

#include <cstdarg>
#include <cstdio>
#include <vector>

AnsiString IntToStr(int value)
{
    return std::to_string(value);
}

namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

int hexDigit(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

int StrToInt(const AnsiString& text)
{
    const auto fail = [&]() -> int {
        throw EConvertError(Format("'%s' is not a valid integer value", text.c_str()));
    };
    size_t i = 0, end = text.size();
    while (i < end && isBlank(text[i])) ++i;
    while (end > i && isBlank(text[end - 1])) --end;
    if (i == end) return fail();
    bool negative = false;
    if (text[i] == '+' || text[i] == '-') {
        negative = text[i] == '-';
        ++i;
    }
    if (i == end) return fail();
    long long value = 0;
    if (text[i] == '$') {
        // Hex is read as the 32-bit pattern it spells: $FFFFFFFF is -1.
        if (++i == end) return fail();
        for (; i < end; ++i) {
            const int d = hexDigit(text[i]);
            if (d < 0) return fail();
            value = value * 16 + d;
            if (value > 0xFFFFFFFFLL) return fail();
        }
        auto bits = static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
        return negative ? static_cast<int>(0u - static_cast<std::uint32_t>(bits)) : bits;
    }
    for (; i < end; ++i) {
        if (text[i] < '0' || text[i] > '9') return fail();
        value = value * 10 + (text[i] - '0');
        if (value > 2147483648LL) return fail();
    }
    if (negative) value = -value;
    if (value > 2147483647LL) return fail();
    return static_cast<int>(value);
}

AnsiString Format(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    const int needed = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    AnsiString result;
    if (needed > 0) {
        std::vector<char> buffer(static_cast<size_t>(needed) + 1);
        std::vsnprintf(buffer.data(), buffer.size(), format, args);
        result.assign(buffer.data(), static_cast<size_t>(needed));
    }
    va_end(args);
    return result;
}

AnsiString UpperCase(const AnsiString& text)
{
    AnsiString result = text;
    for (char& c : result)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return result;
}

AnsiString WideCharToString(LPCWSTR source)
{
    if (!source) return {};
    const int length = WideCharToMultiByte(CP_ACP, 0, source, -1, nullptr, 0, nullptr, nullptr);
    if (length <= 1) return {};
    AnsiString text(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(CP_ACP, 0, source, -1, text.data(), length, nullptr, nullptr);
    text.pop_back();  // the terminator
    return text;
}
