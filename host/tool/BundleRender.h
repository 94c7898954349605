#pragma once

// Renders the clock through a plug-in bundle as a host plays an effect: the same
// options, timeline, block loop and output as tambrix-render (the render core),
// driven through the bundle's effect object and native process procedure.

#include "tambrix/render/BlockLoop.h"

#include "aaxhost/EffectInstance.h"
#include "aaxhost/PluginSession.h"

#include <memory>
#include <string>
#include <vector>

namespace aaxhost::render
{

struct BundleRenderOptions
{
    tambrix::render::RenderOptions render;
    bool bypass = false; // the master bypass on from the first block
};

// One audio cycle of the instance at `position`: its output channels (kept in
// `outputs`), or null with `error` set when the block was not processed.
const float* const* runInstanceBlock(EffectInstance& instance,
                                     const tambrix::render::TransportPosition& position, int frames,
                                     std::vector<const float*>& outputs, std::string& error);

// Creates an effect instance for the options' rate and channels; null with *error.
std::unique_ptr<EffectInstance> makeRenderInstance(PluginSession& session, const BundleRenderOptions& options,
                                                   std::string* error);

// Plays the options' transport through `instance` and hands every block to `sink`.
bool renderThroughInstance(EffectInstance& instance, const BundleRenderOptions& options,
                           const tambrix::render::FrameSink& sink, tambrix::render::RenderSummary& summary,
                           std::string& error);

} // namespace aaxhost::render
