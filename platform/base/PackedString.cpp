#include "platform/base/PackedString.h"

#include <cstring>
#include <ostream>

void PackedString::assign(const char* text, size_t length)
{
    length = text ? strnlen(text, length) : 0;
    char* block = nullptr;
    if (length > 0) {
        block = new char[length + 1];
        std::memcpy(block, text, length);
        block[length] = 0;
    }
    release();
    FBlock = block;
}

void PackedString::release()
{
    if (!borrowed()) delete[] FBlock;
    FBlock = nullptr;
}

std::ostream& operator<<(std::ostream& out, const PackedString& text)
{
    return out << text.view();
}
