// Array<T>: a fixed-length sequence shared by reference.
// Depends on nothing but the C++ library. Script-level sequences (the application object's fixed arrays, split
// texts, pixel and vertex lists) are Arrays: the length is fixed when the array is made, elements start as
// 0, false, the empty text or null, and copies of the handle share the elements.
#pragma once

#include <cassert>  // index checks in debug builds
#include <cstdlib>  // free: zeroed elements of plain types
#include <initializer_list>
#include <memory>       // std::shared_ptr<T[]> holds the elements
#include <new>          // std::bad_alloc
#include <type_traits>  // std::is_trivial_v
#include <utility>      // std::move

#include "runtime/zeroed.h"  // kpAllocateZeroed: zeroed elements of plain types

template <class T>
class Array {
public:
    Array() = default;
    // An array of length elements, each value-initialised (0, false, empty text, null).
    explicit Array(int length) : data_(length > 0 ? Allocate(static_cast<size_t>(length)) : nullptr),
                                 length_(length > 0 ? length : 0) {}
    Array(std::initializer_list<T> items) : Array(static_cast<int>(items.size())) {
        int i = 0;
        for (const T& item : items) data_[i++] = item;
    }

    int Length() const noexcept { return length_; }
    bool Empty() const noexcept { return length_ == 0; }

    T& operator[](int index) noexcept {
        assert(index >= 0 && index < length_ && "Array index out of range");
        return data_[index];
    }
    const T& operator[](int index) const noexcept {
        assert(index >= 0 && index < length_ && "Array index out of range");
        return data_[index];
    }

    T* Data() noexcept { return data_.get(); }
    const T* Data() const noexcept { return data_.get(); }
    T* begin() noexcept { return data_.get(); }
    T* end() noexcept { return data_.get() + length_; }
    const T* begin() const noexcept { return data_.get(); }
    const T* end() const noexcept { return data_.get() + length_; }

    // Sets every element to value.
    void Fill(const T& value) {
        for (int i = 0; i < length_; ++i) data_[i] = value;
    }
    // A new array of newLength holding the first elements of this one (the rest value-initialised).
    Array Resized(int newLength) const {
        Array out(newLength);
        for (int i = 0; i < length_ && i < newLength; ++i) out.data_[i] = data_[i];
        return out;
    }
    bool SharesWith(const Array& other) const noexcept { return data_ == other.data_; }

private:
    // Elements of plain types come zeroed without being written (kpAllocateZeroed): a long array used only in
    // part (the grid's planes) costs what is used.
    // NOTE: make_shared would write every element, making all of it resident at once.
    static std::shared_ptr<T[]> Allocate(size_t length) {
        if constexpr (std::is_trivial_v<T>) {
            T* elements = static_cast<T*>(kpAllocateZeroed(length, sizeof(T)));
            if (!elements) throw std::bad_alloc();
            return std::shared_ptr<T[]>(elements, [](T* p) { std::free(p); });
        } else {
            // NOTE: not make_shared<T[]>, which the web toolchain's library lacks.
            std::unique_ptr<T[]> elements(new T[length]());
            return std::shared_ptr<T[]>(std::move(elements));
        }
    }

    std::shared_ptr<T[]> data_;
    int length_ = 0;
};
