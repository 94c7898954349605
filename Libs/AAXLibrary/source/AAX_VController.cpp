#include "AAX_VController.h"

#include "AAX_Errors.h"
#include "AAX_UIDs.h"
#include "AAX_VPageTable.h"

#include <new>

namespace
{

// The last steps of every page-table copy: a failed copy, or a copy without a
// table to copy into, gives null; otherwise the caller gets its own wrapper,
// which holds its own references (the local one is released on return).
AAX_IPageTable* WrapCopiedTable(AAX_Result copyResult, const ACFPtr<AAX_IACFPageTable_V2>& table)
{
    if (copyResult != AAX_SUCCESS || table.isNull())
        return nullptr;
    return new (std::nothrow) AAX_VPageTable(table.get());
}

} // namespace

AAX_VController::AAX_VController(IACFUnknown* pUnknown)
{
    if (pUnknown == nullptr)
        return;

    // A version the host lacks leaves its member empty; the results are not needed.
    pUnknown->QueryInterface(IID_IAAXControllerV1, mIController.outputVoid());
    pUnknown->QueryInterface(IID_IAAXControllerV2, mIControllerV2.outputVoid());
    pUnknown->QueryInterface(IID_IAAXControllerV3, mIControllerV3.outputVoid());
    pUnknown->QueryInterface(IID_IAAXPageTableController, mIPageTableController.outputVoid());
    pUnknown->QueryInterface(IID_IAAXPageTableControllerV2, mIPageTableControllerV2.outputVoid());

    // Without a component factory the wrapper still works; only page-table
    // copies then have no table to copy into.
    try
    {
        const ACFPtr<IACFComponentFactory> factory(IID_IACFComponentFactory, pUnknown);
        mComponentFactory = factory;
    }
    catch (...)
    {
        mComponentFactory.clear();
    }
}

// The members release in reverse order: the factory first, controller version 1 last.
AAX_VController::~AAX_VController() = default;

// --- version 1

AAX_Result AAX_VController::GetEffectID(AAX_IString* outEffectID) const
{
    if (AAX_IACFController* host = mIController.get())
        return host->GetEffectID(outEffectID);
    return AAX_ERROR_NULL_OBJECT;
}

AAX_Result AAX_VController::GetSampleRate(AAX_CSampleRate* outSampleRate) const
{
    if (AAX_IACFController* host = mIController.get())
        return host->GetSampleRate(outSampleRate);
    return AAX_ERROR_NULL_OBJECT;
}

AAX_Result AAX_VController::GetInputStemFormat(AAX_EStemFormat* outStemFormat) const
{
    if (AAX_IACFController* host = mIController.get())
        return host->GetInputStemFormat(outStemFormat);
    return AAX_ERROR_NULL_OBJECT;
}

AAX_Result AAX_VController::GetOutputStemFormat(AAX_EStemFormat* outStemFormat) const
{
    if (AAX_IACFController* host = mIController.get())
        return host->GetOutputStemFormat(outStemFormat);
    return AAX_ERROR_NULL_OBJECT;
}

AAX_Result AAX_VController::GetSignalLatency(int32_t* outSamples) const
{
    if (AAX_IACFController* host = mIController.get())
        return host->GetSignalLatency(outSamples);
    return AAX_ERROR_NULL_OBJECT;
}

AAX_Result AAX_VController::GetCycleCount(AAX_EProperty inWhichCycleCount,
                                          AAX_CPropertyValue* outNumCycles) const
{
    if (AAX_IACFController* host = mIController.get())
        return host->GetCycleCount(inWhichCycleCount, outNumCycles);
    return AAX_ERROR_NULL_OBJECT;
}

AAX_Result AAX_VController::GetTODLocation(AAX_CTimeOfDay* outTODLocation) const
{
    if (AAX_IACFController* host = mIController.get())
        return host->GetTODLocation(outTODLocation);
    return AAX_ERROR_NULL_OBJECT;
}

AAX_Result AAX_VController::SetSignalLatency(int32_t inNumSamples)
{
    if (AAX_IACFController* host = mIController.get())
        return host->SetSignalLatency(inNumSamples);
    return AAX_ERROR_NULL_OBJECT;
}

AAX_Result AAX_VController::SetCycleCount(AAX_EProperty* inWhichCycleCounts, AAX_CPropertyValue* inValues,
                                          int32_t inNumValues)
{
    if (AAX_IACFController* host = mIController.get())
        return host->SetCycleCount(inWhichCycleCounts, inValues, inNumValues);
    return AAX_ERROR_NULL_OBJECT;
}

AAX_Result AAX_VController::PostPacket(AAX_CFieldIndex inFieldIndex, const void* inPayloadP,
                                       uint32_t inPayloadSize)
{
    if (AAX_IACFController* host = mIController.get())
        return host->PostPacket(inFieldIndex, inPayloadP, inPayloadSize);
    return AAX_ERROR_NULL_OBJECT;
}

// --- version 2 (placed after PostPacket in this interface, as in the table)

AAX_Result AAX_VController::SendNotification(AAX_CTypeID inNotificationType, const void* inNotificationData,
                                             uint32_t inNotificationDataSize)
{
    if (AAX_IACFController_V2* host = mIControllerV2.get())
        return host->SendNotification(inNotificationType, inNotificationData, inNotificationDataSize);
    return AAX_ERROR_UNIMPLEMENTED;
}

AAX_Result AAX_VController::SendNotification(AAX_CTypeID inNotificationType)
{
    if (AAX_IACFController_V2* host = mIControllerV2.get())
        return host->SendNotification(inNotificationType, nullptr, 0);
    return AAX_ERROR_UNIMPLEMENTED;
}

// --- version 1, meters and MIDI (the count comes before the clip state here)

AAX_Result AAX_VController::GetCurrentMeterValue(AAX_CTypeID inMeterID, float* outMeterValue) const
{
    if (AAX_IACFController* host = mIController.get())
        return host->GetCurrentMeterValue(inMeterID, outMeterValue);
    return AAX_ERROR_NULL_OBJECT;
}

AAX_Result AAX_VController::GetMeterPeakValue(AAX_CTypeID inMeterID, float* outMeterPeakValue) const
{
    if (AAX_IACFController* host = mIController.get())
        return host->GetMeterPeakValue(inMeterID, outMeterPeakValue);
    return AAX_ERROR_NULL_OBJECT;
}

AAX_Result AAX_VController::ClearMeterPeakValue(AAX_CTypeID inMeterID) const
{
    if (AAX_IACFController* host = mIController.get())
        return host->ClearMeterPeakValue(inMeterID);
    return AAX_ERROR_NULL_OBJECT;
}

AAX_Result AAX_VController::GetMeterCount(uint32_t* outMeterCount) const
{
    if (AAX_IACFController* host = mIController.get())
        return host->GetMeterCount(outMeterCount);
    return AAX_ERROR_NULL_OBJECT;
}

AAX_Result AAX_VController::GetMeterClipped(AAX_CTypeID inMeterID, AAX_CBoolean* outClipped) const
{
    if (AAX_IACFController* host = mIController.get())
        return host->GetMeterClipped(inMeterID, outClipped);
    return AAX_ERROR_NULL_OBJECT;
}

AAX_Result AAX_VController::ClearMeterClipped(AAX_CTypeID inMeterID) const
{
    if (AAX_IACFController* host = mIController.get())
        return host->ClearMeterClipped(inMeterID);
    return AAX_ERROR_NULL_OBJECT;
}

AAX_Result AAX_VController::GetNextMIDIPacket(AAX_CFieldIndex* outPort, AAX_CMidiPacket* outPacket)
{
    if (AAX_IACFController* host = mIController.get())
        return host->GetNextMIDIPacket(outPort, outPacket);
    return AAX_ERROR_NULL_OBJECT;
}

// --- version 2

AAX_Result AAX_VController::GetHybridSignalLatency(int32_t* outSamples) const
{
    if (AAX_IACFController_V2* host = mIControllerV2.get())
        return host->GetHybridSignalLatency(outSamples);
    return AAX_ERROR_UNIMPLEMENTED;
}

AAX_Result AAX_VController::GetCurrentAutomationTimestamp(AAX_CTransportCounter* outTimestamp) const
{
    if (AAX_IACFController_V2* host = mIControllerV2.get())
        return host->GetCurrentAutomationTimestamp(outTimestamp);
    // Without the host's answer the timestamp reads 0; a null output is refused.
    if (outTimestamp == nullptr)
        return AAX_ERROR_NULL_ARGUMENT;
    *outTimestamp = 0;
    return AAX_ERROR_UNIMPLEMENTED;
}

AAX_Result AAX_VController::GetHostName(AAX_IString* outHostNameString) const
{
    if (AAX_IACFController_V2* host = mIControllerV2.get())
        return host->GetHostName(outHostNameString);
    return AAX_ERROR_UNIMPLEMENTED;
}

// --- version 3

AAX_Result AAX_VController::GetPlugInTargetPlatform(AAX_CTargetPlatform* outTargetPlatform) const
{
    if (AAX_IACFController_V3* host = mIControllerV3.get())
        return host->GetPlugInTargetPlatform(outTargetPlatform);
    return AAX_ERROR_UNIMPLEMENTED;
}

AAX_Result AAX_VController::GetIsAudioSuite(AAX_CBoolean* outIsAudioSuite) const
{
    if (AAX_IACFController_V3* host = mIControllerV3.get())
        return host->GetIsAudioSuite(outIsAudioSuite);
    return AAX_ERROR_UNIMPLEMENTED;
}

// --- page-table copies

ACFPtr<AAX_IACFPageTable_V2> AAX_VController::CreatePageTable() const
{
    ACFPtr<AAX_IACFPageTable_V2> table;
    if (IACFComponentFactory* factory = mComponentFactory.get())
    {
        if (factory->CreateComponent(AAXCompID_PageTable, nullptr, IID_IAAXPageTableV2, table.outputVoid()) !=
            ACF_OK)
            table.clear();
    }
    return table;
}

AAX_IPageTable* AAX_VController::CreateTableCopyForEffect(AAX_CPropertyValue inManufacturerID,
                                                          AAX_CPropertyValue inProductID,
                                                          AAX_CPropertyValue inPlugInID, uint32_t inTableType,
                                                          int32_t inTablePageSize) const
{
    AAX_IACFPageTableController* host = mIPageTableController.get();
    if (host == nullptr)
        return nullptr;
    const ACFPtr<AAX_IACFPageTable_V2> table = CreatePageTable();
    const AAX_Result result = host->CopyTableForEffect(inManufacturerID, inProductID, inPlugInID, inTableType,
                                                       inTablePageSize, table.get());
    return WrapCopiedTable(result, table);
}

AAX_IPageTable* AAX_VController::CreateTableCopyForLayout(const char* inEffectID, const char* inLayoutName,
                                                          uint32_t inTableType, int32_t inTablePageSize) const
{
    AAX_IACFPageTableController* host = mIPageTableController.get();
    if (host == nullptr)
        return nullptr;
    const ACFPtr<AAX_IACFPageTable_V2> table = CreatePageTable();
    const AAX_Result result =
        host->CopyTableOfLayoutForEffect(inEffectID, inLayoutName, inTableType, inTablePageSize, table.get());
    return WrapCopiedTable(result, table);
}

AAX_IPageTable* AAX_VController::CreateTableCopyForEffectFromFile(
    const char* inPageTableFilePath, AAX_ETextEncoding inFilePathEncoding,
    AAX_CPropertyValue inManufacturerID, AAX_CPropertyValue inProductID, AAX_CPropertyValue inPlugInID,
    uint32_t inTableType, int32_t inTablePageSize) const
{
    AAX_IACFPageTableController_V2* host = mIPageTableControllerV2.get();
    if (host == nullptr)
        return nullptr;
    const ACFPtr<AAX_IACFPageTable_V2> table = CreatePageTable();
    const AAX_Result result =
        host->CopyTableForEffectFromFile(inPageTableFilePath, inFilePathEncoding, inManufacturerID,
                                         inProductID, inPlugInID, inTableType, inTablePageSize, table.get());
    return WrapCopiedTable(result, table);
}

AAX_IPageTable* AAX_VController::CreateTableCopyForLayoutFromFile(const char* inPageTableFilePath,
                                                                  AAX_ETextEncoding inFilePathEncoding,
                                                                  const char* inLayoutName,
                                                                  uint32_t inTableType,
                                                                  int32_t inTablePageSize) const
{
    AAX_IACFPageTableController_V2* host = mIPageTableControllerV2.get();
    if (host == nullptr)
        return nullptr;
    const ACFPtr<AAX_IACFPageTable_V2> table = CreatePageTable();
    const AAX_Result result = host->CopyTableOfLayoutFromFile(
        inPageTableFilePath, inFilePathEncoding, inLayoutName, inTableType, inTablePageSize, table.get());
    return WrapCopiedTable(result, table);
}
