// Typed, big-endian list of name/value entries: the payload of the controls chunk.
#pragma once

#include "AAX.h"
#include "AAX_CString.h"

#include <vector>

/// Four-character identifier of the controls chunk ('elck').
constexpr AAX_CTypeID kAAX_ControlsChunkID = 0x656C636Bu;
/// Name of the controls chunk.
#define CONTROLS_CHUNK_DESCRIPTION "Complete Controls State"

class AAX_CChunkDataParser
{
public:
    /// Entry types (the payload holds their tag letters).
    enum EDataType : int32_t
    {
        eDataType_None = 0,   ///< no value (an unknown tag)
        eDataType_Float = 1,  ///< 'f'
        eDataType_Int32 = 2,  ///< 'l'
        eDataType_Double = 3, ///< 'd'
        eDataType_Int16 = 4,  ///< 's'
        eDataType_String = 5  ///< 'r'
    };

    /// One entry.
    struct DataValue
    {
        int32_t mDataType = eDataType_None;
        AAX_CString mDataName;
        union
        {
            double mDoubleValue;
            int64_t mIntValue;
        };
        AAX_CString mStringValue;

        DataValue() : mIntValue(0) {}
    };

    AAX_CChunkDataParser();
    virtual ~AAX_CChunkDataParser();

    void Clear();
    void AddDouble(const char* name, double value);
    void AddInt32(const char* name, int32_t value);
    void AddString(const char* name, AAX_CString value);

    /// Payload size of the current entries (4 without entries); -1 when it would not fit
    /// the record's signed size field.
    int32_t GetChunkDataSize();
    /// Writes the payload into a record with room for GetChunkDataSize() payload bytes and
    /// sets the record's size (no other header field); 0. An entry that cannot be stored
    /// so that it reads back (no type, a name over 252 bytes, a zero byte inside a name or
    /// string) is refused with a trace and -333, the size field left as it was; a null
    /// record gives AAX_ERROR_NULL_ARGUMENT.
    int32_t GetChunkData(AAX_SPlugInChunk* chunk);
    /// Replaces the entries by those read from the record's payload (and takes its
    /// version). Reads nothing past the record's size field: an entry that would run past
    /// it is dropped and the walk ends. A null record just clears.
    void LoadChunk(const AAX_SPlugInChunk* chunk);

    /// Circular search resuming after the last hit; -1 when absent.
    int32_t FindName(const AAX_CString& name);
    /// True and the value when the entry FindName finds has the type asked for; otherwise
    /// (also for a null name or out-pointer) false and the out value untouched.
    bool FindDouble(const char* name, double* value);
    bool FindInt32(const char* name, int32_t* value);
    bool FindString(const char* name, AAX_CString* value);

    int32_t GetChunkVersion() const noexcept { return mChunkVersion; }
    int32_t NumEntries() const noexcept { return static_cast<int32_t>(mDataValues.size()); }

protected:
    int32_t mLastFoundIndex;
    int32_t mChunkVersion;
    std::vector<DataValue> mDataValues;
};
