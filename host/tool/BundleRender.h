#pragma once

// Renders the clock through a plug-in bundle as a host plays an effect: the same
// options, timeline and output as tambrix-render (RenderOptions), driven through
// the bundle's effect object and native process procedure.

#include "RenderOptions.h"
#include "RenderSummary.h"

#include "aaxhost/EffectInstance.h"
#include "aaxhost/PluginSession.h"

#include <cstdint>
#include <functional>
#include <string>

namespace aaxhost::render
{

struct BundleRenderOptions
{
    tambrix::render::RenderOptions render;
    bool bypass = false; // the master bypass on from the first block
};

using BundleRenderSummary = tambrix::render::RenderSummary;

// Receives `frames` interleaved frames; returns false to stop with an error.
using FrameSink = std::function<bool(const float* interleaved, int frames)>;

// The host identifier of the parameter called `name`, or empty.
std::string parameterIdByName(IEffectParameters& effect, const std::string& name);

// The normalised value --index N sends: N / 30 in single precision.
double valueForIndex(std::uint32_t index);

// Creates an effect instance for the options' rate and channels; null with *error.
std::unique_ptr<EffectInstance> makeRenderInstance(PluginSession& session, const BundleRenderOptions& options,
                                                   std::string* error);

// Plays the options' transport through `instance` and hands every block to `sink`.
bool renderThroughInstance(EffectInstance& instance, const BundleRenderOptions& options,
                           const FrameSink& sink, BundleRenderSummary& summary, std::string& error);

} // namespace aaxhost::render
