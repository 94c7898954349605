#pragma once

// Host-side declarations of the interfaces a plug-in describes itself
// through: collection, effect descriptor, component descriptor, property map,
// description host, feature info and the host definition. Positions as
// commented (0, 1, 2 are QueryInterface, AddRef, Release); a later version
// continues the numbering of the one it extends.

#include "aaxhost/Interfaces.h"

#include <cstdint>

namespace aaxhost
{

// Property values travel at pointer width: integer properties arrive
// sign-extended, pointer properties whole.
using PropertyValue = intptr_t;
static_assert(sizeof(PropertyValue) == sizeof(void*), "property values are pointer-wide");

// Presence answers of the property map's getters.
using Boolean = uint8_t;

// Process procedures as a component registers them.
using NativeProcessProc = void (*)(void* const* instancesBegin, const void* instancesEnd);
using NativeInstanceInitProc = int32_t (*)(const void* context, int32_t action);
using NativeBackgroundProc = int32_t (*)();

// Property map, version 1 (IID_IAAXPropertyMapV1).
class AAX_IACFPropertyMap : public IACFUnknown
{
public:
    // 3: whether property `id` is present; writes its value when it is.
    virtual Boolean GetProperty(int32_t id, PropertyValue* value) = 0;
    // 4: adds or replaces property `id`.
    virtual Result AddProperty(int32_t id, PropertyValue value) = 0;
    // 5
    virtual Result RemoveProperty(int32_t id) = 0;

protected:
    ~AAX_IACFPropertyMap() = default;
};

// Property map, version 2 (IID_IAAXPropertyMapV2): identifier-array properties.
class AAX_IACFPropertyMap_V2 : public AAX_IACFPropertyMap
{
public:
    // 6: the records are kept as the plug-in's pointer and count.
    virtual Result AddPropertyWithIDArray(int32_t id, const void* records, uint32_t count) = 0;
    // 7
    virtual Boolean GetPropertyWithIDArray(int32_t id, const void** records, uint32_t* count) = 0;

protected:
    ~AAX_IACFPropertyMap_V2() = default;
};

// Property map, version 3 (IID_IAAXPropertyMapV3). The plug-in never calls
// its own operation; a recorded call there means a wrong slot.
class AAX_IACFPropertyMap_V3 : public AAX_IACFPropertyMap_V2
{
public:
    // 8
    virtual Result UnusedPosition8() = 0;

protected:
    ~AAX_IACFPropertyMap_V3() = default;
};

// Component descriptor, version 1 (IID_IAAXComponentDescriptorV1).
class AAX_IACFComponentDescriptor : public IACFUnknown
{
public:
    virtual Result Clear() = 0;                                                                    // 3
    virtual Result AddReservedField(int32_t fieldIndex, uint32_t fieldType) = 0;                   // 4
    virtual Result AddAudioIn(int32_t fieldIndex) = 0;                                             // 5
    virtual Result AddAudioOut(int32_t fieldIndex) = 0;                                            // 6
    virtual Result AddAudioBufferLength(int32_t fieldIndex) = 0;                                   // 7
    virtual Result AddSampleRate(int32_t fieldIndex) = 0;                                          // 8
    virtual Result AddClock(int32_t fieldIndex) = 0;                                               // 9
    virtual Result AddSideChainIn(int32_t fieldIndex) = 0;                                         // 10
    virtual Result AddDataInPort(int32_t fieldIndex, uint32_t packetSize, int32_t type) = 0;       // 11
    virtual Result AddAuxOutputStem(int32_t fieldIndex, int32_t stemFormat, const char* name) = 0; // 12
    virtual Result AddPrivateData(int32_t fieldIndex, int32_t sizeInBytes, uint32_t options) = 0;  // 13
    virtual Result AddDmaInstance(int32_t fieldIndex, int32_t mode) = 0;                           // 14
    virtual Result AddMIDINode(int32_t fieldIndex, int32_t nodeType, const char* name,
                               uint32_t channelMask) = 0; // 15
    virtual Result AddProcessProc_Native(NativeProcessProc processProc, IACFUnknown* properties,
                                         NativeInstanceInitProc instanceInitProc,
                                         NativeBackgroundProc backgroundProc, uint32_t* procId) = 0; // 16
    virtual Result AddProcessProc_TI(const char* dllFileName, const char* processProcSymbol,
                                     IACFUnknown* properties, const char* instanceInitSymbol,
                                     const char* backgroundSymbol, uint32_t* procId) = 0;            // 17
    virtual Result AddMeters(int32_t fieldIndex, const uint32_t* meterIds, uint32_t meterCount) = 0; // 18

protected:
    ~AAX_IACFComponentDescriptor() = default;
};

// Component descriptor, version 2 (IID_IAAXComponentDescriptorV2).
class AAX_IACFComponentDescriptor_V2 : public AAX_IACFComponentDescriptor
{
public:
    virtual Result AddTemporaryData(int32_t fieldIndex, uint32_t sizeInBytes) = 0; // 19

protected:
    ~AAX_IACFComponentDescriptor_V2() = default;
};

// Component descriptor, version 3 (IID_IAAXComponentDescriptorV3).
class AAX_IACFComponentDescriptor_V3 : public AAX_IACFComponentDescriptor_V2
{
public:
    // 20: registers the procedures the map names; writes their ids and a 0.
    virtual Result AddProcessProc(IACFUnknown* properties, uint32_t* procIds, int32_t procIdsSize) = 0;

protected:
    ~AAX_IACFComponentDescriptor_V3() = default;
};

// Effect descriptor, version 1 (IID_IAAXEffectDescriptorV1).
class AAX_IACFEffectDescriptor : public IACFUnknown
{
public:
    virtual Result AddComponent(IACFUnknown* componentDescriptor) = 0;                                   // 3
    virtual Result AddName(const char* name) = 0;                                                        // 4
    virtual Result AddCategory(uint32_t category) = 0;                                                   // 5
    virtual Result AddCategoryBypassParameter(uint32_t category, const char* parameterId) = 0;           // 6
    virtual Result AddProcPtr(void* procPtr, uint32_t procId) = 0;                                       // 7
    virtual Result SetProperties(IACFUnknown* properties) = 0;                                           // 8
    virtual Result AddResourceInfo(int32_t resourceType, const char* info) = 0;                          // 9
    virtual Result AddMeterDescription(uint32_t meterId, const char* name, IACFUnknown* properties) = 0; // 10

protected:
    ~AAX_IACFEffectDescriptor() = default;
};

// Effect descriptor, version 2 (IID_IAAXEffectDescriptorV2).
class AAX_IACFEffectDescriptor_V2 : public AAX_IACFEffectDescriptor
{
public:
    virtual Result AddControlMIDINode(uint32_t nodeId, int32_t nodeType, const char* name,
                                      uint32_t channelMask) = 0; // 11

protected:
    ~AAX_IACFEffectDescriptor_V2() = default;
};

// Collection, version 1 (IID_IAAXCollectionV1).
class AAX_IACFCollection : public IACFUnknown
{
public:
    // 3 to 6: not called by the plug-in; a recorded call means a wrong slot.
    virtual Result UnusedPosition3() = 0;
    virtual Result UnusedPosition4() = 0;
    virtual Result UnusedPosition5() = 0;
    virtual Result UnusedPosition6() = 0;
    virtual Result AddEffect(const char* effectId, IACFUnknown* effectDescriptor) = 0; // 7
    virtual Result SetManufacturerName(const char* name) = 0;                          // 8
    virtual Result AddPackageName(const char* name) = 0;                               // 9
    virtual Result SetPackageVersion(uint32_t version) = 0;                            // 10
    virtual Result SetProperties(IACFUnknown* properties) = 0;                         // 11

protected:
    ~AAX_IACFCollection() = default;
};

// Description host (IID_IAAXDescriptionHostV1).
class AAX_IACFDescriptionHost : public IACFUnknown
{
public:
    // 3: the feature's info object, lent to the caller (no reference added).
    virtual Result AcquireFeatureProperties(const Uid& featureId, IACFUnknown** featureInfo) = 0;

protected:
    ~AAX_IACFDescriptionHost() = default;
};

// Feature info (IID_IAAXFeatureInfoV1).
class AAX_IACFFeatureInfo : public IACFUnknown
{
public:
    // 3
    virtual Result SupportLevel(int32_t& level) = 0;
    // 4: the feature's property map, lent to the caller (no reference added).
    virtual Result AcquireProperties(IACFUnknown** properties) = 0;

protected:
    ~AAX_IACFFeatureInfo() = default;
};

// The host's definition (IID_IACFDefinition); the plug-in only keeps it.
class IACFDefinition : public IACFUnknown
{
protected:
    ~IACFDefinition() = default;
};

} // namespace aaxhost
