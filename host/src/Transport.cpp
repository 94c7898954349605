#include "aaxhost/Transport.h"

#include "tambrix/render/HostTicks.h"

#include <cmath>
#include <limits>

namespace aaxhost
{

static_assert(std::atomic<double>::is_always_lock_free, "transport values must be lock-free");
static_assert(std::atomic<int64_t>::is_always_lock_free, "transport values must be lock-free");
static_assert(std::atomic<uint64_t>::is_always_lock_free, "transport values must be lock-free");

namespace
{

constexpr int64_t kTicksPerWhole = 4 * tambrix::render::hostTicksPerQuarterNote;

} // namespace

void Transport::setSampleRate(double rate)
{
    if (rate > 0.0 && std::isfinite(rate))
        sampleRate_.store(rate);
}

void Transport::setTempo(double bpm)
{
    if (bpm > 0.0 && std::isfinite(bpm))
        tempo_.store(bpm);
}

int64_t Transport::advance(int64_t samples) noexcept
{
    if (!playing_.load())
        return sample_.load();
    return sample_.fetch_add(samples) + samples;
}

int64_t Transport::ticksAt(int64_t sample) const noexcept
{
    return tambrix::render::hostTicksAfter(0, static_cast<long double>(sample), tempo_.load(),
                                           sampleRate_.load());
}

bool Transport::setHostMeter(int32_t numerator, int32_t denominator) noexcept
{
    if (numerator <= 0 || denominator <= 0)
        return false;
    meter_.store((static_cast<uint64_t>(static_cast<uint32_t>(numerator)) << 32) |
                 static_cast<uint32_t>(denominator));
    hostMeter_.store(true);
    return true;
}

void Transport::setLoop(bool looping, int64_t startTick, int64_t endTick) noexcept
{
    loopStart_.store(startTick);
    loopEnd_.store(endTick);
    looping_.store(looping);
}

void Transport::setTimeCode(int32_t frameRate, int32_t offset) noexcept
{
    frameRate_.store(frameRate);
    timeCodeOffset_.store(offset);
}

void Transport::setFeetFrames(int32_t rate, int64_t offset) noexcept
{
    feetFramesRate_.store(rate);
    feetFramesOffset_.store(offset);
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
// is written; a null output answers NullArgument and writes nothing.

Result Transport::GetCurrentTempo(double* bpm) noexcept
{
    return deliver(begin("GetCurrentTempo", {}, bpm), [&] { *bpm = tempo_.load(); });
}

Result Transport::GetCurrentMeter(int32_t* numerator, int32_t* denominator) noexcept
{
    return deliver(begin("GetCurrentMeter", {}, numerator, denominator),
                   [&]
                   {
                       const uint64_t meter = meter_.load();
                       *numerator = static_cast<int32_t>(meter >> 32);
                       *denominator = static_cast<int32_t>(meter & 0xFFFFFFFFu);
                   });
}

Result Transport::IsTransportPlaying(bool* playing) noexcept
{
    return deliver(begin("IsTransportPlaying", {}, playing), [&] { *playing = playing_.load(); });
}

Result Transport::GetCurrentTickPosition(int64_t* ticks) noexcept
{
    return deliver(begin("GetCurrentTickPosition", {}, ticks), [&] { *ticks = ticksAt(sample_.load()); });
}

Result Transport::GetCurrentLoopPosition(bool* looping, int64_t* startTick, int64_t* endTick) noexcept
{
    return deliver(begin("GetCurrentLoopPosition", {}, looping, startTick, endTick),
                   [&]
                   {
                       *looping = looping_.load();
                       *startTick = loopStart_.load();
                       *endTick = loopEnd_.load();
                   });
}

Result Transport::GetCurrentNativeSampleLocation(int64_t* sample) noexcept
{
    return deliver(begin("GetCurrentNativeSampleLocation", {}, sample), [&] { *sample = sample_.load(); });
}

Result Transport::GetCustomTickPosition(int64_t* ticks, int64_t sample) noexcept
{
    return deliver(begin("GetCustomTickPosition", {sample}, ticks), [&] { *ticks = ticksAt(sample); });
}

Result Transport::GetBarBeatPosition(int32_t* bars, int32_t* beats, int64_t* displayTicks,
                                     int64_t sample) noexcept
{
    if (const Result r = begin("GetBarBeatPosition", {sample}); r != kResultOk)
        return r;
    if (!hostMeter_.load())
        return kAaxErrorUnimplemented;
    if (bars == nullptr || beats == nullptr || displayTicks == nullptr)
        return hostresult::NullArgument;

    const uint64_t meter = meter_.load();
    const int64_t numerator = static_cast<int64_t>(meter >> 32);
    const int64_t beatLength = kTicksPerWhole / static_cast<int64_t>(meter & 0xFFFFFFFFu);
    if (beatLength <= 0)
        return hostresult::InvalidArgument;
    const int64_t barLength = numerator * beatLength;
    const int64_t ticks = ticksAt(sample);
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
                   [&]
                   {
                       const uint32_t denominator = static_cast<uint32_t>(meter_.load() & 0xFFFFFFFFu);
                       *ticks = static_cast<uint32_t>(kTicksPerWhole / denominator);
                   });
}

Result Transport::GetTimelineSelectionStartPosition(int64_t* sample) noexcept
{
    return deliver(begin("GetTimelineSelectionStartPosition", {}, sample),
                   [&] { *sample = selectionStart_.load(); });
}

Result Transport::GetTimeCodeInfo(int32_t* frameRate, int32_t* offset) noexcept
{
    return deliver(begin("GetTimeCodeInfo", {}, frameRate, offset),
                   [&]
                   {
                       *frameRate = frameRate_.load();
                       *offset = timeCodeOffset_.load();
                   });
}

Result Transport::GetFeetFramesInfo(int32_t* rate, int64_t* offset) noexcept
{
    return deliver(begin("GetFeetFramesInfo", {}, rate, offset),
                   [&]
                   {
                       *rate = feetFramesRate_.load();
                       *offset = feetFramesOffset_.load();
                   });
}

Result Transport::IsMetronomeEnabled(int32_t* enabled) noexcept
{
    return deliver(begin("IsMetronomeEnabled", {}, enabled), [&] { *enabled = metronome_.load(); });
}

} // namespace aaxhost
