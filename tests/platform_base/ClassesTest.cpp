#include "platform/base/Classes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

namespace {
int byValue(void* a, void* b)
{
    const auto x = reinterpret_cast<std::intptr_t>(a), y = reinterpret_cast<std::intptr_t>(b);
    return x < y ? -1 : x > y ? 1 : 0;
}
// Not an order at all: the sort must still stay inside the list.
int coinFlip(void*, void*)
{
    static std::minstd_rand random(7);
    return static_cast<int>(random() % 3) - 1;
}
}  // namespace

TEST(TList, RaisesForIndexesOutsideTheList)
{
    TList list;
    list.Add(reinterpret_cast<void*>(1));
    EXPECT_EQ(reinterpret_cast<void*>(1), list.Get(0));
    for (int bad : {-1, 1, 100}) {
        try {
            list.Get(bad);
            ADD_FAILURE() << bad;
        } catch (const EListError& e) {
            EXPECT_EQ(Format("List index out of bounds (%d)", bad), e.Message());
        }
    }
    EXPECT_THROW(list.Put(1, nullptr), EListError);
}

TEST(TList, SortsAnyLengthWithTheCompareFunction)
{
    std::minstd_rand random(42);
    for (int n : {0, 1, 2, 15, 16, 17, 33, 1000, 4099}) {
        TList list;
        std::vector<std::intptr_t> expected;
        for (int i = 0; i < n; ++i) {
            const auto v = static_cast<std::intptr_t>(random() % 500);
            expected.push_back(v);
            list.Add(reinterpret_cast<void*>(v));
        }
        std::sort(expected.begin(), expected.end());
        list.Sort(byValue);
        ASSERT_EQ(n, list.GetCount());
        for (int i = 0; i < n; ++i)
            ASSERT_EQ(expected[static_cast<size_t>(i)],
                      reinterpret_cast<std::intptr_t>(list.Get(i)))
                << n;
    }
    // Lists that are nearly in order: the check for an ordered list must not
    // stop the sort when the last item, the first or one in the middle is out
    // of place.
    for (int n : {2, 17, 5000}) {
        for (int misplaced : {-1, 0, n - 1, n / 2 - 1, n / 2, n / 2 + 1}) {
            if (misplaced >= n) continue;
            const auto value = [](std::intptr_t v) { return reinterpret_cast<void*>(v); };
            TList list;
            for (int i = 0; i < n; ++i) list.Add(value(i + 1));
            if (misplaced >= 0) list.Put(misplaced, value(misplaced == 0 ? n + 1 : 0));
            list.Sort(byValue);
            for (int i = 1; i < n; ++i)
                ASSERT_LE(byValue(list.Get(i - 1), list.Get(i)), 0) << n << " " << misplaced;
        }
    }
    TList chaos;
    for (int i = 0; i < 3000; ++i)
        chaos.Add(reinterpret_cast<void*>(static_cast<std::intptr_t>(i)));
    chaos.Sort(coinFlip);
    EXPECT_EQ(3000, chaos.GetCount());
}

TEST(TStrings, IndexOfMatchesWholeTextExactly)
{
    TStringList strings;
    int object = 0;
    EXPECT_EQ(0, strings.AddObject("C:\\Photos", &object));
    EXPECT_EQ(1, strings.Add("C:\\photos"));
    strings.InsertObject(0, "D:\\", nullptr);
    EXPECT_EQ(1, strings.IndexOf("C:\\Photos"));
    EXPECT_EQ(2, strings.IndexOf("C:\\photos"));
    EXPECT_EQ(-1, strings.IndexOf("C:\\PHOTOS"));
    EXPECT_EQ(-1, strings.IndexOf("C:\\Photo"));
    EXPECT_EQ(&object, strings.GetObject(1));
    EXPECT_THROW(strings.Get(3), EListError);
}
