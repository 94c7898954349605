#include "ClockRender.h"

#include "PulseCounter.h"
#include "SimulatedPlayHead.h"
#include "Transport.h"

#include <vector>

namespace tambrix::render
{

float valueForIndexOption(std::uint32_t index)
{
    return static_cast<float>(index) / 30.0f;
}

bool renderClock(juce::AudioProcessor& processor, const RenderOptions& options, const FrameSink& sink,
                 RenderSummary& summary, std::string& error)
{
    const int channels = options.channels;
    const int block = options.block;
    const std::int64_t total = options.totalSamples();

    juce::AudioProcessor::BusesLayout layout;
    layout.inputBuses.add(juce::AudioChannelSet::canonicalChannelSet(channels));
    layout.outputBuses.add(juce::AudioChannelSet::canonicalChannelSet(channels));
    if (!processor.setBusesLayout(layout) || processor.getTotalNumOutputChannels() != channels)
    {
        error = "the processor does not accept " + std::to_string(channels) + " channels";
        return false;
    }

    processor.setRateAndBufferSizeDetails(options.rate, block);
    processor.prepareToPlay(options.rate, block);

    SimulatedPlayHead playHead;
    processor.setPlayHead(&playHead);

    // Parameter changes use the framework's index-based parameter call, as a host's
    // wrapper does.
    const auto setValue = [&processor](float value)
    {
        JUCE_BEGIN_IGNORE_WARNINGS_GCC_LIKE("-Wdeprecated-declarations")
        processor.setParameter(0, value);
        JUCE_END_IGNORE_WARNINGS_GCC_LIKE
    };
    if (options.value)
        setValue(static_cast<float>(*options.value));
    else if (options.index)
        setValue(valueForIndexOption(*options.index));

    TransportSimulation transport(options);
    juce::AudioBuffer<float> buffer(channels, block);
    juce::MidiBuffer midi;
    std::vector<float> interleaved(static_cast<std::size_t>(block) * static_cast<std::size_t>(channels));
    std::vector<double> values;
    PulseCounter counter;

    bool ok = true;
    for (std::int64_t start = 0; start < total && ok; start += block)
    {
        const int frames = static_cast<int>(std::min<std::int64_t>(block, total - start));
        values.clear();
        playHead.setPosition(transport.beginBlock(start, values));
        for (const double v : values)
            setValue(static_cast<float>(v));

        juce::AudioBuffer<float> view(buffer.getArrayOfWritePointers(), channels, frames);
        view.clear();
        midi.clear();
        {
            juce::ScopedLock lock(processor.getCallbackLock());
            processor.processBlock(view, midi);
        }

        for (int ch = 0; ch < channels; ++ch)
        {
            const float* src = view.getReadPointer(ch);
            for (int i = 0; i < frames; ++i)
                interleaved[static_cast<std::size_t>(i) * static_cast<std::size_t>(channels) +
                            static_cast<std::size_t>(ch)] = src[i];
        }
        counter.add(view.getReadPointer(0), frames);
        if (!sink(interleaved.data(), frames))
        {
            error = "cannot write the rendered signal";
            ok = false;
        }
    }

    processor.setPlayHead(nullptr);
    processor.releaseResources();

    summary.samples = total;
    summary.channels = channels;
    summary.rate = options.rate;
    summary.pulses = counter.count();
    return ok;
}

} // namespace tambrix::render
