#pragma once
// Memory for the few large buffers a loaded list lives in: the bytes of its file, the
// slots of its grid and the pool of their texts. Such a buffer is new when a list is first
// loaded, and a fresh process pays a page fault for every 4 KiB it touches first (about a
// thousand for each 4 MiB, each far dearer than writing the page). Where the system can
// back memory with large pages on request (Linux's transparent huge pages), a buffer of
// BigMemory::kLargePage bytes or more is placed on a large-page boundary and asked for
// them: one fault then fills 2 MiB. Only whole large pages inside the buffer are asked for
// (its tail stays in small pages), so a buffer holds at most the rest of the large page its
// use ends in more than it would in small pages: room reserved ahead and not yet written
// (a text pool's) can count. Smaller buffers, and every buffer elsewhere, come from the
// ordinary heap.

#include <cstddef>
#include <limits>
#include <new>
#include <string>

namespace stallmark {

namespace BigMemory {

// The size of a large page, and the least buffer placed for them.
inline constexpr std::size_t kLargePage = std::size_t{2} << 20;

// bytes of memory, not cleared (nullptr for 0 bytes); throws std::bad_alloc.
void* Allocate(std::size_t bytes);
// Gives back what Allocate(bytes) returned (nothing for nullptr), with the same bytes.
void Free(void* p, std::size_t bytes) noexcept;
// Whether Allocate(bytes) asks the system for large pages (false where it cannot).
bool UsesLargePages(std::size_t bytes);

}  // namespace BigMemory

// An allocator for containers that may grow large (a grid's slots, a file's bytes).
template <typename T>
struct BigAllocator {
    using value_type = T;
    BigAllocator() noexcept = default;
    template <typename U>
    BigAllocator(const BigAllocator<U>&) noexcept {}
    T* allocate(std::size_t n) {
        if (n > std::numeric_limits<std::size_t>::max() / sizeof(T)) throw std::bad_alloc();
        return static_cast<T*>(BigMemory::Allocate(n * sizeof(T)));
    }
    void deallocate(T* p, std::size_t n) noexcept { BigMemory::Free(p, n * sizeof(T)); }
    template <typename U>
    bool operator==(const BigAllocator<U>&) const noexcept {
        return true;
    }
};

// Bytes that may be many megabytes (a data file read whole).
using BigBytes = std::basic_string<char, std::char_traits<char>, BigAllocator<char>>;

}  // namespace stallmark
