#include "DescriptionSupport.h"

namespace aaxhost
{

HostCollection::HostCollection(std::shared_ptr<CallRecorder> recorder)
    : HostObjectOf("Collection", std::move(recorder))
{
}

HostCollection::~HostCollection() = default;

HostCollection* HostCollection::fromUnknown(IACFUnknown* unknown) noexcept
{
    return dynamic_cast<HostCollection*>(HostObject::fromUnknown(unknown));
}

IACFUnknown* HostCollection::pluginDefinitionInterface() noexcept
{
    return static_cast<IACFPluginDefinition*>(this);
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
    if (const Result r = enter("SetManufacturerName", {textValue(name)}, name); r != kResultOk)
        return r;
    std::lock_guard<std::mutex> lock(collectionMutex_);
    manufacturer_ = name;
    return kResultOk;
}

Result HostCollection::AddPackageName(const char* name)
{
    if (const Result r = enter("AddPackageName", {textValue(name)}, name); r != kResultOk)
        return r;
    std::lock_guard<std::mutex> lock(collectionMutex_);
    packages_.emplace_back(name);
    return kResultOk;
}

Result HostCollection::SetPackageVersion(uint32_t version)
{
    if (const Result r = enter("SetPackageVersion", {uint64_t{version}}); r != kResultOk)
        return r;
    std::lock_guard<std::mutex> lock(collectionMutex_);
    version_ = version;
    return kResultOk;
}

Result HostCollection::SetProperties(IACFUnknown* properties)
{
    if (const Result r = enter("SetProperties", {pointerValue(properties)}); r != kResultOk)
        return r;
    return keepPropertyMap(properties, collectionMutex_, properties_);
}

} // namespace aaxhost
