#pragma once

#include "aaxhost/ControllerInterfaces.h"
#include "aaxhost/HostObject.h"

#include <atomic>
#include <cstdint>

namespace aaxhost
{

// A transport that a host playing a timeline block by block sets before every
// block: playing or stopped, tempo, and the tick position at the block's first
// sample. Between two settings the position moves on with the sample location
// at the current tempo (GetCustomTickPosition), in whole ticks, the nearest
// (halves away from zero; the render core's tambrix/render/HostTicks.h). The
// host keeps no meter of its own: GetBarBeatPosition answers
// kAaxErrorUnimplemented, so a plug-in counts its bars from the start of the
// timeline.
//
// Operations allocate nothing, take no lock and record nothing: the plug-in
// reads them on the audio thread. The block position is published as a whole
// (a sequence count guards it), so a reader on another thread never sees half
// of an update.
class TimelineTransport final : public HostObjectOf<AAX_IACFTransport_V2>
{
public:
    struct Position
    {
        bool playing = false;
        double bpm = 120.0;
        int64_t ticks = 0;  // at `sample`
        int64_t sample = 0; // the block's first sample
    };

    explicit TimelineTransport(std::shared_ptr<CallRecorder> recorder, double sampleRate = 48000.0,
                               std::string name = "TimelineTransport");

    void setPosition(const Position& position) noexcept;
    Position position() const noexcept;
    // Ticks at another sample location, moving on from the block position at its tempo.
    int64_t ticksAt(int64_t sample) const noexcept;

    Result GetCurrentTempo(double* bpm) noexcept override;
    Result GetCurrentMeter(int32_t* numerator, int32_t* denominator) noexcept override;
    Result IsTransportPlaying(bool* playing) noexcept override;
    Result GetCurrentTickPosition(int64_t* ticks) noexcept override;
    Result GetCurrentLoopPosition(bool* looping, int64_t* startTick, int64_t* endTick) noexcept override;
    Result GetCurrentNativeSampleLocation(int64_t* sample) noexcept override;
    Result GetCustomTickPosition(int64_t* ticks, int64_t sample) noexcept override;
    Result GetBarBeatPosition(int32_t* bars, int32_t* beats, int64_t* displayTicks,
                              int64_t sample) noexcept override;
    Result GetTicksPerQuarter(uint32_t* ticks) noexcept override;
    Result GetCurrentTicksPerBeat(uint32_t* ticks) noexcept override;
    Result GetTimelineSelectionStartPosition(int64_t* sample) noexcept override;
    Result GetTimeCodeInfo(int32_t* frameRate, int32_t* offset) noexcept override;
    Result GetFeetFramesInfo(int32_t* rate, int64_t* offset) noexcept override;
    Result IsMetronomeEnabled(int32_t* enabled) noexcept override;

protected:
    ~TimelineTransport() override = default;
    void* findInterface(const Uid& iid) noexcept override
    {
        return iid == IID_IAAXTransportV1 || iid == IID_IAAXTransportV2 ? as<AAX_IACFTransport_V2>()
                                                                        : nullptr;
    }

private:
    static int64_t ticksFrom(const Position& p, double rate, int64_t sample) noexcept;

    const double sampleRate_;
    std::atomic<uint64_t> sequence_{0}; // odd while an update is being written
    std::atomic<bool> playing_{false};
    std::atomic<double> bpm_{120.0};
    std::atomic<int64_t> ticks_{0};
    std::atomic<int64_t> sample_{0};
};

} // namespace aaxhost
