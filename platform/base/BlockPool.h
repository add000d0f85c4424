#pragma once
// Blocks of one size, by the million: a large folder's records. Each block
// from the C heap would cost a header and a page fault every 4 KB, and its
// pages would be gone by the next open. The pool cuts its blocks from slabs
// of one huge page (MappedBlock.h), one after another, and keeps emptied
// slabs for the next open, as many as are in use: what it keeps is bounded
// by the largest set of blocks live at once.
//
// A pool is used by one thread (the window's); it is not locked. Under the
// address sanitizer a freed block is poisoned until it is handed out again.

#include <cstddef>

class BlockPool {
public:
    // blockSize: bytes of every block, at least a pointer's; blocks are
    // aligned to align (a power of two, at least a pointer's, at most the
    // largest fundamental type's): a million records of 56 bytes aligned
    // to 8 take 8 MB less than aligned to 16.
    explicit BlockPool(size_t blockSize, size_t align = alignof(std::max_align_t));
    ~BlockPool();
    BlockPool(const BlockPool&) = delete;
    BlockPool& operator=(const BlockPool&) = delete;

    // Raises std::bad_alloc when no slab can be had.
    void* Allocate();
    // block came from Allocate of this pool; null is ignored.
    void Free(void* block);

    // Slabs held: in use, and kept empty.
    size_t SlabsInUse() const { return FSlabsInUse; }
    size_t SlabsKept() const { return FSlabsKept; }

    struct Slab;  // the head of a slab; BlockPool.cpp

private:
    Slab* newSlab();
    static void release(Slab* slab);
    static void unlink(Slab*& list, Slab* slab);
    static void push(Slab*& list, Slab* slab);

    size_t FBlockSize;
    Slab* FPartial = nullptr;  // in use, with room
    Slab* FEmpty = nullptr;    // kept for later
    size_t FSlabsInUse = 0;
    size_t FSlabsKept = 0;
};
