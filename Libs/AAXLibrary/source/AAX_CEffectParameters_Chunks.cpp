// The controls chunk of AAX_CEffectParameters: one chunk ('elck', "Complete Controls
// State") holding every unfiltered parameter's value in the chunk parser's format.
// A derived class may add chunks of its own after it, so other indices and identifiers
// are answered with AAX_ERROR_INVALID_CHUNK_INDEX / AAX_ERROR_INVALID_CHUNK_ID.

#include "AAX_CEffectParameters.h"

#include "AAX_Guarded.h"

#include "AAX_CHostServices.h"
#include "AAX_IParameter.h"

#include <cmath>
#include <cstring>
#include <limits>
#include <string>

namespace
{

using AAXLibraryPrivate::Guarded;

// Source name and lines of the assertion reports for a missing parameter.
constexpr const char* kAssertFile = "AAX_CEffectParameters";
constexpr int32_t kBuildAssertLine = 816;
constexpr int32_t kCompareAssertLine = 668;
constexpr const char* kMissingParameterCondition = "NULL != parameter";

// A parameter's value, by the first of its value getters that succeeds
// (float, int32, bool, double, string).
struct ParameterValue
{
    enum class Kind
    {
        None,
        Float,
        Int32,
        Bool,
        Double,
        String
    };

    Kind kind = Kind::None;
    float floatValue = 0.0f;
    int32_t intValue = 0;
    bool boolValue = false;
    double doubleValue = 0.0;
    AAX_CString stringValue;
};

ParameterValue ReadValue(const AAX_IParameter& parameter)
{
    ParameterValue value;
    if (parameter.GetValueAsFloat(&value.floatValue))
        value.kind = ParameterValue::Kind::Float;
    else if (parameter.GetValueAsInt32(&value.intValue))
        value.kind = ParameterValue::Kind::Int32;
    else if (parameter.GetValueAsBool(&value.boolValue))
        value.kind = ParameterValue::Kind::Bool;
    else if (parameter.GetValueAsDouble(&value.doubleValue))
        value.kind = ParameterValue::Kind::Double;
    else if (parameter.GetValueAsString(&value.stringValue))
        value.kind = ParameterValue::Kind::String;
    return value;
}

// A stored double as a float: only finite values within the float range have one
// (converting anything else is undefined, and a restored NaN or infinity would be
// no value at all).
bool ToFloat(double stored, float* out)
{
    if (!std::isfinite(stored) || std::fabs(stored) > static_cast<double>(std::numeric_limits<float>::max()))
        return false;
    *out = static_cast<float>(stored);
    return true;
}

bool SameDouble(double stored, double current)
{
    if (!std::isfinite(stored))
        return false;
    float storedFloat = 0.0f;
    float currentFloat = 0.0f;
    // Compared in single precision; values outside the float range are compared as they are.
    if (ToFloat(stored, &storedFloat) && ToFloat(current, &currentFloat))
        return storedFloat == currentFloat;
    return stored == current;
}

template <class Set>
bool IsFilteredOnSave(const Set& filtered, AAX_CParamID identifier)
{
    return filtered.count(std::string(identifier ? identifier : "")) != 0;
}

} // namespace

AAX_Result AAX_CEffectParameters::GetNumberOfChunks(int32_t* oNumChunks) const
{
    if (!oNumChunks)
        return AAX_ERROR_NULL_ARGUMENT;
    *oNumChunks = 1;
    return AAX_SUCCESS;
}

AAX_Result AAX_CEffectParameters::GetChunkIDFromIndex(int32_t iIndex, AAX_CTypeID* oChunkID) const
{
    if (!oChunkID)
        return AAX_ERROR_NULL_ARGUMENT;
    if (iIndex != 0)
    {
        *oChunkID = 0;
        return AAX_ERROR_INVALID_CHUNK_INDEX;
    }
    *oChunkID = kAAX_ControlsChunkID;
    return AAX_SUCCESS;
}

AAX_Result AAX_CEffectParameters::GetChunkSize(AAX_CTypeID iChunkID, uint32_t* oSize) const
{
    if (!oSize)
        return AAX_ERROR_NULL_ARGUMENT;
    if (iChunkID != kAAX_ControlsChunkID)
    {
        *oSize = 0;
        return AAX_ERROR_INVALID_CHUNK_ID;
    }
    return Guarded(
        [&]() -> AAX_Result
        {
            BuildChunkData();
            const int32_t size = mChunkParser.GetChunkDataSize();
            // The size that GetChunk checks against is state of the object that the host's
            // const query sets; the object itself is never const.
            const_cast<AAX_CEffectParameters*>(this)->mChunkSize = size;
            if (size < 0)
                return AAX_ERROR_INCORRECT_CHUNK_SIZE;
            *oSize = static_cast<uint32_t>(size);
            return AAX_SUCCESS;
        });
}

AAX_Result AAX_CEffectParameters::GetChunk(AAX_CTypeID iChunkID, AAX_SPlugInChunk* oChunk) const
{
    if (!oChunk)
        return AAX_ERROR_NULL_ARGUMENT;
    if (iChunkID != kAAX_ControlsChunkID)
        return AAX_ERROR_INVALID_CHUNK_ID;
    return Guarded(
        [&]() -> AAX_Result
        {
            BuildChunkData();
            // The host allocated the record with the size GetChunkSize reported: a payload of
            // another size (a string value changed length since) would not fit.
            if (mChunkSize != mChunkParser.GetChunkDataSize() || mChunkSize == 0)
                return AAX_ERROR_INCORRECT_CHUNK_SIZE;

            oChunk->fVersion = mChunkParser.GetChunkVersion();
            std::memset(oChunk->fName, 0, sizeof oChunk->fName);
            std::strncpy(reinterpret_cast<char*>(oChunk->fName), CONTROLS_CHUNK_DESCRIPTION,
                         sizeof oChunk->fName - 1);
            return mChunkParser.GetChunkData(oChunk);
        });
}

AAX_Result AAX_CEffectParameters::SetChunk(AAX_CTypeID iChunkID, const AAX_SPlugInChunk* iChunk)
{
    if (!iChunk)
        return AAX_ERROR_NULL_ARGUMENT;
    if (iChunkID != kAAX_ControlsChunkID)
        return AAX_ERROR_INVALID_CHUNK_ID;
    return Guarded(
        [&]() -> AAX_Result
        {
            mChunkParser.LoadChunk(iChunk);

            int32_t numParameters = 0;
            if (GetNumberOfParameters(&numParameters) != AAX_SUCCESS)
                numParameters = 0;
            for (int32_t i = 0; i < numParameters; ++i)
            {
                AAX_IParameter* parameter = mParameterManager.GetParameter(i);
                if (!parameter)
                    continue;
                const AAX_CParamID identifier = parameter->Identifier();
                if (IsFilteredOnSave(mFilteredParameters, identifier))
                    continue;

                const ParameterValue current = ReadValue(*parameter);
                switch (current.kind)
                {
                case ParameterValue::Kind::Float:
                {
                    double stored = 0.0;
                    float value = 0.0f;
                    if (mChunkParser.FindDouble(identifier, &stored) && ToFloat(stored, &value))
                        parameter->SetValueWithFloat(value);
                    break;
                }
                case ParameterValue::Kind::Int32:
                {
                    int32_t stored = 0;
                    if (mChunkParser.FindInt32(identifier, &stored))
                        parameter->SetValueWithInt32(stored);
                    break;
                }
                case ParameterValue::Kind::Bool:
                {
                    int32_t stored = 0;
                    if (mChunkParser.FindInt32(identifier, &stored))
                        parameter->SetValueWithBool(stored != 0);
                    break;
                }
                case ParameterValue::Kind::Double:
                {
                    double stored = 0.0;
                    if (mChunkParser.FindDouble(identifier, &stored) && std::isfinite(stored))
                        parameter->SetValueWithDouble(stored);
                    break;
                }
                case ParameterValue::Kind::String:
                {
                    AAX_CString stored;
                    if (mChunkParser.FindString(identifier, &stored))
                        parameter->SetValueWithString(stored);
                    break;
                }
                case ParameterValue::Kind::None:
                    break;
                }
            }
            // A chunk that held nothing usable still counts as applied.
            return AAX_SUCCESS;
        });
}

AAX_Result AAX_CEffectParameters::CompareActiveChunk(const AAX_SPlugInChunk* iChunkP,
                                                     AAX_CBoolean* oIsEqual) const
{
    if (!iChunkP || !oIsEqual)
        return AAX_ERROR_NULL_ARGUMENT;
    if (iChunkP->fChunkID != kAAX_ControlsChunkID)
    {
        // Not ours to judge.
        *oIsEqual = 1;
        return AAX_SUCCESS;
    }
    *oIsEqual = 0;
    return Guarded(
        [&]() -> AAX_Result
        {
            mChunkParser.LoadChunk(iChunkP);

            int32_t numParameters = 0;
            if (GetNumberOfParameters(&numParameters) != AAX_SUCCESS)
                numParameters = 0;
            if (numParameters < 1)
            {
                *oIsEqual = 1;
                return AAX_SUCCESS;
            }
            for (int32_t i = 0; i < numParameters; ++i)
            {
                const AAX_IParameter* parameter = mParameterManager.GetParameter(i);
                if (!parameter)
                {
                    AAX_CHostServices::HandleAssertFailure(kAssertFile, kCompareAssertLine,
                                                           kMissingParameterCondition,
                                                           kAAX_AssertFlags_Default);
                    continue;
                }
                const AAX_CParamID identifier = parameter->Identifier();
                if (IsFilteredOnSave(mFilteredParameters, identifier))
                    continue;

                const ParameterValue current = ReadValue(*parameter);
                bool same = true;
                switch (current.kind)
                {
                case ParameterValue::Kind::Float:
                {
                    double stored = 0.0;
                    float storedFloat = 0.0f;
                    same = mChunkParser.FindDouble(identifier, &stored) && ToFloat(stored, &storedFloat) &&
                           storedFloat == current.floatValue;
                    break;
                }
                case ParameterValue::Kind::Int32:
                {
                    int32_t stored = 0;
                    same = mChunkParser.FindInt32(identifier, &stored) && stored == current.intValue;
                    break;
                }
                case ParameterValue::Kind::Bool:
                {
                    int32_t stored = 0;
                    same = mChunkParser.FindInt32(identifier, &stored) && (stored != 0) == current.boolValue;
                    break;
                }
                case ParameterValue::Kind::Double:
                {
                    double stored = 0.0;
                    same = mChunkParser.FindDouble(identifier, &stored) &&
                           SameDouble(stored, current.doubleValue);
                    break;
                }
                case ParameterValue::Kind::String:
                {
                    AAX_CString stored;
                    same = mChunkParser.FindString(identifier, &stored) && !(stored != current.stringValue);
                    break;
                }
                case ParameterValue::Kind::None:
                    break;
                }
                if (!same)
                    return AAX_SUCCESS; // *oIsEqual stays 0
            }
            *oIsEqual = 1;
            return AAX_SUCCESS;
        });
}

void AAX_CEffectParameters::BuildChunkData() const
{
    mChunkParser.Clear();

    int32_t numParameters = 0;
    if (GetNumberOfParameters(&numParameters) != AAX_SUCCESS)
        numParameters = 0;
    for (int32_t i = 0; i < numParameters; ++i)
    {
        const AAX_IParameter* parameter = mParameterManager.GetParameter(i);
        if (!parameter)
        {
            AAX_CHostServices::HandleAssertFailure(kAssertFile, kBuildAssertLine, kMissingParameterCondition,
                                                   kAAX_AssertFlags_Default);
            continue;
        }
        const AAX_CParamID identifier = parameter->Identifier();
        if (IsFilteredOnSave(mFilteredParameters, identifier))
            continue;

        const ParameterValue value = ReadValue(*parameter);
        switch (value.kind)
        {
        case ParameterValue::Kind::Float:
            mChunkParser.AddDouble(identifier, static_cast<double>(value.floatValue));
            break;
        case ParameterValue::Kind::Int32:
            mChunkParser.AddInt32(identifier, value.intValue);
            break;
        case ParameterValue::Kind::Bool:
            mChunkParser.AddInt32(identifier, value.boolValue ? 1 : 0);
            break;
        case ParameterValue::Kind::Double:
            mChunkParser.AddDouble(identifier, value.doubleValue);
            break;
        case ParameterValue::Kind::String:
            mChunkParser.AddString(identifier, value.stringValue);
            break;
        case ParameterValue::Kind::None:
            break;
        }
    }
}
