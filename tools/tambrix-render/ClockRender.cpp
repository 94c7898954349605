#include "ClockRender.h"

namespace tambrix::render
{
namespace
{

// A JUCE play head that reports the simulated transport's position, as a host
// does: playing flag, tempo, position in quarter notes, and bar start 0.
class SimulatedPlayHead : public juce::AudioPlayHead
{
public:
    void setPosition(const TransportPosition& newPosition) { position = newPosition; }

    juce::Optional<PositionInfo> getPosition() const override
    {
        PositionInfo info;
        info.setIsPlaying(position.playing());
        info.setIsRecording(false);
        info.setBpm(position.bpm());
        info.setPpqPosition(position.ppqPosition);
        info.setPpqPositionOfLastBarStart(0.0);
        info.setTimeInSamples(position.sample);
        return info;
    }

private:
    TransportPosition position;
};

} // namespace

bool prepareClock(juce::AudioProcessor& processor, const RenderOptions& options, std::string& error)
{
    const int channels = options.channels;
    juce::AudioProcessor::BusesLayout layout;
    layout.inputBuses.add(juce::AudioChannelSet::canonicalChannelSet(channels));
    layout.outputBuses.add(juce::AudioChannelSet::canonicalChannelSet(channels));
    if (!processor.setBusesLayout(layout) || processor.getTotalNumOutputChannels() != channels)
    {
        error = "the processor does not accept " + std::to_string(channels) + " channels";
        return false;
    }
    return true;
}

bool playClock(juce::AudioProcessor& processor, const RenderOptions& options, const FrameSink& sink,
               RenderSummary& summary, std::string& error)
{
    const int channels = options.channels;

    processor.setRateAndBufferSizeDetails(options.rate, options.block);
    processor.prepareToPlay(options.rate, options.block);
    SimulatedPlayHead playHead;
    processor.setPlayHead(&playHead);

    juce::AudioBuffer<float> buffer(channels, options.block);
    juce::MidiBuffer midi;
    BlockProcessor player;
    player.channels = channels;
    player.setValue = [&processor](double value)
    {
        JUCE_BEGIN_IGNORE_WARNINGS_GCC_LIKE("-Wdeprecated-declarations")
        processor.setParameter(0, static_cast<float>(value));
        JUCE_END_IGNORE_WARNINGS_GCC_LIKE
    };
    player.runBlock = [&](const TransportPosition& position, int frames, std::string&)
    {
        playHead.setPosition(position);
        juce::AudioBuffer<float> view(buffer.getArrayOfWritePointers(), channels, frames);
        view.clear();
        midi.clear();
        const juce::ScopedLock lock(processor.getCallbackLock());
        processor.processBlock(view, midi);
        return buffer.getArrayOfReadPointers();
    };
    const bool ok = renderBlocks(player, options, sink, summary, error);

    processor.setPlayHead(nullptr);
    processor.releaseResources();
    return ok;
}

bool renderClock(juce::AudioProcessor& processor, const RenderOptions& options, const FrameSink& sink,
                 RenderSummary& summary, std::string& error)
{
    return prepareClock(processor, options, error) && playClock(processor, options, sink, summary, error);
}

} // namespace tambrix::render
