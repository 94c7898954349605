#include "AAX_VTransport.h"

#include "AAX_Errors.h"
#include "AAX_UIDs.h"

// The play head reads the transport on the audio thread: each operation is one
// test of the member and one call into the host, nothing else (no allocation,
// no lock, nothing thrown). Outputs are the host's to write; when the host
// lacks the version, nothing is written and the caller's values stand.

AAX_VTransport::AAX_VTransport(IACFUnknown* pUnknown)
{
    if (pUnknown == nullptr)
        return;
    // A version the host lacks leaves its member empty; the results are not needed.
    pUnknown->QueryInterface(IID_IAAXTransportV1, mITransport.outputVoid());
    pUnknown->QueryInterface(IID_IAAXTransportV2, mITransportV2.outputVoid());
}

// The members release in reverse order: version 2, then version 1.
AAX_VTransport::~AAX_VTransport() = default;

AAX_Result AAX_VTransport::GetCurrentTempo(double* TempoBPM) const noexcept
{
    if (const AAX_IACFTransport* host = mITransport.get())
        return host->GetCurrentTempo(TempoBPM);
    return AAX_ERROR_NULL_OBJECT;
}

AAX_Result AAX_VTransport::GetCurrentMeter(int32_t* MeterNumerator, int32_t* MeterDenominator) const noexcept
{
    if (const AAX_IACFTransport* host = mITransport.get())
        return host->GetCurrentMeter(MeterNumerator, MeterDenominator);
    return AAX_ERROR_NULL_OBJECT;
}

AAX_Result AAX_VTransport::IsTransportPlaying(bool* isPlaying) const noexcept
{
    if (const AAX_IACFTransport* host = mITransport.get())
        return host->IsTransportPlaying(isPlaying);
    return AAX_ERROR_NULL_OBJECT;
}

AAX_Result AAX_VTransport::GetCurrentTickPosition(int64_t* TickPosition) const noexcept
{
    if (const AAX_IACFTransport* host = mITransport.get())
        return host->GetCurrentTickPosition(TickPosition);
    return AAX_ERROR_NULL_OBJECT;
}

AAX_Result AAX_VTransport::GetCurrentLoopPosition(bool* bLooping, int64_t* LoopStartTick,
                                                  int64_t* LoopEndTick) const noexcept
{
    if (const AAX_IACFTransport* host = mITransport.get())
        return host->GetCurrentLoopPosition(bLooping, LoopStartTick, LoopEndTick);
    return AAX_ERROR_NULL_OBJECT;
}

AAX_Result AAX_VTransport::GetCurrentNativeSampleLocation(int64_t* SampleLocation) const noexcept
{
    if (const AAX_IACFTransport* host = mITransport.get())
        return host->GetCurrentNativeSampleLocation(SampleLocation);
    return AAX_ERROR_NULL_OBJECT;
}

AAX_Result AAX_VTransport::GetCustomTickPosition(int64_t* oTickPosition,
                                                 int64_t iSampleLocation) const noexcept
{
    if (const AAX_IACFTransport* host = mITransport.get())
        return host->GetCustomTickPosition(oTickPosition, iSampleLocation);
    return AAX_ERROR_NULL_OBJECT;
}

AAX_Result AAX_VTransport::GetBarBeatPosition(int32_t* Bars, int32_t* Beats, int64_t* DisplayTicks,
                                              int64_t SampleLocation) const noexcept
{
    if (const AAX_IACFTransport* host = mITransport.get())
        return host->GetBarBeatPosition(Bars, Beats, DisplayTicks, SampleLocation);
    return AAX_ERROR_NULL_OBJECT;
}

AAX_Result AAX_VTransport::GetTicksPerQuarter(uint32_t* ticks) const noexcept
{
    if (const AAX_IACFTransport* host = mITransport.get())
        return host->GetTicksPerQuarter(ticks);
    return AAX_ERROR_NULL_OBJECT;
}

AAX_Result AAX_VTransport::GetCurrentTicksPerBeat(uint32_t* ticks) const noexcept
{
    if (const AAX_IACFTransport* host = mITransport.get())
        return host->GetCurrentTicksPerBeat(ticks);
    return AAX_ERROR_NULL_OBJECT;
}

AAX_Result AAX_VTransport::GetTimelineSelectionStartPosition(int64_t* oSampleLocation) const noexcept
{
    if (const AAX_IACFTransport_V2* host = mITransportV2.get())
        return host->GetTimelineSelectionStartPosition(oSampleLocation);
    return AAX_ERROR_UNIMPLEMENTED;
}

AAX_Result AAX_VTransport::GetTimeCodeInfo(AAX_EFrameRate* oFrameRate, int32_t* oOffset) const noexcept
{
    if (const AAX_IACFTransport_V2* host = mITransportV2.get())
        return host->GetTimeCodeInfo(oFrameRate, oOffset);
    return AAX_ERROR_UNIMPLEMENTED;
}

AAX_Result AAX_VTransport::GetFeetFramesInfo(AAX_EFeetFramesRate* oFeetFramesRate,
                                             int64_t* oOffset) const noexcept
{
    if (const AAX_IACFTransport_V2* host = mITransportV2.get())
        return host->GetFeetFramesInfo(oFeetFramesRate, oOffset);
    return AAX_ERROR_UNIMPLEMENTED;
}

AAX_Result AAX_VTransport::IsMetronomeEnabled(int32_t* isEnabled) const noexcept
{
    if (const AAX_IACFTransport_V2* host = mITransportV2.get())
        return host->IsMetronomeEnabled(isEnabled);
    return AAX_ERROR_UNIMPLEMENTED;
}
