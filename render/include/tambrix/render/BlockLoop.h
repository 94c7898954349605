#pragma once

// The block loop every tool plays the processor with: block by block, the
// simulated transport's position and value changes go to the processor side,
// which runs one block; the first channel's pulses are counted and the frames,
// interleaved, go to a sink.

#include "tambrix/render/PulseCounter.h"
#include "tambrix/render/RenderOptions.h"
#include "tambrix/render/TransportSimulation.h"

#include <cstdint>
#include <functional>
#include <string>

namespace tambrix::render
{

// What a tool plays the transport through.
struct BlockProcessor
{
    int channels = 0;
    // The host sets the normalised "Time Signature" (called only for the options'
    // value or index and the timeline's value events).
    std::function<void(double value)> setValue;
    // Runs one block of `frames` frames with the host reporting `position`; returns
    // the output channels (each `frames` samples long), or null with `error` set.
    std::function<const float* const*(const TransportPosition& position, int frames, std::string& error)>
        runBlock;
};

// Receives `frames` interleaved frames; returns false to stop with an error.
using FrameSink = std::function<bool(const float* interleaved, int frames)>;

// What a render produced, as both render tools report it.
struct RenderSummary
{
    std::int64_t samples = 0;
    int channels = 0;
    int rate = 0;
    std::int64_t pulses = 0; // pulse onsets counted on the first channel
};

// Plays the samples from `first` up to `end` in blocks of `block` (the last one
// shorter). `sink` may be empty. False with `error` set when a block failed or the
// sink refused its frames.
bool playBlocks(const BlockProcessor& processor, TransportSimulation& transport, std::int64_t first,
                std::int64_t end, int block, PulseCounter& pulses, const FrameSink& sink, std::string& error);

// A whole render of `options`: the value or index first, then the transport and
// timeline from sample 0 for the options' length.
bool renderBlocks(const BlockProcessor& processor, const RenderOptions& options, const FrameSink& sink,
                  RenderSummary& summary, std::string& error);

} // namespace tambrix::render
