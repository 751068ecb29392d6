// The one place the translator allocates: fields and encoder states. Every
// allocation is non-throwing; a null result is reported by the caller as
// MEMOVFL.
#pragma once

#include <cstddef>
#include <memory>
#include <new>
#include <utility>

template <class T, class... A> T* kv_new(A&&... args) {
    return new (std::nothrow) T(std::forward<A>(args)...);
}

template <class T> void kv_delete(T* p) { delete p; }

// A value-initialised array of n elements, or null.
template <class T> std::unique_ptr<T[]> kv_newarray(size_t n) {
    return std::unique_ptr<T[]>(new (std::nothrow) T[n]());
}
