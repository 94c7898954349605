#include "aaxhost/Description.h"

#include "UidTable.h"

namespace aaxhost
{

HostFeatureInfo::HostFeatureInfo(std::shared_ptr<CallRecorder> recorder, int32_t supportLevel)
    : HostObjectOf("FeatureInfo", recorder), level_(supportLevel),
      properties_(makeHost<HostPropertyMap>(recorder, "FeaturePropertyMap"))
{
}

void HostFeatureInfo::setSupportLevel(int32_t level)
{
    level_.store(level);
}

void HostFeatureInfo::setPropertyLevel(int32_t id, int32_t level)
{
    properties_->set(id, level);
}

void HostFeatureInfo::setHasProperties(bool on)
{
    hasProperties_.store(on);
}

Result HostFeatureInfo::SupportLevel(int32_t& level)
{
    record("SupportLevel", {pointerValue(&level)});
    level = level_.load();
    return answer("SupportLevel", kResultOk);
}

Result HostFeatureInfo::AcquireProperties(IACFUnknown** properties)
{
    record("AcquireProperties", {pointerValue(properties)});
    if (properties == nullptr)
        return kAaxErrorNullArgument;
    // Lent, not given: the caller takes its own reference if it keeps it.
    *properties = hasProperties_.load() ? properties_->v1Interface() : nullptr;
    return answer("AcquireProperties", kResultOk);
}

void HostDescriptionHost::setFeature(const Uid& featureId, HostRef<HostFeatureInfo> info)
{
    HostRef<HostFeatureInfo> old; // released after the lock
    std::lock_guard<std::mutex> lock(featuresMutex_);
    old = putEntry(features_, featureId, std::move(info));
}

HostFeatureInfo& HostDescriptionHost::stemFormatFeature()
{
    {
        std::lock_guard<std::mutex> lock(featuresMutex_);
        const auto found = findEntry(features_, AAXATTR_ClientFeature_StemFormat);
        if (found != features_.end() && found->second)
            return *found->second;
    }
    auto info = makeHost<HostFeatureInfo>(recorder());
    HostFeatureInfo& result = *info;
    setFeature(AAXATTR_ClientFeature_StemFormat, std::move(info));
    return result;
}

void HostDescriptionHost::setAnswerWithoutObject(bool on)
{
    std::lock_guard<std::mutex> lock(featuresMutex_);
    withoutObject_ = on;
}

Result HostDescriptionHost::AcquireFeatureProperties(const Uid& featureId, IACFUnknown** featureInfo)
{
    record("AcquireFeatureProperties", {featureId, pointerValue(featureInfo)});
    if (featureInfo == nullptr)
        return kAaxErrorNullArgument;
    *featureInfo = nullptr;
    Result result = kAaxErrorUnknownId;
    {
        std::lock_guard<std::mutex> lock(featuresMutex_);
        if (withoutObject_)
            result = kResultOk;
        else if (const auto found = findEntry(features_, featureId);
                 found != features_.end() && found->second)
        {
            // Lent, not given: the description host keeps the info alive.
            *featureInfo = found->second->primaryInterface();
            result = kResultOk;
        }
    }
    return answer("AcquireFeatureProperties", result);
}

} // namespace aaxhost
