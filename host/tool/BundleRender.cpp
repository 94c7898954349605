#include "BundleRender.h"

#include "PulseCounter.h"
#include "Transport.h"

#include <algorithm>
#include <vector>

namespace aaxhost::render
{

std::string parameterIdByName(IEffectParameters& effect, const std::string& name)
{
    int32_t count = 0;
    if (effect.GetNumberOfParameters(&count) != kResultOk)
        return {};
    for (int32_t i = 0; i < count; ++i)
    {
        HostString id;
        if (effect.GetParameterIDFromIndex(i, &id) != kResultOk)
            continue;
        HostString parameterName;
        if (effect.GetParameterName(id.text().c_str(), &parameterName) == kResultOk &&
            parameterName.text() == name)
            return id.text();
    }
    return {};
}

double valueForIndex(std::uint32_t index)
{
    return static_cast<double>(static_cast<float>(index) / 30.0f);
}

std::unique_ptr<EffectInstance> makeRenderInstance(PluginSession& session, const BundleRenderOptions& options,
                                                   std::string* error)
{
    EffectInstance::Setup setup;
    setup.channels = options.render.channels;
    setup.sampleRate = options.render.rate;
    setup.maxBlock = std::max(1024, options.render.block);
    return EffectInstance::create(session, setup, error);
}

bool renderThroughInstance(EffectInstance& instance, const BundleRenderOptions& options,
                           const FrameSink& sink, BundleRenderSummary& summary, std::string& error)
{
    using tambrix::render::TransportSimulation;
    const tambrix::render::RenderOptions& o = options.render;
    const int channels = o.channels;
    const int block = o.block;
    const std::int64_t total = o.totalSamples();

    if (instance.algorithm().layout().outputChannels != channels)
    {
        error = "the component has " + std::to_string(instance.algorithm().layout().outputChannels) +
                " output channels, not " + std::to_string(channels);
        return false;
    }
    const std::string timeSignature = parameterIdByName(instance.effect(), "Time Signature");
    if (timeSignature.empty())
    {
        error = "the plug-in has no parameter \"Time Signature\"";
        return false;
    }
    const auto setValue = [&](double value)
    {
        instance.update(timeSignature.c_str(), value);
    };

    if (options.bypass)
    {
        HostString bypassId;
        instance.effect().GetMasterBypassParameter(&bypassId);
        if (bypassId.text().empty())
        {
            error = "the plug-in has no master bypass parameter";
            return false;
        }
        instance.update(bypassId.text().c_str(), 1.0);
    }
    if (o.value)
        setValue(*o.value);
    else if (o.index)
        setValue(valueForIndex(*o.index));

    TransportSimulation transport(o);
    std::vector<float> interleaved(static_cast<std::size_t>(block) * static_cast<std::size_t>(channels));
    std::vector<double> values;
    tambrix::render::PulseCounter counter;
    bool ok = true;
    for (std::int64_t start = 0; start < total && ok; start += block)
    {
        const int frames = static_cast<int>(std::min<std::int64_t>(block, total - start));
        values.clear();
        const tambrix::render::TransportPosition p = transport.beginBlock(start, values);
        for (const double v : values)
            setValue(v);

        TimelineTransport::Position position;
        position.playing = p.playing;
        position.bpm = p.bpm;
        position.ticks = p.hostTicks;
        position.sample = p.sample;
        if (!instance.runBlock(position, frames))
        {
            error = "the block of " + std::to_string(frames) + " samples was not processed";
            return false;
        }

        const AlgorithmInstance& algorithm = instance.algorithm();
        for (int ch = 0; ch < channels; ++ch)
        {
            const float* src = algorithm.output(ch);
            for (int i = 0; i < frames; ++i)
                interleaved[static_cast<std::size_t>(i) * static_cast<std::size_t>(channels) +
                            static_cast<std::size_t>(ch)] = src[i];
        }
        counter.add(algorithm.output(0), frames);
        if (!sink(interleaved.data(), frames))
        {
            error = "cannot write the rendered signal";
            ok = false;
        }
    }

    summary.samples = total;
    summary.channels = channels;
    summary.rate = o.rate;
    summary.pulses = counter.count();
    return ok;
}

} // namespace aaxhost::render
