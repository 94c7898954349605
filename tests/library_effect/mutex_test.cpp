// The library's mutex: owner-aware, not recursive, nested guards harmless.

#include "AAX_CMutex.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

TEST(Mutex, TheOwnerCannotLockTwiceAndOnlyTheOwnerUnlocks)
{
    AAX_CMutex mutex;
    ASSERT_TRUE(mutex.Lock());
    EXPECT_FALSE(mutex.Lock()); // already held by this thread: neither waits nor succeeds

    std::thread other([&] { mutex.Unlock(); }); // not the owner: nothing
    other.join();
    EXPECT_FALSE(mutex.Lock()); // still held by this thread

    // Another thread's Lock waits until the owner unlocks, then succeeds.
    std::atomic<bool> locked{false};
    std::thread waiter(
        [&]
        {
            locked = mutex.Lock();
            mutex.Unlock();
        });
    mutex.Unlock();
    waiter.join();
    EXPECT_TRUE(locked);
    EXPECT_TRUE(mutex.Lock());
    mutex.Unlock();
}

TEST(Mutex, ANestedGuardNeitherWaitsNorReleasesTheOuterLock)
{
    AAX_CMutex mutex;
    {
        AAX_StLock_Guard outer(mutex);
        {
            AAX_StLock_Guard inner(mutex);
        }
        EXPECT_FALSE(mutex.Lock()); // the outer lock is still held
    }
    EXPECT_TRUE(mutex.Lock()); // and released by the outer guard
    mutex.Unlock();
}

TEST(Mutex, GuardsSerialiseThreads)
{
    AAX_CMutex mutex;
    int counter = 0; // plain: only the mutex protects it
    const auto work = [&]
    {
        for (int i = 0; i < 10000; ++i)
        {
            AAX_StLock_Guard guard(mutex);
            ++counter;
        }
    };
    std::thread a(work);
    std::thread b(work);
    a.join();
    b.join();
    EXPECT_EQ(counter, 20000);
}

TEST(Mutex, DestroyingAMutexHeldByThisThreadGivesItBackFirst)
{
    auto* mutex = new AAX_CMutex;
    ASSERT_TRUE(mutex->Lock());
    delete mutex; // a ThreadSanitizer build reports the destruction of a locked mutex
    SUCCEED();
}
