// Zeroed memory from calloc: large blocks are fresh pages of the system's that take no memory until written.
#include "runtime/zeroed.h"

#include <cstdlib>

void* kpAllocateZeroed(size_t count, size_t size) { return std::calloc(count, size); }
