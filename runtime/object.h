// Object and StrongRef<T>: the reference-counted base of script-level objects.
// Depends on nothing but the C++ library. Images, surfaces, sounds, samples, the devices and the application
// object derive from Object; whoever keeps one holds a StrongRef. An object whose last reference goes away is
// not destroyed on the spot: it waits for the next collector step, which the host runs after every callback,
// so no destructor (a texture or buffer release) ever runs in the middle of an update or a render.
#pragma once

#include <atomic>   // outside-memory counter
#include <cstdint>
#include <utility>  // std::swap

class Object {
public:
    Object() = default;
    Object(const Object&) = delete;
    Object& operator=(const Object&) = delete;
    virtual ~Object() = default;

    void Retain() noexcept { ++refs_; }
    // Drops one reference; at zero the object is queued for the next collector step.
    void Release() noexcept;
    int RefCount() const noexcept { return refs_; }

private:
    friend int gc_collect();
    int refs_ = 0;
    bool queued_ = false;  // waiting in the collector's list
};

// Destroys every object whose last reference was dropped since the previous step; returns how many went.
int gc_collect();
// Objects waiting for the next step.
int gc_pending();
// Bytes taken from the C allocator for pixels and samples since start (big loads hasten collection).
extern std::atomic<int64_t> gc_ext_new_bytes;

template <class T>
class StrongRef {
public:
    StrongRef() noexcept = default;
    StrongRef(std::nullptr_t) noexcept {}
    StrongRef(T* object) noexcept : ptr_(object) {
        if (ptr_) ptr_->Retain();
    }
    StrongRef(const StrongRef& other) noexcept : StrongRef(other.ptr_) {}
    template <class U>
    StrongRef(const StrongRef<U>& other) noexcept : StrongRef(other.Get()) {}
    StrongRef(StrongRef&& other) noexcept : ptr_(other.ptr_) { other.ptr_ = nullptr; }
    StrongRef& operator=(StrongRef other) noexcept {
        std::swap(ptr_, other.ptr_);
        return *this;
    }
    ~StrongRef() {
        if (ptr_) ptr_->Release();
    }

    T* Get() const noexcept { return ptr_; }
    T* operator->() const noexcept { return ptr_; }
    T& operator*() const noexcept { return *ptr_; }
    explicit operator bool() const noexcept { return ptr_ != nullptr; }
    bool operator==(const StrongRef& other) const noexcept { return ptr_ == other.ptr_; }
    bool operator==(std::nullptr_t) const noexcept { return ptr_ == nullptr; }

private:
    T* ptr_ = nullptr;
};

// Makes a new object held by a StrongRef.
template <class T, class... Args>
StrongRef<T> MakeRef(Args&&... args) {
    return StrongRef<T>(new T(std::forward<Args>(args)...));
}
