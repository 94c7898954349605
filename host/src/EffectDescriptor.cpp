#include "DescriptionSupport.h"

namespace aaxhost
{

HostEffectDescriptor::HostEffectDescriptor(std::shared_ptr<CallRecorder> recorder)
    : HostObjectOf("EffectDescriptor", std::move(recorder))
{
}

HostEffectDescriptor::~HostEffectDescriptor() = default;

HostEffectDescriptor* HostEffectDescriptor::fromUnknown(IACFUnknown* unknown) noexcept
{
    return dynamic_cast<HostEffectDescriptor*>(HostObject::fromUnknown(unknown));
}

void* HostEffectDescriptor::findInterface(const Uid& iid) noexcept
{
    if (iid == IID_IAAXEffectDescriptorV1 || iid == IID_IAAXEffectDescriptorV2)
        return as<AAX_IACFEffectDescriptor_V2>();
    return nullptr;
}

std::vector<std::string> HostEffectDescriptor::names() const
{
    return lockedCopy(effectMutex_, names_);
}

std::vector<uint32_t> HostEffectDescriptor::categories() const
{
    return lockedCopy(effectMutex_, categories_);
}

std::vector<ProcPtrRecord> HostEffectDescriptor::procPtrs() const
{
    return lockedCopy(effectMutex_, procPtrs_);
}

std::vector<HostRef<HostComponentDescriptor>> HostEffectDescriptor::components() const
{
    return lockedCopy(effectMutex_, components_);
}

HostRef<HostPropertyMap> HostEffectDescriptor::properties() const
{
    return lockedCopy(effectMutex_, properties_);
}

std::vector<MeterRecord> HostEffectDescriptor::meters() const
{
    return lockedCopy(effectMutex_, meters_);
}

std::vector<Entry> HostEffectDescriptor::others() const
{
    return lockedCopy(effectMutex_, others_);
}

Result HostEffectDescriptor::AddComponent(IACFUnknown* componentDescriptor)
{
    record("AddComponent", {static_cast<const void*>(componentDescriptor)});
    const Result forced = answer("AddComponent", kResultOk);
    if (forced != kResultOk)
        return forced;
    HostComponentDescriptor* component = HostComponentDescriptor::fromUnknown(componentDescriptor);
    if (component == nullptr)
        return kResultInvalidPointer;
    std::lock_guard<std::mutex> lock(effectMutex_);
    components_.emplace_back(component);
    return kResultOk;
}

Result HostEffectDescriptor::AddName(const char* name)
{
    record("AddName", {textValue(name)});
    const Result forced = answer("AddName", kResultOk);
    if (forced != kResultOk)
        return forced;
    if (name == nullptr)
        return kAaxErrorNullArgument;
    std::lock_guard<std::mutex> lock(effectMutex_);
    names_.emplace_back(name);
    return kResultOk;
}

Result HostEffectDescriptor::AddCategory(uint32_t category)
{
    record("AddCategory", {uint64_t{category}});
    const Result forced = answer("AddCategory", kResultOk);
    if (forced != kResultOk)
        return forced;
    std::lock_guard<std::mutex> lock(effectMutex_);
    categories_.push_back(category);
    return kResultOk;
}

Result HostEffectDescriptor::AddCategoryBypassParameter(uint32_t category, const char* parameterId)
{
    record("AddCategoryBypassParameter", {uint64_t{category}, textValue(parameterId)});
    const Result forced = answer("AddCategoryBypassParameter", kResultOk);
    if (forced != kResultOk)
        return forced;
    if (parameterId == nullptr)
        return kAaxErrorNullArgument;
    std::lock_guard<std::mutex> lock(effectMutex_);
    others_.push_back(Entry{"AddCategoryBypassParameter", {uint64_t{category}, textOrEmpty(parameterId)}});
    return kResultOk;
}

Result HostEffectDescriptor::AddProcPtr(void* procPtr, uint32_t procId)
{
    record("AddProcPtr", {static_cast<const void*>(procPtr), uint64_t{procId}});
    const Result forced = answer("AddProcPtr", kResultOk);
    if (forced != kResultOk)
        return forced;
    if (procPtr == nullptr)
        return kAaxErrorNullArgument;
    std::lock_guard<std::mutex> lock(effectMutex_);
    procPtrs_.push_back(ProcPtrRecord{procPtr, procId});
    return kResultOk;
}

Result HostEffectDescriptor::SetProperties(IACFUnknown* properties)
{
    record("SetProperties", {static_cast<const void*>(properties)});
    const Result forced = answer("SetProperties", kResultOk);
    if (forced != kResultOk)
        return forced;
    return keepPropertyMap(properties, effectMutex_, properties_);
}

Result HostEffectDescriptor::AddResourceInfo(int32_t resourceType, const char* info)
{
    record("AddResourceInfo", {int64_t{resourceType}, textValue(info)});
    const Result forced = answer("AddResourceInfo", kResultOk);
    if (forced != kResultOk)
        return forced;
    if (info == nullptr)
        return kAaxErrorNullArgument;
    std::lock_guard<std::mutex> lock(effectMutex_);
    others_.push_back(Entry{"AddResourceInfo", {int64_t{resourceType}, textOrEmpty(info)}});
    return kResultOk;
}

Result HostEffectDescriptor::AddMeterDescription(uint32_t meterId, const char* name, IACFUnknown* properties)
{
    record("AddMeterDescription", {uint64_t{meterId}, textValue(name), static_cast<const void*>(properties)});
    const Result forced = answer("AddMeterDescription", kResultOk);
    if (forced != kResultOk)
        return forced;
    HostPropertyMap* map = HostPropertyMap::fromUnknown(properties);
    if (name == nullptr || map == nullptr)
        return kAaxErrorNullArgument;
    std::lock_guard<std::mutex> lock(effectMutex_);
    meters_.push_back(MeterRecord{meterId, name, HostRef<HostPropertyMap>(map)});
    return kResultOk;
}

Result HostEffectDescriptor::AddControlMIDINode(uint32_t nodeId, int32_t nodeType, const char* name,
                                                uint32_t channelMask)
{
    record("AddControlMIDINode",
           {uint64_t{nodeId}, int64_t{nodeType}, textValue(name), uint64_t{channelMask}});
    const Result forced = answer("AddControlMIDINode", kResultOk);
    if (forced != kResultOk)
        return forced;
    if (name == nullptr)
        return kAaxErrorNullArgument;
    std::lock_guard<std::mutex> lock(effectMutex_);
    others_.push_back(Entry{"AddControlMIDINode",
                            {uint64_t{nodeId}, int64_t{nodeType}, textOrEmpty(name), uint64_t{channelMask}}});
    return kResultOk;
}

} // namespace aaxhost
