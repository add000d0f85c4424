#include "platform/shell/private/IdArena.h"

#include "platform/base/MappedBlock.h"
#include "platform/base/Poison.h"
#include "platform/shell/private/ShellInternals.h"

#include <atomic>
#include <cstdint>
#include <cstring>
#include <mutex>

// One arena; its begin is published last, so a free on another thread that
// sees it sees the rest.
class IdArena {
public:
    std::atomic<std::byte*> begin{nullptr};
    std::atomic<std::byte*> end{nullptr};
    std::byte* cut = nullptr;  // where the next id goes
    // Live ids, plus one while the arena is open.
    std::atomic<long> holds{0};
    MappedBlock block;
    bool taken = false;  // under arenasLock
};

namespace {

// The folders open at once (the window's, the one it is opening, a test's
// few) need a handful.
constexpr int kArenas = 32;
IdArena arenas[kArenas];
std::atomic<int> arenasUsed{0};  // every arena in use lies below this index
std::mutex arenasLock;
// The block of the arena that went last, for the next one of about its size
// (the same folder opened again) to use where it is.
MappedBlock kept;  // under arenasLock
// A kept block serves an arena no more than this many times smaller.
constexpr size_t kKeptServesDown = 4;

IdArena* arenaOf(const void* block)
{
    const auto* at = static_cast<const std::byte*>(block);
    const int used = arenasUsed.load(std::memory_order_acquire);
    for (int i = 0; i < used; ++i) {
        const std::byte* begin = arenas[i].begin.load(std::memory_order_acquire);
        if (begin && at >= begin && at < arenas[i].end.load(std::memory_order_relaxed))
            return &arenas[i];
    }
    return nullptr;
}

void drop(IdArena* arena)
{
    if (arena->holds.fetch_sub(1, std::memory_order_acq_rel) != 1) return;
    const std::lock_guard<std::mutex> hold(arenasLock);
    arena->begin.store(nullptr, std::memory_order_release);
    // The newest block is kept; the one kept before goes.
    QUILLET_UNPOISON(arena->block.Data(), arena->block.Usable());
    kept = std::move(arena->block);
    arena->taken = false;
}

size_t listSize(const std::byte* list)
{
    size_t size = 2;
    for (;;) {
        const WORD count = static_cast<WORD>(std::to_integer<unsigned>(list[size - 2]) |
                                             std::to_integer<unsigned>(list[size - 1]) << 8);
        if (count == 0) return size;
        size += count;
    }
}

}  // namespace

IdArena* OpenIdArena(size_t bytes)
{
    if (AllocRefused()) return nullptr;
    const std::lock_guard<std::mutex> hold(arenasLock);
    int slot = 0;
    while (slot < kArenas && arenas[slot].taken) ++slot;
    if (slot == kArenas) return nullptr;
    IdArena& arena = arenas[slot];
    MappedBlock block;
    if (kept.Usable() >= bytes && kept.Usable() / kKeptServesDown <= bytes) {
        block = std::move(kept);
    } else {
        kept.Release();
        if (!block.TakeRecycled(bytes) && (!block.Reserve(bytes) || !block.Commit(bytes)))
            return nullptr;
    }
    arena.taken = true;
    arena.block = std::move(block);
    arena.cut = arena.block.Data();
    arena.end.store(arena.cut + bytes, std::memory_order_relaxed);
    arena.holds.store(1, std::memory_order_relaxed);
    arena.begin.store(arena.cut, std::memory_order_release);
    if (slot >= arenasUsed.load(std::memory_order_relaxed))
        arenasUsed.store(slot + 1, std::memory_order_release);
    return &arena;
}

void* CutFromArena(IdArena* arena, size_t size, size_t ids)
{
    if (static_cast<size_t>(arena->end.load(std::memory_order_relaxed) - arena->cut) < size)
        return nullptr;
    void* id = arena->cut;
    arena->cut += size;
    arena->holds.fetch_add(static_cast<long>(ids), std::memory_order_relaxed);
    CountBlock(static_cast<long>(ids));
    return id;
}

void CloseIdArena(IdArena* arena)
{
    drop(arena);
}

bool FreeInArena(void* block)
{
    IdArena* arena = arenaOf(block);
    if (!arena) return false;
    QUILLET_POISON(block, listSize(static_cast<const std::byte*>(block)));
    CountBlock(-1);
    drop(arena);
    return true;
}

size_t SizeInArena(const void* block)
{
    return arenaOf(block) ? listSize(static_cast<const std::byte*>(block)) : 0;
}

int LiveArenas()
{
    const std::lock_guard<std::mutex> hold(arenasLock);
    int live = 0;
    for (const IdArena& arena : arenas) live += arena.taken ? 1 : 0;
    return live;
}
