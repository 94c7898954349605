#include "tambrix/render/BlockLoop.h"

#include <algorithm>
#include <vector>

namespace tambrix::render
{

bool playBlocks(const BlockProcessor& processor, TransportSimulation& transport, std::int64_t first,
                std::int64_t end, int block, PulseCounter& pulses, const FrameSink& sink, std::string& error)
{
    const auto channels = static_cast<std::size_t>(processor.channels);
    std::vector<float> interleaved(sink ? static_cast<std::size_t>(block) * channels : 0);
    std::vector<double> values;
    for (std::int64_t start = first; start < end; start += block)
    {
        const int frames = static_cast<int>(std::min<std::int64_t>(block, end - start));
        values.clear();
        const TransportPosition position = transport.beginBlock(start, values);
        for (const double value : values)
            processor.setValue(value);

        const float* const* outputs = processor.runBlock(position, frames, error);
        if (outputs == nullptr)
            return false;
        pulses.add(outputs[0], frames);
        if (!sink)
            continue;
        for (std::size_t ch = 0; ch < channels; ++ch)
            for (std::size_t i = 0; i < static_cast<std::size_t>(frames); ++i)
                interleaved[i * channels + ch] = outputs[ch][i];
        if (!sink(interleaved.data(), frames))
        {
            error = "cannot write the rendered signal";
            return false;
        }
    }
    return true;
}

bool renderBlocks(const BlockProcessor& processor, const RenderOptions& options, const FrameSink& sink,
                  RenderSummary& summary, std::string& error)
{
    if (options.value)
        processor.setValue(*options.value);
    else if (options.index)
        processor.setValue(valueForIndex(*options.index));

    TransportSimulation transport(options);
    PulseCounter pulses;
    const bool ok =
        playBlocks(processor, transport, 0, options.totalSamples(), options.block, pulses, sink, error);
    summary.samples = options.totalSamples();
    summary.channels = options.channels;
    summary.rate = options.rate;
    summary.pulses = pulses.count();
    return ok;
}

} // namespace tambrix::render
