#pragma once

// Host-side declaration of the plug-in's effect-parameters interface, the
// object that creator procedure 0 makes (IID_IAAXEffectParametersV1 .. V4; the
// four versions share one table, each appending to the one before, so the
// host calls every operation through this one declaration).
//
// Types the host does not look into are passed as untyped pointers of the same
// size: the parameter object (position 16), the chunk record (33 .. 38), the
// hybrid render record (45) and the MIDI packet (46, 47; a reference in the
// plug-in's declaration, an address on the wire).

#include "aaxhost/Interfaces.h"
#include "aaxhost/PlugInString.h"

#include <cstdint>

namespace aaxhost
{

class IEffectParameters : public IACFUnknown
{
public:
    virtual Result Initialize(IACFUnknown* controller) = 0;                                   // 3
    virtual Result Uninitialize() = 0;                                                        // 4
    virtual Result NotificationReceived(uint32_t type, const void* data, uint32_t size) = 0;  // 5
    virtual Result GetNumberOfParameters(int32_t* count) const = 0;                           // 6
    virtual Result GetMasterBypassParameter(PlugInString* id) const = 0;                      // 7
    virtual Result GetParameterIsAutomatable(const char* id, uint8_t* automatable) const = 0; // 8
    virtual Result GetParameterNumberOfSteps(const char* id, int32_t* steps) const = 0;       // 9
    virtual Result GetParameterName(const char* id, PlugInString* name) const = 0;            // 10
    virtual Result GetParameterNameOfLength(const char* id, PlugInString* name,
                                            int32_t length) const = 0;                                // 11
    virtual Result GetParameterDefaultNormalizedValue(const char* id, double* value) const = 0;       // 12
    virtual Result SetParameterDefaultNormalizedValue(const char* id, double value) = 0;              // 13
    virtual Result GetParameterType(const char* id, int32_t* type) const = 0;                         // 14
    virtual Result GetParameterOrientation(const char* id, int32_t* orientation) const = 0;           // 15
    virtual Result GetParameter(const char* id, void** parameter) = 0;                                // 16
    virtual Result GetParameterIndex(const char* id, int32_t* index) const = 0;                       // 17
    virtual Result GetParameterIDFromIndex(int32_t index, PlugInString* id) const = 0;                // 18
    virtual Result GetParameterValueInfo(const char* id, int32_t selector, int32_t* value) const = 0; // 19
    virtual Result GetParameterValueFromString(const char* id, double* value,
                                               const PlugInString& text) const = 0; // 20
    virtual Result GetParameterStringFromValue(const char* id, double value, PlugInString* text,
                                               int32_t maxLength) const = 0; // 21
    virtual Result GetParameterValueString(const char* id, PlugInString* text,
                                           int32_t maxLength) const = 0;                             // 22
    virtual Result GetParameterNormalizedValue(const char* id, double* value) const = 0;             // 23
    virtual Result SetParameterNormalizedValue(const char* id, double value) = 0;                    // 24
    virtual Result SetParameterNormalizedRelative(const char* id, double delta) = 0;                 // 25
    virtual Result TouchParameter(const char* id) = 0;                                               // 26
    virtual Result ReleaseParameter(const char* id) = 0;                                             // 27
    virtual Result UpdateParameterTouch(const char* id, uint8_t touched) = 0;                        // 28
    virtual Result UpdateParameterNormalizedValue(const char* id, double value, int32_t source) = 0; // 29
    virtual Result UpdateParameterNormalizedRelative(const char* id, double delta) = 0;              // 30
    virtual Result GenerateCoefficients() = 0;                                                       // 31
    virtual Result ResetFieldData(int32_t fieldIndex, void* data, uint32_t size) const = 0;          // 32
    virtual Result GetNumberOfChunks(int32_t* count) const = 0;                                      // 33
    virtual Result GetChunkIDFromIndex(int32_t index, uint32_t* chunkId) const = 0;                  // 34
    virtual Result GetChunkSize(uint32_t chunkId, uint32_t* size) const = 0;                         // 35
    virtual Result GetChunk(uint32_t chunkId, void* chunk) const = 0;                                // 36
    virtual Result SetChunk(uint32_t chunkId, const void* chunk) = 0;                                // 37
    virtual Result CompareActiveChunk(const void* chunk, uint8_t* equal) const = 0;                  // 38
    virtual Result GetNumberOfChanges(int32_t* changes) const = 0;                                   // 39
    virtual Result TimerWakeup() = 0;                                                                // 40
    virtual Result GetCurveData(uint32_t curveType, const float* values, uint32_t count,
                                float* out) const = 0; // 41
    virtual Result GetCustomData(uint32_t dataBlockId, uint32_t size, void* data,
                                 uint32_t* written) const = 0;                               // 42
    virtual Result SetCustomData(uint32_t dataBlockId, uint32_t size, const void* data) = 0; // 43
    virtual Result DoMIDITransfers() = 0;                                                    // 44
    virtual Result RenderAudio_Hybrid(void* renderInfo) = 0;                                 // 45
    virtual Result UpdateMIDINodes(int32_t fieldIndex, void* packet) = 0;                    // 46
    virtual Result UpdateControlMIDINodes(uint32_t nodeId, void* packet) = 0;                // 47
    virtual Result GetCurveDataMeterIds(uint32_t curveType, uint32_t* xMeterId,
                                        uint32_t* yMeterId) const = 0; // 48
    virtual Result GetCurveDataDisplayRange(uint32_t curveType, float* xMin, float* xMax, float* yMin,
                                            float* yMax) const = 0; // 49
    virtual Result UpdatePageTable(uint32_t tableType, int32_t tablePageSize, IACFUnknown* hostUnknown,
                                   IACFUnknown* pageTable) const = 0; // 50

protected:
    ~IEffectParameters() = default;
};

// The form of creator procedure 0: makes a new effect object and returns the
// address of its primary interface without a reference (the host's first
// query adds it).
using EffectCreator = void* (*)();

} // namespace aaxhost
