#include "aaxhost/Controller.h"

#include <cstring>
#include <utility>

namespace aaxhost
{

namespace
{

std::vector<uint8_t> copyBytes(const void* data, uint32_t size)
{
    const auto* bytes = static_cast<const uint8_t*>(data);
    return data != nullptr ? std::vector<uint8_t>(bytes, bytes + size) : std::vector<uint8_t>{};
}

template <class T>
void store(T& out, const T& value)
{
    out = value;
}

void store(PlugInString& out, const std::string& text)
{
    setPlugInString(out, text.c_str());
}

} // namespace

void* Controller::findInterface(const Uid& iid) noexcept
{
    if (iid == IID_IAAXControllerV1 || iid == IID_IAAXControllerV2 || iid == IID_IAAXControllerV3)
        return as<AAX_IACFController_V3>();
    if (iid == IID_IAAXPageTableController || iid == IID_IAAXPageTableControllerV2)
        return as<AAX_IACFPageTableController_V2>();
    return nullptr;
}

// --- host-side settings and readings

void Controller::setStemFormats(int32_t input, int32_t output)
{
    std::lock_guard<std::mutex> lock(stateMutex_);
    inputStemFormat_ = input;
    outputStemFormat_ = output;
}

void Controller::queueMidiPacket(int32_t node, const MidiPacket& packet)
{
    std::lock_guard<std::mutex> lock(stateMutex_);
    midi_.emplace_back(node, packet);
}

// --- controller, version 1
//
// Each operation records the call, then a forced result answers before
// anything is written or kept; a null output answers NullArgument.

template <class Out, class Field>
Result Controller::copyOut(const char* operation, Out* out, const Field& field)
{
    if (const Result r = enter(operation, {pointerValue(out)}, out); r != kResultOk)
        return r;
    store(*out, lockedCopy(stateMutex_, field));
    return kResultOk;
}

Result Controller::GetEffectID(PlugInString* effectId) noexcept
{
    return copyOut("GetEffectID", effectId, effectId_);
}

Result Controller::GetSampleRate(float* sampleRate) noexcept
{
    return copyOut("GetSampleRate", sampleRate, sampleRate_);
}

Result Controller::GetInputStemFormat(int32_t* stemFormat) noexcept
{
    return copyOut("GetInputStemFormat", stemFormat, inputStemFormat_);
}

Result Controller::GetOutputStemFormat(int32_t* stemFormat) noexcept
{
    return copyOut("GetOutputStemFormat", stemFormat, outputStemFormat_);
}

Result Controller::GetSignalLatency(int32_t* samples) noexcept
{
    return copyOut("GetSignalLatency", samples, signalLatency_);
}

Result Controller::GetCycleCount(int32_t property, int32_t* count) noexcept
{
    if (const Result r = enter("GetCycleCount", {int64_t{property}, pointerValue(count)}, count);
        r != kResultOk)
        return r;
    std::lock_guard<std::mutex> lock(stateMutex_);
    const auto it = cycleCounts_.find(property);
    *count = it != cycleCounts_.end() ? it->second : 0;
    return kResultOk;
}

Result Controller::GetTODLocation(int64_t* location) noexcept
{
    return copyOut("GetTODLocation", location, todLocation_);
}

Result Controller::SetSignalLatency(int32_t samples) noexcept
{
    if (const Result r = enter("SetSignalLatency", {int64_t{samples}}); r != kResultOk)
        return r;
    keep(signalLatency_, samples);
    return kResultOk;
}

Result Controller::SetCycleCount(int32_t* properties, int32_t* counts, int32_t number) noexcept
{
    std::vector<Value> args{int64_t{number}};
    const bool readable = number <= 0 || (properties != nullptr && counts != nullptr);
    if (readable)
    {
        for (int32_t i = 0; i < number; ++i)
        {
            args.emplace_back(int64_t{properties[i]});
            args.emplace_back(int64_t{counts[i]});
        }
    }
    if (const Result r = enter("SetCycleCount", std::move(args)); r != kResultOk)
        return r;
    if (number < 0)
        return hostresult::InvalidArgument;
    if (!readable)
        return hostresult::NullArgument;
    std::lock_guard<std::mutex> lock(stateMutex_);
    for (int32_t i = 0; i < number; ++i)
        cycleCounts_[properties[i]] = counts[i];
    return kResultOk;
}

Result Controller::PostPacket(int32_t port, const void* data, uint32_t size) noexcept
{
    try
    {
        if (const Result r = enter("PostPacket", {int64_t{port}, bytesValue(data, size), uint64_t{size}});
            r != kResultOk)
            return r;
        if (data == nullptr && size != 0)
            return hostresult::NullArgument;
        PostedPacket packet{port, copyBytes(data, size)};
        const bool keep = recording();
        std::function<void(const PostedPacket&)> sink;
        {
            std::lock_guard<std::mutex> lock(stateMutex_);
            if (keep)
                packets_.push_back(packet);
            sink = packetSink_;
        }
        if (sink)
            sink(packet);
        return kResultOk;
    }
    catch (const std::bad_alloc&)
    {
        return kResultOutOfMemory;
    }
    catch (...)
    {
        return kResultUnexpected; // nothing is thrown into the plug-in
    }
}

template <class Op>
Result Controller::meterOp(Result entered, uint32_t meter, Op op)
{
    if (entered != kResultOk)
        return entered;
    std::lock_guard<std::mutex> lock(stateMutex_);
    if (meter >= meters_.size())
        return hostresult::InvalidMeterIndex;
    op(meters_[meter]);
    return kResultOk;
}

Result Controller::GetCurrentMeterValue(uint32_t meter, float* value) noexcept
{
    return meterOp(enter("GetCurrentMeterValue", {uint64_t{meter}, pointerValue(value)}, value), meter,
                   [value](MeterState& m) { *value = m.value; });
}

Result Controller::GetMeterPeakValue(uint32_t meter, float* value) noexcept
{
    return meterOp(enter("GetMeterPeakValue", {uint64_t{meter}, pointerValue(value)}, value), meter,
                   [value](MeterState& m) { *value = m.peak; });
}

Result Controller::ClearMeterPeakValue(uint32_t meter) noexcept
{
    return meterOp(enter("ClearMeterPeakValue", {uint64_t{meter}}), meter,
                   [](MeterState& m) { m.peak = 0.0f; });
}

Result Controller::GetMeterClipped(uint32_t meter, uint8_t* clipped) noexcept
{
    return meterOp(enter("GetMeterClipped", {uint64_t{meter}, pointerValue(clipped)}, clipped), meter,
                   [clipped](MeterState& m) { *clipped = m.clipped ? 1 : 0; });
}

Result Controller::ClearMeterClipped(uint32_t meter) noexcept
{
    return meterOp(enter("ClearMeterClipped", {uint64_t{meter}}), meter,
                   [](MeterState& m) { m.clipped = false; });
}

Result Controller::GetMeterCount(uint32_t* count) noexcept
{
    return deliver(enter("GetMeterCount", {pointerValue(count)}, count), stateMutex_,
                   [&] { *count = static_cast<uint32_t>(meters_.size()); });
}

Result Controller::GetNextMIDIPacket(int32_t* node, MidiPacket* packet) noexcept
{
    if (const Result r = enter("GetNextMIDIPacket", {pointerValue(node), pointerValue(packet)}, node, packet);
        r != kResultOk)
        return r;
    std::lock_guard<std::mutex> lock(stateMutex_);
    if (midi_.empty())
        return hostresult::NoMidiPacket;
    *node = midi_.front().first;
    *packet = midi_.front().second;
    midi_.pop_front();
    return kResultOk;
}

// --- controller, version 2

Result Controller::SendNotification(uint32_t type, const void* data, uint32_t size) noexcept
{
    if (const Result r = enter("SendNotification", {uint64_t{type}, bytesValue(data, size), uint64_t{size}});
        r != kResultOk)
        return r;
    if (data == nullptr && size != 0)
        return hostresult::NullArgument;
    if (!recording())
        return kResultOk;
    std::lock_guard<std::mutex> lock(stateMutex_);
    notifications_.push_back(Notification{type, data != nullptr, copyBytes(data, size)});
    return kResultOk;
}

Result Controller::GetHybridSignalLatency(int32_t* samples) noexcept
{
    return copyOut("GetHybridSignalLatency", samples, hybridLatency_);
}

Result Controller::GetCurrentAutomationTimestamp(int64_t* timestamp) noexcept
{
    return copyOut("GetCurrentAutomationTimestamp", timestamp, automationTimestamp_);
}

Result Controller::GetHostName(PlugInString* name) noexcept
{
    return copyOut("GetHostName", name, hostName_);
}

// --- controller, version 3

Result Controller::GetPlugInTargetPlatform(int32_t* platform) noexcept
{
    return copyOut("GetPlugInTargetPlatform", platform, targetPlatform_);
}

Result Controller::GetIsAudioSuite(uint8_t* isAudioSuite) noexcept
{
    return copyOut("GetIsAudioSuite", isAudioSuite, uint8_t{0}); // every instance runs in real time
}

// --- page-table controller

Result Controller::copyInto(Result entered, IACFUnknown* table)
{
    if (entered != kResultOk)
        return entered;
    PageTable* target = PageTable::fromUnknown(table);
    if (target == nullptr)
        return hostresult::InvalidArgument;
    target->setContents(lockedCopy(stateMutex_, sourceTable_));
    return kResultOk;
}

Result Controller::CopyTableForEffect(int32_t manufacturerId, int32_t productId, int32_t plugInId,
                                      uint32_t tableType, int32_t tablePageSize, IACFUnknown* table) noexcept
{
    return copyInto(enter("CopyTableForEffect",
                          {int64_t{manufacturerId}, int64_t{productId}, int64_t{plugInId},
                           uint64_t{tableType}, int64_t{tablePageSize}, pointerValue(table)},
                          table),
                    table);
}

Result Controller::CopyTableForLayout(const char* effectId, const char* layoutName, uint32_t tableType,
                                      int32_t tablePageSize, IACFUnknown* table) noexcept
{
    return copyInto(enter("CopyTableForLayout",
                          {textValue(effectId), textValue(layoutName), uint64_t{tableType},
                           int64_t{tablePageSize}, pointerValue(table)},
                          table),
                    table);
}

Result Controller::CopyTableForEffectFromFile(const char* path, int32_t encoding, int32_t manufacturerId,
                                              int32_t productId, int32_t plugInId, uint32_t tableType,
                                              int32_t tablePageSize, IACFUnknown* table) noexcept
{
    return copyInto(
        enter("CopyTableForEffectFromFile",
              {textValue(path), int64_t{encoding}, int64_t{manufacturerId}, int64_t{productId},
               int64_t{plugInId}, uint64_t{tableType}, int64_t{tablePageSize}, pointerValue(table)},
              table),
        table);
}

Result Controller::CopyTableForLayoutFromFile(const char* path, int32_t encoding, const char* layoutName,
                                              uint32_t tableType, int32_t tablePageSize,
                                              IACFUnknown* table) noexcept
{
    return copyInto(enter("CopyTableForLayoutFromFile",
                          {textValue(path), int64_t{encoding}, textValue(layoutName), uint64_t{tableType},
                           int64_t{tablePageSize}, pointerValue(table)},
                          table),
                    table);
}

void installController(HostUnknown& unknown, const HostRef<Controller>& controller)
{
    const HostRef<HostObject> provider(controller);
    for (const Uid& iid : {IID_IAAXControllerV1, IID_IAAXControllerV2, IID_IAAXControllerV3,
                           IID_IAAXPageTableController, IID_IAAXPageTableControllerV2})
        unknown.provide(iid, provider);
}

} // namespace aaxhost
