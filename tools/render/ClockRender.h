#pragma once

// Drives a processor through a simulated host transport: prepares it with the
// options' rate and block size, reports the transport's position to it before
// every block, applies the timeline's parameter values, and hands every rendered
// block to a sink as interleaved frames.

#include "RenderOptions.h"
#include "RenderSummary.h"

#include <juce_audio_processors/juce_audio_processors.h>

#include <cstdint>
#include <functional>
#include <string>

namespace tambrix::render
{

// Receives `frames` interleaved frames; returns false to stop with an error.
using FrameSink = std::function<bool(const float* interleaved, int frames)>;

// Returns false with `error` set if the processor rejects the channel layout or
// the sink fails.
bool renderClock(juce::AudioProcessor& processor, const RenderOptions& options, const FrameSink& sink,
                 RenderSummary& summary, std::string& error);

// The normalised value that --index N sends: N / 30 in single precision.
float valueForIndexOption(std::uint32_t index);

} // namespace tambrix::render
