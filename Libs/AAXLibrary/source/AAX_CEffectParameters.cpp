#include "AAX_CEffectParameters.h"

#include "AAX_Guarded.h"

#include "AAX_Assert.h"
#include "AAX_IParameter.h"
#include "AAX_VAutomationDelegate.h"
#include "AAX_VController.h"
#include "AAX_VPageTable.h"
#include "AAX_VTransport.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>

AAX_CParamID cDefaultMasterBypassID = "MasterBypassID";
AAX_CParamID cPreviewID = "PreviewID";

namespace
{

using AAXLibraryPrivate::Guarded;

// The longest (first of equally long) non-empty line of `text` that has at most
// `maxLength` characters; empty when there is none.
std::string LongestLineWithin(const std::string& text, int32_t maxLength)
{
    std::string chosen;
    std::size_t start = 0;
    while (start <= text.size())
    {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        const std::size_t length = end - start;
        if (length > 0 && maxLength >= 0 && length <= static_cast<std::size_t>(maxLength) &&
            length > chosen.size())
            chosen.assign(text, start, length);
        start = end + 1;
    }
    return chosen;
}

} // namespace

AAX_CEffectParameters::AAX_CEffectParameters()
    : mNumPlugInChanges(0), mChunkSize(0), mChunkParser(), mNumChunkedParameters(0), mPacketDispatcher(),
      mParameterManager(), mFilteredParameters(), mController(nullptr), mTransport(nullptr),
      mAutomationDelegate(nullptr)
{
}

AAX_CEffectParameters::~AAX_CEffectParameters()
{
    // An object released without (or after a failed) Uninitialize still frees everything:
    // the parameters first, while the automation delegate they unregister from exists,
    // then the host wrappers, which the dispatcher must no longer reach.
    mParameterManager.RemoveAllParameters();
    try
    {
        mPacketDispatcher.Initialize(nullptr, nullptr);
    }
    catch (...)
    {
    }
    DeleteHostWrappers();
}

void AAX_CEffectParameters::DeleteHostWrappers() noexcept
{
    delete mController;
    mController = nullptr;
    delete mAutomationDelegate;
    mAutomationDelegate = nullptr;
    delete mTransport;
    mTransport = nullptr;
}

// ---------------------------------------------------------------------------
// Life cycle

AAX_Result AAX_CEffectParameters::Initialize(IACFUnknown* iController)
{
    // A second Initialize would orphan the first one's wrappers and parameters.
    if (mController != nullptr || mAutomationDelegate != nullptr || mTransport != nullptr)
        return AAX_ERROR_INVALID_ARGUMENT;

    try
    {
        std::unique_ptr<AAX_IController> controller(new AAX_VController(iController));
        std::unique_ptr<AAX_IAutomationDelegate> automation(new AAX_VAutomationDelegate(iController));
        std::unique_ptr<AAX_ITransport> transport(new AAX_VTransport(iController));
        mParameterManager.Initialize(automation.get());
        mPacketDispatcher.Initialize(controller.get(), this);
        mController = controller.release();
        mAutomationDelegate = automation.release();
        mTransport = transport.release();
    }
    catch (...)
    {
        // Nothing made here stays behind.
        mParameterManager.Initialize(nullptr);
        try
        {
            mPacketDispatcher.Initialize(nullptr, nullptr);
        }
        catch (...)
        {
        }
        return AAX_ERROR_UNKNOWN_EXCEPTION;
    }

    // From here on the wrappers stay until Uninitialize, whatever EffectInit does.
    return Guarded(
        [this]() -> AAX_Result
        {
            const AAX_Result effectInitResult = EffectInit();
            if (effectInitResult != AAX_SUCCESS)
                return effectInitResult;

            AAX_CString bypassID;
            GetMasterBypassParameter(&bypassID);
            FilterParameterIDOnSave(bypassID.Get());

            int32_t numParameters = 0;
            GetNumberOfParameters(&numParameters);
            if (numParameters > 0)
            {
                mNumChunkedParameters = numParameters - static_cast<int32_t>(mFilteredParameters.size());
                AAX_ASSERT(mNumChunkedParameters >= 0);
            }
            return AAX_SUCCESS;
        });
}

AAX_Result AAX_CEffectParameters::Uninitialize()
{
    // The parameters go first: each unregisters from the automation delegate.
    mParameterManager.RemoveAllParameters();
    mParameterManager.Initialize(nullptr);
    try
    {
        mPacketDispatcher.Initialize(nullptr, nullptr);
    }
    catch (...)
    {
        // The dispatcher may still hold the controller: keep the wrappers alive.
        return AAX_ERROR_UNKNOWN_EXCEPTION;
    }
    DeleteHostWrappers();
    return AAX_SUCCESS;
}

AAX_Result AAX_CEffectParameters::EffectInit()
{
    return AAX_SUCCESS;
}

AAX_Result AAX_CEffectParameters::NotificationReceived(AAX_CTypeID inNotificationType,
                                                       const void* inNotificationData,
                                                       uint32_t inNotificationDataSize)
{
    if (inNotificationType != AAX_eNotificationEvent_ASPreviewState)
        return AAX_SUCCESS;
    if (inNotificationData == nullptr || inNotificationDataSize < sizeof(int32_t))
        return AAX_SUCCESS;

    return Guarded(
        [&]() -> AAX_Result
        {
            if (AAX_IParameter* preview = mParameterManager.GetParameterByID(cPreviewID))
            {
                int32_t state = 0;
                std::memcpy(&state, inNotificationData, sizeof(state));
                preview->SetValueWithBool(state != 0);
            }
            return AAX_SUCCESS;
        });
}

void AAX_CEffectParameters::FilterParameterIDOnSave(AAX_CParamID controlID)
{
    if (controlID != nullptr)
        mFilteredParameters.insert(controlID);
}

// ---------------------------------------------------------------------------
// Parameter queries

AAX_Result AAX_CEffectParameters::GetNumberOfParameters(int32_t* oNumControls) const
{
    if (oNumControls == nullptr)
        return AAX_ERROR_NULL_ARGUMENT;
    *oNumControls = mParameterManager.NumParameters();
    return AAX_SUCCESS;
}

AAX_Result AAX_CEffectParameters::GetMasterBypassParameter(AAX_IString* oIDString) const
{
    if (oIDString == nullptr)
        return AAX_ERROR_NULL_ARGUMENT;
    return Guarded(
        [&]() -> AAX_Result
        {
            if (mParameterManager.GetParameterByID(cDefaultMasterBypassID) != nullptr)
                *oIDString = cDefaultMasterBypassID;
            else
                *oIDString = "";
            return AAX_SUCCESS;
        });
}

AAX_Result AAX_CEffectParameters::GetParameterIsAutomatable(AAX_CParamID iParameterID,
                                                            AAX_CBoolean* oAutomatable) const
{
    if (oAutomatable == nullptr)
        return AAX_ERROR_NULL_ARGUMENT;
    *oAutomatable = 0;
    const AAX_IParameter* parameter = mParameterManager.GetParameterByID(iParameterID);
    if (parameter == nullptr)
        return AAX_ERROR_INVALID_PARAMETER_ID;
    *oAutomatable = parameter->Automatable() ? 1 : 0;
    return AAX_SUCCESS;
}

AAX_Result AAX_CEffectParameters::GetParameterNumberOfSteps(AAX_CParamID iParameterID,
                                                            int32_t* oNumSteps) const
{
    const AAX_IParameter* parameter = mParameterManager.GetParameterByID(iParameterID);
    if (parameter == nullptr)
        return AAX_ERROR_INVALID_PARAMETER_ID;
    if (oNumSteps == nullptr)
        return AAX_ERROR_NULL_ARGUMENT;
    const uint32_t steps = parameter->GetNumberOfSteps();
    if (steps > 0x7FFFFFFFu)
        return AAX_ERROR_SIGNED_INT_OVERFLOW;
    *oNumSteps = static_cast<int32_t>(steps);
    return AAX_SUCCESS;
}

AAX_Result AAX_CEffectParameters::GetParameterName(AAX_CParamID iParameterID, AAX_IString* oName) const
{
    if (oName == nullptr)
        return AAX_ERROR_NULL_ARGUMENT;
    return Guarded(
        [&]() -> AAX_Result
        {
            if (const AAX_IParameter* parameter = mParameterManager.GetParameterByID(iParameterID))
                *oName = parameter->Name();
            else
                *oName = "";
            return AAX_SUCCESS;
        });
}

AAX_Result AAX_CEffectParameters::GetParameterNameOfLength(AAX_CParamID iParameterID, AAX_IString* oName,
                                                           int32_t iNameLength) const
{
    if (oName == nullptr)
        return AAX_ERROR_INVALID_STRING_CONVERSION;
    return Guarded(
        [&]() -> AAX_Result
        {
            const AAX_IParameter* parameter = mParameterManager.GetParameterByID(iParameterID);
            if (parameter == nullptr)
            {
                *oName = "";
                return AAX_SUCCESS;
            }

            const AAX_CString& shortened = parameter->ShortenedName(iNameLength);
            const std::string working(shortened.Get(), std::min<uint32_t>(shortened.Length(), 255u));
            if (working.empty())
                return AAX_SUCCESS;

            const std::string line = LongestLineWithin(working, iNameLength);
            if (!line.empty())
            {
                *oName = line.c_str();
            }
            else if (iNameLength >= 1)
            {
                AAX_CString prefix;
                shortened.SubString(0, static_cast<uint32_t>(iNameLength), &prefix);
                *oName = prefix;
            }
            else
            {
                *oName = "";
            }
            return AAX_SUCCESS;
        });
}

AAX_Result AAX_CEffectParameters::GetParameterDefaultNormalizedValue(AAX_CParamID iParameterID,
                                                                     double* oValue) const
{
    const AAX_IParameter* parameter = mParameterManager.GetParameterByID(iParameterID);
    if (parameter == nullptr)
        return AAX_ERROR_INVALID_PARAMETER_ID;
    if (oValue == nullptr)
        return AAX_ERROR_NULL_ARGUMENT;
    *oValue = parameter->GetNormalizedDefaultValue();
    return AAX_SUCCESS;
}

AAX_Result AAX_CEffectParameters::SetParameterDefaultNormalizedValue(AAX_CParamID iParameterID, double iValue)
{
    AAX_IParameter* parameter = mParameterManager.GetParameterByID(iParameterID);
    if (parameter == nullptr)
        return AAX_ERROR_INVALID_PARAMETER_ID;
    return Guarded(
        [&]() -> AAX_Result
        {
            parameter->SetNormalizedDefaultValue(iValue);
            return AAX_SUCCESS;
        });
}

AAX_Result AAX_CEffectParameters::GetParameterType(AAX_CParamID iParameterID,
                                                   AAX_EParameterType* oParameterType) const
{
    const AAX_IParameter* parameter = mParameterManager.GetParameterByID(iParameterID);
    if (parameter == nullptr)
        return AAX_ERROR_INVALID_PARAMETER_ID;
    if (oParameterType == nullptr)
        return AAX_ERROR_NULL_ARGUMENT;
    *oParameterType = parameter->GetType();
    return AAX_SUCCESS;
}

AAX_Result
AAX_CEffectParameters::GetParameterOrientation(AAX_CParamID iParameterID,
                                               AAX_EParameterOrientation* oParameterOrientation) const
{
    const AAX_IParameter* parameter = mParameterManager.GetParameterByID(iParameterID);
    if (parameter == nullptr)
        return AAX_ERROR_INVALID_PARAMETER_ID;
    if (oParameterOrientation == nullptr)
        return AAX_ERROR_NULL_ARGUMENT;
    *oParameterOrientation = parameter->GetOrientation();
    return AAX_SUCCESS;
}

AAX_Result AAX_CEffectParameters::GetParameter(AAX_CParamID iParameterID, AAX_IParameter** oParameter)
{
    if (oParameter == nullptr)
        return AAX_ERROR_NULL_ARGUMENT;
    *oParameter = mParameterManager.GetParameterByID(iParameterID);
    return *oParameter != nullptr ? AAX_SUCCESS : AAX_ERROR_INVALID_PARAMETER_ID;
}

AAX_Result AAX_CEffectParameters::GetParameterIndex(AAX_CParamID iParameterID, int32_t* oControlIndex) const
{
    if (oControlIndex == nullptr)
        return AAX_ERROR_NULL_ARGUMENT;
    *oControlIndex = mParameterManager.GetParameterIndex(iParameterID);
    return *oControlIndex >= 0 ? AAX_SUCCESS : AAX_ERROR_INVALID_PARAMETER_ID;
}

AAX_Result AAX_CEffectParameters::GetParameterIDFromIndex(int32_t iControlIndex,
                                                          AAX_IString* oParameterIDString) const
{
    if (oParameterIDString == nullptr)
        return AAX_ERROR_NULL_ARGUMENT;
    return Guarded(
        [&]() -> AAX_Result
        {
            const AAX_IParameter* parameter = mParameterManager.GetParameter(iControlIndex);
            if (parameter == nullptr)
            {
                *oParameterIDString = "";
                return AAX_ERROR_INVALID_PARAMETER_ID;
            }
            *oParameterIDString = parameter->Identifier();
            return AAX_SUCCESS;
        });
}

AAX_Result AAX_CEffectParameters::GetParameterValueInfo(AAX_CParamID /*iParameterID*/, int32_t /*iSelector*/,
                                                        int32_t* oValue) const
{
    if (oValue != nullptr)
        *oValue = 0;
    return AAX_ERROR_UNIMPLEMENTED;
}

AAX_Result AAX_CEffectParameters::GetParameterValueFromString(AAX_CParamID iParameterID, double* oValue,
                                                              const AAX_IString& iValueString) const
{
    const AAX_IParameter* parameter = mParameterManager.GetParameterByID(iParameterID);
    if (parameter == nullptr)
        return AAX_ERROR_INVALID_PARAMETER_ID;
    if (oValue == nullptr)
        return AAX_ERROR_NULL_ARGUMENT;
    return Guarded(
        [&]() -> AAX_Result
        {
            const AAX_CString text(iValueString);
            double value = 0.0;
            if (!parameter->GetNormalizedValueFromString(text, &value))
                return AAX_ERROR_INVALID_STRING_CONVERSION;
            *oValue = value;
            return AAX_SUCCESS;
        });
}

AAX_Result AAX_CEffectParameters::GetParameterStringFromValue(AAX_CParamID iParameterID, double iValue,
                                                              AAX_IString* oValueString,
                                                              int32_t iMaxLength) const
{
    const AAX_IParameter* parameter = mParameterManager.GetParameterByID(iParameterID);
    if (parameter == nullptr)
        return AAX_ERROR_INVALID_PARAMETER_ID;
    if (oValueString == nullptr)
        return AAX_ERROR_NULL_ARGUMENT;
    return Guarded(
        [&]() -> AAX_Result
        {
            AAX_CString text;
            if (!parameter->GetStringFromNormalizedValue(iValue, iMaxLength, text))
                return AAX_ERROR_INVALID_STRING_CONVERSION;
            *oValueString = text;
            return AAX_SUCCESS;
        });
}

AAX_Result AAX_CEffectParameters::GetParameterValueString(AAX_CParamID iParameterID,
                                                          AAX_IString* oValueString, int32_t iMaxLength) const
{
    const AAX_IParameter* parameter = mParameterManager.GetParameterByID(iParameterID);
    if (parameter == nullptr)
        return AAX_ERROR_INVALID_PARAMETER_ID;
    if (oValueString == nullptr)
        return AAX_ERROR_NULL_ARGUMENT;
    return Guarded(
        [&]() -> AAX_Result
        {
            AAX_CString text;
            parameter->GetValueString(iMaxLength, &text);
            *oValueString = text;
            return AAX_SUCCESS;
        });
}

AAX_Result AAX_CEffectParameters::GetParameterNormalizedValue(AAX_CParamID iParameterID,
                                                              double* oValuePtr) const
{
    const AAX_IParameter* parameter = mParameterManager.GetParameterByID(iParameterID);
    if (parameter == nullptr)
        return AAX_ERROR_INVALID_PARAMETER_ID;
    if (oValuePtr == nullptr)
        return AAX_ERROR_NULL_ARGUMENT;
    *oValuePtr = parameter->GetNormalizedValue();
    return AAX_SUCCESS;
}

// ---------------------------------------------------------------------------
// Requests to the host and the host's updates

AAX_Result AAX_CEffectParameters::SetParameterNormalizedValue(AAX_CParamID iParameterID, double iValue)
{
    AAX_IParameter* parameter = mParameterManager.GetParameterByID(iParameterID);
    if (parameter == nullptr)
        return AAX_ERROR_INVALID_PARAMETER_ID;
    return Guarded(
        [&]() -> AAX_Result
        {
            parameter->SetNormalizedValue(iValue);
            return AAX_SUCCESS;
        });
}

namespace
{
// current + delta, held to 0..1 (a sum that is not a number passes unchanged).
double ClampedSum(double current, double delta)
{
    double value = current + delta;
    if (value > 1.0)
        value = 1.0;
    if (value < 0.0)
        value = 0.0;
    return value;
}
} // namespace

AAX_Result AAX_CEffectParameters::SetParameterNormalizedRelative(AAX_CParamID iParameterID, double iValue)
{
    double current = 0.0;
    const AAX_Result result = GetParameterNormalizedValue(iParameterID, &current);
    if (result != AAX_SUCCESS)
        return result;
    return SetParameterNormalizedValue(iParameterID, ClampedSum(current, iValue));
}

AAX_Result AAX_CEffectParameters::TouchParameter(AAX_CParamID iParameterID)
{
    AAX_IParameter* parameter = mParameterManager.GetParameterByID(iParameterID);
    if (parameter == nullptr)
        return AAX_ERROR_INVALID_PARAMETER_ID;
    return Guarded(
        [&]() -> AAX_Result
        {
            parameter->Touch();
            return AAX_SUCCESS;
        });
}

AAX_Result AAX_CEffectParameters::ReleaseParameter(AAX_CParamID iParameterID)
{
    AAX_IParameter* parameter = mParameterManager.GetParameterByID(iParameterID);
    if (parameter == nullptr)
        return AAX_ERROR_INVALID_PARAMETER_ID;
    return Guarded(
        [&]() -> AAX_Result
        {
            parameter->Release();
            return AAX_SUCCESS;
        });
}

AAX_Result AAX_CEffectParameters::UpdateParameterTouch(AAX_CParamID /*iParameterID*/,
                                                       AAX_CBoolean /*iTouchState*/)
{
    return AAX_SUCCESS;
}

AAX_Result AAX_CEffectParameters::UpdateParameterNormalizedValue(AAX_CParamID iParameterID, double iValue,
                                                                 AAX_EUpdateSource /*iSource*/)
{
    AAX_IParameter* parameter = mParameterManager.GetParameterByID(iParameterID);
    if (parameter == nullptr)
        return AAX_ERROR_INVALID_PARAMETER_ID;
    return Guarded(
        [&]() -> AAX_Result
        {
            const double before = parameter->GetNormalizedValue();
            parameter->UpdateNormalizedValue(iValue);
            const AAX_Result result = mPacketDispatcher.SetDirty(iParameterID, true);
            // What counts is the value the parameter now holds, so a repeated or clamped
            // value is no change. A not-a-number on either side counts as one.
            const double after = parameter->GetNormalizedValue();
            if (!(before == after))
                mNumPlugInChanges.fetch_add(1, std::memory_order_relaxed); // wraps, two's complement
            return result;
        });
}

AAX_Result AAX_CEffectParameters::UpdateParameterNormalizedRelative(AAX_CParamID iParameterID, double iValue)
{
    double current = 0.0;
    const AAX_Result result = GetParameterNormalizedValue(iParameterID, &current);
    if (result != AAX_SUCCESS)
        return result;
    return UpdateParameterNormalizedValue(iParameterID, ClampedSum(current, iValue),
                                          AAX_eUpdateSource_Unspecified);
}

AAX_Result AAX_CEffectParameters::GenerateCoefficients()
{
    return mPacketDispatcher.Dispatch();
}

AAX_Result AAX_CEffectParameters::ResetFieldData(AAX_CFieldIndex /*iFieldIndex*/, void* oData,
                                                 uint32_t iDataSize) const
{
    if (oData != nullptr)
        std::memset(oData, 0, iDataSize);
    return AAX_SUCCESS;
}

AAX_Result AAX_CEffectParameters::GetNumberOfChanges(int32_t* oNumChanges) const
{
    if (oNumChanges == nullptr)
        return AAX_ERROR_NULL_ARGUMENT;
    *oNumChanges = mNumPlugInChanges.load(std::memory_order_relaxed);
    return AAX_SUCCESS;
}

// ---------------------------------------------------------------------------
// Fixed answers

AAX_Result AAX_CEffectParameters::TimerWakeup()
{
    return AAX_SUCCESS;
}

AAX_Result AAX_CEffectParameters::GetCurveData(AAX_CTypeID /*iCurveType*/, const float* /*iValues*/,
                                               uint32_t /*iNumValues*/, float* /*oValues*/) const
{
    return AAX_ERROR_UNIMPLEMENTED;
}

AAX_Result AAX_CEffectParameters::GetCustomData(AAX_CTypeID /*iDataBlockID*/, uint32_t /*inDataSize*/,
                                                void* /*oData*/, uint32_t* oDataWritten) const
{
    if (oDataWritten != nullptr)
        *oDataWritten = 0;
    return AAX_SUCCESS;
}

AAX_Result AAX_CEffectParameters::SetCustomData(AAX_CTypeID /*iDataBlockID*/, uint32_t /*inDataSize*/,
                                                const void* /*iData*/)
{
    return AAX_SUCCESS;
}

AAX_Result AAX_CEffectParameters::DoMIDITransfers()
{
    return AAX_SUCCESS;
}

AAX_Result AAX_CEffectParameters::RenderAudio_Hybrid(AAX_SHybridRenderInfo* /*ioRenderInfo*/)
{
    return AAX_ERROR_UNIMPLEMENTED;
}

AAX_Result AAX_CEffectParameters::UpdateMIDINodes(AAX_CFieldIndex /*inFieldIndex*/,
                                                  AAX_CMidiPacket& /*iPacket*/)
{
    return AAX_SUCCESS;
}

AAX_Result AAX_CEffectParameters::UpdateControlMIDINodes(AAX_CTypeID /*nodeID*/, AAX_CMidiPacket& /*iPacket*/)
{
    return AAX_SUCCESS;
}

AAX_Result AAX_CEffectParameters::GetCurveDataMeterIds(AAX_CTypeID /*iCurveType*/, uint32_t* /*oXMeterId*/,
                                                       uint32_t* /*oYMeterId*/) const
{
    return AAX_ERROR_UNIMPLEMENTED;
}

AAX_Result AAX_CEffectParameters::GetCurveDataDisplayRange(AAX_CTypeID /*iCurveType*/, float* /*oXMin*/,
                                                           float* /*oXMax*/, float* /*oYMin*/,
                                                           float* /*oYMax*/) const
{
    return AAX_ERROR_UNIMPLEMENTED;
}

AAX_Result AAX_CEffectParameters::UpdatePageTable(uint32_t inTableType, int32_t inTablePageSize,
                                                  IACFUnknown* /*iHostUnknown*/,
                                                  IACFUnknown* ioPageTableUnknown) const
{
    return Guarded(
        [&]() -> AAX_Result
        {
            AAX_VPageTable pageTable(ioPageTableUnknown);
            if (!pageTable.IsSupported())
                return AAX_SUCCESS;
            return UpdatePageTable(inTableType, inTablePageSize, pageTable);
        });
}

AAX_Result AAX_CEffectParameters::UpdatePageTable(uint32_t /*inTableType*/, int32_t /*inTablePageSize*/,
                                                  AAX_IPageTable& /*ioPageTable*/) const
{
    return AAX_ERROR_UNIMPLEMENTED;
}

// The controls-chunk operations are in AAX_CEffectParameters_Chunks.cpp.
