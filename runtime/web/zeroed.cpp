// Zeroed memory in a web page. The toolchain's allocator clears every block calloc gives, which for the
// application object's largest arrays (twenty megabytes of grid planes) writes every page of them at start.
// But the page's memory is all zero at first, and the allocator's heap only ever grows (its break never moves
// back): what lies above the break no block has ever held. So a block is taken from malloc and cleared only
// below the break as it stood before.
// Depends on the toolchain's C library (sbrk, malloc).
#include <unistd.h>  // sbrk

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "runtime/zeroed.h"

void* kpAllocateZeroed(size_t count, size_t size) {
    if (size != 0 && count > SIZE_MAX / size) return nullptr;
    const size_t bytes = count * size;
    char* const untouched = static_cast<char*>(sbrk(0));
    char* const block = static_cast<char*>(std::malloc(bytes));
    if (block) {
        // NOTE: the allocator writes its bookkeeping before and after a block, never inside it.
        char* const end = block + bytes;
        char* const cleared = std::clamp(untouched, block, end);
        std::memset(block, 0, static_cast<size_t>(cleared - block));
    }
    return block;
}
