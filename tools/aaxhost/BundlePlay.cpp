#include "BundlePlay.h"

#include "aaxhost/Failure.h"
#include "aaxhost/ParameterFacts.h"

#include <algorithm>

namespace aaxhost::play
{
const float* const* runInstanceBlock(EffectInstance& instance,
                                     const tambrix::render::TransportPosition& position, int frames,
                                     std::vector<const float*>& outputs, std::string& error)
{
    if (!instance.runBlock(position.anchor, position.sample, frames))
        return Failure(&error, "the block of " + std::to_string(frames) + " samples was not processed");
    outputs.resize(static_cast<std::size_t>(instance.algorithm().layout().outputChannels));
    for (std::size_t ch = 0; ch < outputs.size(); ++ch)
        outputs[ch] = instance.algorithm().output(static_cast<int>(ch));
    return outputs.data();
}

std::unique_ptr<EffectInstance> makePlayInstance(PluginSession& session, const PlayOptions& options,
                                                 std::string* error)
{
    EffectInstance::Setup setup;
    setup.channels = options.render.channels;
    setup.sampleRate = options.render.rate;
    setup.maxBlock = std::max(1024, options.render.block);
    return EffectInstance::create(session, setup, error);
}

bool playThroughInstance(EffectInstance& instance, const PlayOptions& options,
                         const tambrix::render::FrameSink& sink, tambrix::render::RenderSummary& summary,
                         std::string& error)
{
    const int channels = options.render.channels;
    if (instance.algorithm().layout().outputChannels != channels)
        return Failure(&error, "the component has " +
                                   std::to_string(instance.algorithm().layout().outputChannels) +
                                   " output channels, not " + std::to_string(channels));
    std::string timeSignature;
    for (const ParameterFacts& p : readParameters(instance.effect()))
        if (timeSignature.empty() && p.idResult == kResultOk && p.name == "Time Signature")
            timeSignature = p.id;
    if (timeSignature.empty())
        return Failure(&error, "the plug-in has no parameter \"Time Signature\"");
    if (options.bypass)
    {
        HostString bypassId;
        instance.effect().GetMasterBypassParameter(&bypassId);
        if (bypassId.text().empty())
            return Failure(&error, "the plug-in has no master bypass parameter");
        instance.update(bypassId.text().c_str(), 1.0);
    }

    std::vector<const float*> outputs;
    tambrix::render::BlockProcessor player;
    player.channels = channels;
    player.setValue = [&](double value)
    {
        instance.update(timeSignature.c_str(), value);
    };
    player.runBlock =
        [&](const tambrix::render::TransportPosition& position, int frames, std::string& failure)
    {
        return runInstanceBlock(instance, position, frames, outputs, failure);
    };
    return tambrix::render::renderBlocks(player, options.render, sink, summary, error);
}

} // namespace aaxhost::play
