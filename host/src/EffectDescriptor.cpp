#include "DescriptionSupport.h"

namespace aaxhost
{

HostEffectDescriptor* HostEffectDescriptor::fromUnknown(IACFUnknown* unknown) noexcept
{
    return dynamic_cast<HostEffectDescriptor*>(HostObject::fromUnknown(unknown));
}

Result HostEffectDescriptor::AddComponent(IACFUnknown* componentDescriptor)
{
    if (const Result r = enter("AddComponent", {pointerValue(componentDescriptor)}); r != kResultOk)
        return r;
    HostComponentDescriptor* component = HostComponentDescriptor::fromUnknown(componentDescriptor);
    if (component == nullptr)
        return kResultInvalidPointer;
    std::lock_guard<std::mutex> lock(effectMutex_);
    components_.emplace_back(component);
    return kResultOk;
}

Result HostEffectDescriptor::AddName(const char* name)
{
    return deliver(enter("AddName", {textValue(name)}, name), effectMutex_,
                   [&] { names_.emplace_back(name); });
}

Result HostEffectDescriptor::AddCategory(uint32_t category)
{
    return deliver(enter("AddCategory", {uint64_t{category}}), effectMutex_,
                   [&] { categories_.push_back(category); });
}

Result HostEffectDescriptor::other(const char* operation, std::vector<Value> args, const char* text)
{
    if (const Result r = enter(operation, args, text); r != kResultOk)
        return r;
    std::lock_guard<std::mutex> lock(effectMutex_);
    others_.push_back(Entry{operation, std::move(args)});
    return kResultOk;
}

Result HostEffectDescriptor::AddCategoryBypassParameter(uint32_t category, const char* parameterId)
{
    return other("AddCategoryBypassParameter", {uint64_t{category}, textValue(parameterId)}, parameterId);
}

Result HostEffectDescriptor::AddProcPtr(void* procPtr, uint32_t procId)
{
    if (const Result r = enter("AddProcPtr", {pointerValue(procPtr), uint64_t{procId}}, procPtr);
        r != kResultOk)
        return r;
    std::lock_guard<std::mutex> lock(effectMutex_);
    procPtrs_.push_back(ProcPtrRecord{procPtr, procId});
    return kResultOk;
}

Result HostEffectDescriptor::SetProperties(IACFUnknown* properties)
{
    if (const Result r = enter("SetProperties", {pointerValue(properties)}); r != kResultOk)
        return r;
    return keepPropertyMap(properties, effectMutex_, properties_);
}

Result HostEffectDescriptor::AddResourceInfo(int32_t resourceType, const char* info)
{
    return other("AddResourceInfo", {int64_t{resourceType}, textValue(info)}, info);
}

Result HostEffectDescriptor::AddMeterDescription(uint32_t meterId, const char* name, IACFUnknown* properties)
{
    if (const Result r =
            enter("AddMeterDescription", {uint64_t{meterId}, textValue(name), pointerValue(properties)});
        r != kResultOk)
        return r;
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
    return other("AddControlMIDINode",
                 {uint64_t{nodeId}, int64_t{nodeType}, textValue(name), uint64_t{channelMask}}, name);
}

} // namespace aaxhost
