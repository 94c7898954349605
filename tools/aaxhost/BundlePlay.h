#pragma once

// The bundle's side of a render: the render core's options, timeline and block
// loop, played through the bundle's effect object and native process procedure as
// a host plays an effect (aaxhost render, and a script's blocks).

#include "tambrix/render/BlockLoop.h"

#include "aaxhost/EffectInstance.h"
#include "aaxhost/PluginSession.h"

#include <memory>
#include <string>
#include <vector>

namespace aaxhost::play
{

struct PlayOptions
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
std::unique_ptr<EffectInstance> makePlayInstance(PluginSession& session, const PlayOptions& options,
                                                 std::string* error);

// Plays the options' transport through `instance` and hands every block to `sink`.
bool playThroughInstance(EffectInstance& instance, const PlayOptions& options,
                         const tambrix::render::FrameSink& sink, tambrix::render::RenderSummary& summary,
                         std::string& error);

} // namespace aaxhost::play
