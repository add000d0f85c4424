#pragma once
// 8-bit text held in one pointer, for records kept by the million (a folder's
// rows): the empty text takes no memory, any other is one block holding its
// bytes and a zero, so a name of up to 23 bytes fits a 32-byte chunk. It
// reads as a std::string_view and converts to and from AnsiString; a
// std::string would take 32 bytes of every record for each of its texts, most
// of them empty until the row is shown. The texts it holds (names, type names,
// dates) have no zero byte: a text is cut at its first one.
//
// A text may also refer to bytes it does not own (Borrowing): a record's
// name that its own item id already holds takes no memory of its own.

#include "platform/base/SysUtils.h"

#include <cstdint>
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
    // Refers to text, up to its zero, without a copy: text must stay as it is
    // for as long as this refers to it. A copy of the result owns its bytes.
    static PackedString Borrowing(const char* text)
    {
        PackedString borrowed;
        if (text && *text)
            borrowed.FBlock =
                reinterpret_cast<char*>(reinterpret_cast<std::uintptr_t>(text) | kBorrowed);
        return borrowed;
    }
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

    size_t size() const { return FBlock ? std::strlen(text()) : 0; }
    bool empty() const { return FBlock == nullptr; }
    const char* c_str() const { return FBlock ? text() : ""; }
    std::string_view view() const { return {c_str(), size()}; }
    operator std::string_view() const { return view(); }
    operator AnsiString() const { return AnsiString(view()); }

    friend bool operator==(const PackedString& a, std::string_view b) { return a.view() == b; }
    friend std::ostream& operator<<(std::ostream& out, const PackedString& text);

private:
    // Marks a borrowed text in the pointer's top bit, which no address a
    // process can hold on the systems this runs on has set.
    static_assert(sizeof(std::uintptr_t) == 8, "a 64-bit address space");
    static constexpr std::uintptr_t kBorrowed = std::uintptr_t{1} << 63;
    bool borrowed() const { return (reinterpret_cast<std::uintptr_t>(FBlock) & kBorrowed) != 0; }
    const char* text() const
    {
        return reinterpret_cast<const char*>(reinterpret_cast<std::uintptr_t>(FBlock) & ~kBorrowed);
    }
    void release();

    char* FBlock = nullptr;  // null for the empty text
};
