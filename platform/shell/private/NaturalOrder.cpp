#include "platform/shell/private/NaturalOrder.h"

#include <algorithm>
#include <cstring>

namespace {

// Longer names are folded only this far; their raw bytes still decide.
constexpr size_t kFoldLimit = 640;

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Writes at most limit bytes of name's folded form to out; returns the count.
// A digit run becomes one byte 0x30 + its count of significant digits (0x39
// and a count byte from 9 digits on), then those digits two to a byte. The
// run bytes sort between '/' and ':' where the digits stood, fewer digits
// sort first, and runs of one length take the same room, so the form
// compares like the names; packing keeps a typical "IMG_001234" whole
// within the first half of the key.
size_t fold(const char* name, unsigned char* out, size_t limit)
{
    size_t n = 0;
    const char* p = name;
    while (*p && n < limit) {
        const char c = *p;
        if (isDigit(c)) {
            while (*p == '0') ++p;
            const char* digits = p;
            while (isDigit(*p)) ++p;
            const size_t count = std::min<size_t>(static_cast<size_t>(p - digits), 255);
            if (count < 9) {
                out[n++] = static_cast<unsigned char>('0' + count);
            } else {
                out[n++] = '9';
                if (n < limit) out[n++] = static_cast<unsigned char>(count);
            }
            for (size_t i = 0; i < count && n < limit; i += 2) {
                const unsigned high = static_cast<unsigned>(digits[i] - '0');
                const unsigned low = i + 1 < count ? static_cast<unsigned>(digits[i + 1] - '0') : 0;
                out[n++] = static_cast<unsigned char>(high << 4 | low);
            }
        } else {
            out[n++] = static_cast<unsigned char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
            ++p;
        }
    }
    return n;
}

}  // namespace

NaturalKey NaturalSortKey(const char* name)
{
    unsigned char folded[16] = {};
    fold(name, folded, sizeof folded);
    NaturalKey key;
    for (size_t i = 0; i < 8; ++i) key.high = (key.high << 8) | folded[i];
    for (size_t i = 8; i < 16; ++i) key.low = (key.low << 8) | folded[i];
    return key;
}

int CompareNatural(const char* a, const char* b)
{
    unsigned char foldedA[kFoldLimit];
    unsigned char foldedB[kFoldLimit];
    // Called when the keys tie, so the names usually part soon after: a short
    // fold settles most comparisons before the whole names are folded.
    constexpr size_t kFirstLook = 24;
    size_t lengthA = fold(a, foldedA, kFirstLook);
    size_t lengthB = fold(b, foldedB, kFirstLook);
    int common = std::memcmp(foldedA, foldedB, std::min(lengthA, lengthB));
    if (common != 0) return common;
    if (lengthA == kFirstLook || lengthB == kFirstLook) {
        lengthA = fold(a, foldedA, kFoldLimit);
        lengthB = fold(b, foldedB, kFoldLimit);
        common = std::memcmp(foldedA, foldedB, std::min(lengthA, lengthB));
        if (common != 0) return common;
    }
    if (lengthA != lengthB) return lengthA < lengthB ? -1 : 1;
    return std::strcmp(a, b);
}
