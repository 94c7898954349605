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

} // namespace

Controller::Controller(std::shared_ptr<CallRecorder> recorder, std::string name)
    : HostObjectOf(std::move(name), std::move(recorder))
{
}

Controller::~Controller() = default;

void* Controller::findInterface(const Uid& iid) noexcept
{
    if (iid == IID_IAAXControllerV1 || iid == IID_IAAXControllerV2 || iid == IID_IAAXControllerV3)
        return as<AAX_IACFController_V3>();
    if (iid == IID_IAAXPageTableController || iid == IID_IAAXPageTableControllerV2)
        return as<AAX_IACFPageTableController_V2>();
    return nullptr;
}

// --- host-side settings and readings

void Controller::setEffectId(std::string id)
{
    std::lock_guard<std::mutex> lock(stateMutex_);
    effectId_ = std::move(id);
}

void Controller::setSampleRate(float rate)
{
    std::lock_guard<std::mutex> lock(stateMutex_);
    sampleRate_ = rate;
}

void Controller::setStemFormats(int32_t input, int32_t output)
{
    std::lock_guard<std::mutex> lock(stateMutex_);
    inputStemFormat_ = input;
    outputStemFormat_ = output;
}

void Controller::setTodLocation(int64_t location)
{
    std::lock_guard<std::mutex> lock(stateMutex_);
    todLocation_ = location;
}

void Controller::setHybridSignalLatency(int32_t samples)
{
    std::lock_guard<std::mutex> lock(stateMutex_);
    hybridLatency_ = samples;
}

void Controller::setAutomationTimestamp(int64_t timestamp)
{
    std::lock_guard<std::mutex> lock(stateMutex_);
    automationTimestamp_ = timestamp;
}

void Controller::setHostName(std::string name)
{
    std::lock_guard<std::mutex> lock(stateMutex_);
    hostName_ = std::move(name);
}

void Controller::setTargetPlatform(int32_t platform)
{
    std::lock_guard<std::mutex> lock(stateMutex_);
    targetPlatform_ = platform;
}

void Controller::setMeters(std::vector<MeterState> meters)
{
    std::lock_guard<std::mutex> lock(stateMutex_);
    meters_ = std::move(meters);
}

void Controller::queueMidiPacket(int32_t node, const MidiPacket& packet)
{
    std::lock_guard<std::mutex> lock(stateMutex_);
    midi_.emplace_back(node, packet);
}

void Controller::setSourceTable(PageTableContents contents)
{
    std::lock_guard<std::mutex> lock(stateMutex_);
    sourceTable_ = std::move(contents);
}

void Controller::setPacketSink(std::function<void(const PostedPacket&)> sink)
{
    std::lock_guard<std::mutex> lock(stateMutex_);
    packetSink_ = std::move(sink);
}

int32_t Controller::signalLatency() const
{
    std::lock_guard<std::mutex> lock(stateMutex_);
    return signalLatency_;
}

std::map<int32_t, int32_t> Controller::cycleCounts() const
{
    std::lock_guard<std::mutex> lock(stateMutex_);
    return cycleCounts_;
}

std::vector<PostedPacket> Controller::packets() const
{
    std::lock_guard<std::mutex> lock(stateMutex_);
    return packets_;
}

std::vector<Notification> Controller::notifications() const
{
    std::lock_guard<std::mutex> lock(stateMutex_);
    return notifications_;
}

std::vector<MeterState> Controller::meters() const
{
    std::lock_guard<std::mutex> lock(stateMutex_);
    return meters_;
}

std::size_t Controller::pendingMidiPackets() const
{
    std::lock_guard<std::mutex> lock(stateMutex_);
    return midi_.size();
}

void Controller::clearPackets()
{
    std::lock_guard<std::mutex> lock(stateMutex_);
    packets_.clear();
}

// --- controller, version 1
//
// Each operation records the call, then a forced result answers before
// anything is written or kept; a null output answers NullArgument.

Result Controller::GetEffectID(PlugInString* effectId) noexcept
{
    record("GetEffectID", {static_cast<const void*>(effectId)});
    if (const Result r = answer("GetEffectID", kResultOk); r != kResultOk)
        return r;
    if (effectId == nullptr)
        return hostresult::NullArgument;
    std::string id;
    {
        std::lock_guard<std::mutex> lock(stateMutex_);
        id = effectId_;
    }
    setPlugInString(*effectId, id.c_str());
    return kResultOk;
}

Result Controller::GetSampleRate(float* sampleRate) noexcept
{
    record("GetSampleRate", {static_cast<const void*>(sampleRate)});
    if (const Result r = answer("GetSampleRate", kResultOk); r != kResultOk)
        return r;
    if (sampleRate == nullptr)
        return hostresult::NullArgument;
    std::lock_guard<std::mutex> lock(stateMutex_);
    *sampleRate = sampleRate_;
    return kResultOk;
}

Result Controller::GetInputStemFormat(int32_t* stemFormat) noexcept
{
    record("GetInputStemFormat", {static_cast<const void*>(stemFormat)});
    if (const Result r = answer("GetInputStemFormat", kResultOk); r != kResultOk)
        return r;
    if (stemFormat == nullptr)
        return hostresult::NullArgument;
    std::lock_guard<std::mutex> lock(stateMutex_);
    *stemFormat = inputStemFormat_;
    return kResultOk;
}

Result Controller::GetOutputStemFormat(int32_t* stemFormat) noexcept
{
    record("GetOutputStemFormat", {static_cast<const void*>(stemFormat)});
    if (const Result r = answer("GetOutputStemFormat", kResultOk); r != kResultOk)
        return r;
    if (stemFormat == nullptr)
        return hostresult::NullArgument;
    std::lock_guard<std::mutex> lock(stateMutex_);
    *stemFormat = outputStemFormat_;
    return kResultOk;
}

Result Controller::GetSignalLatency(int32_t* samples) noexcept
{
    record("GetSignalLatency", {static_cast<const void*>(samples)});
    if (const Result r = answer("GetSignalLatency", kResultOk); r != kResultOk)
        return r;
    if (samples == nullptr)
        return hostresult::NullArgument;
    std::lock_guard<std::mutex> lock(stateMutex_);
    *samples = signalLatency_;
    return kResultOk;
}

Result Controller::GetCycleCount(int32_t property, int32_t* count) noexcept
{
    record("GetCycleCount", {int64_t{property}, static_cast<const void*>(count)});
    if (const Result r = answer("GetCycleCount", kResultOk); r != kResultOk)
        return r;
    if (count == nullptr)
        return hostresult::NullArgument;
    std::lock_guard<std::mutex> lock(stateMutex_);
    const auto it = cycleCounts_.find(property);
    *count = it != cycleCounts_.end() ? it->second : 0;
    return kResultOk;
}

Result Controller::GetTODLocation(int64_t* location) noexcept
{
    record("GetTODLocation", {static_cast<const void*>(location)});
    if (const Result r = answer("GetTODLocation", kResultOk); r != kResultOk)
        return r;
    if (location == nullptr)
        return hostresult::NullArgument;
    std::lock_guard<std::mutex> lock(stateMutex_);
    *location = todLocation_;
    return kResultOk;
}

Result Controller::SetSignalLatency(int32_t samples) noexcept
{
    record("SetSignalLatency", {int64_t{samples}});
    if (const Result r = answer("SetSignalLatency", kResultOk); r != kResultOk)
        return r;
    std::lock_guard<std::mutex> lock(stateMutex_);
    signalLatency_ = samples;
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
    record("SetCycleCount", std::move(args));
    if (const Result r = answer("SetCycleCount", kResultOk); r != kResultOk)
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
    record("PostPacket", {int64_t{port}, bytesValue(data, size), uint64_t{size}});
    if (const Result r = answer("PostPacket", kResultOk); r != kResultOk)
        return r;
    if (data == nullptr && size != 0)
        return hostresult::NullArgument;
    PostedPacket packet{port, copyBytes(data, size)};
    std::function<void(const PostedPacket&)> sink;
    {
        std::lock_guard<std::mutex> lock(stateMutex_);
        packets_.push_back(packet);
        sink = packetSink_;
    }
    if (sink)
    {
        try
        {
            sink(packet);
        }
        catch (...)
        {
            return kResultUnexpected; // nothing is thrown into the plug-in
        }
    }
    return kResultOk;
}

Result Controller::meterOp(uint32_t meter, const std::function<void(MeterState&)>& op)
{
    std::lock_guard<std::mutex> lock(stateMutex_);
    if (meter >= meters_.size())
        return hostresult::InvalidMeterIndex;
    op(meters_[meter]);
    return kResultOk;
}

Result Controller::GetCurrentMeterValue(uint32_t meter, float* value) noexcept
{
    record("GetCurrentMeterValue", {uint64_t{meter}, static_cast<const void*>(value)});
    if (const Result r = answer("GetCurrentMeterValue", kResultOk); r != kResultOk)
        return r;
    if (value == nullptr)
        return hostresult::NullArgument;
    return meterOp(meter, [value](MeterState& m) { *value = m.value; });
}

Result Controller::GetMeterPeakValue(uint32_t meter, float* value) noexcept
{
    record("GetMeterPeakValue", {uint64_t{meter}, static_cast<const void*>(value)});
    if (const Result r = answer("GetMeterPeakValue", kResultOk); r != kResultOk)
        return r;
    if (value == nullptr)
        return hostresult::NullArgument;
    return meterOp(meter, [value](MeterState& m) { *value = m.peak; });
}

Result Controller::ClearMeterPeakValue(uint32_t meter) noexcept
{
    record("ClearMeterPeakValue", {uint64_t{meter}});
    if (const Result r = answer("ClearMeterPeakValue", kResultOk); r != kResultOk)
        return r;
    return meterOp(meter, [](MeterState& m) { m.peak = 0.0f; });
}

Result Controller::GetMeterClipped(uint32_t meter, uint8_t* clipped) noexcept
{
    record("GetMeterClipped", {uint64_t{meter}, static_cast<const void*>(clipped)});
    if (const Result r = answer("GetMeterClipped", kResultOk); r != kResultOk)
        return r;
    if (clipped == nullptr)
        return hostresult::NullArgument;
    return meterOp(meter, [clipped](MeterState& m) { *clipped = m.clipped ? 1 : 0; });
}

Result Controller::ClearMeterClipped(uint32_t meter) noexcept
{
    record("ClearMeterClipped", {uint64_t{meter}});
    if (const Result r = answer("ClearMeterClipped", kResultOk); r != kResultOk)
        return r;
    return meterOp(meter, [](MeterState& m) { m.clipped = false; });
}

Result Controller::GetMeterCount(uint32_t* count) noexcept
{
    record("GetMeterCount", {static_cast<const void*>(count)});
    if (const Result r = answer("GetMeterCount", kResultOk); r != kResultOk)
        return r;
    if (count == nullptr)
        return hostresult::NullArgument;
    std::lock_guard<std::mutex> lock(stateMutex_);
    *count = static_cast<uint32_t>(meters_.size());
    return kResultOk;
}

Result Controller::GetNextMIDIPacket(int32_t* node, MidiPacket* packet) noexcept
{
    record("GetNextMIDIPacket", {static_cast<const void*>(node), static_cast<const void*>(packet)});
    if (const Result r = answer("GetNextMIDIPacket", kResultOk); r != kResultOk)
        return r;
    if (node == nullptr || packet == nullptr)
        return hostresult::NullArgument;
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
    record("SendNotification", {uint64_t{type}, bytesValue(data, size), uint64_t{size}});
    if (const Result r = answer("SendNotification", kResultOk); r != kResultOk)
        return r;
    if (data == nullptr && size != 0)
        return hostresult::NullArgument;
    std::lock_guard<std::mutex> lock(stateMutex_);
    notifications_.push_back(Notification{type, data != nullptr, copyBytes(data, size)});
    return kResultOk;
}

Result Controller::GetHybridSignalLatency(int32_t* samples) noexcept
{
    record("GetHybridSignalLatency", {static_cast<const void*>(samples)});
    if (const Result r = answer("GetHybridSignalLatency", kResultOk); r != kResultOk)
        return r;
    if (samples == nullptr)
        return hostresult::NullArgument;
    std::lock_guard<std::mutex> lock(stateMutex_);
    *samples = hybridLatency_;
    return kResultOk;
}

Result Controller::GetCurrentAutomationTimestamp(int64_t* timestamp) noexcept
{
    record("GetCurrentAutomationTimestamp", {static_cast<const void*>(timestamp)});
    if (const Result r = answer("GetCurrentAutomationTimestamp", kResultOk); r != kResultOk)
        return r;
    if (timestamp == nullptr)
        return hostresult::NullArgument;
    std::lock_guard<std::mutex> lock(stateMutex_);
    *timestamp = automationTimestamp_;
    return kResultOk;
}

Result Controller::GetHostName(PlugInString* name) noexcept
{
    record("GetHostName", {static_cast<const void*>(name)});
    if (const Result r = answer("GetHostName", kResultOk); r != kResultOk)
        return r;
    if (name == nullptr)
        return hostresult::NullArgument;
    std::string text;
    {
        std::lock_guard<std::mutex> lock(stateMutex_);
        text = hostName_;
    }
    setPlugInString(*name, text.c_str());
    return kResultOk;
}

// --- controller, version 3

Result Controller::GetPlugInTargetPlatform(int32_t* platform) noexcept
{
    record("GetPlugInTargetPlatform", {static_cast<const void*>(platform)});
    if (const Result r = answer("GetPlugInTargetPlatform", kResultOk); r != kResultOk)
        return r;
    if (platform == nullptr)
        return hostresult::NullArgument;
    std::lock_guard<std::mutex> lock(stateMutex_);
    *platform = targetPlatform_;
    return kResultOk;
}

Result Controller::GetIsAudioSuite(uint8_t* isAudioSuite) noexcept
{
    record("GetIsAudioSuite", {static_cast<const void*>(isAudioSuite)});
    if (const Result r = answer("GetIsAudioSuite", kResultOk); r != kResultOk)
        return r;
    if (isAudioSuite == nullptr)
        return hostresult::NullArgument;
    *isAudioSuite = 0; // this host runs every instance in real time
    return kResultOk;
}

// --- page-table controller

Result Controller::copyInto(const char* operation, IACFUnknown* table)
{
    if (const Result r = answer(operation, kResultOk); r != kResultOk)
        return r;
    if (table == nullptr)
        return hostresult::NullArgument;
    PageTable* target = PageTable::fromUnknown(table);
    if (target == nullptr)
        return hostresult::InvalidArgument;
    PageTableContents source;
    {
        std::lock_guard<std::mutex> lock(stateMutex_);
        source = sourceTable_;
    }
    target->setContents(std::move(source));
    return kResultOk;
}

Result Controller::CopyTableForEffect(int32_t manufacturerId, int32_t productId, int32_t plugInId,
                                      uint32_t tableType, int32_t tablePageSize, IACFUnknown* table) noexcept
{
    record("CopyTableForEffect",
           {int64_t{manufacturerId}, int64_t{productId}, int64_t{plugInId}, uint64_t{tableType},
            int64_t{tablePageSize}, static_cast<const void*>(table)});
    return copyInto("CopyTableForEffect", table);
}

Result Controller::CopyTableForLayout(const char* effectId, const char* layoutName, uint32_t tableType,
                                      int32_t tablePageSize, IACFUnknown* table) noexcept
{
    record("CopyTableForLayout", {textValue(effectId), textValue(layoutName), uint64_t{tableType},
                                  int64_t{tablePageSize}, static_cast<const void*>(table)});
    return copyInto("CopyTableForLayout", table);
}

Result Controller::CopyTableForEffectFromFile(const char* path, int32_t encoding, int32_t manufacturerId,
                                              int32_t productId, int32_t plugInId, uint32_t tableType,
                                              int32_t tablePageSize, IACFUnknown* table) noexcept
{
    record("CopyTableForEffectFromFile",
           {textValue(path), int64_t{encoding}, int64_t{manufacturerId}, int64_t{productId},
            int64_t{plugInId}, uint64_t{tableType}, int64_t{tablePageSize}, static_cast<const void*>(table)});
    return copyInto("CopyTableForEffectFromFile", table);
}

Result Controller::CopyTableForLayoutFromFile(const char* path, int32_t encoding, const char* layoutName,
                                              uint32_t tableType, int32_t tablePageSize,
                                              IACFUnknown* table) noexcept
{
    record("CopyTableForLayoutFromFile",
           {textValue(path), int64_t{encoding}, textValue(layoutName), uint64_t{tableType},
            int64_t{tablePageSize}, static_cast<const void*>(table)});
    return copyInto("CopyTableForLayoutFromFile", table);
}

void installController(HostUnknown& unknown, const HostRef<Controller>& controller)
{
    const HostRef<HostObject> provider(controller);
    for (const Uid& iid : {IID_IAAXControllerV1, IID_IAAXControllerV2, IID_IAAXControllerV3,
                           IID_IAAXPageTableController, IID_IAAXPageTableControllerV2})
        unknown.provide(iid, provider);
}

} // namespace aaxhost
