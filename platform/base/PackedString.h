#pragma once
// 8-bit text held in one pointer, for records kept by the million (a folder's
// rows): the empty text takes no memory, any other is one block holding its
// bytes and a zero, so a name of up to 23 bytes fits a 32-byte chunk. It
// reads as a std::string_view and converts to and from AnsiString; a
// std::string would take 32 bytes of every record for each of its texts, most
// of them empty until the row is shown. The texts it holds (names, type names,
// dates) have no zero byte: a text is cut at its first one.

#include "platform/base/SysUtils.h"

#include <cstring>
#include <iosfwd>
#include <string_view>
#include <utility>

class PackedString {
public:
    PackedString() = default;
    PackedString(std::string_view text) { assign(text.data(), text.size()); }
    PackedString(const AnsiString& text) : PackedString(std::string_view(text)) {}
    PackedString(const char* text) : PackedString(std::string_view(text)) {}
    PackedString(const PackedString& other) : PackedString(other.view()) {}
    PackedString(PackedString&& other) noexcept : FBlock(std::exchange(other.FBlock, nullptr)) {}
    PackedString& operator=(PackedString other) noexcept
    {
        std::swap(FBlock, other.FBlock);
        return *this;
    }
    ~PackedString() { release(); }

    // Up to the first zero of text, if it holds one. Raises std::bad_alloc, as
    // a std::string does, and then keeps its text.
    void assign(const char* text, size_t length);

    size_t size() const { return FBlock ? std::strlen(FBlock) : 0; }
    bool empty() const { return FBlock == nullptr; }
    const char* c_str() const { return FBlock ? FBlock : ""; }
    std::string_view view() const { return {c_str(), size()}; }
    operator std::string_view() const { return view(); }
    operator AnsiString() const { return AnsiString(view()); }

    friend bool operator==(const PackedString& a, std::string_view b) { return a.view() == b; }
    friend std::ostream& operator<<(std::ostream& out, const PackedString& text);

private:
    void release();

    char* FBlock = nullptr;  // null for the empty text
};
