#pragma once
// A hint to the processor that memory is wanted soon, for loops that walk memory in an
// order it cannot guess (rows in a sort's order, hash table slots).

namespace stallmark {

// Asks for the cache line at p ahead of its use; nothing where the compiler has no hint.
inline void Prefetch(const void* p) {
#if defined(__GNUC__) || defined(__clang__)
    __builtin_prefetch(p);
#else
    (void)p;
#endif
}

}  // namespace stallmark
