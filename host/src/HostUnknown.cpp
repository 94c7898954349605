#include "aaxhost/HostUnknown.h"

#include <algorithm>

namespace aaxhost
{

HostUnknown::HostUnknown(std::shared_ptr<CallRecorder> recorder, std::string name)
    : HostObjectOf(std::move(name), std::move(recorder))
{
}

HostUnknown::~HostUnknown() = default;

void HostUnknown::provide(const Uid& iid, HostRef<HostObject> provider)
{
    std::lock_guard<std::mutex> lock(providersMutex_);
    for (auto& entry : providers_)
        if (entry.first == iid)
        {
            entry.second = std::move(provider);
            return;
        }
    providers_.emplace_back(iid, std::move(provider));
}

void HostUnknown::withdraw(const Uid& iid)
{
    HostRef<HostObject> dropped; // released outside the lock
    std::lock_guard<std::mutex> lock(providersMutex_);
    const auto found = std::find_if(providers_.begin(), providers_.end(),
                                    [&](const auto& entry) { return entry.first == iid; });
    if (found != providers_.end())
    {
        dropped = std::move(found->second);
        providers_.erase(found);
    }
}

HostObject* HostUnknown::provider(const Uid& iid) const
{
    std::lock_guard<std::mutex> lock(providersMutex_);
    for (const auto& entry : providers_)
        if (entry.first == iid)
            return entry.second.get();
    return nullptr;
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
        for (const auto& entry : providers_)
            if (entry.first == iid)
                target = entry.second;
    }
    if (target)
        return target->query(iid, out);
    return HostObjectOf::answerQuery(iid, out);
}

} // namespace aaxhost
