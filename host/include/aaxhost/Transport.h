#pragma once

#include "aaxhost/ControllerInterfaces.h"
#include "aaxhost/HostObject.h"

#include "tambrix/render/HostTicks.h"

#include <atomic>
#include <cstdint>
#include <mutex>

namespace aaxhost
{

// The host's transport, versions 1 and 2. The position at a sample location
// follows from an anchor, by the render core's one rule
// (tambrix/render/HostTicks.h): at quarter note `ppq` at the anchor's sample,
// moving on at the tempo while playing, staying put while stopped; ticks are
// whole ticks of 1/960000 quarter note, the nearest. A host playing a timeline
// sets the anchor and the block's first sample before every block
// (setPosition); tests may set every value one by one instead, and force results.
//
// Every answer is read from one snapshot of all the values, published as a whole
// (a sequence count guards it): a reader on the audio thread never sees half of
// an update, takes no lock, allocates nothing and records nothing, unless
// setInstrumented(true) switches on call recording and forced results (tests
// only; that path locks and allocates).
//
// GetBarBeatPosition answers only once the host has been given a meter of its
// own (setHostMeter); until then it answers kAaxErrorUnimplemented and
// GetCurrentMeter answers the default 4/4.
class Transport final : public HostObjectOf<AAX_IACFTransport_V2>
{
public:
    explicit Transport(std::shared_ptr<CallRecorder> recorder, double sampleRate = 48000.0,
                       std::string name = "Transport");

    // --- where the transport is
    // The anchor and the current sample location (the block's first sample), in one update.
    void setPosition(const tambrix::render::TransportAnchor& anchor, int64_t location) noexcept;
    tambrix::render::TransportAnchor anchor() const noexcept;
    int64_t sampleLocation() const noexcept;
    double sampleRate() const noexcept;
    // The tick position at a sample location.
    int64_t ticksAt(int64_t sample) const noexcept;

    // --- the same, one value at a time
    void setSampleRate(double rate); // ignored unless > 0
    void setTempo(double bpm);       // ignored unless > 0; it holds from the anchor on
    // Plays, or stops, from the position at the current location (which becomes the anchor).
    void setPlaying(bool playing) noexcept;
    // Moves the location: playing, the position there follows from the anchor; stopped, it stays.
    void locate(int64_t sample) noexcept;
    // Moves the location on by `samples` while playing; returns the new location.
    int64_t advance(int64_t samples) noexcept;

    // --- further values
    // Gives the host a meter of its own; false (nothing changed) unless both are > 0.
    bool setHostMeter(int32_t numerator, int32_t denominator) noexcept;
    void setLoop(bool looping, int64_t startTick, int64_t endTick) noexcept;
    void setSelectionStart(int64_t sample) noexcept;
    void setTimeCode(int32_t frameRate, int32_t offset) noexcept;
    void setFeetFrames(int32_t rate, int64_t offset) noexcept;
    void setMetronome(int32_t enabled) noexcept;
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
    // Every value the transport answers with.
    struct State
    {
        double sampleRate = 48000.0;
        tambrix::render::TransportAnchor anchor;
        int64_t location = 0;
        bool hostMeter = false;
        int32_t numerator = 4;
        int32_t denominator = 4;
        bool looping = false;
        int64_t loopStart = 0;
        int64_t loopEnd = 0;
        int64_t selectionStart = 0;
        int32_t frameRate = 0;
        int32_t timeCodeOffset = 0;
        int32_t feetFramesRate = 0;
        int64_t feetFramesOffset = 0;
        int32_t metronome = 0;
    };
    static constexpr std::size_t kWords = (sizeof(State) + 7) / 8;

    // The values as one snapshot.
    State read() const noexcept;
    // Changes the values under the writers' lock and publishes them as a whole.
    template <class Change>
    void update(Change&& change) noexcept;
    static int64_t ticksAt(const State& state, int64_t sample) noexcept;

    // When instrumented, records the call and answers a forced result, if any.
    Result finish(const char* operation, std::initializer_list<Value> args) const;
    // finish(), then kAaxErrorNullArgument when one of `required` is null.
    template <class... Required>
    Result begin(const char* operation, std::initializer_list<Value> args, const Required*... required) const;

    std::mutex writing_;                  // one writer at a time
    State written_;                       // the values as last written (under writing_)
    std::atomic<uint64_t> sequence_{0};   // odd while an update is being published
    std::atomic<uint64_t> words_[kWords]; // the published values
    std::atomic<bool> instrumented_{false};
};

} // namespace aaxhost
