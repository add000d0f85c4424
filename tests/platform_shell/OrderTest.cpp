#include "tests/platform_shell/ShellFixture.h"

#include "platform/shell/private/FolderOrder.h"
#include "platform/shell/private/NaturalOrder.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace {
int sign(int v)
{
    return v < 0 ? -1 : v > 0 ? 1 : 0;
}
}  // namespace

// Each pair is in ascending order.
TEST(NaturalOrder, ComparesLettersWithoutCaseAndDigitRunsByValue)
{
    const std::pair<const char*, const char*> ascending[] = {
        {"img2", "img10"},
        {"img9.jpg", "img10.jpg"},
        {"a", "B"},
        {"b", "C"},
        {"abc", "abcd"},
        {"x1y2", "x1y10"},
        {"file", "file0"},
        {"a0", "a1"},
        {"2", "10"},
        {"99", "100"},
        {"a.txt", "a1.txt"},
        {"_x", "ax"},
        {"photo 2", "photo 10"},
        {"z", "\xC3\xA9"},
        {"caf\xE9", "caf\xFF"},
        {"v1.9", "v1.10"},
        {"a long common prefix 2", "a long common prefix 10"},
        {"12345678901234567890", "12345678901234567891"},
        {"ABC", "abc"},  // equal but for case: raw bytes decide
        {"x01", "x1"},   // equal value: raw bytes decide
        // The names part inside a digit run: the whole run decides.
        {"x13", "x1299"},
        {"a123x", "a1234"},
        {"IMG_20240104_153045", "IMG_20240104_1530450"},
        {"Holiday photo from the summer of 2024 0000099.jpg",
         "Holiday photo from the summer of 2024 0000100.jpg"},
        {"Holiday photo from the summer of 2024 99.jpg",
         "HOLIDAY PHOTO FROM THE SUMMER OF 2024 100.jpg"},
    };
    for (const auto& [first, second] : ascending) {
        EXPECT_LT(CompareNatural(first, second), 0) << first << " < " << second;
        EXPECT_GT(CompareNatural(second, first), 0) << second << " > " << first;
    }
    EXPECT_EQ(0, CompareNatural("same", "same"));
}

// Where two keys differ they must agree with the full comparison, or the
// sort would depend on which path a comparison took.
TEST(NaturalOrder, SortKeysAgreeWithTheFullComparison)
{
    const char alphabet[] = "aAbZ0019 ._-\xC3\xA9\xFF";
    std::minstd_rand random(1);
    for (int i = 0; i < 20000; ++i) {
        std::string a, b;
        for (std::string* s : {&a, &b}) {
            const size_t length = 1 + random() % 24;
            for (size_t k = 0; k < length; ++k)
                s->push_back(alphabet[random() % (sizeof alphabet - 1)]);
        }
        const NaturalKey keyA = NaturalSortKey(a.c_str()), keyB = NaturalSortKey(b.c_str());
        if (keyA != keyB) {
            ASSERT_EQ(keyA < keyB ? -1 : 1, sign(CompareNatural(a.c_str(), b.c_str())))
                << a << " | " << b;
        }
    }
}

namespace {

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// The order of two names spelt out plainly, apart from the comparison's
// folded form: ASCII letters without regard to case; a run of digits by its
// value, of equal values the run with fewer significant digits first (they
// are equal there, leading zeros aside); against another byte a run stands
// where the digits stand; other bytes by value. A name that ends first
// comes first. Names alike in all that go by their raw bytes.
// A byte as the plain order sees it: ASCII capitals as small letters.
unsigned char PlainFold(char c)
{
    return static_cast<unsigned char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
}

int PlainOrder(const std::string& a, const std::string& b)
{
    size_t i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        if (isDigit(a[i]) && isDigit(b[j])) {
            while (i < a.size() && a[i] == '0') ++i;
            while (j < b.size() && b[j] == '0') ++j;
            size_t endA = i, endB = j;
            while (endA < a.size() && isDigit(a[endA])) ++endA;
            while (endB < b.size() && isDigit(b[endB])) ++endB;
            if (endA - i != endB - j) return endA - i < endB - j ? -1 : 1;
            if (const int digits = a.compare(i, endA - i, b, j, endB - j); digits != 0)
                return digits < 0 ? -1 : 1;
            i = endA;
            j = endB;
            continue;
        }
        const unsigned charA = isDigit(a[i]) ? '0' : PlainFold(a[i]);
        const unsigned charB = isDigit(b[j]) ? '0' : PlainFold(b[j]);
        if (charA != charB) return charA < charB ? -1 : 1;
        ++i;
        ++j;
    }
    if (i < a.size() || j < b.size()) return i < a.size() ? 1 : -1;
    return sign(std::strcmp(a.c_str(), b.c_str()));
}

}  // namespace

// The comparison reads most answers off the bytes where two names part; on
// random names that mostly share a beginning (letters in both cases, digit
// runs with leading zeros and longer than 64 bits, other bytes) it orders
// every pair as the plain order does.
TEST(NaturalOrder, OrdersAsThePlainOrder)
{
    const char alphabet[] = "aAbB00019 .~\xE9";
    std::minstd_rand random(3);
    const auto make = [&](size_t most) {
        std::string name;
        for (size_t length = random() % most; name.size() < length;) {
            if (random() % 16 == 0)  // now and then a run too long for 64 bits
                for (size_t digits = 20 + random() % 30; digits > 0; --digits)
                    name.push_back(static_cast<char>('0' + random() % 10));
            else
                name.push_back(alphabet[random() % (sizeof alphabet - 1)]);
        }
        return name;
    };
    // A copy in a block of exactly its bytes, so that a read past it is seen
    // (under the address sanitizer).
    const auto exact = [](const std::string& name) {
        auto copy = std::make_unique<char[]>(name.size() + 1);
        std::memcpy(copy.get(), name.c_str(), name.size() + 1);
        return copy;
    };
    for (int i = 0; i < 100000; ++i) {
        const std::string a = make(12);
        const std::string b = a.substr(0, random() % (a.size() + 1)) + make(8);
        const int expected = PlainOrder(a, b);
        ASSERT_EQ(expected, sign(CompareNatural(a.c_str(), b.c_str()))) << a << " | " << b;
        // Told how far each may be read, it passes the shared beginning by
        // words and comes to the same answer.
        const auto copyA = exact(a), copyB = exact(b);
        ASSERT_EQ(expected,
                  sign(CompareNatural(copyA.get(), a.size() + 1, copyB.get(), b.size() + 1)))
            << a << " | " << b;
    }
    // Names that fold alike but for a byte or two, where only the letters'
    // case differs for long stretches: those stretches are folded a word at a
    // time. The bytes beside the capitals and the small letters ('@', '[',
    // '`', '{') and bytes past ASCII that differ from letters by the same
    // bit must not fold.
    const char near[] = "aAzZmM@[`{ .0019~\xC1\xE1\xDA\xFA";
    const auto flipCase = [](char c) {
        if (c >= 'a' && c <= 'z') return static_cast<char>(c - 'a' + 'A');
        if (c >= 'A' && c <= 'Z') return static_cast<char>(c - 'A' + 'a');
        return c;
    };
    for (int i = 0; i < 100000; ++i) {
        std::string a;
        for (size_t length = 1 + random() % 40; a.size() < length;)
            a.push_back(near[random() % (sizeof near - 1)]);
        std::string b = a;
        for (char& c : b)
            if (random() % 3 == 0) c = flipCase(c);
        if (random() % 2 == 0) b[random() % b.size()] = near[random() % (sizeof near - 1)];
        if (random() % 4 == 0) b.resize(random() % (b.size() + 1));
        const int expected = PlainOrder(a, b);
        const auto copyA = exact(a), copyB = exact(b);
        ASSERT_EQ(expected,
                  sign(CompareNatural(copyA.get(), a.size() + 1, copyB.get(), b.size() + 1)))
            << a << " | " << b;
        ASSERT_EQ(expected, sign(CompareNatural(a.c_str(), b.c_str()))) << a << " | " << b;
        if (a.size() == b.size()) {
            unsigned char foldedA[kNaturalFoldLimit], foldedB[kNaturalFoldLimit];
            const bool alike = std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
                return PlainFold(x) == PlainFold(y);
            });
            ASSERT_EQ(alike, FoldsAlike(copyA.get(), copyB.get(), a.size())) << a << " | " << b;
            if (alike) {
                const size_t length = FoldNatural(a.c_str(), foldedA, sizeof foldedA);
                ASSERT_EQ(length, FoldNatural(b.c_str(), foldedB, sizeof foldedB));
                ASSERT_EQ(0, std::memcmp(foldedA, foldedB, length)) << a << " | " << b;
            }
        }
    }
    // Past 400 bytes a name may fold beyond the cut: such names are ordered
    // by their cut forms, then their bytes, whether or not it is known how
    // far they can be read. Here only the last letter's case tells them
    // apart in bytes, and the letter itself in folded form.
    std::string longPrefix;
    while (longPrefix.size() < 430) longPrefix += "a1";
    for (const bool past : {true, false}) {
        const std::string prefix = past ? longPrefix : std::string(300, 'a');
        const std::string a = prefix + "B", b = prefix + "a";
        const int expected = past ? -1 : 1;
        const auto copyA = exact(a), copyB = exact(b);
        EXPECT_EQ(expected, sign(CompareNatural(a.c_str(), b.c_str())));
        EXPECT_EQ(expected,
                  sign(CompareNatural(copyA.get(), a.size() + 1, copyB.get(), b.size() + 1)));
    }
    // Long runs part in their middle, and their values tell them apart.
    EXPECT_LT(CompareNatural("x123456789012345678901234567890", "x123456789012345678901234567891"),
              0);
    EXPECT_GT(CompareNatural("x00000000000000000000000000000000002", "x1"), 0);
}

// Keys taken deeper into the folded names, as the enumerator takes them past
// a shared prefix, must agree with the full comparison too: where they
// differ, and where one name ends inside equal keys and the other goes on.
TEST(NaturalOrder, DeepKeysAgreeWithTheFullComparison)
{
    const char* prefixes[] = {"", "IMG_2024", "Holiday photo from the summer of 2024 ", "x1"};
    const char alphabet[] = "aA0019 .";
    std::minstd_rand random(2);
    for (int i = 0; i < 20000; ++i) {
        const std::string prefix = prefixes[random() % 4];
        std::string a = prefix, b = prefix;
        for (std::string* s : {&a, &b}) {
            const size_t length = random() % 30;
            for (size_t k = 0; k < length; ++k)
                s->push_back(alphabet[random() % (sizeof alphabet - 1)]);
        }
        if (a.empty() || b.empty() || a == b) continue;
        const int expected = sign(CompareNatural(a.c_str(), b.c_str()));
        ASSERT_EQ(-expected, sign(CompareNatural(b.c_str(), a.c_str()))) << a << " | " << b;
        // Every depth up to where the folded forms part.
        unsigned char foldedA[kNaturalFoldLimit], foldedB[kNaturalFoldLimit];
        const size_t lengthA = FoldNatural(a.c_str(), foldedA, sizeof foldedA);
        const size_t lengthB = FoldNatural(b.c_str(), foldedB, sizeof foldedB);
        size_t shared = 0;
        while (shared < std::min(lengthA, lengthB) && foldedA[shared] == foldedB[shared]) ++shared;
        for (size_t depth = 0; depth <= shared; ++depth) {
            unsigned filledA = 0, filledB = 0;
            const NaturalKey keyA = NaturalKeyAt(a.c_str(), depth, &filledA);
            const NaturalKey keyB = NaturalKeyAt(b.c_str(), depth, &filledB);
            const auto at = [&] { return a + " | " + b + " @" + std::to_string(depth); };
            if (keyA != keyB) {
                ASSERT_EQ(keyA < keyB ? -1 : 1, expected) << at();
            } else if (filledA != filledB) {
                // Ending first, or filling fewer bytes, is coming first.
                ASSERT_EQ(filledA < filledB ? -1 : 1, expected) << at();
            } else if (filledA != kGoesOn) {
                // Equal folded forms: the raw bytes decide.
                ASSERT_EQ(sign(std::strcmp(a.c_str(), b.c_str())), expected) << at();
            }
        }
    }
}

TEST_F(ShellTest, CompareIDsPutsFoldersFirstInTheCodeField)
{
    MakeFile("img10.jpg");
    MakeFile("IMG2.jpg");
    MakeFolder("zeta");
    ComRef<IShellFolder> root = Bind("C:\\");
    ASSERT_TRUE(root);
    std::vector<OwnedId> ids = Children(root.get());
    ASSERT_EQ(3u, ids.size());
    auto find = [&](const std::string& name) {
        for (const OwnedId& id : ids)
            if (Name(root.get(), id.get()) == name) return id.get();
        return LPITEMIDLIST{};
    };
    const auto order = [&](const char* a, const char* b) {
        const HRESULT hr = root->CompareIDs(0, find(a), find(b));
        EXPECT_TRUE(SUCCEEDED(hr));
        return static_cast<int>(static_cast<short>(hr & 0xFFFF));
    };
    EXPECT_EQ(-1, order("zeta", "IMG2.jpg"));
    EXPECT_EQ(1, order("img10.jpg", "zeta"));
    EXPECT_EQ(-1, order("IMG2.jpg", "img10.jpg"));
    EXPECT_EQ(0, order("IMG2.jpg", "IMG2.jpg"));
    EXPECT_EQ(0x0000FFFF, root->CompareIDs(0, find("IMG2.jpg"), find("img10.jpg")));
}

// The enumerator hands a folder out already in CompareIDs order, so the
// caller's sort only checks it; names that tie in the key fall back to the
// full comparison, and what is not handed out is freed.
TEST_F(ShellTest, EnumeratesAFolderInCompareIDsOrder)
{
    for (const char* file :
         {"img10.jpg", "IMG2.jpg", "holiday123456_take10.jpg", "Holiday123456_Take9.jpg", "abc",
          "ABC", "caf\xE9", "caf\xC3\xA9", ".hidden", "_x", "photo 2", "sixteen letters.",
          "sixteen letters.x", "Sixteen letters."})
        MakeFile(file);
    for (const char* folder : {"zeta", "Alpha", "alpha10", "alpha9"}) MakeFolder(folder);
    ComRef<IShellFolder> root = Bind("C:\\");
    ASSERT_TRUE(root);
    const std::vector<std::string> expected = {"Alpha",
                                               "alpha9",
                                               "alpha10",
                                               "zeta",
                                               ".hidden",
                                               "_x",
                                               "ABC",
                                               "abc",
                                               "caf\xC3\xA9",
                                               "caf\xE9",
                                               "Holiday123456_Take9.jpg",
                                               "holiday123456_take10.jpg",
                                               "IMG2.jpg",
                                               "img10.jpg",
                                               "photo 2",
                                               "Sixteen letters.",
                                               "sixteen letters.",
                                               "sixteen letters.x"};
    std::vector<OwnedId> ids = Children(root.get());
    std::vector<std::string> names;
    for (const OwnedId& id : ids) names.push_back(Name(root.get(), id.get()));
    EXPECT_EQ(expected, names);
    for (size_t i = 1; i < ids.size(); ++i) {
        const HRESULT order = root->CompareIDs(0, ids[i - 1].get(), ids[i].get());
        EXPECT_EQ(0xFFFF, order & 0xFFFF) << names[i - 1] << " | " << names[i];
    }

    // Reset starts over; ids not taken die with the enumerator.
    ComRef<IEnumIDList> enumerator;
    ASSERT_EQ(S_OK, root->EnumObjects(nullptr, SHCONTF_NONFOLDERS, enumerator.put()));
    OwnedId first;
    ULONG fetched = 0;
    ASSERT_EQ(S_OK, enumerator->Next(1, first.put(), &fetched));
    EXPECT_EQ("_x", Name(root.get(), first.get()));
    ASSERT_EQ(S_OK, enumerator->Reset());
    OwnedId again;
    ASSERT_EQ(S_OK, enumerator->Next(1, again.put(), &fetched));
    EXPECT_EQ("_x", Name(root.get(), again.get()));
}

namespace {

// The kinds of names real folders hold, a few hundred of each: long shared
// prefixes, dates and times, numbers first, case alone, hashes, bytes that
// are not UTF-8, Traditional Chinese.
std::vector<std::string> NamesOfPattern(int pattern, int count)
{
    std::vector<std::string> names;
    std::minstd_rand random(static_cast<unsigned>(pattern + 7));
    char name[256];
    for (int i = 0; i < count; ++i) {
        switch (pattern) {
        case 0: std::snprintf(name, sizeof name, "Holiday %07d.jpg", i); break;
        case 1: std::snprintf(name, sizeof name, "Holiday photo fr %07d.jpg", i); break;
        case 2:
            std::snprintf(name, sizeof name, "Holiday photo from the summer of 2024 %d.jpg",
                          static_cast<int>(random() % 100000));
            break;
        case 3:
            std::snprintf(name, sizeof name, "Screenshot from 2024-%02d-%02d %02d-%02d-%02d.png",
                          1 + i % 12, 1 + i % 28, i % 24, i % 60, (i * 7) % 60);
            break;
        case 4:
            std::snprintf(name, sizeof name, i % 2 ? "IMG_2024%04d_%06d.jpg" : "DSC%05d.JPG",
                          i % 1231, static_cast<int>(random() % 1000000));
            break;
        case 5:
            std::snprintf(name, sizeof name, "%07d of the quarterly report, final copy.pdf", i);
            break;
        case 6:
            std::snprintf(name, sizeof name, "%s %d.txt", std::string(190, 'n').c_str(), i);
            break;
        case 7: {
            std::string word = "holiday photo " + std::to_string(i % 40) + ".jpg";
            for (char& c : word)
                if (random() % 2)
                    c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
            std::snprintf(name, sizeof name, "%s", word.c_str());
            break;
        }
        case 8:
            std::snprintf(name, sizeof name, "%08x%08x%08x.jpg", static_cast<unsigned>(random()),
                          static_cast<unsigned>(random()), i);
            break;
        case 9:
            std::snprintf(name, sizeof name, "Caf\xE9 \xE0 la cr\xE8me %d \xFF%c.txt", i % 50,
                          'a' + i % 7);
            break;
        default: std::snprintf(name, sizeof name, "家庭旅遊照片 %d 第%d張.jpg", i % 30, i); break;
        }
        names.emplace_back(name);
    }
    std::sort(names.begin(), names.end());
    names.erase(std::unique(names.begin(), names.end()), names.end());
    return names;
}

}  // namespace

// On each kind of name the enumerator's order is CompareIDs's: every adjacent
// pair compares -1, and the order is that of sorting the names outright.
TEST_F(ShellTest, EnumeratesEveryKindOfNameInCompareIDsOrder)
{
    constexpr int kPatterns = 11;
    for (int pattern = 0; pattern < kPatterns; ++pattern) {
        const std::string folder = "pattern" + std::to_string(pattern);
        MakeFolder(folder);
        std::vector<std::string> expected = NamesOfPattern(pattern, 300);
        // Named like the files, and still first.
        const std::string subfolder = expected.back() + " folder";
        // A few names that stand out, on either side of the many alike.
        for (const char* odd : {"!notes.txt", "~backup", "0.txt", "zz.txt"})
            expected.emplace_back(odd);
        for (const std::string& name : expected) MakeFile(folder + "/" + name);
        MakeFolder(folder + "/" + subfolder);
        std::sort(expected.begin(), expected.end(), [](const std::string& a, const std::string& b) {
            return CompareNatural(a.c_str(), b.c_str()) < 0;
        });
        expected.insert(expected.begin(), subfolder);

        ComRef<IShellFolder> contents = Bind("C:\\" + folder);
        ASSERT_TRUE(contents) << folder;
        std::vector<OwnedId> ids = Children(contents.get());
        std::vector<std::string> names;
        for (const OwnedId& id : ids) names.push_back(Name(contents.get(), id.get()));
        EXPECT_EQ(expected, names) << "pattern " << pattern;
        for (size_t i = 1; i < ids.size(); ++i) {
            const HRESULT order = contents->CompareIDs(0, ids[i - 1].get(), ids[i].get());
            ASSERT_EQ(0xFFFF, order & 0xFFFF)
                << "pattern " << pattern << ": " << names[i - 1] << " | " << names[i];
        }
    }
}

namespace {

// Names listed as the enumerator lists them: in a block, each with its first
// key, in the shuffled order a folder's own order looks like.
struct Listing {
    std::string block;
    std::vector<ListedEntry> entries;

    void Add(const std::string& name, bool folder)
    {
        entries.push_back(
            ListName(name.c_str(), name.size(), static_cast<std::uint32_t>(block.size()), folder));
        block.append(name.c_str(), name.size() + 1);
    }
    std::vector<std::string> Sorted(std::ptrdiff_t sharedFrom)
    {
        std::vector<ListedEntry> sorted = entries;
        SortListed(sorted.data(), sorted.data() + sorted.size(), block.data(), sharedFrom);
        std::vector<std::string> names;
        for (const ListedEntry& entry : sorted) names.emplace_back(block.data() + entry.offset);
        return names;
    }
};

}  // namespace

// Large listings are sorted by two threads, which share out groups of names
// and cut a group's keys at its middle: whoever sorts what, the order is the
// comparison's, with folders first. Sharing from every size up puts a cut in
// every group; the default shares only the large listing.
TEST(NaturalOrder, ASortSharedByTwoThreadsKeepsTheOrder)
{
    const auto inOrder = [](const std::string& a, const std::string& b) {
        return CompareNatural(a.c_str(), b.c_str()) < 0;
    };
    for (int pattern = 0; pattern < 11; ++pattern) {
        std::vector<std::string> files = NamesOfPattern(pattern, pattern == 1 ? 40000 : 3000);
        std::shuffle(files.begin(), files.end(), std::minstd_rand(static_cast<unsigned>(pattern)));
        // Every hundredth name a folder, listed among the files.
        std::vector<std::string> folders;
        Listing listing;
        for (size_t i = 0; i < files.size(); ++i) {
            listing.Add(files[i], i % 100 == 0);
            if (i % 100 == 0) folders.push_back(files[i]);
        }
        std::sort(folders.begin(), folders.end());
        std::erase_if(files, [&](const std::string& name) {
            return std::binary_search(folders.begin(), folders.end(), name);
        });
        std::sort(folders.begin(), folders.end(), inOrder);
        std::sort(files.begin(), files.end(), inOrder);
        std::vector<std::string> expected = folders;
        expected.insert(expected.end(), files.begin(), files.end());

        for (const std::ptrdiff_t sharedFrom :
             {std::ptrdiff_t{2}, std::ptrdiff_t{64}, kSortSharedFrom})
            ASSERT_EQ(expected, listing.Sorted(sharedFrom))
                << "pattern " << pattern << ", shared from " << sharedFrom;
    }
}
