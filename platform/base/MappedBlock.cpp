#include "platform/base/MappedBlock.h"

#include <sys/mman.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <mutex>
#include <new>
#include <utility>
#include <vector>

namespace {

// Below a huge page a block grows by small steps: a small folder's arrays
// take a few pages, not 2 MB.
constexpr size_t kSmallStep = 64 * 1024;

size_t roundUp(size_t size, size_t step)
{
    return (size + step - 1) / step * step;
}

// Pages of blocks given back, kept for the blocks that follow. A page the
// system hands out for the first time is zero-filled, and on the machines
// this runs on (virtual ones) that costs about a millisecond a MB: a
// million-entry open took 150 MB and spent 200 ms zeroing it. Kept pages
// move to the block that needs them (mremap moves the page tables, huge
// pages whole), so the listing's pages, given back once the ids are made,
// become the records', and a second open takes no fresh page at all.
//
// What is kept is bounded by what the blocks in use hold, and 4 MB: kept
// pages count in the process's memory as much as used ones.
struct KeptPages {
    std::byte* at;
    size_t size;
};
std::mutex keptLock;
std::vector<KeptPages> kept;   // under keptLock
size_t keptBytes = 0;          // under keptLock
std::atomic<size_t> inUse{0};  // bytes usable in the blocks held
constexpr size_t kKeptFloor = 4 << 20;

// Under keptLock: gives back what is kept past the bound.
void trimKept()
{
    const size_t bound = inUse.load() + kKeptFloor;
    while (keptBytes > bound && !kept.empty()) {
        KeptPages& last = kept.back();
        const size_t cut = std::min(last.size, roundUp(keptBytes - bound, kSmallStep));
        munmap(last.at + last.size - cut, cut);
        last.size -= cut;
        keptBytes -= cut;
        if (last.size == 0) kept.pop_back();
    }
}

// Moves kept pages to [at, at + size), a reserved range; returns the bytes
// moved, from the start.
size_t moveKept(std::byte* at, size_t size)
{
    const std::lock_guard<std::mutex> hold(keptLock);
    size_t moved = 0;
    while (moved < size && !kept.empty()) {
        KeptPages& pages = kept.back();
        const size_t piece = std::min(pages.size, size - moved);
        if (mremap(pages.at, piece, piece, MREMAP_MAYMOVE | MREMAP_FIXED, at + moved) == MAP_FAILED)
            break;
        pages.at += piece;
        pages.size -= piece;
        keptBytes -= piece;
        moved += piece;
        if (pages.size == 0) kept.pop_back();
    }
    return moved;
}

}  // namespace

MappedBlock::MappedBlock(MappedBlock&& other) noexcept
    : FBase(std::exchange(other.FBase, nullptr)),
      FLimit(std::exchange(other.FLimit, 0)),
      FUsable(std::exchange(other.FUsable, 0))
{
}

MappedBlock& MappedBlock::operator=(MappedBlock&& other) noexcept
{
    if (this != &other) {
        Release();
        FBase = std::exchange(other.FBase, nullptr);
        FLimit = std::exchange(other.FLimit, 0);
        FUsable = std::exchange(other.FUsable, 0);
    }
    return *this;
}

bool MappedBlock::Reserve(size_t limit)
{
    Release();
    limit = roundUp(limit ? limit : 1, kSmallStep);
    if (limit > SIZE_MAX / 2) return false;
    // Address space only (no memory is committed for it), with room to start
    // the block on a huge page's boundary.
    const size_t span = limit + kHugePage;
    void* mapped =
        mmap(nullptr, span, PROT_NONE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
    if (mapped == MAP_FAILED) return false;
    auto* start = static_cast<std::byte*>(mapped);
    const auto address = reinterpret_cast<std::uintptr_t>(start);
    auto* base = start + (roundUp(address, kHugePage) - address);
    if (base > start) munmap(start, static_cast<size_t>(base - start));
    if (std::byte* end = base + limit; end < start + span)
        munmap(end, static_cast<size_t>(start + span - end));
    // A hint: where the kernel has no huge page to give, small ones serve.
    madvise(base, limit, MADV_HUGEPAGE);
    FBase = base;
    FLimit = limit;
    FUsable = 0;
    return true;
}

bool MappedBlock::Commit(size_t size)
{
    if (size <= FUsable) return true;
    if (!FBase || size > FLimit) return false;
    // Past a huge page, whole huge pages, growing by an eighth at least, so a
    // block of n bytes takes O(log n) calls.
    size_t usable = size < kHugePage ? roundUp(size, kSmallStep)
                                     : roundUp(std::max(size, FUsable + FUsable / 8), kHugePage);
    if (usable > FLimit) usable = FLimit;
    const size_t moved = moveKept(FBase + FUsable, usable - FUsable);
    if (moved < usable - FUsable &&
        mprotect(FBase + FUsable + moved, usable - FUsable - moved, PROT_READ | PROT_WRITE) != 0) {
        // What was moved is usable.
        FUsable += moved;
        inUse += moved;
        return false;
    }
    inUse += usable - FUsable;
    FUsable = usable;
    return true;
}

void MappedBlock::Release()
{
    if (FBase) {
        if (FUsable < FLimit) munmap(FBase + FUsable, FLimit - FUsable);
        inUse -= FUsable;
        const std::lock_guard<std::mutex> hold(keptLock);
        if (FUsable > 0) {
            try {
                kept.push_back({FBase, FUsable});
                keptBytes += FUsable;
            } catch (const std::bad_alloc&) {
                munmap(FBase, FUsable);
            }
        }
        trimKept();
    }
    FBase = nullptr;
    FLimit = 0;
    FUsable = 0;
}

namespace {

// The block's own record lies in front of the items, a whole alignment unit.
constexpr size_t kHead = (sizeof(MappedBlock) + alignof(std::max_align_t) - 1) /
                         alignof(std::max_align_t) * alignof(std::max_align_t);

}  // namespace

void* AllocateMapped(size_t bytes)
{
    if (bytes < kMappedFrom) return ::operator new(bytes);
    MappedBlock block;
    if (!block.Reserve(kHead + bytes) || !block.Commit(kHead + bytes)) throw std::bad_alloc();
    std::byte* at = block.Data();
    new (at) MappedBlock(std::move(block));
    return at + kHead;
}

void FreeMapped(void* items, size_t bytes)
{
    if (!items) return;
    if (bytes < kMappedFrom) {
        ::operator delete(items);
        return;
    }
    auto* block = reinterpret_cast<MappedBlock*>(static_cast<std::byte*>(items) - kHead);
    MappedBlock(std::move(*block)).Release();
}
