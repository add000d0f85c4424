// Item id list operations on hand-made lists in the shell allocator's memory.

#include "platform/shell/ShellDiagnostics.h"
#include "shell/IdList.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

// Builds a list of entries with the given counts (each filled with its index).
LPITEMIDLIST MakeList(const std::vector<WORD>& counts)
{
    int size = 2;
    for (WORD count : counts) size += count;
    LPITEMIDLIST list = AllocIdList(size);
    auto* at = reinterpret_cast<BYTE*>(list);
    for (size_t i = 0; i < counts.size(); ++i) {
        std::memcpy(at, &counts[i], 2);
        std::memset(at + 2, static_cast<int>(i + 1), counts[i] - 2u);
        at += counts[i];
    }
    at[0] = at[1] = 0;
    return list;
}

std::vector<BYTE> Bytes(LPCITEMIDLIST list)
{
    auto* at = reinterpret_cast<const BYTE*>(list);
    return {at, at + IdListSize(list)};
}

class IdListTest : public ::testing::Test {
protected:
    void SetUp() override { FLiveAtStart = ShellDiagnostics::LiveBlocks(); }
    void TearDown() override
    {
        ShellDiagnostics::Reset();
        EXPECT_EQ(ShellDiagnostics::LiveBlocks(), FLiveAtStart);
    }
    long FLiveAtStart = 0;
};

}  // namespace

// Sizes count the terminator and every entry's own count.
TEST_F(IdListTest, SizeOfNullEmptyAndTwoEntryLists)
{
    EXPECT_EQ(IdListSize(nullptr), 0);
    LPITEMIDLIST empty = MakeList({});
    LPITEMIDLIST two = MakeList({20, 14});
    EXPECT_EQ(IdListSize(empty), 2);
    EXPECT_EQ(IdListSize(two), 36);
    EXPECT_EQ(reinterpret_cast<BYTE*>(NextId(two)), reinterpret_cast<BYTE*>(two) + 20);
    FreeItemId(empty);
    FreeItemId(two);
}

// Stripping cuts exactly the last entry and answers where it began.
TEST_F(IdListTest, StripLastId)
{
    LPITEMIDLIST one = MakeList({10});
    EXPECT_EQ(StripLastId(one), one);
    EXPECT_EQ(IdListSize(one), 2);

    LPITEMIDLIST two = MakeList({20, 14});
    LPITEMIDLIST end = StripLastId(two);
    EXPECT_EQ(reinterpret_cast<BYTE*>(end), reinterpret_cast<BYTE*>(two) + 20);
    EXPECT_EQ(IdListSize(two), 22);

    LPITEMIDLIST empty = MakeList({});
    EXPECT_EQ(StripLastId(empty), empty);
    EXPECT_EQ(IdListSize(empty), 2);
    EXPECT_EQ(StripLastId(nullptr), nullptr);
    FreeItemId(one);
    FreeItemId(two);
    FreeItemId(empty);
}

// Copies and joins are new blocks; their arguments stay as they were.
TEST_F(IdListTest, CopyAndJoin)
{
    EXPECT_EQ(CopyIdList(nullptr), nullptr);
    LPITEMIDLIST empty = MakeList({});
    LPITEMIDLIST parent = MakeList({20, 14});
    LPITEMIDLIST child = MakeList({7});
    const auto parentBytes = Bytes(parent);

    LPITEMIDLIST emptyCopy = CopyIdList(empty);
    EXPECT_NE(emptyCopy, empty);
    EXPECT_EQ(Bytes(emptyCopy), Bytes(empty));

    LPITEMIDLIST joined = JoinIdLists(parent, child);
    EXPECT_EQ(IdListSize(joined), IdListSize(parent) + IdListSize(child) - 2);
    EXPECT_EQ(std::memcmp(joined, parent, 34), 0);
    EXPECT_EQ(std::memcmp(reinterpret_cast<BYTE*>(joined) + 34, child, 9), 0);
    EXPECT_EQ(Bytes(parent), parentBytes);

    LPITEMIDLIST fromNullParent = JoinIdLists(nullptr, child);
    LPITEMIDLIST fromEmptyParent = JoinIdLists(empty, child);
    LPITEMIDLIST withEmptyChild = JoinIdLists(parent, empty);
    LPITEMIDLIST withNullChild = JoinIdLists(parent, nullptr);
    EXPECT_EQ(Bytes(fromNullParent), Bytes(child));
    EXPECT_EQ(Bytes(fromEmptyParent), Bytes(child));
    EXPECT_EQ(Bytes(withEmptyChild), parentBytes);
    EXPECT_EQ(Bytes(withNullChild), parentBytes);

    for (LPITEMIDLIST list : {empty, parent, child, emptyCopy, joined, fromNullParent,
                              fromEmptyParent, withEmptyChild, withNullChild})
        FreeItemId(list);
}

TEST_F(IdListTest, AllocTwoBytesReadsAsEmpty)
{
    LPITEMIDLIST list = AllocIdList(2);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(IdListSize(list), 2);
    FreeItemId(list);
}

// Allocation failures answer null; freeing without an allocator raises and
// frees nothing; freeing null never asks for the allocator.
TEST_F(IdListTest, AllocatorFailures)
{
    LPITEMIDLIST list = MakeList({10});

    ShellDiagnostics::FailAlloc(true);
    EXPECT_EQ(AllocIdList(8), nullptr);
    EXPECT_EQ(CopyIdList(list), nullptr);
    EXPECT_EQ(JoinIdLists(list, list), nullptr);
    ShellDiagnostics::FailAlloc(false);

    ShellDiagnostics::FailGetMalloc(E_OUTOFMEMORY);
    EXPECT_EQ(AllocIdList(8), nullptr);
    EXPECT_NO_THROW(FreeItemId(nullptr));
    EXPECT_THROW(FreeItemId(list), Exception);
    ShellDiagnostics::FailGetMalloc(S_OK);

    FreeItemId(list);
}
