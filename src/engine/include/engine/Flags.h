#pragma once
// One flag per line (1 = changed). Flag vectors come from calloc: the
// system hands out large blocks as zeroed pages, so no pass writes the
// zeros first, and pages that are only ever read take no memory.

#include <cstdint>
#include <cstdlib>
#include <new>
#include <utility>
#include <vector>

namespace LineDiff {

template <class T>
struct ZeroedAllocator {
    using value_type = T;

    ZeroedAllocator() = default;
    template <class U>
    ZeroedAllocator(const ZeroedAllocator<U>&) noexcept
    {
    }

    [[nodiscard]] T* allocate(std::size_t n)
    {
        void* p = std::calloc(n ? n : 1, sizeof(T));
        if (!p)
            throw std::bad_alloc();
        return static_cast<T*>(p);
    }
    void deallocate(T* p, std::size_t) noexcept { std::free(p); }

    // Elements made without a value keep the zero calloc gave them.
    template <class U>
    void construct(U*) noexcept
    {
    }
    template <class U, class... Args>
    void construct(U* p, Args&&... args)
    {
        ::new (static_cast<void*>(p)) U(std::forward<Args>(args)...);
    }

    friend bool operator==(const ZeroedAllocator&, const ZeroedAllocator&) { return true; }
};

// Sized with Flags(n): all zero, without writing them.
using Flags = std::vector<std::uint8_t, ZeroedAllocator<std::uint8_t>>;

}  // namespace LineDiff
