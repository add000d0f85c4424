// The process-wide shell allocator. It counts the blocks it has handed out
// and not taken back, and can be told to fail, so tests can prove that every
// item id list is freed exactly once and that exhaustion is survived.

#include "platform/shell/ShellDiagnostics.h"
#include "platform/shell/ShlObj.h"
#include "platform/shell/private/IdArena.h"

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <cstring>
#include <malloc.h>

namespace {

std::atomic<long> liveBlocks{0};
std::atomic<long> liveObjects{0};
std::atomic<long> queryCount{0};
std::atomic<HRESULT> getMallocFault{S_OK};
std::atomic<HRESULT> enumObjectsFault{S_OK};
std::atomic<bool> allocFault{false};

// One static instance; its reference count is kept for the contract but
// never destroys it.
class ShellMalloc final : public IMalloc {
public:
    HRESULT QueryInterface(REFIID riid, void** object) override
    {
        if (!object) return E_POINTER;
        if (riid == IID_IUnknown || riid == IID_IMalloc) {
            *object = this;
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG AddRef() override { return ++FRefs; }
    ULONG Release() override { return --FRefs; }

    void* Alloc(size_t size) override
    {
        if (allocFault) return nullptr;
        void* block = std::malloc(size ? size : 1);
        if (block) ++liveBlocks;
        return block;
    }
    void* Realloc(void* block, size_t size) override
    {
        if (!block) return Alloc(size);
        if (size == 0) {
            Free(block);
            return nullptr;
        }
        if (allocFault) return nullptr;
        if (const size_t had = SizeInArena(block)) {
            void* moved = std::malloc(size);
            if (!moved) return nullptr;
            std::memcpy(moved, block, std::min(had, size));
            FreeInArena(block);
            ++liveBlocks;
            return moved;
        }
        return std::realloc(block, size);
    }
    void Free(void* block) override
    {
        if (!block || FreeInArena(block)) return;
        std::free(block);
        --liveBlocks;
    }
    size_t GetSize(void* block) override
    {
        if (!block) return 0;
        const size_t inArena = SizeInArena(block);
        return inArena ? inArena : malloc_usable_size(block);
    }

private:
    std::atomic<ULONG> FRefs{1};
};

// Opening a large folder makes a few large blocks (the listing's entries and
// names, the ids' and records' arrays: tens of MB at a million entries) and a
// million small ones. glibc serves a block over its mmap threshold (128 KB at
// first) straight from the kernel and unmaps it on free, and gives the heap's
// top back once more than 128 KB of it is free: so an open took every page of
// those blocks from the system again, zero-filled, one fault at a time.
// (glibc raises the threshold only after such a block was freed, which a
// process that opens one large folder never sees.) The largest threshold it
// allows and no trimming below 256 MB keep those pages in the process between
// opens; what is kept is bounded by the largest folder opened.
void keepLargeBlocks()
{
    mallopt(M_MMAP_THRESHOLD, 32 * 1024 * 1024);
    mallopt(M_TRIM_THRESHOLD, 256 * 1024 * 1024);
}

ShellMalloc& shellMalloc()
{
    static ShellMalloc instance = [] {
        keepLargeBlocks();
        return ShellMalloc();
    }();
    return instance;
}

}  // namespace

HRESULT SHGetMalloc(IMalloc** malloc)
{
    if (!malloc) return E_INVALIDARG;
    *malloc = nullptr;
    if (const HRESULT fault = getMallocFault; FAILED(fault)) return fault;
    shellMalloc().AddRef();
    *malloc = &shellMalloc();
    return S_OK;
}

namespace ShellDiagnostics {

long LiveBlocks()
{
    return liveBlocks;
}
int LiveIdArenas()
{
    return LiveArenas();
}
long LiveObjects()
{
    return liveObjects;
}
void FailGetMalloc(HRESULT status)
{
    getMallocFault = status;
}
void FailEnumObjects(HRESULT status)
{
    enumObjectsFault = status;
}
void FailAlloc(bool fail)
{
    allocFault = fail;
}
long QueryCount()
{
    return queryCount;
}
void ResetQueryCount()
{
    queryCount = 0;
}
void Reset()
{
    getMallocFault = S_OK;
    enumObjectsFault = S_OK;
    allocFault = false;
    SetStatHook(nullptr);
}

}  // namespace ShellDiagnostics

// Hooks for the rest of the namespace (declared in ShellInternals.h).
void* ShellAlloc(size_t size)
{
    return shellMalloc().Alloc(size);
}
void ShellFree(void* block)
{
    shellMalloc().Free(block);
}
bool AllocRefused()
{
    return allocFault;
}
void CountBlock(long delta)
{
    liveBlocks += delta;
}
void CountObject(int delta)
{
    liveObjects += delta;
}
void CountQuery()
{
    ++queryCount;
}
HRESULT EnumObjectsFault()
{
    return enumObjectsFault;
}
