#include "platform/base/PackedString.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <new>
#include <ostream>

void PackedString::assign(const char* text, size_t length)
{
    Block* block = nullptr;
    if (length > 0) {
        if (length >= UINT32_MAX) throw std::bad_alloc();
        block = static_cast<Block*>(::operator new(offsetof(Block, bytes) + length + 1));
        block->length = static_cast<std::uint32_t>(length);
        std::memcpy(block->bytes, text, length);
        block->bytes[length] = 0;
    }
    release();
    FBlock = block;
}

void PackedString::release()
{
    ::operator delete(FBlock);
    FBlock = nullptr;
}

std::ostream& operator<<(std::ostream& out, const PackedString& text)
{
    return out << text.view();
}
