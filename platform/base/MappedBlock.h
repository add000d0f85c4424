#pragma once
// Memory taken straight from the system for the arrays of a large folder's
// open (its listing, its item ids, its records): tens of MB that are written
// once, front to back. The address space is reserved up front and made
// usable as the block grows into it, so the block never moves and nothing is
// copied as it grows; and it is offered to the kernel for huge pages, so a
// 2 MB piece costs one page fault instead of 512 (a fault costs microseconds
// here, and a million-entry open took 65 000 of them).
//
// A block of this kind is owned by one thread at a time.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <new>
#include <type_traits>

class MappedBlock {
public:
    // The size of a huge page, and the alignment of every block.
    static constexpr size_t kHugePage = size_t{2} << 20;

    MappedBlock() = default;
    ~MappedBlock() { Release(); }
    MappedBlock(MappedBlock&& other) noexcept;
    MappedBlock& operator=(MappedBlock&& other) noexcept;
    MappedBlock(const MappedBlock&) = delete;
    MappedBlock& operator=(const MappedBlock&) = delete;

    // Reserves address space for limit bytes, none of it usable yet; gives
    // back a block held before. False when the system has no room for it.
    bool Reserve(size_t limit);
    // Makes at least the first size bytes usable (its pages are taken on
    // their first touch, zero-filled). False when size passes the limit or
    // the system refuses; the bytes usable before stay so.
    bool Commit(size_t size);
    // Becomes a block of size bytes (rounded up to huge pages), all usable,
    // made of pages another block gave back while pages are being recycled
    // (RecyclingPages below); gives back a block held before. False when no
    // such pages are at hand: then the block holds nothing.
    bool TakeRecycled(size_t size);
    // Gives the block back to the system; while pages are being recycled,
    // its whole usable huge pages are kept for the next blocks instead.
    void Release();

    std::byte* Data() const { return FBase; }
    size_t Usable() const { return FUsable; }
    size_t Limit() const { return FLimit; }

private:
    std::byte* FBase = nullptr;
    size_t FLimit = 0;
    size_t FUsable = 0;
};

// While one of these lives, the pages of a released MappedBlock are kept
// for blocks taken next (TakeRecycled) instead of going back to the system,
// and when the last one ends, whatever is left of them goes back. An open
// makes its listing, ids and records one after another, each as large as
// the folder, and frees the listing before the records are made: the
// records take the listing's pages, which this process has touched, and so
// cost no page fault. A fresh page costs the open 2 ms a MB on the virtual
// machines it was measured on (the host backs it too); a recycled one none.
// Any thread may release or take pages while one lives.
class RecyclingPages {
public:
    RecyclingPages();
    ~RecyclingPages();
    RecyclingPages(const RecyclingPages&) = delete;
    RecyclingPages& operator=(const RecyclingPages&) = delete;

    // Bytes kept for recycling now, in all.
    static size_t Kept();
};

// Ts one after another in a MappedBlock, for arrays that grow to tens of MB
// and are then read and let go: appending never moves what is held.
template <class T>
class MappedArray {
    static_assert(std::is_trivially_copyable_v<T>);

public:
    // Room for up to limit Ts (address space, reserved at the first append).
    explicit MappedArray(size_t limit) : FLimit(limit) {}

    // Raises std::bad_alloc past the limit or when memory runs out; what is
    // held stays.
    void Append(const T* items, size_t count)
    {
        std::memcpy(Extend(count), items, count * sizeof(T));
    }
    // Room for count more Ts after those held, to be written by the caller;
    // raises as Append does. The room stays where it is, so one thread may
    // write it while another (under the caller's lock) extends the array.
    T* Extend(size_t count)
    {
        if (count > FLimit - FSize) throw std::bad_alloc();
        if ((FSize + count) * sizeof(T) > FBlock.Usable()) grow(FSize + count);
        T* room = Data() + FSize;
        FSize += count;
        return room;
    }
    void PushBack(const T& item) { Append(&item, 1); }
    // Gives the memory back.
    void Clear()
    {
        FBlock.Release();
        FSize = 0;
    }

    T* Data() const { return reinterpret_cast<T*>(FBlock.Data()); }
    size_t Size() const { return FSize; }

private:
    void grow(size_t count)
    {
        if (!FBlock.Data() && !FBlock.Reserve(FLimit * sizeof(T))) throw std::bad_alloc();
        if (!FBlock.Commit(count * sizeof(T))) throw std::bad_alloc();
    }

    MappedBlock FBlock;
    size_t FLimit;
    size_t FSize = 0;
};

// Memory for a std::vector that may hold millions of items (a folder's list
// of records): from kMappedFrom bytes up a MappedBlock of its own, in huge
// pages; below, the C++ heap.
void* AllocateMapped(size_t bytes);  // raises std::bad_alloc
void FreeMapped(void* block, size_t bytes);
constexpr size_t kMappedFrom = size_t{1} << 20;

template <class T>
struct MappedAllocator {
    using value_type = T;
    MappedAllocator() = default;
    template <class U>
    MappedAllocator(const MappedAllocator<U>&) noexcept
    {
    }
    T* allocate(size_t n)
    {
        static_assert(alignof(T) <= alignof(std::max_align_t));
        if (n > SIZE_MAX / sizeof(T)) throw std::bad_alloc();
        return static_cast<T*>(AllocateMapped(n * sizeof(T)));
    }
    void deallocate(T* items, size_t n) noexcept { FreeMapped(items, n * sizeof(T)); }
    friend bool operator==(const MappedAllocator&, const MappedAllocator&) { return true; }
};
