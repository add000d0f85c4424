#pragma once
// What the pieces of the namespace share and nothing above the platform
// needs: the allocator and counters behind ShellDiagnostics, and the status
// of a failed POSIX call.

#include "platform/shell/ShlObj.h"

// Shell allocator memory (counted in ShellDiagnostics::LiveBlocks).
void* ShellAlloc(size_t size);
void ShellFree(void* block);
// For blocks the allocator hands out from its arenas (IdArena.h): true while
// Alloc is told to fail; delta more (or fewer) live blocks.
bool AllocRefused();
void CountBlock(long delta);
// Live references on folders and enumerators go up and down by delta.
void CountObject(int delta);
// One more SHGetFileInfoA / SHGetDataFromIDListA call.
void CountQuery();
// S_OK, or what EnumObjects is told to return instead of an enumerator.
HRESULT EnumObjectsFault();

// ENOENT -> file not found, EACCES/EPERM -> access denied, ENOTDIR ->
// directory name invalid, anything else -> device not ready.
HRESULT StatusFromErrno(int error);
