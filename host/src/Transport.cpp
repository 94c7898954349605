#include "aaxhost/Transport.h"

#include <cmath>
#include <cstring>
#include <limits>
#include <tuple>
#include <type_traits>

namespace aaxhost
{

static_assert(std::atomic<uint64_t>::is_always_lock_free, "transport values must be lock-free");

namespace
{

constexpr int64_t kTicksPerWhole = 4 * tambrix::render::hostTicksPerQuarterNote;

} // namespace

Transport::Transport(std::shared_ptr<CallRecorder> recorder, double sampleRate, std::string name)
    : HostObjectOf(std::move(name), std::move(recorder))
{
    static_assert(std::is_trivially_copyable_v<State>);
    update([sampleRate](State& s)
           { s.sampleRate = sampleRate > 0.0 && std::isfinite(sampleRate) ? sampleRate : 48000.0; });
}

Transport::State Transport::read() const noexcept
{
    uint64_t words[kWords];
    for (;;)
    {
        const uint64_t before = sequence_.load(std::memory_order_acquire);
        for (std::size_t i = 0; i < kWords; ++i)
            words[i] = words_[i].load(std::memory_order_relaxed);
        std::atomic_thread_fence(std::memory_order_acquire);
        if ((before & 1u) == 0 && sequence_.load(std::memory_order_relaxed) == before)
            break;
    }
    State state;
    std::memcpy(&state, words, sizeof state);
    return state;
}

template <class Change>
void Transport::update(Change&& change) noexcept
{
    const std::lock_guard<std::mutex> lock(writing_);
    change(written_);
    uint64_t words[kWords] = {};
    std::memcpy(words, &written_, sizeof written_);
    const uint64_t s = sequence_.load(std::memory_order_relaxed);
    sequence_.store(s + 1, std::memory_order_relaxed);
    std::atomic_thread_fence(std::memory_order_release);
    for (std::size_t i = 0; i < kWords; ++i)
        words_[i].store(words[i], std::memory_order_relaxed);
    sequence_.store(s + 2, std::memory_order_release);
}

void Transport::setPosition(const tambrix::render::TransportAnchor& anchor, int64_t location) noexcept
{
    update([&](State& s) { std::tie(s.anchor, s.location) = std::tie(anchor, location); });
}

tambrix::render::TransportAnchor Transport::anchor() const noexcept
{
    return read().anchor;
}

int64_t Transport::sampleLocation() const noexcept
{
    return read().location;
}

double Transport::sampleRate() const noexcept
{
    return read().sampleRate;
}

int64_t Transport::ticksAt(const State& state, int64_t sample) noexcept
{
    return tambrix::render::hostTicksAt(state.anchor, state.sampleRate, sample);
}

int64_t Transport::ticksAt(int64_t sample) const noexcept
{
    return ticksAt(read(), sample);
}

void Transport::setSampleRate(double rate)
{
    if (rate > 0.0 && std::isfinite(rate))
        update([rate](State& s) { s.sampleRate = rate; });
}

void Transport::setTempo(double bpm)
{
    if (bpm > 0.0 && std::isfinite(bpm))
        update([bpm](State& s) { s.anchor.bpm = bpm; });
}

void Transport::setPlaying(bool playing) noexcept
{
    // Stopping stays where the transport is; playing goes on from there.
    update(
        [playing](State& s)
        {
            s.anchor = {playing, s.anchor.bpm,
                        tambrix::render::positionAt(s.anchor, s.sampleRate, s.location), s.location};
        });
}

void Transport::locate(int64_t sample) noexcept
{
    update([sample](State& s) { s.location = sample; });
}

int64_t Transport::advance(int64_t samples) noexcept
{
    int64_t location = 0;
    update(
        [&](State& s)
        {
            if (s.anchor.playing) // wrapping around at the ends of the 64-bit range, as a counter does
                s.location =
                    static_cast<int64_t>(static_cast<uint64_t>(s.location) + static_cast<uint64_t>(samples));
            location = s.location;
        });
    return location;
}

bool Transport::setHostMeter(int32_t numerator, int32_t denominator) noexcept
{
    if (numerator <= 0 || denominator <= 0)
        return false;
    update([&](State& s)
           { std::tie(s.hostMeter, s.numerator, s.denominator) = std::tuple(true, numerator, denominator); });
    return true;
}

void Transport::setLoop(bool looping, int64_t startTick, int64_t endTick) noexcept
{
    update([&](State& s)
           { std::tie(s.looping, s.loopStart, s.loopEnd) = std::tie(looping, startTick, endTick); });
}

void Transport::setSelectionStart(int64_t sample) noexcept
{
    update([sample](State& s) { s.selectionStart = sample; });
}

void Transport::setTimeCode(int32_t frameRate, int32_t offset) noexcept
{
    update([&](State& s) { std::tie(s.frameRate, s.timeCodeOffset) = std::tie(frameRate, offset); });
}

void Transport::setFeetFrames(int32_t rate, int64_t offset) noexcept
{
    update([&](State& s) { std::tie(s.feetFramesRate, s.feetFramesOffset) = std::tie(rate, offset); });
}

void Transport::setMetronome(int32_t enabled) noexcept
{
    update([enabled](State& s) { s.metronome = enabled; });
}

Result Transport::finish(const char* operation, std::initializer_list<Value> args) const
{
    if (!instrumented_.load(std::memory_order_relaxed))
        return kResultOk;
    return reply(operation, kResultOk, std::vector<Value>(args));
}

template <class... Required>
Result Transport::begin(const char* operation, std::initializer_list<Value> args,
                        const Required*... required) const
{
    const Result forced = finish(operation, args);
    return forced != kResultOk ? forced : present(required...);
}

// Each operation: a forced result (instrumented only) answers before anything
// is written; a null output answers NullArgument and writes nothing; what is
// written comes from one snapshot.

Result Transport::GetCurrentTempo(double* bpm) noexcept
{
    return deliver(begin("GetCurrentTempo", {}, bpm), [&] { *bpm = read().anchor.bpm; });
}

Result Transport::GetCurrentMeter(int32_t* numerator, int32_t* denominator) noexcept
{
    return deliver(begin("GetCurrentMeter", {}, numerator, denominator),
                   [&]
                   {
                       const State s = read();
                       *numerator = s.numerator;
                       *denominator = s.denominator;
                   });
}

Result Transport::IsTransportPlaying(bool* playing) noexcept
{
    return deliver(begin("IsTransportPlaying", {}, playing), [&] { *playing = read().anchor.playing; });
}

Result Transport::GetCurrentTickPosition(int64_t* ticks) noexcept
{
    return deliver(begin("GetCurrentTickPosition", {}, ticks),
                   [&]
                   {
                       const State s = read();
                       *ticks = ticksAt(s, s.location);
                   });
}

Result Transport::GetCurrentLoopPosition(bool* looping, int64_t* startTick, int64_t* endTick) noexcept
{
    return deliver(begin("GetCurrentLoopPosition", {}, looping, startTick, endTick),
                   [&]
                   {
                       const State s = read();
                       *looping = s.looping;
                       *startTick = s.loopStart;
                       *endTick = s.loopEnd;
                   });
}

Result Transport::GetCurrentNativeSampleLocation(int64_t* sample) noexcept
{
    return deliver(begin("GetCurrentNativeSampleLocation", {}, sample), [&] { *sample = read().location; });
}

Result Transport::GetCustomTickPosition(int64_t* ticks, int64_t sample) noexcept
{
    return deliver(begin("GetCustomTickPosition", {sample}, ticks),
                   [&] { *ticks = ticksAt(read(), sample); });
}

Result Transport::GetBarBeatPosition(int32_t* bars, int32_t* beats, int64_t* displayTicks,
                                     int64_t sample) noexcept
{
    if (const Result r = begin("GetBarBeatPosition", {sample}); r != kResultOk)
        return r;
    const State s = read();
    if (!s.hostMeter)
        return kAaxErrorUnimplemented;
    if (bars == nullptr || beats == nullptr || displayTicks == nullptr)
        return hostresult::NullArgument;

    const int64_t beatLength = kTicksPerWhole / s.denominator;
    if (beatLength <= 0)
        return hostresult::InvalidArgument;
    const int64_t barLength = s.numerator * beatLength;
    const int64_t ticks = ticksAt(s, sample);
    // Whole bars below the position and the ticks into the bar, rounded toward
    // the past for positions before the start (no intermediate value overflows).
    int64_t bar = ticks / barLength;
    int64_t inBar = ticks % barLength;
    if (inBar < 0)
    {
        inBar += barLength;
        --bar;
    }
    if (bar < std::numeric_limits<int32_t>::min() || bar >= std::numeric_limits<int32_t>::max())
        return hostresult::InvalidArgument;
    const int64_t beat = inBar / beatLength;

    // Bars and beats count from 1; display ticks run from the start of the beat.
    *bars = static_cast<int32_t>(bar + 1);
    *beats = static_cast<int32_t>(beat + 1);
    *displayTicks = inBar - beat * beatLength;
    return kResultOk;
}

Result Transport::GetTicksPerQuarter(uint32_t* ticks) noexcept
{
    return deliver(begin("GetTicksPerQuarter", {}, ticks),
                   [&] { *ticks = static_cast<uint32_t>(tambrix::render::hostTicksPerQuarterNote); });
}

Result Transport::GetCurrentTicksPerBeat(uint32_t* ticks) noexcept
{
    return deliver(begin("GetCurrentTicksPerBeat", {}, ticks),
                   [&] { *ticks = static_cast<uint32_t>(kTicksPerWhole / read().denominator); });
}

Result Transport::GetTimelineSelectionStartPosition(int64_t* sample) noexcept
{
    return deliver(begin("GetTimelineSelectionStartPosition", {}, sample),
                   [&] { *sample = read().selectionStart; });
}

Result Transport::GetTimeCodeInfo(int32_t* frameRate, int32_t* offset) noexcept
{
    return deliver(begin("GetTimeCodeInfo", {}, frameRate, offset),
                   [&]
                   {
                       const State s = read();
                       *frameRate = s.frameRate;
                       *offset = s.timeCodeOffset;
                   });
}

Result Transport::GetFeetFramesInfo(int32_t* rate, int64_t* offset) noexcept
{
    return deliver(begin("GetFeetFramesInfo", {}, rate, offset),
                   [&]
                   {
                       const State s = read();
                       *rate = s.feetFramesRate;
                       *offset = s.feetFramesOffset;
                   });
}

Result Transport::IsMetronomeEnabled(int32_t* enabled) noexcept
{
    return deliver(begin("IsMetronomeEnabled", {}, enabled), [&] { *enabled = read().metronome; });
}

} // namespace aaxhost
