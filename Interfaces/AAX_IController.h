// The plug-in side's view of the host's controller.
#pragma once

#include "AAX.h"
#include "AAX_Enums.h"
#include "AAX_Properties.h"

class AAX_IString;
class AAX_IPageTable;

class AAX_IController
{
public:
    virtual ~AAX_IController() {}

    virtual AAX_Result GetEffectID(AAX_IString* outEffectID) const = 0;
    virtual AAX_Result GetSampleRate(AAX_CSampleRate* outSampleRate) const = 0;
    virtual AAX_Result GetInputStemFormat(AAX_EStemFormat* outStemFormat) const = 0;
    virtual AAX_Result GetOutputStemFormat(AAX_EStemFormat* outStemFormat) const = 0;
    virtual AAX_Result GetSignalLatency(int32_t* outSamples) const = 0;
    virtual AAX_Result GetCycleCount(AAX_EProperty inWhichCycleCount,
                                     AAX_CPropertyValue* outNumCycles) const = 0;
    virtual AAX_Result GetTODLocation(AAX_CTimeOfDay* outTODLocation) const = 0;
    virtual AAX_Result SetSignalLatency(int32_t inNumSamples) = 0;
    virtual AAX_Result SetCycleCount(AAX_EProperty* inWhichCycleCounts, AAX_CPropertyValue* inValues,
                                     int32_t inNumValues) = 0;
    virtual AAX_Result PostPacket(AAX_CFieldIndex inFieldIndex, const void* inPayloadP,
                                  uint32_t inPayloadSize) = 0;
    virtual AAX_Result SendNotification(AAX_CTypeID inNotificationType, const void* inNotificationData,
                                        uint32_t inNotificationDataSize) = 0;
    /// The host receives the type, a null data pointer and size 0.
    virtual AAX_Result SendNotification(AAX_CTypeID inNotificationType) = 0;
    virtual AAX_Result GetCurrentMeterValue(AAX_CTypeID inMeterID, float* outMeterValue) const = 0;
    virtual AAX_Result GetMeterPeakValue(AAX_CTypeID inMeterID, float* outMeterPeakValue) const = 0;
    virtual AAX_Result ClearMeterPeakValue(AAX_CTypeID inMeterID) const = 0;
    virtual AAX_Result GetMeterCount(uint32_t* outMeterCount) const = 0;
    virtual AAX_Result GetMeterClipped(AAX_CTypeID inMeterID, AAX_CBoolean* outClipped) const = 0;
    virtual AAX_Result ClearMeterClipped(AAX_CTypeID inMeterID) const = 0;
    virtual AAX_Result GetNextMIDIPacket(AAX_CFieldIndex* outPort, AAX_CMidiPacket* outPacket) = 0;
    virtual AAX_Result GetHybridSignalLatency(int32_t* outSamples) const = 0;
    virtual AAX_Result GetCurrentAutomationTimestamp(AAX_CTransportCounter* outTimestamp) const = 0;
    virtual AAX_Result GetHostName(AAX_IString* outHostNameString) const = 0;
    virtual AAX_Result GetPlugInTargetPlatform(AAX_CTargetPlatform* outTargetPlatform) const = 0;
    virtual AAX_Result GetIsAudioSuite(AAX_CBoolean* outIsAudioSuite) const = 0;
    /// Each copy returns a new page table owned by the caller, or null.
    virtual AAX_IPageTable* CreateTableCopyForEffect(AAX_CPropertyValue inManufacturerID,
                                                     AAX_CPropertyValue inProductID,
                                                     AAX_CPropertyValue inPlugInID, uint32_t inTableType,
                                                     int32_t inTablePageSize) const = 0;
    virtual AAX_IPageTable* CreateTableCopyForLayout(const char* inEffectID, const char* inLayoutName,
                                                     uint32_t inTableType, int32_t inTablePageSize) const = 0;
    virtual AAX_IPageTable*
    CreateTableCopyForEffectFromFile(const char* inPageTableFilePath, AAX_ETextEncoding inFilePathEncoding,
                                     AAX_CPropertyValue inManufacturerID, AAX_CPropertyValue inProductID,
                                     AAX_CPropertyValue inPlugInID, uint32_t inTableType,
                                     int32_t inTablePageSize) const = 0;
    virtual AAX_IPageTable* CreateTableCopyForLayoutFromFile(const char* inPageTableFilePath,
                                                             AAX_ETextEncoding inFilePathEncoding,
                                                             const char* inLayoutName, uint32_t inTableType,
                                                             int32_t inTablePageSize) const = 0;
};
