#include "platform/shell/private/NaturalOrder.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>

namespace {

constexpr size_t kFoldLimit = kNaturalFoldLimit;
// A name of at most this many bytes folds to less than kFoldLimit (a lone
// digit between letters takes three bytes for two), so its whole folded form
// is compared.
constexpr size_t kWhollyFolded = 400;

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// ASCII letters fold to lower case; every other byte stands for itself.
unsigned char foldByte(char c)
{
    return static_cast<unsigned char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
}

// Names are also read eight bytes at a time, as one word.
constexpr std::uint64_t kEveryByte = 0x0101010101010101u;
constexpr std::uint64_t kTopBits = 0x8080808080808080u;

std::uint64_t loadWord(const char* at)
{
    std::uint64_t word;
    std::memcpy(&word, at, sizeof word);
    return word;
}

// Whether any of the eight bytes of word is zero.
bool holdsZero(std::uint64_t word)
{
    return ((word - kEveryByte) & ~word & kTopBits) != 0;
}

// The top bit of every byte of word that lies from low to high, both ASCII.
// Each byte is added to on its own seven bits, so no carry crosses bytes.
std::uint64_t bytesWithin(std::uint64_t word, unsigned char low, unsigned char high)
{
    const std::uint64_t seven = word & ~kTopBits;
    const std::uint64_t fromLow = seven + kEveryByte * (0x80u - low);
    const std::uint64_t pastHigh = seven + kEveryByte * (0x7Fu - high);
    return fromLow & ~pastHigh & ~word & kTopBits;
}

// The word with every byte folded as foldByte folds it.
std::uint64_t foldWord(std::uint64_t word)
{
    return word | bytesWithin(word, 'A', 'Z') >> 2;
}

// Where in memory the first byte that mask (not zero) has bits in lies.
size_t firstByte(std::uint64_t mask)
{
    if constexpr (std::endian::native == std::endian::little)
        return static_cast<size_t>(std::countr_zero(mask)) / 8;
    else
        return static_cast<size_t>(std::countl_zero(mask)) / 8;
}

}  // namespace

// A digit run becomes one byte 0x30 + its count of significant digits (0x39
// and a count byte from 9 digits on), then those digits two to a byte. The
// run bytes sort between '/' and ':' where the digits stood, fewer digits
// sort first, and runs of one length take the same room, so the form
// compares like the names; packing keeps a typical "IMG_001234" whole
// within the first half of the key.
size_t FoldNatural(const char* name, unsigned char* out, size_t limit)
{
    size_t n = 0;
    const char* p = name;
    while (n < limit) {
        const char c = *p;
        if (c == 0) break;
        if (!isDigit(c)) {
            // Most bytes: one in, one out.
            out[n++] = foldByte(c);
            ++p;
        } else {
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
        }
    }
    return n;
}

namespace {

// Compares the folded forms of a and b, then their raw bytes.
int compareFolded(const char* a, const char* b)
{
    unsigned char foldedA[kFoldLimit];
    unsigned char foldedB[kFoldLimit];
    // Names usually part soon: a short fold settles most comparisons before
    // the whole names are folded.
    constexpr size_t kFirstLook = 24;
    size_t lengthA = FoldNatural(a, foldedA, kFirstLook);
    size_t lengthB = FoldNatural(b, foldedB, kFirstLook);
    int common = std::memcmp(foldedA, foldedB, std::min(lengthA, lengthB));
    if (common != 0) return common;
    if (lengthA == kFirstLook || lengthB == kFirstLook) {
        lengthA = FoldNatural(a, foldedA, kFoldLimit);
        lengthB = FoldNatural(b, foldedB, kFoldLimit);
        common = std::memcmp(foldedA, foldedB, std::min(lengthA, lengthB));
        if (common != 0) return common;
    }
    if (lengthA != lengthB) return lengthA < lengthB ? -1 : 1;
    return std::strcmp(a, b);
}

// The order of two names from the point where they part, a and b, when the
// bytes there tell it at once: both names fold alike before them and no
// digit run goes on from before them. Bytes that are not digits are folded
// one by one until they fold apart; if both names end first, they fold
// alike and their first bytes, which differ, decide. Two digit runs of
// unequal value are ordered by it. 0 when only the folded forms can tell (a
// digit against another byte, runs of one value, runs too long to count).
// Where readable bytes of both may be read, a word at a time while no digit
// and no end comes.
int toldAtOnce(const char* a, const char* b, size_t readable)
{
    const bool digitA = isDigit(*a), digitB = isDigit(*b);
    if (!digitA && !digitB) {
        size_t i = 0;
        for (; i + 8 <= readable; i += 8) {
            const std::uint64_t wordA = loadWord(a + i), wordB = loadWord(b + i);
            if (holdsZero(wordA) || holdsZero(wordB) ||
                (bytesWithin(wordA, '0', '9') | bytesWithin(wordB, '0', '9')) != 0)
                break;
            if (const std::uint64_t apart = foldWord(wordA) ^ foldWord(wordB); apart != 0) {
                const size_t at = i + firstByte(apart);
                return foldByte(a[at]) < foldByte(b[at]) ? -1 : 1;
            }
        }
        for (;; ++i) {
            if (isDigit(a[i]) || isDigit(b[i])) return 0;
            const unsigned char foldA = foldByte(a[i]), foldB = foldByte(b[i]);
            if (foldA != foldB) return foldA < foldB ? -1 : 1;
            if (foldA == 0) break;
        }
        return static_cast<unsigned char>(*a) < static_cast<unsigned char>(*b) ? -1 : 1;
    }
    if (!digitA || !digitB) return 0;
    while (*a == '0') ++a;
    while (*b == '0') ++b;
    size_t countA = 0, countB = 0;
    while (isDigit(a[countA])) ++countA;
    while (isDigit(b[countB])) ++countB;
    // The folded form counts at most 255 digits.
    if (countA >= 255 || countB >= 255) return 0;
    if (countA != countB) return countA < countB ? -1 : 1;
    const int digits = std::memcmp(a, b, countA);
    return digits < 0 ? -1 : digits > 0 ? 1 : 0;
}

}  // namespace

NaturalKey NaturalKeyOfBytes(const unsigned char* bytes)
{
    // Big-endian: two loads, each turned about if this machine is not.
    NaturalKey key;
    std::memcpy(&key.high, bytes, 8);
    std::memcpy(&key.low, bytes + 8, 8);
    if constexpr (std::endian::native == std::endian::little) {
        key.high = __builtin_bswap64(key.high);
        key.low = __builtin_bswap64(key.low);
    }
    return key;
}

NaturalKey NaturalKeyAt(const char* name, size_t depth, unsigned* filled)
{
    // Past the cut every form counts as going on; only the full comparison
    // can order such names.
    if (depth + 17 > kFoldLimit) {
        *filled = kGoesOn;
        return {};
    }
    unsigned char folded[kFoldLimit];
    // One byte more than the key tells whether the form goes on.
    const size_t length = FoldNatural(name, folded, depth + 17);
    if (length > depth + 16) {
        *filled = kGoesOn;
    } else {
        *filled = static_cast<unsigned>(length > depth ? length - depth : 0);
        // Zero past the end; only the key's bytes are cleared.
        const size_t from = std::max(length, depth);
        std::memset(folded + from, 0, depth + 16 - from);
    }
    return NaturalKeyOfBytes(folded + depth);
}

NaturalKey NaturalSortKey(const char* name)
{
    unsigned filled = 0;
    return NaturalKeyAt(name, 0, &filled);
}

bool FoldsAlike(const char* a, const char* b, size_t length)
{
    size_t i = 0;
    for (; i + 8 <= length; i += 8)
        if (foldWord(loadWord(a + i)) != foldWord(loadWord(b + i))) return false;
    for (; i < length; ++i)
        if (foldByte(a[i]) != foldByte(b[i])) return false;
    return true;
}

namespace {

// Whether name, which agrees with another up to same, is too long to be
// folded whole; readable bounds its bytes where it is known (not 0).
bool foldedOnlyInPart(const char* name, size_t same, size_t readable)
{
    if (readable != 0 && readable <= kWhollyFolded + 1) return false;
    return same + std::strlen(name + same) > kWhollyFolded;
}

// The order of a and b, which agree byte for byte, with no zero, for their
// first same bytes. readableA and readableB bound each name's bytes, its
// zero among them, where they are known (not 0).
int compareFrom(const char* a, const char* b, size_t same, size_t readableA, size_t readableB)
{
    while (a[same] != 0 && a[same] == b[same]) ++same;
    if (a[same] == b[same]) return 0;
    // Longer names are compared by their cut folded forms, from the start.
    if (foldedOnlyInPart(a, same, readableA) || foldedOnlyInPart(b, same, readableB))
        return compareFolded(a, b);
    while (same > 0 && isDigit(a[same - 1])) --same;
    const size_t readable = std::min(readableA, readableB);
    if (const int told = toldAtOnce(a + same, b + same, readable > same ? readable - same : 0))
        return told;
    return compareFolded(a + same, b + same);
}

}  // namespace

int CompareNatural(const char* a, const char* b)
{
    // Equal bytes fold alike, so the folded forms are compared only from the
    // first difference, backed up to the start of the digit run it falls in:
    // a shared prefix costs a byte compare, not a fold, however long it is.
    return compareFrom(a, b, 0, 0, 0);
}

int CompareNatural(const char* a, size_t readableA, const char* b, size_t readableB)
{
    // The shared beginning a word at a time, as far as both may be read.
    const size_t readable = std::min(readableA, readableB);
    size_t same = 0;
    for (; same + 8 <= readable; same += 8) {
        const std::uint64_t wordA = loadWord(a + same), wordB = loadWord(b + same);
        if (wordA != wordB || holdsZero(wordA)) break;
    }
    return compareFrom(a, b, same, readableA, readableB);
}
