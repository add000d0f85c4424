#pragma once
// Room for a large folder's item ids in one block of the shell allocator.
// A million ids of their own would each cost a heap header and, written for
// the first time, a page fault every 4 KB; packed in one block of huge pages
// (MappedBlock.h) they cost their bytes. Every id cut from an arena is still
// a block of the shell allocator: counted in LiveBlocks, refused while Alloc
// is told to fail, and freed on its own, once, with IMalloc::Free. The arena
// goes when it is closed and its last id has been freed; its block is kept
// for the next arena of about its size (one block at most), so opening the
// same folder again writes its ids into pages the process already has.
//
// Ids may be cut on one thread and freed on any.

#include <cstddef>

class IdArena;

// An arena for ids of bytes in all; null when Alloc is told to fail, no
// memory can be had, or too many arenas are open (the caller then makes
// each id on its own).
IdArena* OpenIdArena(size_t bytes);
// The next size bytes of the arena, holding ids (counted blocks, each to
// be freed on its own, so each must be written before it can be); null
// when the arena has less room left.
void* CutFromArena(IdArena* arena, size_t size, size_t ids = 1);
// No more ids are cut; the arena goes with its last id (now, if none is left).
void CloseIdArena(IdArena* arena);

// For the allocator: true, after freeing it, when block lies in an arena.
bool FreeInArena(void* block);
// The size of block when it lies in an arena (an item id list's), else 0.
size_t SizeInArena(const void* block);

// Arenas open or holding ids.
int LiveArenas();
