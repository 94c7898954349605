#pragma once

// Counters of what one thread does to the heap and to mutexes. process_counters.cpp
// replaces the C heap functions (malloc, calloc, realloc, free and the aligned
// ones) and pthread_mutex_lock / pthread_mutex_trylock for the whole process; the
// executable exports them, so a plug-in the test loads later with dlopen calls
// them too (operator new reaches them through malloc). They forward to the C
// library and count while the calling thread is counting.
//
// Only for a process without AddressSanitizer or ThreadSanitizer, which replace
// the same functions themselves.

#include <cstdint>

namespace tambrix::test
{

struct Counts
{
    uint64_t allocations = 0;         // malloc, calloc, realloc, aligned_alloc, memalign, posix_memalign
    uint64_t releases = 0;            // free of a block
    uint64_t locks = 0;               // pthread_mutex_lock and pthread_mutex_trylock that took the mutex
    uint64_t waits = 0;               // of those, locks the thread had to wait for (held elsewhere)
    const void* firstMutex = nullptr; // the first mutex locked
};

// Starts counting on the calling thread from zero.
void startCounting() noexcept;
// Stops counting on the calling thread and returns what it counted.
Counts stopCounting() noexcept;

} // namespace tambrix::test
