#pragma once

#include "aaxhost/ControllerInterfaces.h"
#include "aaxhost/HostObject.h"
#include "aaxhost/HostUnknown.h"
#include "aaxhost/PageTable.h"

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace aaxhost
{

struct PostedPacket
{
    int32_t port = 0;
    std::vector<uint8_t> data; // a copy made when the packet was posted
};

struct Notification
{
    uint32_t type = 0;
    bool hadData = false; // the data pointer was not null
    std::vector<uint8_t> data;
};

struct MeterState
{
    float value = 0.0f;
    float peak = 0.0f;
    bool clipped = false;
};

// The controller of one effect instance: controller versions 1 to 3 and the
// page-table controller versions 1 and 2 in one object. Values the plug-in
// reads are set by the host (the setters); values it sets are kept and
// readable. Every call is recorded; setResult() forces a result. Null output
// pointers answer hostresult::NullArgument and nothing is written. The posted
// packets and the notifications are kept only while recording() holds.
//
// Page-table copies fill the table the plug-in hands over with the
// controller's source table (setSourceTable); a null table answers
// hostresult::NullArgument, and a forced result answers without copying.
class Controller final : public HostObjectOf<AAX_IACFController_V3, AAX_IACFPageTableController_V2>
{
public:
    explicit Controller(std::shared_ptr<CallRecorder> recorder, std::string name = "Controller")
        : HostObjectOf(std::move(name), std::move(recorder))
    {
    }

    // --- values the host offers
    void setEffectId(std::string id) { keep(effectId_, std::move(id)); }
    void setSampleRate(float rate) { keep(sampleRate_, rate); }
    void setStemFormats(int32_t input, int32_t output);
    void setTodLocation(int64_t location) { keep(todLocation_, location); }
    void setHybridSignalLatency(int32_t samples) { keep(hybridLatency_, samples); }
    void setAutomationTimestamp(int64_t timestamp) { keep(automationTimestamp_, timestamp); }
    void setHostName(std::string name) { keep(hostName_, std::move(name)); }
    void setTargetPlatform(int32_t platform) { keep(targetPlatform_, platform); }
    void setMeters(std::vector<MeterState> meters) { keep(meters_, std::move(meters)); }
    void queueMidiPacket(int32_t node, const MidiPacket& packet);
    void setSourceTable(PageTableContents contents) { keep(sourceTable_, std::move(contents)); }
    // Called (outside the controller's lock) with every packet after it is recorded.
    void setPacketSink(std::function<void(const PostedPacket&)> sink) { keep(packetSink_, std::move(sink)); }

    // --- what the plug-in did
    int32_t signalLatency() const { return lockedCopy(stateMutex_, signalLatency_); }
    std::vector<PostedPacket> packets() const { return lockedCopy(stateMutex_, packets_); }
    std::vector<Notification> notifications() const { return lockedCopy(stateMutex_, notifications_); }
    std::vector<MeterState> meters() const { return lockedCopy(stateMutex_, meters_); }

    // controller, version 1
    Result GetEffectID(PlugInString* effectId) noexcept override;
    Result GetSampleRate(float* sampleRate) noexcept override;
    Result GetInputStemFormat(int32_t* stemFormat) noexcept override;
    Result GetOutputStemFormat(int32_t* stemFormat) noexcept override;
    Result GetSignalLatency(int32_t* samples) noexcept override;
    Result GetCycleCount(int32_t property, int32_t* count) noexcept override;
    Result GetTODLocation(int64_t* location) noexcept override;
    Result SetSignalLatency(int32_t samples) noexcept override;
    Result SetCycleCount(int32_t* properties, int32_t* counts, int32_t number) noexcept override;
    Result PostPacket(int32_t port, const void* data, uint32_t size) noexcept override;
    Result GetCurrentMeterValue(uint32_t meter, float* value) noexcept override;
    Result GetMeterPeakValue(uint32_t meter, float* value) noexcept override;
    Result ClearMeterPeakValue(uint32_t meter) noexcept override;
    Result GetMeterClipped(uint32_t meter, uint8_t* clipped) noexcept override;
    Result ClearMeterClipped(uint32_t meter) noexcept override;
    Result GetMeterCount(uint32_t* count) noexcept override;
    Result GetNextMIDIPacket(int32_t* node, MidiPacket* packet) noexcept override;
    // controller, version 2
    Result SendNotification(uint32_t type, const void* data, uint32_t size) noexcept override;
    Result GetHybridSignalLatency(int32_t* samples) noexcept override;
    Result GetCurrentAutomationTimestamp(int64_t* timestamp) noexcept override;
    Result GetHostName(PlugInString* name) noexcept override;
    // controller, version 3
    Result GetPlugInTargetPlatform(int32_t* platform) noexcept override;
    Result GetIsAudioSuite(uint8_t* isAudioSuite) noexcept override;
    // page-table controller, versions 1 and 2
    Result CopyTableForEffect(int32_t manufacturerId, int32_t productId, int32_t plugInId, uint32_t tableType,
                              int32_t tablePageSize, IACFUnknown* table) noexcept override;
    Result CopyTableForLayout(const char* effectId, const char* layoutName, uint32_t tableType,
                              int32_t tablePageSize, IACFUnknown* table) noexcept override;
    Result CopyTableForEffectFromFile(const char* path, int32_t encoding, int32_t manufacturerId,
                                      int32_t productId, int32_t plugInId, uint32_t tableType,
                                      int32_t tablePageSize, IACFUnknown* table) noexcept override;
    Result CopyTableForLayoutFromFile(const char* path, int32_t encoding, const char* layoutName,
                                      uint32_t tableType, int32_t tablePageSize,
                                      IACFUnknown* table) noexcept override;

protected:
    ~Controller() override = default;
    void* findInterface(const Uid& iid) noexcept override;

private:
    // Sets a value under the lock.
    template <class Field, class T>
    void keep(Field& field, T value)
    {
        std::lock_guard<std::mutex> lock(stateMutex_);
        field = std::move(value);
    }
    // A getter: records the call; unless a result is forced or `out` is null,
    // writes the field's value to *out.
    template <class Out, class Field>
    Result copyOut(const char* operation, Out* out, const Field& field);
    // Unless `entered` is a failure, applies `op` to meter `meter` under the lock.
    template <class Op>
    Result meterOp(Result entered, uint32_t meter, Op op);
    // Unless `entered` is a failure, fills `table` with the source table.
    Result copyInto(Result entered, IACFUnknown* table);

    mutable std::mutex stateMutex_;
    std::string effectId_;
    float sampleRate_ = 48000.0f;
    int32_t inputStemFormat_ = 0x00010002;
    int32_t outputStemFormat_ = 0x00010002;
    int32_t signalLatency_ = 0;
    int32_t hybridLatency_ = 0;
    std::map<int32_t, int32_t> cycleCounts_;
    int64_t todLocation_ = 0;
    std::vector<PostedPacket> packets_;
    std::vector<Notification> notifications_;
    std::vector<MeterState> meters_;
    std::deque<std::pair<int32_t, MidiPacket>> midi_;
    int64_t automationTimestamp_ = 0;
    std::string hostName_ = "tambrix test host";
    int32_t targetPlatform_ = 0;
    PageTableContents sourceTable_;
    std::function<void(const PostedPacket&)> packetSink_;
};

// Makes `unknown` answer the controller's five identifiers with `controller`.
void installController(HostUnknown& unknown, const HostRef<Controller>& controller);

} // namespace aaxhost
