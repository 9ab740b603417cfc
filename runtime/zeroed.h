// Zeroed memory for the elements of plain arrays, taken so that a large block nobody has written yet is not
// written now: its pages take memory only once used.
// Depends on the C library. Part of the backend contract (backend.h): runtime/desktop/zeroed.cpp gives calloc's
// block (the system's fresh pages are zero); in a web page runtime/web/zeroed.cpp gives the allocator's block and
// clears only what the program may have used.
#pragma once

#include <cstddef>

// count elements of size bytes each, all bytes zero; null when the memory cannot be had. Freed with std::free.
void* kpAllocateZeroed(size_t count, size_t size);
