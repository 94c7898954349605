// The library's mutex: not recursive, but a second Lock on the owning thread neither
// waits nor succeeds, so nested guards on one thread are harmless.
#pragma once

struct opaque_aax_mutex_t;

class AAX_CMutex
{
public:
    AAX_CMutex();
    ~AAX_CMutex();

    AAX_CMutex(const AAX_CMutex&) = delete;
    AAX_CMutex& operator=(const AAX_CMutex&) = delete;

    /// False for a mutex whose platform mutex failed, or when the calling thread owns it.
    bool Lock();
    /// Only the owning thread unlocks.
    void Unlock();

private:
    opaque_aax_mutex_t* mMutex;
};

/// Locks a mutex for its lifetime; unlocks only what its own Lock took.
class AAX_StLock_Guard
{
public:
    explicit AAX_StLock_Guard(AAX_CMutex& iMutex) : m_Mutex(&iMutex) { m_IsLocked = m_Mutex->Lock(); }
    ~AAX_StLock_Guard()
    {
        if (m_IsLocked)
            m_Mutex->Unlock();
    }

    AAX_StLock_Guard(const AAX_StLock_Guard&) = delete;
    AAX_StLock_Guard& operator=(const AAX_StLock_Guard&) = delete;

private:
    AAX_CMutex* m_Mutex;
    bool m_IsLocked;
};
