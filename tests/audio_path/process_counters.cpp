#include "process_counters.h"

#include <atomic>
#include <cerrno>
#include <cstddef>
#include <cstdlib>
#include <dlfcn.h>
#include <pthread.h>

// The C library's own allocator under its internal names; every replacement below
// forwards to it, so blocks from either side may be freed by the other.
extern "C"
{
    void* __libc_malloc(std::size_t size);
    void* __libc_calloc(std::size_t count, std::size_t size);
    void* __libc_realloc(void* block, std::size_t size);
    void* __libc_memalign(std::size_t alignment, std::size_t size);
    void __libc_free(void* block);
}

namespace tambrix::test
{
namespace
{

struct ThreadState
{
    bool counting;
    Counts counts;
};

// Constant-initialised: reading it never calls anything (and so never allocates).
thread_local ThreadState state{};

void countAllocation() noexcept
{
    if (state.counting)
        ++state.counts.allocations;
}

using MutexCall = int (*)(pthread_mutex_t*);

// The C library's pthread_mutex_lock / _trylock, looked up on first use (there is
// no other name to link them by). dlsym takes the loader's own lock, not these.
MutexCall realMutexCall(std::atomic<MutexCall>& slot, const char* name) noexcept
{
    MutexCall call = slot.load(std::memory_order_acquire);
    if (call == nullptr)
    {
        call = reinterpret_cast<MutexCall>(dlsym(RTLD_NEXT, name));
        if (call == nullptr)
            std::abort();
        slot.store(call, std::memory_order_release);
    }
    return call;
}

std::atomic<MutexCall> lockCall{nullptr};
std::atomic<MutexCall> trylockCall{nullptr};

int realLock(pthread_mutex_t* mutex) noexcept
{
    return realMutexCall(lockCall, "pthread_mutex_lock")(mutex);
}

int realTrylock(pthread_mutex_t* mutex) noexcept
{
    return realMutexCall(trylockCall, "pthread_mutex_trylock")(mutex);
}

void countLock(const pthread_mutex_t* mutex, bool waited) noexcept
{
    Counts& c = state.counts;
    ++c.locks;
    if (waited)
        ++c.waits;
    if (c.firstMutex == nullptr)
        c.firstMutex = mutex;
}

} // namespace

void startCounting() noexcept
{
    state.counts = Counts{};
    state.counting = true;
}

Counts stopCounting() noexcept
{
    state.counting = false;
    return state.counts;
}

} // namespace tambrix::test

using tambrix::test::countAllocation;
using tambrix::test::countLock;
using tambrix::test::realLock;
using tambrix::test::realTrylock;
using tambrix::test::state;

extern "C"
{

    void* malloc(std::size_t size) noexcept
    {
        countAllocation();
        return __libc_malloc(size);
    }

    void* calloc(std::size_t count, std::size_t size) noexcept
    {
        countAllocation();
        return __libc_calloc(count, size);
    }

    void* realloc(void* block, std::size_t size) noexcept
    {
        countAllocation();
        return __libc_realloc(block, size);
    }

    void free(void* block) noexcept
    {
        if (block != nullptr && state.counting)
            ++state.counts.releases;
        __libc_free(block);
    }

    void* memalign(std::size_t alignment, std::size_t size) noexcept
    {
        countAllocation();
        return __libc_memalign(alignment, size);
    }

    void* aligned_alloc(std::size_t alignment, std::size_t size) noexcept
    {
        countAllocation();
        return __libc_memalign(alignment, size);
    }

    int posix_memalign(void** block, std::size_t alignment, std::size_t size) noexcept
    {
        countAllocation();
        if (alignment % sizeof(void*) != 0 || (alignment & (alignment - 1)) != 0)
            return EINVAL;
        void* p = __libc_memalign(alignment, size);
        if (p == nullptr)
            return ENOMEM;
        *block = p;
        return 0;
    }

    int pthread_mutex_lock(pthread_mutex_t* mutex) noexcept
    {
        if (!state.counting)
            return realLock(mutex);
        // A try first tells whether the mutex was free; only then wait for it.
        const int tried = realTrylock(mutex);
        const int result = tried == EBUSY ? realLock(mutex) : tried;
        if (result == 0)
            countLock(mutex, tried == EBUSY);
        return result;
    }

    int pthread_mutex_trylock(pthread_mutex_t* mutex) noexcept
    {
        const int result = realTrylock(mutex);
        if (result == 0 && state.counting)
            countLock(mutex, false);
        return result;
    }

} // extern "C"
