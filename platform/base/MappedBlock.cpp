#include "platform/base/MappedBlock.h"

#include "platform/base/Poison.h"

#include <sys/mman.h>

#include <algorithm>
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

// The pages kept for recycling: runs of whole huge pages, each a piece of
// a released block, still mapped and written.
struct Run {
    std::byte* at;
    size_t bytes;
};

struct Recycling {
    std::mutex lock;
    int scopes = 0;  // RecyclingPages alive
    std::vector<Run> runs;
    size_t kept = 0;
};

Recycling& recycling()
{
    static Recycling* const bin = new Recycling;  // outlives every block
    return *bin;
}

// Keeps [at, at + bytes) for recycling when pages are being recycled;
// false when they are not (or the run cannot be noted), and then the
// caller gives them back.
bool keep(std::byte* at, size_t bytes)
{
    Recycling& bin = recycling();
    const std::lock_guard<std::mutex> hold(bin.lock);
    if (bin.scopes == 0) return false;
    try {
        bin.runs.push_back({at, bytes});
    } catch (const std::bad_alloc&) {
        return false;
    }
    QUILLET_UNPOISON(at, bytes);
    bin.kept += bytes;
    return true;
}

}  // namespace

RecyclingPages::RecyclingPages()
{
    Recycling& bin = recycling();
    const std::lock_guard<std::mutex> hold(bin.lock);
    ++bin.scopes;
}

RecyclingPages::~RecyclingPages()
{
    Recycling& bin = recycling();
    const std::lock_guard<std::mutex> hold(bin.lock);
    if (--bin.scopes > 0) return;
    for (const Run& run : bin.runs) munmap(run.at, run.bytes);
    bin.runs.clear();
    bin.kept = 0;
}

size_t RecyclingPages::Kept()
{
    Recycling& bin = recycling();
    const std::lock_guard<std::mutex> hold(bin.lock);
    return bin.kept;
}

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
    if (mprotect(FBase + FUsable, usable - FUsable, PROT_READ | PROT_WRITE) != 0) return false;
    FUsable = usable;
    return true;
}

bool MappedBlock::TakeRecycled(size_t size)
{
    Release();
    size = roundUp(size ? size : 1, kHugePage);
    Recycling& bin = recycling();
    const std::lock_guard<std::mutex> hold(bin.lock);
    // The newest run first: its pages were written last.
    for (auto run = bin.runs.rbegin(); run != bin.runs.rend(); ++run) {
        if (run->bytes < size) continue;
        FBase = run->at;
        run->at += size;
        run->bytes -= size;
        if (run->bytes == 0) bin.runs.erase(std::next(run).base());
        bin.kept -= size;
        FLimit = FUsable = size;
        return true;
    }
    return false;
}

void MappedBlock::Release()
{
    if (FBase) {
        // The base lies on a huge page's boundary (Reserve, TakeRecycled).
        const size_t whole = FUsable / kHugePage * kHugePage;
        if (whole == 0 || !keep(FBase, whole)) {
            munmap(FBase, FLimit);
        } else if (whole < FLimit) {
            munmap(FBase + whole, FLimit - whole);
        }
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
    if (!block.TakeRecycled(kHead + bytes) &&
        (!block.Reserve(kHead + bytes) || !block.Commit(kHead + bytes)))
        throw std::bad_alloc();
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
