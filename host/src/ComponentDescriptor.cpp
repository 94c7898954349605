#include "DescriptionSupport.h"

namespace aaxhost
{

namespace
{
template <class Fn>
const void* procAddress(Fn fn)
{
    return reinterpret_cast<const void*>(fn);
}
} // namespace

HostComponentDescriptor* HostComponentDescriptor::fromUnknown(IACFUnknown* unknown) noexcept
{
    return dynamic_cast<HostComponentDescriptor*>(HostObject::fromUnknown(unknown));
}

void* HostComponentDescriptor::findInterface(const Uid& iid) noexcept
{
    if (iid == IID_IAAXComponentDescriptorV1 || iid == IID_IAAXComponentDescriptorV2 ||
        iid == IID_IAAXComponentDescriptorV3)
        return as<AAX_IACFComponentDescriptor_V3>();
    return nullptr;
}

Result HostComponentDescriptor::field(const char* operation, std::vector<Value> args)
{
    if (const Result r = enter(operation, args); r != kResultOk)
        return r;
    std::lock_guard<std::mutex> lock(descriptorMutex_);
    fields_.push_back(Entry{operation, std::move(args)});
    return kResultOk;
}

Result HostComponentDescriptor::Clear()
{
    if (const Result r = enter("Clear"); r != kResultOk)
        return r;
    std::lock_guard<std::mutex> lock(descriptorMutex_);
    fields_.clear();
    procs_.clear();
    return kResultOk;
}

Result HostComponentDescriptor::AddMeters(int32_t fieldIndex, const uint32_t* meterIds, uint32_t meterCount)
{
    std::vector<Value> args{int64_t{fieldIndex}, pointerValue(meterIds), uint64_t{meterCount}};
    // The identifiers themselves, copied now.
    if (meterIds != nullptr)
        for (uint32_t i = 0; i < meterCount; ++i)
            args.emplace_back(uint64_t{meterIds[i]});
    if (meterIds == nullptr && meterCount != 0)
        return reply("AddMeters", kAaxErrorNullArgument, std::move(args));
    return field("AddMeters", std::move(args));
}

Result HostComponentDescriptor::keepProc(ProcessProcRecord proc, uint32_t* procId)
{
    std::lock_guard<std::mutex> lock(descriptorMutex_);
    proc.id = nextProcId_++;
    if (procId != nullptr)
        *procId = proc.id;
    procs_.push_back(std::move(proc));
    return kResultOk;
}

Result HostComponentDescriptor::registerNative(NativeProcessProc processProc, HostPropertyMap* map,
                                               NativeInstanceInitProc init, NativeBackgroundProc background,
                                               uint32_t* procId)
{
    if (processProc == nullptr || map == nullptr)
        return kAaxErrorNullArgument;
    ProcessProcRecord proc;
    proc.kind = ProcessProcRecord::Kind::Native;
    proc.processProc = processProc;
    proc.instanceInitProc = init;
    proc.backgroundProc = background;
    proc.properties = HostRef<HostPropertyMap>(map);
    return keepProc(std::move(proc), procId);
}

Result HostComponentDescriptor::registerTI(const char* dll, const char* process, HostPropertyMap* map,
                                           const char* init, const char* background, uint32_t* procId)
{
    if (dll == nullptr || process == nullptr || map == nullptr)
        return kAaxErrorNullArgument;
    ProcessProcRecord proc;
    proc.kind = ProcessProcRecord::Kind::TI;
    proc.dllFileName = textOrEmpty(dll);
    proc.processProcSymbol = textOrEmpty(process);
    proc.instanceInitSymbol = textOrEmpty(init);
    proc.backgroundSymbol = textOrEmpty(background);
    proc.properties = HostRef<HostPropertyMap>(map);
    return keepProc(std::move(proc), procId);
}

Result HostComponentDescriptor::AddProcessProc_Native(NativeProcessProc processProc, IACFUnknown* properties,
                                                      NativeInstanceInitProc instanceInitProc,
                                                      NativeBackgroundProc backgroundProc, uint32_t* procId)
{
    if (const Result r = enter("AddProcessProc_Native", {procAddress(processProc), pointerValue(properties),
                                                         procAddress(instanceInitProc),
                                                         procAddress(backgroundProc), pointerValue(procId)});
        r != kResultOk)
        return r;
    return registerNative(processProc, HostPropertyMap::fromUnknown(properties), instanceInitProc,
                          backgroundProc, procId);
}

Result HostComponentDescriptor::AddProcessProc_TI(const char* dllFileName, const char* processProcSymbol,
                                                  IACFUnknown* properties, const char* instanceInitSymbol,
                                                  const char* backgroundSymbol, uint32_t* procId)
{
    if (const Result r = enter("AddProcessProc_TI", {textValue(dllFileName), textValue(processProcSymbol),
                                                     pointerValue(properties), textValue(instanceInitSymbol),
                                                     textValue(backgroundSymbol), pointerValue(procId)});
        r != kResultOk)
        return r;
    return registerTI(dllFileName, processProcSymbol, HostPropertyMap::fromUnknown(properties),
                      instanceInitSymbol, backgroundSymbol, procId);
}

Result HostComponentDescriptor::AddProcessProc(IACFUnknown* properties, uint32_t* procIds,
                                               int32_t procIdsSize)
{
    if (const Result r =
            enter("AddProcessProc", {pointerValue(properties), pointerValue(procIds), int64_t{procIdsSize}});
        r != kResultOk)
        return r;
    HostPropertyMap* map = HostPropertyMap::fromUnknown(properties);
    if (map == nullptr)
        return kAaxErrorNullArgument;

    const auto pointer = [map](int32_t id) -> void*
    {
        const std::optional<PropertyValue> value = map->value(id);
        return value ? reinterpret_cast<void*>(*value) : nullptr;
    };
    std::vector<uint32_t> ids;
    Result result = kResultOk;
    if (map->value(property::PlugInIdNative) || map->value(property::PlugInIdAudioSuite))
    {
        uint32_t id = 0;
        result = registerNative(
            reinterpret_cast<NativeProcessProc>(pointer(property::NativeProcessProc)), map,
            reinterpret_cast<NativeInstanceInitProc>(pointer(property::NativeInstanceInitProc)),
            reinterpret_cast<NativeBackgroundProc>(pointer(property::NativeBackgroundProc)), &id);
        if (result == kResultOk)
            ids.push_back(id);
    }
    if (result == kResultOk && map->value(property::PlugInIdTI))
    {
        uint32_t id = 0;
        result = registerTI(static_cast<const char*>(pointer(property::TIDllFileName)),
                            static_cast<const char*>(pointer(property::TIProcessProc)), map,
                            static_cast<const char*>(pointer(property::TIInstanceInitProc)),
                            static_cast<const char*>(pointer(property::TIBackgroundProc)), &id);
        if (result == kResultOk)
            ids.push_back(id);
    }
    if (result != kResultOk || procIds == nullptr)
        return result;
    if (procIdsSize < 0 || ids.size() >= static_cast<std::size_t>(procIdsSize))
        return kAaxErrorArgumentBufferOverflow;
    for (std::size_t i = 0; i < ids.size(); ++i)
        procIds[i] = ids[i];
    procIds[ids.size()] = 0;
    return kResultOk;
}

} // namespace aaxhost
