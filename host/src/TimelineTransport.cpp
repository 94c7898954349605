#include "aaxhost/TimelineTransport.h"

#include "tambrix/render/HostTicks.h"

#include <cmath>

namespace aaxhost
{

TimelineTransport::TimelineTransport(std::shared_ptr<CallRecorder> recorder, double sampleRate,
                                     std::string name)
    : HostObjectOf(std::move(name), std::move(recorder)),
      sampleRate_(sampleRate > 0.0 && std::isfinite(sampleRate) ? sampleRate : 48000.0)
{
}

void TimelineTransport::setPosition(const Position& position) noexcept
{
    // One writer (the host's block loop); readers retry while the count is odd or moved.
    const uint64_t s = sequence_.load(std::memory_order_relaxed);
    sequence_.store(s + 1, std::memory_order_relaxed);
    std::atomic_thread_fence(std::memory_order_release);
    playing_.store(position.playing, std::memory_order_relaxed);
    bpm_.store(position.bpm, std::memory_order_relaxed);
    ticks_.store(position.ticks, std::memory_order_relaxed);
    sample_.store(position.sample, std::memory_order_relaxed);
    sequence_.store(s + 2, std::memory_order_release);
}

TimelineTransport::Position TimelineTransport::position() const noexcept
{
    Position p;
    for (;;)
    {
        const uint64_t before = sequence_.load(std::memory_order_acquire);
        p.playing = playing_.load(std::memory_order_relaxed);
        p.bpm = bpm_.load(std::memory_order_relaxed);
        p.ticks = ticks_.load(std::memory_order_relaxed);
        p.sample = sample_.load(std::memory_order_relaxed);
        std::atomic_thread_fence(std::memory_order_acquire);
        if ((before & 1u) == 0 && sequence_.load(std::memory_order_relaxed) == before)
            return p;
    }
}

int64_t TimelineTransport::ticksFrom(const Position& p, double rate, int64_t sample) noexcept
{
    if (!p.playing || sample == p.sample)
        return p.ticks;
    // A plug-in may ask about any sample: the distance between two far-apart 64-bit
    // locations is taken in long double.
    return tambrix::render::hostTicksAfter(
        p.ticks, static_cast<long double>(sample) - static_cast<long double>(p.sample), p.bpm, rate);
}

int64_t TimelineTransport::ticksAt(int64_t sample) const noexcept
{
    return ticksFrom(position(), sampleRate_, sample);
}

Result TimelineTransport::GetCurrentTempo(double* bpm) noexcept
{
    return deliver(present(bpm), [&] { *bpm = position().bpm; });
}

Result TimelineTransport::GetCurrentMeter(int32_t* numerator, int32_t* denominator) noexcept
{
    return deliver(present(numerator, denominator),
                   [&]
                   {
                       *numerator = 4;
                       *denominator = 4;
                   });
}

Result TimelineTransport::IsTransportPlaying(bool* playing) noexcept
{
    return deliver(present(playing), [&] { *playing = position().playing; });
}

Result TimelineTransport::GetCurrentTickPosition(int64_t* ticks) noexcept
{
    return deliver(present(ticks), [&] { *ticks = position().ticks; });
}

Result TimelineTransport::GetCurrentLoopPosition(bool* looping, int64_t* startTick, int64_t* endTick) noexcept
{
    return deliver(present(looping, startTick, endTick),
                   [&]
                   {
                       *looping = false;
                       *startTick = 0;
                       *endTick = 0;
                   });
}

Result TimelineTransport::GetCurrentNativeSampleLocation(int64_t* sample) noexcept
{
    return deliver(present(sample), [&] { *sample = position().sample; });
}

Result TimelineTransport::GetCustomTickPosition(int64_t* ticks, int64_t sample) noexcept
{
    return deliver(present(ticks), [&] { *ticks = ticksAt(sample); });
}

Result TimelineTransport::GetBarBeatPosition(int32_t*, int32_t*, int64_t*, int64_t) noexcept
{
    return kAaxErrorUnimplemented;
}

Result TimelineTransport::GetTicksPerQuarter(uint32_t* ticks) noexcept
{
    return deliver(present(ticks),
                   [&] { *ticks = static_cast<uint32_t>(tambrix::render::hostTicksPerQuarterNote); });
}

Result TimelineTransport::GetCurrentTicksPerBeat(uint32_t* ticks) noexcept
{
    return GetTicksPerQuarter(ticks);
}

Result TimelineTransport::GetTimelineSelectionStartPosition(int64_t* sample) noexcept
{
    return GetCurrentNativeSampleLocation(sample);
}

Result TimelineTransport::GetTimeCodeInfo(int32_t* frameRate, int32_t* offset) noexcept
{
    return deliver(present(frameRate, offset),
                   [&]
                   {
                       *frameRate = 0;
                       *offset = 0;
                   });
}

Result TimelineTransport::GetFeetFramesInfo(int32_t* rate, int64_t* offset) noexcept
{
    return deliver(present(rate, offset),
                   [&]
                   {
                       *rate = 0;
                       *offset = 0;
                   });
}

Result TimelineTransport::IsMetronomeEnabled(int32_t* enabled) noexcept
{
    return deliver(present(enabled), [&] { *enabled = 0; });
}

} // namespace aaxhost
