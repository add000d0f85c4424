#include "tests/platform_shell/ShellFixture.h"

#include "platform/shell/private/NaturalOrder.h"

#include <random>

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
          "ABC", "caf\xE9", "caf\xC3\xA9", ".hidden", "_x", "photo 2"})
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
                                               "photo 2"};
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
