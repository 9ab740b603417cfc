// The collector step behind Object: objects whose last reference went away wait here until the host's
// next step, which runs after every callback.
#include "runtime/object.h"

#include <vector>

std::atomic<int64_t> gc_ext_new_bytes{0};

namespace {
// NOTE: never destroyed, so objects released by static destructors at exit still find it.
std::vector<Object*>& PendingObjects() {
    static auto* pending = new std::vector<Object*>();
    return *pending;
}
}  // namespace

void Object::Release() noexcept {
    if (--refs_ == 0 && !queued_) {
        queued_ = true;
        PendingObjects().push_back(this);
    }
}

int gc_collect() {
    // NOTE: a destructor may drop the last reference of further objects; they join the list and go in the
    // same step, since each is released at most once.
    auto& pending = PendingObjects();
    int freed = 0;
    while (!pending.empty()) {
        Object* object = pending.back();
        pending.pop_back();
        object->queued_ = false;
        if (object->refs_ > 0) continue;  // picked up again before the step ran
        delete object;
        ++freed;
    }
    return freed;
}

int gc_pending() { return static_cast<int>(PendingObjects().size()); }
