#pragma once
// Marks memory a program's own allocator holds but has not handed out, so
// that the address sanitizer reports a use of it as it does for the heap.
// Without the sanitizer these do nothing.

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/asan_interface.h>
#define QUILLET_POISON(at, size) ASAN_POISON_MEMORY_REGION(at, size)
#define QUILLET_UNPOISON(at, size) ASAN_UNPOISON_MEMORY_REGION(at, size)
#else
#define QUILLET_POISON(at, size) static_cast<void>(0)
#define QUILLET_UNPOISON(at, size) static_cast<void>(0)
#endif
