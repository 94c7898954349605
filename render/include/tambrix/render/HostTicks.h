#pragma once

// Where a host's transport is, and how the host counts it: in whole ticks of
// 1/960000 quarter note, the nearest to the position (halves away from zero),
// saturating at the int64 range (NaN gives the lowest value). The render core's
// simulated transport and the host stand-in's transport both report by this one
// function, from the same anchor.

#include <cstdint>

namespace tambrix::render
{

inline constexpr std::int64_t hostTicksPerQuarterNote = 960000;

// Where a transport plays from: at quarter note `ppq` at sample location
// `sample`, moving on from there at `bpm` while `playing`; stopped, it stays at
// `ppq`.
struct TransportAnchor
{
    bool playing = false;
    double bpm = 120.0;
    double ppq = 0.0;
    std::int64_t sample = 0;
};

// The position in quarter notes at sample location `sample` (of `sampleRate`).
double positionAt(const TransportAnchor& anchor, double sampleRate, std::int64_t sample) noexcept;

// The same position in whole host ticks.
std::int64_t hostTicksAt(const TransportAnchor& anchor, double sampleRate, std::int64_t sample) noexcept;

// Whole host ticks nearest to a position in quarter notes.
std::int64_t ppqToHostTicks(double ppq) noexcept;

} // namespace tambrix::render
