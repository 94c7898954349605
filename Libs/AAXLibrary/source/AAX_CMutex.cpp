#include "AAX_CMutex.h"

#include <atomic>
#include <mutex>
#include <thread>

// The lock state. The owner is read before the mutex is taken (to see whether the
// calling thread holds it already), so it is an atomic thread identity; "no owner"
// is the default-constructed identity, which no running thread has.
struct opaque_aax_mutex_t
{
    std::atomic<std::thread::id> mOwner{std::thread::id()};
    std::mutex mMutex;
};

AAX_CMutex::AAX_CMutex() : mMutex(new opaque_aax_mutex_t) {}

AAX_CMutex::~AAX_CMutex()
{
    // A standard mutex must not be destroyed while held: a lock still held by the
    // destroying thread is given back first.
    if (mMutex != nullptr && mMutex->mOwner.load(std::memory_order_acquire) == std::this_thread::get_id())
    {
        mMutex->mOwner.store(std::thread::id(), std::memory_order_release);
        mMutex->mMutex.unlock();
    }
    delete mMutex;
    mMutex = nullptr;
}

bool AAX_CMutex::Lock()
{
    if (mMutex == nullptr)
        return false;

    const std::thread::id self = std::this_thread::get_id();
    // Only this thread ever stores its own identity, so a stale value read here can never
    // equal `self` unless this thread really holds the lock.
    if (mMutex->mOwner.load(std::memory_order_acquire) == self)
        return false;

    mMutex->mMutex.lock(); // std::system_error on failure: never a silent no-op
    mMutex->mOwner.store(self, std::memory_order_release);
    return true;
}

void AAX_CMutex::Unlock()
{
    if (mMutex == nullptr)
        return;
    if (mMutex->mOwner.load(std::memory_order_acquire) != std::this_thread::get_id())
        return;

    mMutex->mOwner.store(std::thread::id(), std::memory_order_release);
    mMutex->mMutex.unlock();
}
