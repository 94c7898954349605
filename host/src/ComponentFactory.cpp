#include "aaxhost/ComponentFactory.h"

#include "UidTable.h"

#include <new>

namespace aaxhost
{

void ComponentFactory::registerComponent(const Uid& componentId, Creator creator)
{
    std::lock_guard<std::mutex> lock(factoryMutex_);
    putEntry(creators_, componentId, std::move(creator));
}

bool ComponentFactory::unregisterComponent(const Uid& componentId)
{
    std::lock_guard<std::mutex> lock(factoryMutex_);
    const auto found = findEntry(creators_, componentId);
    if (found == creators_.end())
        return false;
    creators_.erase(found);
    return true;
}

bool ComponentFactory::hasComponent(const Uid& componentId) const
{
    std::lock_guard<std::mutex> lock(factoryMutex_);
    return findEntry(creators_, componentId) != creators_.end();
}

void ComponentFactory::addFailure(FailureRule rule)
{
    std::lock_guard<std::mutex> lock(factoryMutex_);
    failures_.push_back(rule);
}

void ComponentFactory::failComponent(const Uid& componentId, Result result)
{
    addFailure(FailureRule{componentId, std::nullopt, result});
}

void ComponentFactory::failInterface(const Uid& componentId, const Uid& interfaceId, Result result)
{
    addFailure(FailureRule{componentId, interfaceId, result});
}

void ComponentFactory::failAll(Result result)
{
    addFailure(FailureRule{std::nullopt, std::nullopt, result});
}

void ComponentFactory::clearFailures()
{
    std::lock_guard<std::mutex> lock(factoryMutex_);
    failures_.clear();
}

uint64_t ComponentFactory::createdCount() const
{
    std::lock_guard<std::mutex> lock(factoryMutex_);
    return created_;
}

Result ComponentFactory::Create(const Uid& componentId, IACFUnknown* outer, const Uid& iid,
                                void** out) noexcept
{
    if (out != nullptr)
        *out = nullptr;
    Result result = kResultFail;
    try
    {
        record("Create", {componentId, pointerValue(outer), iid, pointerValue(out)});
        result = create(componentId, outer, iid, out);
    }
    catch (const std::bad_alloc&)
    {
        result = kResultOutOfMemory; // also when recording the call ran out
    }
    catch (...)
    {
        result = kResultUnexpected; // a creator that throws: nothing may cross into the plug-in
    }
    return answer("Create", result);
}

Result ComponentFactory::create(const Uid& componentId, IACFUnknown* outer, const Uid& iid, void** out)
{
    if (out == nullptr)
        return kResultInvalidPointer;
    *out = nullptr;
    if (outer != nullptr)
        return kResultNoAggregation;

    Creator creator;
    {
        std::lock_guard<std::mutex> lock(factoryMutex_);
        for (FailureRule& rule : failures_)
        {
            if (rule.componentId && *rule.componentId != componentId)
                continue;
            if (rule.interfaceId && *rule.interfaceId != iid)
                continue;
            if (rule.skip > 0)
            {
                --rule.skip;
                continue;
            }
            if (rule.times == 0)
                continue;
            if (rule.times > 0)
                --rule.times;
            return rule.result;
        }
        if (const auto found = findEntry(creators_, componentId); found != creators_.end())
            creator = found->second;
    }
    if (!creator)
        return kResultClassNotAvailable;

    // The creator runs outside the lock: it may use the factory itself.
    HostRef<HostObject> object = creator(CreateRequest{componentId, iid, recorder()});
    if (!object)
        return kResultOutOfMemory;
    const Result result = object->query(iid, out);
    if (result == kResultOk)
    {
        std::lock_guard<std::mutex> lock(factoryMutex_);
        ++created_;
    }
    return result; // `object` drops the host's reference; one lacking `iid` is gone now
}

} // namespace aaxhost
