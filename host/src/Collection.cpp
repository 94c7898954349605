#include "DescriptionSupport.h"

namespace aaxhost
{

HostCollection* HostCollection::fromUnknown(IACFUnknown* unknown) noexcept
{
    return dynamic_cast<HostCollection*>(HostObject::fromUnknown(unknown));
}

void* HostCollection::findInterface(const Uid& iid) noexcept
{
    if (iid == IID_IAAXCollectionV1)
        return as<AAX_IACFCollection>();
    if (iid == IID_IACFPluginDefinition)
        return as<IACFPluginDefinition>();
    return nullptr;
}

Result HostCollection::AddEffect(const char* effectId, IACFUnknown* effectDescriptor)
{
    if (const Result r = enter("AddEffect", {textValue(effectId), pointerValue(effectDescriptor)}, effectId);
        r != kResultOk)
        return r;
    HostEffectDescriptor* descriptor = HostEffectDescriptor::fromUnknown(effectDescriptor);
    if (descriptor == nullptr)
        return kResultInvalidPointer;
    std::lock_guard<std::mutex> lock(collectionMutex_);
    effects_.push_back(EffectRecord{effectId, HostRef<HostEffectDescriptor>(descriptor)});
    return kResultOk;
}

Result HostCollection::SetManufacturerName(const char* name)
{
    return deliver(enter("SetManufacturerName", {textValue(name)}, name), collectionMutex_,
                   [&] { manufacturer_ = name; });
}

Result HostCollection::AddPackageName(const char* name)
{
    return deliver(enter("AddPackageName", {textValue(name)}, name), collectionMutex_,
                   [&] { packages_.emplace_back(name); });
}

Result HostCollection::SetPackageVersion(uint32_t version)
{
    return deliver(enter("SetPackageVersion", {uint64_t{version}}), collectionMutex_,
                   [&] { version_ = version; });
}

Result HostCollection::SetProperties(IACFUnknown* properties)
{
    if (const Result r = enter("SetProperties", {pointerValue(properties)}); r != kResultOk)
        return r;
    return keepPropertyMap(properties, collectionMutex_, properties_);
}

} // namespace aaxhost
