#include "aaxhost/Description.h"

namespace aaxhost
{

HostFeatureInfo::HostFeatureInfo(std::shared_ptr<CallRecorder> recorder, int32_t supportLevel)
    : HostObjectOf("FeatureInfo", recorder), level_(supportLevel),
      properties_(makeHost<HostPropertyMap>(recorder, "FeaturePropertyMap"))
{
}

HostFeatureInfo::~HostFeatureInfo() = default;

void* HostFeatureInfo::findInterface(const Uid& iid) noexcept
{
    return iid == IID_IAAXFeatureInfoV1 ? as<AAX_IACFFeatureInfo>() : nullptr;
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
    record("SupportLevel", {static_cast<const void*>(&level)});
    level = level_.load();
    return answer("SupportLevel", kResultOk);
}

Result HostFeatureInfo::AcquireProperties(IACFUnknown** properties)
{
    record("AcquireProperties", {static_cast<const void*>(properties)});
    if (properties == nullptr)
        return kAaxErrorNullArgument;
    // Lent, not given: the caller takes its own reference if it keeps it.
    *properties = hasProperties_.load() ? properties_->v1Interface() : nullptr;
    return answer("AcquireProperties", kResultOk);
}

HostDescriptionHost::HostDescriptionHost(std::shared_ptr<CallRecorder> recorder)
    : HostObjectOf("DescriptionHost", std::move(recorder))
{
}

HostDescriptionHost::~HostDescriptionHost() = default;

void* HostDescriptionHost::findInterface(const Uid& iid) noexcept
{
    return iid == IID_IAAXDescriptionHostV1 ? as<AAX_IACFDescriptionHost>() : nullptr;
}

void HostDescriptionHost::setFeature(const Uid& featureId, HostRef<HostFeatureInfo> info)
{
    HostRef<HostFeatureInfo> old; // released after the lock
    std::lock_guard<std::mutex> lock(featuresMutex_);
    for (auto& entry : features_)
        if (entry.first == featureId)
        {
            old = std::move(entry.second);
            entry.second = std::move(info);
            return;
        }
    features_.emplace_back(featureId, std::move(info));
}

void HostDescriptionHost::removeFeature(const Uid& featureId)
{
    HostRef<HostFeatureInfo> old;
    std::lock_guard<std::mutex> lock(featuresMutex_);
    for (auto it = features_.begin(); it != features_.end(); ++it)
        if (it->first == featureId)
        {
            old = std::move(it->second);
            features_.erase(it);
            return;
        }
}

HostFeatureInfo& HostDescriptionHost::stemFormatFeature()
{
    {
        std::lock_guard<std::mutex> lock(featuresMutex_);
        for (auto& entry : features_)
            if (entry.first == AAXATTR_ClientFeature_StemFormat && entry.second)
                return *entry.second;
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
    record("AcquireFeatureProperties", {featureId, static_cast<const void*>(featureInfo)});
    if (featureInfo == nullptr)
        return kAaxErrorNullArgument;
    *featureInfo = nullptr;
    Result result = kAaxErrorUnknownId;
    {
        std::lock_guard<std::mutex> lock(featuresMutex_);
        if (withoutObject_)
            result = kResultOk;
        else
            for (const auto& entry : features_)
                if (entry.first == featureId && entry.second)
                {
                    // Lent, not given: the description host keeps the info alive.
                    *featureInfo = entry.second->primaryInterface();
                    result = kResultOk;
                }
    }
    return answer("AcquireFeatureProperties", result);
}

HostDefinition::HostDefinition(std::shared_ptr<CallRecorder> recorder)
    : HostObjectOf("Definition", std::move(recorder))
{
}

HostDefinition::~HostDefinition() = default;

void* HostDefinition::findInterface(const Uid& iid) noexcept
{
    return iid == IID_IACFDefinition ? as<IACFDefinition>() : nullptr;
}

} // namespace aaxhost
