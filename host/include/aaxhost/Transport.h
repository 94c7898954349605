#pragma once

#include "aaxhost/ControllerInterfaces.h"
#include "aaxhost/HostObject.h"

#include <atomic>
#include <cstdint>

namespace aaxhost
{

// The host's transport, versions 1 and 2, driven by the host's own sample
// clock: the current sample location moves with advance() while playing.
// Tick positions follow from the sample location at a constant tempo from
// the start of the timeline (sample 0 is tick 0), in whole ticks of 1/960000
// quarter note, the nearest (halves away from zero; the render core's
// tambrix/render/HostTicks.h).
//
// Every value is an atomic, so the plug-in may read the transport on the audio
// thread while another thread sets it: the operations take no lock, allocate
// nothing and record nothing, unless setInstrumented(true) switches on call
// recording and forced results (tests only; that path locks and allocates).
//
// GetBarBeatPosition answers only once the host has been given a meter of
// its own (setHostMeter); until then it answers kAaxErrorUnimplemented and
// GetCurrentMeter answers the default 4/4.
class Transport final : public HostObjectOf<AAX_IACFTransport_V2>
{
public:
    explicit Transport(std::shared_ptr<CallRecorder> recorder, std::string name = "Transport")
        : HostObjectOf(std::move(name), std::move(recorder))
    {
    }

    // --- the clock
    void setSampleRate(double rate); // ignored unless > 0
    double sampleRate() const noexcept { return sampleRate_.load(); }
    void setTempo(double bpm); // ignored unless > 0
    void setPlaying(bool playing) noexcept { playing_.store(playing); }
    void locate(int64_t sample) noexcept { sample_.store(sample); }
    // Moves the clock on by `samples` while playing; returns the new location.
    int64_t advance(int64_t samples) noexcept;
    int64_t sampleLocation() const noexcept { return sample_.load(); }
    // The tick position at a sample location.
    int64_t ticksAt(int64_t sample) const noexcept;

    // --- further values
    // Gives the host a meter of its own; false (nothing changed) unless both are > 0.
    bool setHostMeter(int32_t numerator, int32_t denominator) noexcept;
    void setLoop(bool looping, int64_t startTick, int64_t endTick) noexcept;
    void setSelectionStart(int64_t sample) noexcept { selectionStart_.store(sample); }
    void setTimeCode(int32_t frameRate, int32_t offset) noexcept;
    void setFeetFrames(int32_t rate, int64_t offset) noexcept;
    void setMetronome(int32_t enabled) noexcept { metronome_.store(enabled); }
    void setInstrumented(bool on) noexcept { instrumented_.store(on); }

    // version 1
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
    // version 2
    Result GetTimelineSelectionStartPosition(int64_t* sample) noexcept override;
    Result GetTimeCodeInfo(int32_t* frameRate, int32_t* offset) noexcept override;
    Result GetFeetFramesInfo(int32_t* rate, int64_t* offset) noexcept override;
    Result IsMetronomeEnabled(int32_t* enabled) noexcept override;

protected:
    ~Transport() override = default;
    void* findInterface(const Uid& iid) noexcept override
    {
        return iid == IID_IAAXTransportV1 || iid == IID_IAAXTransportV2 ? as<AAX_IACFTransport_V2>()
                                                                        : nullptr;
    }

private:
    // When instrumented, records the call and answers a forced result, if any.
    Result finish(const char* operation, std::initializer_list<Value> args) const;
    // finish(), then kAaxErrorNullArgument when one of `required` is null.
    template <class... Required>
    Result begin(const char* operation, std::initializer_list<Value> args, const Required*... required) const;

    std::atomic<double> sampleRate_{48000.0};
    std::atomic<double> tempo_{120.0};
    std::atomic<bool> playing_{false};
    std::atomic<int64_t> sample_{0};
    std::atomic<bool> hostMeter_{false};
    std::atomic<uint64_t> meter_{(uint64_t{4} << 32) | 4u}; // numerator high, denominator low
    std::atomic<bool> looping_{false};
    std::atomic<int64_t> loopStart_{0};
    std::atomic<int64_t> loopEnd_{0};
    std::atomic<int64_t> selectionStart_{0};
    std::atomic<int32_t> frameRate_{0};
    std::atomic<int32_t> timeCodeOffset_{0};
    std::atomic<int32_t> feetFramesRate_{0};
    std::atomic<int64_t> feetFramesOffset_{0};
    std::atomic<int32_t> metronome_{0};
    std::atomic<bool> instrumented_{false};
};

} // namespace aaxhost
