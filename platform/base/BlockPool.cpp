#include "platform/base/BlockPool.h"

#include "platform/base/MappedBlock.h"
#include "platform/base/Poison.h"

#include <algorithm>
#include <cstdint>
#include <new>
#include <utility>

namespace {

constexpr size_t kSlabBytes = MappedBlock::kHugePage;
constexpr size_t kAlign = alignof(std::max_align_t);

}  // namespace

// The head of a slab, at its start; the blocks follow. A slab is aligned to
// its size, so a block's slab is its address rounded down.
struct BlockPool::Slab {
    MappedBlock mapping;  // the slab itself
    Slab* prev = nullptr;
    Slab* next = nullptr;
    void* freed = nullptr;  // blocks given back, each holding the next
    size_t cut = 0;         // offset of the first block never handed out
    size_t live = 0;
    bool listed = false;  // in FPartial or FEmpty
};

namespace {

constexpr size_t kFirstBlock = (sizeof(BlockPool::Slab) + kAlign - 1) / kAlign * kAlign;

}  // namespace

BlockPool::BlockPool(size_t blockSize, size_t align)
    : FBlockSize([](size_t size, size_t align) {
          // A freed block holds a pointer.
          align = std::max(align, alignof(void*));
          return (std::max(size, sizeof(void*)) + align - 1) / align * align;
      }(blockSize, align))
{
}

BlockPool::~BlockPool()
{
    // Slabs still holding blocks stay mapped: their owners may outlive the pool.
    for (Slab** list : {&FPartial, &FEmpty})
        while (Slab* slab = *list) {
            unlink(*list, slab);
            if (slab->live == 0) release(slab);
        }
}

void BlockPool::unlink(Slab*& list, Slab* slab)
{
    if (slab->prev) slab->prev->next = slab->next;
    if (slab->next) slab->next->prev = slab->prev;
    if (list == slab) list = slab->next;
    slab->prev = slab->next = nullptr;
    slab->listed = false;
}

void BlockPool::push(Slab*& list, Slab* slab)
{
    slab->prev = nullptr;
    slab->next = list;
    if (list) list->prev = slab;
    list = slab;
    slab->listed = true;
}

BlockPool::Slab* BlockPool::newSlab()
{
    MappedBlock mapping;
    if (!mapping.TakeRecycled(kSlabBytes) &&
        (!mapping.Reserve(kSlabBytes) || !mapping.Commit(kSlabBytes)))
        throw std::bad_alloc();
    std::byte* at = mapping.Data();
    QUILLET_POISON(at + kFirstBlock, kSlabBytes - kFirstBlock);
    auto* slab = new (at) Slab;
    slab->mapping = std::move(mapping);
    slab->cut = kFirstBlock;
    return slab;
}

void* BlockPool::Allocate()
{
    if (!FPartial) {
        Slab* slab = FEmpty;
        if (slab) {
            unlink(FEmpty, slab);
            --FSlabsKept;
        } else {
            slab = newSlab();
        }
        push(FPartial, slab);
        ++FSlabsInUse;
    }
    Slab* slab = FPartial;
    void* block;
    if (slab->freed) {
        block = slab->freed;
        QUILLET_UNPOISON(block, FBlockSize);
        slab->freed = *static_cast<void**>(block);
    } else {
        block = reinterpret_cast<std::byte*>(slab) + slab->cut;
        QUILLET_UNPOISON(block, FBlockSize);
        slab->cut += FBlockSize;
    }
    ++slab->live;
    if (!slab->freed && slab->cut + FBlockSize > kSlabBytes) unlink(FPartial, slab);
    return block;
}

void BlockPool::Free(void* block)
{
    if (!block) return;
    auto* slab = reinterpret_cast<Slab*>(reinterpret_cast<std::uintptr_t>(block) &
                                         ~(std::uintptr_t{kSlabBytes} - 1));
    if (--slab->live > 0) {
        *static_cast<void**>(block) = slab->freed;
        slab->freed = block;
        QUILLET_POISON(block, FBlockSize);
        if (!slab->listed) push(FPartial, slab);
        return;
    }
    // Empty: cut from the start again when it is used next.
    QUILLET_POISON(block, FBlockSize);
    if (slab->listed) unlink(FPartial, slab);
    slab->freed = nullptr;
    slab->cut = kFirstBlock;
    --FSlabsInUse;
    // Kept for the next open, which writes its records into them where they
    // are (pages a process already has cost no fault): no more than are in
    // use, one at least, so what stays after a large folder's records go is
    // bounded by the records that replace them.
    push(FEmpty, slab);
    ++FSlabsKept;
    while (FSlabsKept > std::max<size_t>(FSlabsInUse, 1)) {
        Slab* spare = FEmpty;
        unlink(FEmpty, spare);
        --FSlabsKept;
        release(spare);
    }
}

void BlockPool::release(Slab* slab)
{
    QUILLET_UNPOISON(slab, kSlabBytes);
    MappedBlock(std::move(slab->mapping)).Release();
}
