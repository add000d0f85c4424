#pragma once
// Counters and fault injection for tests: the shell allocator counts its live
// blocks, and each switch makes one call fail until it is switched back.

#include "platform/base/Windows.h"

namespace ShellDiagnostics {

// Blocks handed out by the shell allocator and not yet freed.
long LiveBlocks();
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
// Switches every fault off.
void Reset();

}  // namespace ShellDiagnostics
