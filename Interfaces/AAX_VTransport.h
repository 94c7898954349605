// Wrapper of the host's transport.
#pragma once

#include "AAX_ITransport.h"
#include "AAX_IACFTransport.h"
#include "ACFPtr.h"

class AAX_VTransport : public AAX_ITransport
{
public:
    explicit AAX_VTransport(IACFUnknown* pUnknown);
    ~AAX_VTransport() override;

    AAX_VTransport(const AAX_VTransport&) = delete;
    AAX_VTransport& operator=(const AAX_VTransport&) = delete;

    AAX_Result GetCurrentTempo(double* TempoBPM) const noexcept override;
    AAX_Result GetCurrentMeter(int32_t* MeterNumerator, int32_t* MeterDenominator) const noexcept override;
    AAX_Result IsTransportPlaying(bool* isPlaying) const noexcept override;
    AAX_Result GetCurrentTickPosition(int64_t* TickPosition) const noexcept override;
    AAX_Result GetCurrentLoopPosition(bool* bLooping, int64_t* LoopStartTick,
                                      int64_t* LoopEndTick) const noexcept override;
    AAX_Result GetCurrentNativeSampleLocation(int64_t* SampleLocation) const noexcept override;
    AAX_Result GetCustomTickPosition(int64_t* oTickPosition, int64_t iSampleLocation) const noexcept override;
    AAX_Result GetBarBeatPosition(int32_t* Bars, int32_t* Beats, int64_t* DisplayTicks,
                                  int64_t SampleLocation) const noexcept override;
    AAX_Result GetTicksPerQuarter(uint32_t* ticks) const noexcept override;
    AAX_Result GetCurrentTicksPerBeat(uint32_t* ticks) const noexcept override;
    AAX_Result GetTimelineSelectionStartPosition(int64_t* oSampleLocation) const noexcept override;
    AAX_Result GetTimeCodeInfo(AAX_EFrameRate* oFrameRate, int32_t* oOffset) const noexcept override;
    AAX_Result GetFeetFramesInfo(AAX_EFeetFramesRate* oFeetFramesRate,
                                 int64_t* oOffset) const noexcept override;
    AAX_Result IsMetronomeEnabled(int32_t* isEnabled) const noexcept override;

private:
    ACFPtr<AAX_IACFTransport> mITransport;
    ACFPtr<AAX_IACFTransport_V2> mITransportV2;
};
