#include "DescriptionSupport.h"

namespace aaxhost
{

namespace
{
const void* address(const void* pointer)
{
    return pointer;
}

template <class Fn>
const void* procAddress(Fn fn)
{
    return reinterpret_cast<const void*>(fn);
}
} // namespace

HostComponentDescriptor::HostComponentDescriptor(std::shared_ptr<CallRecorder> recorder)
    : HostObjectOf("ComponentDescriptor", std::move(recorder))
{
}

HostComponentDescriptor::~HostComponentDescriptor() = default;

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

std::vector<Entry> HostComponentDescriptor::fields() const
{
    return lockedCopy(descriptorMutex_, fields_);
}

std::vector<ProcessProcRecord> HostComponentDescriptor::processProcs() const
{
    return lockedCopy(descriptorMutex_, procs_);
}

Result HostComponentDescriptor::field(const char* operation, std::vector<Value> args)
{
    record(operation, args);
    const Result result = answer(operation, kResultOk);
    if (result == kResultOk)
    {
        std::lock_guard<std::mutex> lock(descriptorMutex_);
        fields_.push_back(Entry{operation, std::move(args)});
    }
    return result;
}

Result HostComponentDescriptor::Clear()
{
    record("Clear");
    const Result result = answer("Clear", kResultOk);
    if (result == kResultOk)
    {
        std::lock_guard<std::mutex> lock(descriptorMutex_);
        fields_.clear();
        procs_.clear();
    }
    return result;
}

Result HostComponentDescriptor::AddReservedField(int32_t fieldIndex, uint32_t fieldType)
{
    return field("AddReservedField", {int64_t{fieldIndex}, uint64_t{fieldType}});
}

Result HostComponentDescriptor::AddAudioIn(int32_t fieldIndex)
{
    return field("AddAudioIn", {int64_t{fieldIndex}});
}

Result HostComponentDescriptor::AddAudioOut(int32_t fieldIndex)
{
    return field("AddAudioOut", {int64_t{fieldIndex}});
}

Result HostComponentDescriptor::AddAudioBufferLength(int32_t fieldIndex)
{
    return field("AddAudioBufferLength", {int64_t{fieldIndex}});
}

Result HostComponentDescriptor::AddSampleRate(int32_t fieldIndex)
{
    return field("AddSampleRate", {int64_t{fieldIndex}});
}

Result HostComponentDescriptor::AddClock(int32_t fieldIndex)
{
    return field("AddClock", {int64_t{fieldIndex}});
}

Result HostComponentDescriptor::AddSideChainIn(int32_t fieldIndex)
{
    return field("AddSideChainIn", {int64_t{fieldIndex}});
}

Result HostComponentDescriptor::AddDataInPort(int32_t fieldIndex, uint32_t packetSize, int32_t type)
{
    return field("AddDataInPort", {int64_t{fieldIndex}, uint64_t{packetSize}, int64_t{type}});
}

Result HostComponentDescriptor::AddAuxOutputStem(int32_t fieldIndex, int32_t stemFormat, const char* name)
{
    return field("AddAuxOutputStem", {int64_t{fieldIndex}, int64_t{stemFormat}, textValue(name)});
}

Result HostComponentDescriptor::AddPrivateData(int32_t fieldIndex, int32_t sizeInBytes, uint32_t options)
{
    return field("AddPrivateData", {int64_t{fieldIndex}, int64_t{sizeInBytes}, uint64_t{options}});
}

Result HostComponentDescriptor::AddDmaInstance(int32_t fieldIndex, int32_t mode)
{
    return field("AddDmaInstance", {int64_t{fieldIndex}, int64_t{mode}});
}

Result HostComponentDescriptor::AddMIDINode(int32_t fieldIndex, int32_t nodeType, const char* name,
                                            uint32_t channelMask)
{
    return field("AddMIDINode",
                 {int64_t{fieldIndex}, int64_t{nodeType}, textValue(name), uint64_t{channelMask}});
}

Result HostComponentDescriptor::AddMeters(int32_t fieldIndex, const uint32_t* meterIds, uint32_t meterCount)
{
    std::vector<Value> args{int64_t{fieldIndex}, address(meterIds), uint64_t{meterCount}};
    // The identifiers themselves, copied now.
    if (meterIds != nullptr)
        for (uint32_t i = 0; i < meterCount; ++i)
            args.emplace_back(uint64_t{meterIds[i]});
    if (meterIds == nullptr && meterCount != 0)
    {
        record("AddMeters", args);
        return answer("AddMeters", kAaxErrorNullArgument);
    }
    return field("AddMeters", std::move(args));
}

Result HostComponentDescriptor::AddTemporaryData(int32_t fieldIndex, uint32_t sizeInBytes)
{
    return field("AddTemporaryData", {int64_t{fieldIndex}, uint64_t{sizeInBytes}});
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
    std::lock_guard<std::mutex> lock(descriptorMutex_);
    proc.id = nextProcId_++;
    if (procId != nullptr)
        *procId = proc.id;
    procs_.push_back(std::move(proc));
    return kResultOk;
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
    std::lock_guard<std::mutex> lock(descriptorMutex_);
    proc.id = nextProcId_++;
    if (procId != nullptr)
        *procId = proc.id;
    procs_.push_back(std::move(proc));
    return kResultOk;
}

Result HostComponentDescriptor::AddProcessProc_Native(NativeProcessProc processProc, IACFUnknown* properties,
                                                      NativeInstanceInitProc instanceInitProc,
                                                      NativeBackgroundProc backgroundProc, uint32_t* procId)
{
    record("AddProcessProc_Native",
           {procAddress(processProc), address(properties), procAddress(instanceInitProc),
            procAddress(backgroundProc), address(procId)});
    const Result forced = answer("AddProcessProc_Native", kResultOk);
    if (forced != kResultOk)
        return forced;
    return registerNative(processProc, HostPropertyMap::fromUnknown(properties), instanceInitProc,
                          backgroundProc, procId);
}

Result HostComponentDescriptor::AddProcessProc_TI(const char* dllFileName, const char* processProcSymbol,
                                                  IACFUnknown* properties, const char* instanceInitSymbol,
                                                  const char* backgroundSymbol, uint32_t* procId)
{
    record("AddProcessProc_TI",
           {textValue(dllFileName), textValue(processProcSymbol), address(properties),
            textValue(instanceInitSymbol), textValue(backgroundSymbol), address(procId)});
    const Result forced = answer("AddProcessProc_TI", kResultOk);
    if (forced != kResultOk)
        return forced;
    return registerTI(dllFileName, processProcSymbol, HostPropertyMap::fromUnknown(properties),
                      instanceInitSymbol, backgroundSymbol, procId);
}

Result HostComponentDescriptor::AddProcessProc(IACFUnknown* properties, uint32_t* procIds,
                                               int32_t procIdsSize)
{
    record("AddProcessProc", {address(properties), address(procIds), int64_t{procIdsSize}});
    const Result forced = answer("AddProcessProc", kResultOk);
    if (forced != kResultOk)
        return forced;
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
