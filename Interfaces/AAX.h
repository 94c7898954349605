// Basic types, records and macros of the interface library.
#pragma once

#include <cstddef>
#include <cstdint>

#include "acfbasetypes.h"

/// Result code of every operation across the host interface; 0 is success.
typedef int32_t AAX_Result;
/// Four-character codes and other 32-bit type identifiers.
typedef uint32_t AAX_CTypeID;
/// Value slot of an integer property (always 32 bits: callers write through it).
typedef int32_t AAX_CPropertyValue;
/// Boolean as it crosses the host interface.
typedef uint8_t AAX_CBoolean;
/// Parameter identifier: a NUL-terminated text of at most 31 characters.
typedef const char* AAX_CParamID;
/// Index of a field in an algorithm's context structure.
typedef int32_t AAX_CFieldIndex;
/// Sample rate in Hz.
typedef float AAX_CSampleRate;
/// Identifier of a creator procedure given to the effect descriptor.
typedef uint32_t AAX_CProcPtrID;
/// Identifier of a registered process procedure.
typedef uint32_t AAX_CSelector;
/// Display orientation flags of a parameter.
typedef int32_t AAX_CParameterOrientation;
/// Sample positions and timestamps.
typedef int64_t AAX_CTimestamp;
typedef int64_t AAX_CTransportCounter;
typedef int64_t AAX_CTimeOfDay;
/// Platform value reported by the host controller.
typedef int32_t AAX_CTargetPlatform;
/// Feature identifiers are component-model identifiers.
typedef acfUID AAX_Feature_UID;

/// Procedures called by the host carry no special calling convention on this platform.
#define AAX_CALLBACK

/// Index of a field of an algorithm's context structure, in pointer-sized slots.
#define AAX_FIELD_INDEX(aContextType, aMember)                                                               \
    ((AAX_CFieldIndex)(offsetof(aContextType, aMember) / sizeof(void*)))

/// Stem format value: the format's index in the high 16 bits, its channel count in the low 16.
#define AAX_STEM_FORMAT(aIndex, aChannelCount)                                                               \
    ((int32_t)((((uint32_t)(aIndex)) << 16) | (((uint32_t)(aChannelCount)) & 0xFFFFu)))
/// Index of a stem format, the sign kept (None reads -100, Any -1).
#define AAX_STEM_FORMAT_INDEX(aStemFormat) (((int32_t)(aStemFormat)) >> 16)
/// Channel count of a stem format.
#define AAX_STEM_FORMAT_CHANNEL_COUNT(aStemFormat) ((uint16_t)(((uint32_t)(aStemFormat)) & 0xFFFFu))

/// Creator procedure identifiers given to AAX_IEffectDescriptor::AddProcPtr.
constexpr AAX_CProcPtrID kAAX_ProcPtrID_Create_EffectParameters = 0;
constexpr AAX_CProcPtrID kAAX_ProcPtrID_Create_EffectGUI = 1;

/// A view extent: the vertical extent (height) first, then the horizontal (width).
struct AAX_Point
{
    float vert;
    float horz;
};

static_assert(sizeof(AAX_Point) == 8, "AAX_Point is two 32-bit floats");

/// A rectangle in view coordinates.
struct AAX_Rect
{
    float top;
    float left;
    float width;
    float height;
};

static_assert(sizeof(AAX_Rect) == 16, "AAX_Rect is four 32-bit floats");

/// The host's chunk record: a 56-byte header in the machine's byte order, then the payload.
struct AAX_SPlugInChunk
{
    int32_t fSize;           ///< payload length in bytes, header not included
    int32_t fVersion;        ///< chunk version
    AAX_CTypeID fManID;      ///< filled by the host
    AAX_CTypeID fProductID;  ///< filled by the host
    AAX_CTypeID fPlugInID;   ///< filled by the host
    AAX_CTypeID fChunkID;    ///< four-character chunk identifier
    unsigned char fName[32]; ///< zero-padded name, at most 31 characters
    char fData[1];           ///< first byte of the payload (fSize bytes in all)
};

static_assert(offsetof(AAX_SPlugInChunk, fSize) == 0, "chunk record layout");
static_assert(offsetof(AAX_SPlugInChunk, fVersion) == 4, "chunk record layout");
static_assert(offsetof(AAX_SPlugInChunk, fManID) == 8, "chunk record layout");
static_assert(offsetof(AAX_SPlugInChunk, fProductID) == 12, "chunk record layout");
static_assert(offsetof(AAX_SPlugInChunk, fPlugInID) == 16, "chunk record layout");
static_assert(offsetof(AAX_SPlugInChunk, fChunkID) == 20, "chunk record layout");
static_assert(offsetof(AAX_SPlugInChunk, fName) == 24, "chunk record layout");
static_assert(offsetof(AAX_SPlugInChunk, fData) == 56, "chunk record layout");

/// Size of the chunk record's header, the offset of its payload.
constexpr size_t kAAX_PlugInChunkHeaderSize = offsetof(AAX_SPlugInChunk, fData);

/// Identifies one plug-in type: manufacturer, product and plug-in codes.
struct AAX_SPlugInIdentifierTriad
{
    AAX_CTypeID mManufacturerID;
    AAX_CTypeID mProductID;
    AAX_CTypeID mPlugInID;
};

static_assert(sizeof(AAX_SPlugInIdentifierTriad) == 12, "identifier triad layout");

/// One MIDI message of at most four bytes.
struct AAX_CMidiPacket
{
    uint32_t mTimestamp;    ///< sample offset within the block
    uint32_t mLength;       ///< number of valid bytes in mData
    unsigned char mData[4]; ///< the message bytes
    AAX_CBoolean mIsImmediate;
};

static_assert(sizeof(AAX_CMidiPacket) == 16, "MIDI packet layout");
static_assert(offsetof(AAX_CMidiPacket, mData) == 8 && offsetof(AAX_CMidiPacket, mIsImmediate) == 12,
              "MIDI packet layout");

/// The packets a MIDI node holds for one block.
struct AAX_CMidiStream
{
    uint32_t mBufferSize;     ///< number of packets
    AAX_CMidiPacket* mBuffer; ///< the packets
};

static_assert(offsetof(AAX_CMidiStream, mBuffer) == sizeof(void*), "MIDI stream layout");

/// Audio of a hybrid render call.
struct AAX_SHybridRenderInfo
{
    float** mAudioInputs;
    int32_t* mNumAudioInputs;
    float** mAudioOutputs;
    int32_t* mNumAudioOutputs;
    int32_t* mNumSamples;
    AAX_CTimestamp* mClock;
};
