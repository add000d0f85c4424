// The memory a large folder's open is made of: arrays that grow in place,
// and pools of records whose emptied slabs serve the next open, no more of
// them kept than are in use.

#include "platform/base/BlockPool.h"
#include "platform/base/Classes.h"
#include "platform/base/MappedBlock.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <fstream>
#include <set>
#include <string>
#include <vector>

namespace {

constexpr size_t kMB = size_t{1} << 20;

// The process's resident memory now, in bytes.
size_t Resident()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0) return std::stoul(line.substr(6)) * 1024;
    return 0;
}

void Touch(const MappedBlock& block, unsigned char value)
{
    std::memset(block.Data(), value, block.Usable());
}

}  // namespace

TEST(MappedBlock, AnArrayKeepsWhatItHoldsAsItGrowsAndStopsAtItsLimit)
{
    MappedArray<std::uint64_t> array(3 * kMB / 8);
    for (std::uint64_t i = 0; i < 3 * kMB / 8; ++i) array.PushBack(i * 7);
    const std::uint64_t* first = array.Data();
    EXPECT_EQ(array.Size(), 3 * kMB / 8);
    for (std::uint64_t i = 0; i < array.Size(); i += 4093) ASSERT_EQ(array.Data()[i], i * 7);
    EXPECT_THROW(array.PushBack(1), std::bad_alloc);
    EXPECT_EQ(array.Size(), 3 * kMB / 8);
    EXPECT_EQ(array.Data(), first);  // never moved
    array.Clear();
    EXPECT_EQ(array.Size(), 0u);
    array.PushBack(5);
    EXPECT_EQ(array.Data()[0], 5u);
}

// A block given back leaves the process: a large folder left for a small one
// does not keep the listing's memory.
TEST(MappedBlock, ABlockGivenBackLeavesTheProcess)
{
    const size_t size = 64 * kMB;
    const size_t before = Resident();
    MappedBlock block;
    ASSERT_TRUE(block.Reserve(size) && block.Commit(size));
    EXPECT_GE(block.Usable(), size);
    Touch(block, 1);
    EXPECT_GE(Resident(), before + size - 8 * kMB);
    block.Release();
    // The sanitizer keeps its shadow of the block: an eighth.
    EXPECT_LE(Resident(), before + 16 * kMB);
    EXPECT_FALSE(block.Commit(1));  // released: no room
}

// While pages are recycled, a released block's pages serve the blocks taken
// next where they are, written already (no fresh page, no fault): a list's
// block, a pool's slab, a block of any size that fits. When recycling ends,
// what is left leaves the process. Without recycling a block leaves at once.
TEST(MappedBlock, ReleasedPagesServeTheNextBlocksWhileRecycling)
{
    const size_t size = 32 * kMB;
    const size_t before = Resident();
    MappedBlock spare;
    EXPECT_FALSE(spare.TakeRecycled(MappedBlock::kHugePage));  // none kept
    {
        const RecyclingPages recycling;
        MappedBlock listing;
        ASSERT_TRUE(listing.Reserve(size + kMB) && listing.Commit(size + kMB));
        Touch(listing, 7);
        std::byte* const pages = listing.Data();
        const size_t whole = listing.Usable() / MappedBlock::kHugePage * MappedBlock::kHugePage;
        listing.Release();
        // The whole huge pages are kept; the reservation past them is gone.
        EXPECT_EQ(RecyclingPages::Kept(), whole);
        EXPECT_GE(whole, size);
        EXPECT_GE(Resident(), before + size - 8 * kMB);

        // A pool's slabs and a list's block take them, still as written.
        BlockPool pool(56);
        void* record = pool.Allocate();
        const auto* slab = reinterpret_cast<const unsigned char*>(
            reinterpret_cast<std::uintptr_t>(record) & ~(MappedBlock::kHugePage - 1));
        EXPECT_GE(reinterpret_cast<const std::byte*>(slab), pages);
        EXPECT_LT(reinterpret_cast<const std::byte*>(slab), pages + size);
        EXPECT_EQ(*static_cast<const unsigned char*>(record), 7) << "a fresh page, not a kept one";
        const size_t keptForList = RecyclingPages::Kept();
        EXPECT_EQ(keptForList, whole - MappedBlock::kHugePage);
        TList list;
        for (int i = 0; i < (1 << 18); ++i) list.Add(nullptr);
        EXPECT_LE(RecyclingPages::Kept(), keptForList - MappedBlock::kHugePage);
        // A block larger than what is left is not served.
        EXPECT_FALSE(spare.TakeRecycled(2 * size));
        {
            const RecyclingPages inner;  // an open within an open
        }
        EXPECT_TRUE(spare.TakeRecycled(MappedBlock::kHugePage));
        EXPECT_EQ(spare.Usable(), MappedBlock::kHugePage);
        spare.Release();  // back to the kept pages
        pool.Free(record);
    }
    EXPECT_EQ(RecyclingPages::Kept(), 0u);
    EXPECT_LE(Resident(), before + 16 * kMB);
    EXPECT_FALSE(spare.TakeRecycled(MappedBlock::kHugePage));
}

TEST(MappedBlock, AListOfMillionsSortsAndTradesItsItems)
{
    TList list;
    constexpr int kCount = 1 << 18;  // past the size served by the heap
    for (int i = kCount; i > 0; --i) list.Add(reinterpret_cast<void*>(static_cast<intptr_t>(i)));
    list.Sort([](void* a, void* b) {
        return static_cast<int>(reinterpret_cast<intptr_t>(a) - reinterpret_cast<intptr_t>(b));
    });
    for (int i = 0; i < kCount; i += 997) ASSERT_EQ(reinterpret_cast<intptr_t>(list.Get(i)), i + 1);
    TList other;
    other.Swap(list);
    EXPECT_EQ(list.GetCount(), 0);
    EXPECT_EQ(other.GetCount(), kCount);
    other.Clear();
    EXPECT_EQ(other.GetCount(), 0);
}

// Records aligned to 8 lie 56 bytes apart, not 64: a slab of 2 MB holds
// 37 000 of them, where aligned to 16 it holds 32 000.
TEST(BlockPool, BlocksAlignedToLessLieCloser)
{
    BlockPool packed(56, 8);
    BlockPool aligned(56);
    std::set<std::uintptr_t> seen;
    const char* previous = nullptr;
    for (int i = 0; i < 37000; ++i) {
        auto* block = static_cast<const char*>(packed.Allocate());
        ASSERT_EQ(reinterpret_cast<std::uintptr_t>(block) % 8, 0u);
        ASSERT_TRUE(seen.insert(reinterpret_cast<std::uintptr_t>(block)).second);
        if (previous) {
            ASSERT_EQ(block - previous, 56);
        }
        previous = block;
        aligned.Allocate();
    }
    EXPECT_EQ(packed.SlabsInUse(), 1u);
    EXPECT_EQ(aligned.SlabsInUse(), 2u);
}

TEST(BlockPool, HandsOutDistinctAlignedBlocksAndReusesThemOnceFreed)
{
    BlockPool pool(56);
    std::vector<void*> blocks;
    std::set<void*> seen;
    for (int i = 0; i < 100000; ++i) {  // several slabs
        void* block = pool.Allocate();
        ASSERT_EQ(reinterpret_cast<std::uintptr_t>(block) % alignof(std::max_align_t), 0u);
        ASSERT_TRUE(seen.insert(block).second);
        std::memset(block, i & 0xFF, 56);
        blocks.push_back(block);
    }
    EXPECT_GT(pool.SlabsInUse(), 2u);
    for (size_t i = 0; i < blocks.size(); i += 2) pool.Free(blocks[i]);
    for (size_t i = 1; i < blocks.size(); i += 2)
        ASSERT_EQ(*static_cast<unsigned char*>(blocks[i]), i & 0xFF) << "a live block was touched";
    // Freed places are handed out again before a slab is added.
    const size_t slabs = pool.SlabsInUse();
    for (size_t i = 0; i < blocks.size(); i += 2) blocks[i] = pool.Allocate();
    EXPECT_EQ(pool.SlabsInUse(), slabs);
    // A folder opened again: new records while the old still stand, then
    // the old go. Their slabs are kept, as many as the new ones use, and
    // serve the open after.
    std::vector<void*> next;
    for (size_t i = 0; i < blocks.size(); ++i) next.push_back(pool.Allocate());
    const size_t inUse = pool.SlabsInUse();
    for (void* block : blocks) pool.Free(block);
    EXPECT_LE(pool.SlabsKept(), pool.SlabsInUse());
    EXPECT_LT(pool.SlabsInUse(), inUse);
    const size_t kept = pool.SlabsKept();
    for (size_t i = 0; i < blocks.size(); ++i) blocks[i] = pool.Allocate();
    EXPECT_LE(pool.SlabsKept(), 1u) << "the kept slabs were not used";
    EXPECT_GE(kept, 2u);
    // A small folder after a large one: at most one slab stays.
    for (void* block : blocks) pool.Free(block);
    for (void* block : next) pool.Free(block);
    pool.Free(nullptr);
    EXPECT_EQ(pool.SlabsInUse(), 0u);
    EXPECT_LE(pool.SlabsKept(), 1u);
}
