// The soak's allocation counter: global hooks on the C allocator and on operator new that count every heap
// allocation made while counting is on, sort each by the place in our code that asked for it, and tell the
// game's own texts (Strings) from everything else.
// Depends on glibc (backtrace, dladdr, __libc_malloc) and the C++ ABI (demangling). The program that links it must
// export its symbols (-rdynamic) so that places in our code have names.
// NOTE: in a sanitizer build the C allocator belongs to the sanitizer (Address or Thread) and cannot be hooked: only
// operator new is counted there, which leaves out Strings (they take their memory from malloc) but none of the rest.
#pragma once

#include <cstddef>
#include <cstdint>

namespace alloc {

// Whether the C allocator is counted too (not in sanitizer builds).
bool CountsMalloc();
// Counting on or off; the hooks are cheap pass-throughs while it is off.
void SetCounting(bool on);

// Buckets allocations are charged to: the soak's screens and the rest.
constexpr int kBuckets = 9;

// Allocations counted, all and those that are not the game's text.
struct Totals {
    int64_t all = 0;
    int64_t notText = 0;
};
// Starts a frame (an update or a render): what is counted from now is held for it.
void BeginFrame();
// Ends the frame: charges what it allocated to bucket and answers how much that was.
Totals EndFrame(int bucket);

// A place in our code that allocated while counting was on.
struct Site {
    char name[192];         // the first function of ours on the stack, demangled
    bool text;              // a String made it
    int64_t count[kBuckets];
    int64_t pending;         // this frame's, not yet charged
};
int SiteCount();
const Site& SiteAt(int index);

}  // namespace alloc
