#pragma once

// Drives a processor through a simulated host transport: prepares it with the
// options' rate and block size, reports the transport's position to it before
// every block, applies the timeline's parameter values, and hands every rendered
// block to a sink as interleaved frames.

#include "RenderOptions.h"

#include <juce_audio_processors/juce_audio_processors.h>

#include <cstdint>
#include <functional>
#include <string>

namespace tambrix::render
{

struct RenderSummary
{
    std::int64_t samples = 0;
    int channels = 0;
    int rate = 0;
    std::int64_t pulses = 0; // pulse onsets counted on the first channel
};

// Receives `frames` interleaved frames; returns false to stop with an error.
using FrameSink = std::function<bool(const float* interleaved, int frames)>;

// Returns false with `error` set if the processor rejects the channel layout or
// the sink fails.
bool renderClock(juce::AudioProcessor& processor, const RenderOptions& options, const FrameSink& sink,
                 RenderSummary& summary, std::string& error);

// The normalised value that --index N sends: N / 30 in single precision.
float valueForIndexOption(std::uint32_t index);

std::string summaryJson(const RenderSummary& summary, const std::string& out);

} // namespace tambrix::render
