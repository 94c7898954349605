#pragma once

// Host-side declarations of the interfaces an effect instance reaches through
// the controller unknown (controller, page-table controller, transport) and
// of the view container and page table. Positions 0, 1, 2 are QueryInterface,
// AddRef and Release; the comment on each operation gives its position, and a
// later version continues the numbering of the one it extends. The host keeps
// its own names; only positions, arguments and results are shared.

#include "aaxhost/Interfaces.h"
#include "aaxhost/PlugInString.h"

#include <cstddef>
#include <cstdint>

namespace aaxhost
{

// Result codes the host answers with besides those of Interfaces.h.
namespace hostresult
{
constexpr Result InvalidParameterId = -20001;
constexpr Result InvalidMeterIndex = -20003;
constexpr Result InvalidViewSize = -20032;
constexpr Result UnknownId = -20041;
constexpr Result InvalidArgument = -20043;
constexpr Result NullArgument = kAaxErrorNullArgument;
// No MIDI packet is waiting.
constexpr Result NoMidiPacket = kResultFail;
} // namespace hostresult

// A MIDI message as it crosses the interface (16 bytes): sample offset in the
// block, number of bytes used, up to four bytes, immediate flag.
struct MidiPacket
{
    uint32_t timestamp = 0;
    uint32_t length = 0;
    uint8_t data[4] = {0, 0, 0, 0};
    uint8_t isImmediate = 0;
};
static_assert(sizeof(MidiPacket) == 16, "MIDI packet layout");
static_assert(offsetof(MidiPacket, data) == 8 && offsetof(MidiPacket, isImmediate) == 12,
              "MIDI packet layout");

// A view size: height first, then width.
struct ViewPoint
{
    float vert = 0.0f;
    float horz = 0.0f;
};
static_assert(sizeof(ViewPoint) == 8, "view size layout");

// Controller, version 1 (IID_IAAXControllerV1).
class AAX_IACFController : public IACFUnknown
{
public:
    virtual Result GetEffectID(PlugInString* effectId) = 0;                                 // 3
    virtual Result GetSampleRate(float* sampleRate) = 0;                                    // 4
    virtual Result GetInputStemFormat(int32_t* stemFormat) = 0;                             // 5
    virtual Result GetOutputStemFormat(int32_t* stemFormat) = 0;                            // 6
    virtual Result GetSignalLatency(int32_t* samples) = 0;                                  // 7
    virtual Result GetCycleCount(int32_t property, int32_t* count) = 0;                     // 8
    virtual Result GetTODLocation(int64_t* location) = 0;                                   // 9
    virtual Result SetSignalLatency(int32_t samples) = 0;                                   // 10
    virtual Result SetCycleCount(int32_t* properties, int32_t* counts, int32_t number) = 0; // 11
    virtual Result PostPacket(int32_t port, const void* data, uint32_t size) = 0;           // 12
    virtual Result GetCurrentMeterValue(uint32_t meter, float* value) = 0;                  // 13
    virtual Result GetMeterPeakValue(uint32_t meter, float* value) = 0;                     // 14
    virtual Result ClearMeterPeakValue(uint32_t meter) = 0;                                 // 15
    virtual Result GetMeterClipped(uint32_t meter, uint8_t* clipped) = 0;                   // 16
    virtual Result ClearMeterClipped(uint32_t meter) = 0;                                   // 17
    virtual Result GetMeterCount(uint32_t* count) = 0;                                      // 18
    virtual Result GetNextMIDIPacket(int32_t* node, MidiPacket* packet) = 0;                // 19

protected:
    ~AAX_IACFController() = default;
};

// Controller, version 2 (IID_IAAXControllerV2).
class AAX_IACFController_V2 : public AAX_IACFController
{
public:
    virtual Result SendNotification(uint32_t type, const void* data, uint32_t size) = 0; // 20
    virtual Result GetHybridSignalLatency(int32_t* samples) = 0;                         // 21
    virtual Result GetCurrentAutomationTimestamp(int64_t* timestamp) = 0;                // 22
    virtual Result GetHostName(PlugInString* name) = 0;                                  // 23

protected:
    ~AAX_IACFController_V2() = default;
};

// Controller, version 3 (IID_IAAXControllerV3).
class AAX_IACFController_V3 : public AAX_IACFController_V2
{
public:
    virtual Result GetPlugInTargetPlatform(int32_t* platform) = 0; // 24
    virtual Result GetIsAudioSuite(uint8_t* isAudioSuite) = 0;     // 25

protected:
    ~AAX_IACFController_V3() = default;
};

// Page-table controller, version 1 (IID_IAAXPageTableController). Each copy
// fills `table` (a page table the plug-in had the factory create, possibly null).
class AAX_IACFPageTableController : public IACFUnknown
{
public:
    // 3
    virtual Result CopyTableForEffect(int32_t manufacturerId, int32_t productId, int32_t plugInId,
                                      uint32_t tableType, int32_t tablePageSize, IACFUnknown* table) = 0;
    // 4
    virtual Result CopyTableForLayout(const char* effectId, const char* layoutName, uint32_t tableType,
                                      int32_t tablePageSize, IACFUnknown* table) = 0;

protected:
    ~AAX_IACFPageTableController() = default;
};

// Page-table controller, version 2 (IID_IAAXPageTableControllerV2).
class AAX_IACFPageTableController_V2 : public AAX_IACFPageTableController
{
public:
    // 5
    virtual Result CopyTableForEffectFromFile(const char* path, int32_t encoding, int32_t manufacturerId,
                                              int32_t productId, int32_t plugInId, uint32_t tableType,
                                              int32_t tablePageSize, IACFUnknown* table) = 0;
    // 6
    virtual Result CopyTableForLayoutFromFile(const char* path, int32_t encoding, const char* layoutName,
                                              uint32_t tableType, int32_t tablePageSize,
                                              IACFUnknown* table) = 0;

protected:
    ~AAX_IACFPageTableController_V2() = default;
};

// Transport, version 1 (IID_IAAXTransportV1).
class AAX_IACFTransport : public IACFUnknown
{
public:
    virtual Result GetCurrentTempo(double* bpm) = 0;                                                // 3
    virtual Result GetCurrentMeter(int32_t* numerator, int32_t* denominator) = 0;                   // 4
    virtual Result IsTransportPlaying(bool* playing) = 0;                                           // 5
    virtual Result GetCurrentTickPosition(int64_t* ticks) = 0;                                      // 6
    virtual Result GetCurrentLoopPosition(bool* looping, int64_t* startTick, int64_t* endTick) = 0; // 7
    virtual Result GetCurrentNativeSampleLocation(int64_t* sample) = 0;                             // 8
    virtual Result GetCustomTickPosition(int64_t* ticks, int64_t sample) = 0;                       // 9
    virtual Result GetBarBeatPosition(int32_t* bars, int32_t* beats, int64_t* displayTicks,
                                      int64_t sample) = 0;      // 10
    virtual Result GetTicksPerQuarter(uint32_t* ticks) = 0;     // 11
    virtual Result GetCurrentTicksPerBeat(uint32_t* ticks) = 0; // 12

protected:
    ~AAX_IACFTransport() = default;
};

// Transport, version 2 (IID_IAAXTransportV2).
class AAX_IACFTransport_V2 : public AAX_IACFTransport
{
public:
    virtual Result GetTimelineSelectionStartPosition(int64_t* sample) = 0;   // 13
    virtual Result GetTimeCodeInfo(int32_t* frameRate, int32_t* offset) = 0; // 14
    virtual Result GetFeetFramesInfo(int32_t* rate, int64_t* offset) = 0;    // 15
    virtual Result IsMetronomeEnabled(int32_t* enabled) = 0;                 // 16

protected:
    ~AAX_IACFTransport_V2() = default;
};

// View container, version 1 (IID_IAAXViewContainerV1).
class AAX_IACFViewContainer : public IACFUnknown
{
public:
    virtual int32_t GetType() = 0;                                                            // 3
    virtual void* GetPtr() = 0;                                                               // 4
    virtual Result GetModifiers(uint32_t* modifiers) = 0;                                     // 5
    virtual Result SetViewSize(ViewPoint* size) = 0;                                          // 6
    virtual Result HandleParameterMouseDown(const char* parameterId, uint32_t modifiers) = 0; // 7
    virtual Result HandleParameterMouseDrag(const char* parameterId, uint32_t modifiers) = 0; // 8
    virtual Result HandleParameterMouseUp(const char* parameterId, uint32_t modifiers) = 0;   // 9

protected:
    ~AAX_IACFViewContainer() = default;
};

// View container, version 2 (IID_IAAXViewContainerV2).
class AAX_IACFViewContainer_V2 : public AAX_IACFViewContainer
{
public:
    // 10, 11, 12
    virtual Result HandleMultipleParametersMouseDown(const char* const* parameterIds, uint32_t number,
                                                     uint32_t modifiers) = 0;
    virtual Result HandleMultipleParametersMouseDrag(const char* const* parameterIds, uint32_t number,
                                                     uint32_t modifiers) = 0;
    virtual Result HandleMultipleParametersMouseUp(const char* const* parameterIds, uint32_t number,
                                                   uint32_t modifiers) = 0;

protected:
    ~AAX_IACFViewContainer_V2() = default;
};

// Page table, version 1 (IID_IAAXPageTableV1).
class AAX_IACFPageTable : public IACFUnknown
{
public:
    virtual Result Clear() = 0;                                                                      // 3
    virtual Result Empty(uint8_t* empty) = 0;                                                        // 4
    virtual Result GetNumPages(int32_t* pages) = 0;                                                  // 5
    virtual Result InsertPage(int32_t page) = 0;                                                     // 6
    virtual Result RemovePage(int32_t page) = 0;                                                     // 7
    virtual Result GetNumMappedParameterIDs(int32_t page, int32_t* number) = 0;                      // 8
    virtual Result ClearMappedParameter(int32_t page, int32_t index) = 0;                            // 9
    virtual Result GetMappedParameterID(int32_t page, int32_t index, PlugInString* parameterId) = 0; // 10
    virtual Result MapParameterID(const char* parameterId, int32_t page, int32_t index) = 0;         // 11

protected:
    ~AAX_IACFPageTable() = default;
};

// Page table, version 2 (IID_IAAXPageTableV2).
class AAX_IACFPageTable_V2 : public AAX_IACFPageTable
{
public:
    virtual Result GetNumParametersWithNameVariations(int32_t* number) = 0;                          // 12
    virtual Result GetNameVariationParameterIDAtIndex(int32_t index, PlugInString* parameterId) = 0; // 13
    virtual Result GetNumNameVariationsForParameter(const char* parameterId, int32_t* number) = 0;   // 14
    // 15
    virtual Result GetParameterNameVariationAtIndex(const char* parameterId, int32_t index,
                                                    PlugInString* name, int32_t* length) = 0;
    // 16
    virtual Result GetParameterNameVariationOfLength(const char* parameterId, int32_t length,
                                                     PlugInString* name) = 0;
    virtual Result ClearParameterNameVariations() = 0;                           // 17
    virtual Result ClearNameVariationsForParameter(const char* parameterId) = 0; // 18
    // 19
    virtual Result SetParameterNameVariation(const char* parameterId, const PlugInString* name,
                                             int32_t length) = 0;

protected:
    ~AAX_IACFPageTable_V2() = default;
};

} // namespace aaxhost
