#pragma once
// Counters and fault injection for tests: the shell allocator counts its live
// blocks, and each switch makes one call fail until it is switched back.

#include "platform/base/Windows.h"

#include <functional>

namespace ShellDiagnostics {

// Blocks handed out by the shell allocator and not yet freed.
long LiveBlocks();
// Blocks of a large folder's ids that are open or still hold an id.
int LiveIdArenas();
// Live references on shell folder and enumerator objects.
long LiveObjects();

// S_OK switches a fault off; any failure status makes the call return it.
void FailGetMalloc(HRESULT status);
// As above; S_FALSE makes EnumObjects succeed with no enumerator, as a folder
// with nothing to list may answer.
void FailEnumObjects(HRESULT status);
// Alloc returns null while set.
void FailAlloc(bool fail);
// Counts of platform queries made since the last reset (tests prove that a
// second cache hint asks the shell nothing).
long QueryCount();
void ResetQueryCount();
// Called with an entry's name before each stat a folder's enumeration makes,
// on the thread that lists the folder: tests make the disk slow with it.
// Null switches it off. Taken by each enumeration when it starts.
void SetStatHook(std::function<void(const char* name)> hook);
// Switches every fault off.
void Reset();

}  // namespace ShellDiagnostics
