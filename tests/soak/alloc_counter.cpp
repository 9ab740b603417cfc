// The soak's allocation counter: the hooks, and sorting allocations by the place that asked for them.
#include "tests/soak/alloc_counter.h"

#include <cxxabi.h>    // __cxa_demangle
#include <dlfcn.h>     // dladdr
#include <execinfo.h>  // backtrace

#include <cstdlib>
#include <cstring>
#include <new>

namespace alloc {
namespace {

// Only the thread that switched counting on is counted: OpenAL mixes, and art is decoded ahead, on threads of
// their own. NOTE: the switch is the thread's own; a shared one would be read by every thread that allocates
// while the counted thread writes it.
thread_local bool counting = false;
// Whether this thread has loaded the unwinder yet.
thread_local bool unwinderLoaded = false;
// Set while the counter itself runs, so that what it allocates (names, demangling) passes through.
thread_local bool inside = false;
Totals frame;

constexpr int kMaxSites = 1024;
Site sites[kMaxSites];
int siteCount = 0;
// The sites this frame has allocated at.
int touched[kMaxSites];
int touchedCount = 0;

// Stacks seen before, by a hash of their return addresses, and the site each was sorted to.
struct Seen {
    uint64_t key = 0;
    int site = -1;
};
constexpr int kSeenSlots = 1 << 14;
Seen seen[kSeenSlots];

constexpr int kDepth = 14;

bool StartsWith(const char* text, const char* prefix) { return std::strncmp(text, prefix, std::strlen(prefix)) == 0; }

// Frames that belong to allocating rather than to asking: the hooks, the C++ library, String's own helpers.
bool AllocatorFrame(const char* name) {
    return StartsWith(name, "operator new") || StartsWith(name, "alloc::") || StartsWith(name, "std::") ||
           StartsWith(name, "__gnu_cxx::") || StartsWith(name, "malloc") || StartsWith(name, "calloc") ||
           StartsWith(name, "realloc") || StartsWith(name, "void std::") || StartsWith(name, "__libc");
}
bool TextFrame(const char* name) {
    return StartsWith(name, "String::") || StartsWith(name, "operator+(char const*, String const&)");
}

// The demangled name of the function holding a return address, into out; false when it has none.
bool NameOf(void* address, char* out, size_t size) {
    Dl_info info{};
    if (dladdr(address, &info) == 0 || !info.dli_sname) return false;
    int status = 0;
    char* demangled = abi::__cxa_demangle(info.dli_sname, nullptr, nullptr, &status);
    std::strncpy(out, status == 0 && demangled ? demangled : info.dli_sname, size - 1);
    out[size - 1] = 0;
    std::free(demangled);
    return true;
}

// The site of a stack: the first frame that is neither the allocator nor a String helper.
int SortStack(void** frames, int depth) {
    char name[sizeof(Site::name)] = "(unknown)";
    bool text = false;
    for (int i = 1; i < depth; ++i) {
        char frame[sizeof(Site::name)];
        if (!NameOf(frames[i], frame, sizeof frame)) continue;
        if (TextFrame(frame)) {
            text = true;
            continue;
        }
        if (AllocatorFrame(frame)) continue;
        std::strcpy(name, frame);
        break;
    }
    for (int s = 0; s < siteCount; ++s) {
        if (sites[s].text == text && std::strcmp(sites[s].name, name) == 0) return s;
    }
    if (siteCount == kMaxSites) return kMaxSites - 1;
    Site& site = sites[siteCount];
    std::strcpy(site.name, name);
    site.text = text;
    return siteCount++;
}

void Note() {
    if (!counting || inside) return;
    inside = true;
    void* frames[kDepth];
    const int depth = backtrace(frames, kDepth);
    uint64_t key = 1469598103934665603ull;
    for (int i = 1; i < depth; ++i) key = (key ^ reinterpret_cast<uintptr_t>(frames[i])) * 1099511628211ull;
    int slot = static_cast<int>(key & (kSeenSlots - 1));
    while (seen[slot].site != -1 && seen[slot].key != key) slot = (slot + 1) & (kSeenSlots - 1);
    if (seen[slot].site == -1) {
        seen[slot].key = key;
        seen[slot].site = SortStack(frames, depth);
    }
    Site& site = sites[seen[slot].site];
    if (site.pending++ == 0) touched[touchedCount++] = seen[slot].site;
    ++frame.all;
    if (!site.text) ++frame.notText;
    inside = false;
}

}  // namespace

void SetCounting(bool on) {
    if (on && !unwinderLoaded) {
        unwinderLoaded = true;
        // NOTE: the first backtrace loads the unwinder, which allocates; that happens here, not in an update.
        void* frames[4];
        inside = true;
        backtrace(frames, 4);
        inside = false;
    }
    counting = on;
}
void BeginFrame() {
    for (int i = 0; i < touchedCount; ++i) sites[touched[i]].pending = 0;
    touchedCount = 0;
    frame = Totals{};
}

Totals EndFrame(int bucket) {
    for (int i = 0; i < touchedCount; ++i) {
        Site& site = sites[touched[i]];
        site.count[bucket] += site.pending;
        site.pending = 0;
    }
    touchedCount = 0;
    return frame;
}

int SiteCount() { return siteCount; }
const Site& SiteAt(int index) { return sites[index]; }

}  // namespace alloc

#ifdef QUORLIX_SOAK_SANITIZED
// The C allocator is the sanitizer's: operator new and delete are replaced instead, on top of malloc and free.
void* operator new(size_t size) {
    alloc::Note();
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}
void* operator new[](size_t size) { return operator new(size); }
void* operator new(size_t size, const std::nothrow_t&) noexcept {
    alloc::Note();
    return std::malloc(size ? size : 1);
}
void* operator new[](size_t size, const std::nothrow_t&) noexcept { return operator new(size, std::nothrow); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, size_t) noexcept { std::free(p); }
void operator delete[](void* p, size_t) noexcept { std::free(p); }
bool alloc::CountsMalloc() { return false; }
#else
extern "C" {
void* __libc_malloc(size_t size);
void* __libc_calloc(size_t count, size_t size);
void* __libc_realloc(void* p, size_t size);

void* malloc(size_t size) {
    alloc::Note();
    return __libc_malloc(size);
}
void* calloc(size_t count, size_t size) {
    alloc::Note();
    return __libc_calloc(count, size);
}
void* realloc(void* p, size_t size) {
    alloc::Note();
    return __libc_realloc(p, size);
}
}
bool alloc::CountsMalloc() { return true; }
#endif
