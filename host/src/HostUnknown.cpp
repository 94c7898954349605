#include "aaxhost/HostUnknown.h"

#include "UidTable.h"

namespace aaxhost
{

void HostUnknown::provide(const Uid& iid, HostRef<HostObject> provider)
{
    std::lock_guard<std::mutex> lock(providersMutex_);
    putEntry(providers_, iid, std::move(provider));
}

void HostUnknown::withdraw(const Uid& iid)
{
    HostRef<HostObject> dropped; // released outside the lock
    std::lock_guard<std::mutex> lock(providersMutex_);
    const auto found = findEntry(providers_, iid);
    if (found != providers_.end())
    {
        dropped = std::move(found->second);
        providers_.erase(found);
    }
}

HostObject* HostUnknown::provider(const Uid& iid) const
{
    std::lock_guard<std::mutex> lock(providersMutex_);
    const auto found = findEntry(providers_, iid);
    return found != providers_.end() ? found->second.get() : nullptr;
}

void* HostUnknown::findInterface(const Uid&) noexcept
{
    return nullptr;
}

Result HostUnknown::answerQuery(const Uid& iid, void** out) noexcept
{
    HostRef<HostObject> target;
    {
        std::lock_guard<std::mutex> lock(providersMutex_);
        if (const auto found = findEntry(providers_, iid); found != providers_.end())
            target = found->second;
    }
    if (target)
        return target->query(iid, out);
    return HostObjectOf::answerQuery(iid, out);
}

} // namespace aaxhost
