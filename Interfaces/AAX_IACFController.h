// The host's controller, versions 1 to 3.
#pragma once

#include "AAX.h"
#include "AAX_Enums.h"
#include "AAX_Properties.h"
#include "acfunknown.h"

class AAX_IString;

/// Version 1 (IID_IAAXControllerV1).
class AAX_IACFController : public IACFUnknown
{
public:
    virtual AAX_Result GetEffectID(AAX_IString* outEffectID) const = 0;               // 3
    virtual AAX_Result GetSampleRate(AAX_CSampleRate* outSampleRate) const = 0;       // 4
    virtual AAX_Result GetInputStemFormat(AAX_EStemFormat* outStemFormat) const = 0;  // 5
    virtual AAX_Result GetOutputStemFormat(AAX_EStemFormat* outStemFormat) const = 0; // 6
    virtual AAX_Result GetSignalLatency(int32_t* outSamples) const = 0;               // 7
    virtual AAX_Result GetCycleCount(AAX_EProperty inWhichCycleCount,
                                     AAX_CPropertyValue* outNumCycles) const = 0; // 8
    virtual AAX_Result GetTODLocation(AAX_CTimeOfDay* outTODLocation) const = 0;  // 9
    virtual AAX_Result SetSignalLatency(int32_t inNumSamples) = 0;                // 10
    virtual AAX_Result SetCycleCount(AAX_EProperty* inWhichCycleCounts, AAX_CPropertyValue* inValues,
                                     int32_t inNumValues) = 0; // 11
    virtual AAX_Result PostPacket(AAX_CFieldIndex inFieldIndex, const void* inPayloadP,
                                  uint32_t inPayloadSize) = 0;                                       // 12
    virtual AAX_Result GetCurrentMeterValue(AAX_CTypeID inMeterID, float* outMeterValue) const = 0;  // 13
    virtual AAX_Result GetMeterPeakValue(AAX_CTypeID inMeterID, float* outMeterPeakValue) const = 0; // 14
    virtual AAX_Result ClearMeterPeakValue(AAX_CTypeID inMeterID) const = 0;                         // 15
    virtual AAX_Result GetMeterClipped(AAX_CTypeID inMeterID, AAX_CBoolean* outClipped) const = 0;   // 16
    virtual AAX_Result ClearMeterClipped(AAX_CTypeID inMeterID) const = 0;                           // 17
    virtual AAX_Result GetMeterCount(uint32_t* outMeterCount) const = 0;                             // 18
    virtual AAX_Result GetNextMIDIPacket(AAX_CFieldIndex* outPort, AAX_CMidiPacket* outPacket) = 0;  // 19

protected:
    ~AAX_IACFController() = default;
};

/// Version 2 (IID_IAAXControllerV2).
class AAX_IACFController_V2 : public AAX_IACFController
{
public:
    virtual AAX_Result SendNotification(AAX_CTypeID inNotificationType, const void* inNotificationData,
                                        uint32_t inNotificationDataSize) = 0;                        // 20
    virtual AAX_Result GetHybridSignalLatency(int32_t* outSamples) const = 0;                        // 21
    virtual AAX_Result GetCurrentAutomationTimestamp(AAX_CTransportCounter* outTimestamp) const = 0; // 22
    virtual AAX_Result GetHostName(AAX_IString* outHostNameString) const = 0;                        // 23

protected:
    ~AAX_IACFController_V2() = default;
};

/// Version 3 (IID_IAAXControllerV3).
class AAX_IACFController_V3 : public AAX_IACFController_V2
{
public:
    virtual AAX_Result GetPlugInTargetPlatform(AAX_CTargetPlatform* outTargetPlatform) const = 0; // 24
    virtual AAX_Result GetIsAudioSuite(AAX_CBoolean* outIsAudioSuite) const = 0;                  // 25

protected:
    ~AAX_IACFController_V3() = default;
};
