#pragma once

// How a host counts its position: in whole ticks of 1/960000 quarter note, the
// nearest to where it is (halves away from zero), saturating at the int64 range
// (NaN gives the lowest value). The render core's simulated transport and the
// host stand-in's transports all count by this one rule.

#include <cstdint>

namespace tambrix::render
{

inline constexpr std::int64_t hostTicksPerQuarterNote = 960000;

// Whole host ticks nearest to a position in quarter notes.
std::int64_t ppqToHostTicks(double ppq) noexcept;

// Whole host ticks at `samples` samples (of `sampleRate`) after a position of
// `ticks`, moving on at `bpm`.
std::int64_t hostTicksAfter(std::int64_t ticks, long double samples, double bpm, double sampleRate) noexcept;

} // namespace tambrix::render
