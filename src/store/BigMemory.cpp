#include "store/BigMemory.h"

#include <cstdint>
#include <cstdlib>

#if defined(__linux__)
#include <sys/mman.h>
#include <unistd.h>
#endif

namespace stallmark::BigMemory {

#if defined(__linux__)

namespace {

std::size_t SmallPage() {
    static const std::size_t size = [] {
        const long page = sysconf(_SC_PAGESIZE);
        return page > 0 ? static_cast<std::size_t>(page) : std::size_t{4096};
    }();
    return size;
}

std::size_t MappedBytes(std::size_t bytes) {
    const std::size_t page = SmallPage();
    return (bytes + page - 1) / page * page;
}

}  // namespace

bool UsesLargePages(std::size_t bytes) { return bytes >= kLargePage; }

void* Allocate(std::size_t bytes) {
    if (bytes == 0) return nullptr;
    if (!UsesLargePages(bytes)) {
        void* p = std::malloc(bytes);
        if (p == nullptr) throw std::bad_alloc();
        return p;
    }
    const std::size_t mapped = MappedBytes(bytes);
    if (mapped < bytes || mapped > std::numeric_limits<std::size_t>::max() - kLargePage) throw std::bad_alloc();
    // Room to slide to a large-page boundary; what lies outside the buffer goes back.
    void* room = mmap(nullptr, mapped + kLargePage, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (room == MAP_FAILED) throw std::bad_alloc();
    const auto start = reinterpret_cast<std::uintptr_t>(room);
    const std::uintptr_t aligned = (start + kLargePage - 1) & ~(std::uintptr_t{kLargePage} - 1);
    if (aligned > start) munmap(room, aligned - start);
    const std::uintptr_t end = start + mapped + kLargePage;
    if (end > aligned + mapped) munmap(reinterpret_cast<void*>(aligned + mapped), end - (aligned + mapped));
    // Whole large pages only: the tail stays in small pages. A system without them
    // refuses the advice, and the buffer is simply memory.
    auto* p = reinterpret_cast<void*>(aligned);
    madvise(p, bytes / kLargePage * kLargePage, MADV_HUGEPAGE);
    return p;
}

void Free(void* p, std::size_t bytes) noexcept {
    if (p == nullptr) return;
    if (!UsesLargePages(bytes)) {
        std::free(p);
        return;
    }
    munmap(p, MappedBytes(bytes));
}

#else

bool UsesLargePages(std::size_t) { return false; }

void* Allocate(std::size_t bytes) {
    if (bytes == 0) return nullptr;
    void* p = std::malloc(bytes);
    if (p == nullptr) throw std::bad_alloc();
    return p;
}

void Free(void* p, std::size_t) noexcept { std::free(p); }

#endif

}  // namespace stallmark::BigMemory
