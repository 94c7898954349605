#pragma once

// Helpers for driving the processor as a host would: runs of blocks with the
// position advancing per block.

#include "MetronaAudioProcessor.h"
#include "manual_play_head.h"

#include <cmath>
#include <cstdint>
#include <memory>
#include <vector>

namespace tambrix::test
{

inline constexpr float idle = 9.999999747378752e-05f;

// A processor with `channels` inputs and outputs, prepared for `rate` and `maxBlock`.
inline std::unique_ptr<MetronaAudioProcessor> makeProcessor(double rate, int maxBlock, int channels = 2,
                                                            bool prepare = true)
{
    auto processor = std::make_unique<MetronaAudioProcessor>();
    juce::AudioProcessor::BusesLayout layout;
    layout.inputBuses.add(juce::AudioChannelSet::canonicalChannelSet(channels));
    layout.outputBuses.add(juce::AudioChannelSet::canonicalChannelSet(channels));
    processor->setBusesLayout(layout);
    processor->setRateAndBufferSizeDetails(rate, maxBlock);
    if (prepare)
        processor->prepareToPlay(rate, maxBlock);
    return processor;
}

// Renders one block and returns its channels.
inline std::vector<std::vector<float>> renderBlock(MetronaAudioProcessor& processor, int numSamples,
                                                   int channels = 2)
{
    juce::AudioBuffer<float> buffer(channels, numSamples);
    for (int ch = 0; ch < channels; ++ch)
        for (int i = 0; i < numSamples; ++i)
            buffer.setSample(ch, i, 0.25f); // input audio, to be discarded
    juce::MidiBuffer midi;
    processor.processBlock(buffer, midi);
    std::vector<std::vector<float>> out(static_cast<size_t>(channels));
    for (int ch = 0; ch < channels; ++ch)
        out[static_cast<size_t>(ch)].assign(buffer.getReadPointer(ch),
                                            buffer.getReadPointer(ch) + numSamples);
    return out;
}

// Plays `total` samples from quarter note `startPpq` at `bpm` in blocks of
// `blockSize`, the host reporting the exact position at every block start, and
// returns the first channel.
inline std::vector<float> playRun(MetronaAudioProcessor& processor, ManualPlayHead& head, double startPpq,
                                  double bpm, double rate, int total, int blockSize)
{
    processor.setPlayHead(&head);
    head.playing = true;
    head.bpm = bpm;
    std::vector<float> signal;
    signal.reserve(static_cast<size_t>(total));
    for (int start = 0; start < total; start += blockSize)
    {
        const int n = std::min(blockSize, total - start);
        head.ppq = startPpq + start * bpm / (60.0 * rate);
        const auto block = renderBlock(processor, n);
        signal.insert(signal.end(), block[0].begin(), block[0].end());
    }
    return signal;
}

// Sample indexes where a pulse begins (the first entry of the pulse shape).
inline std::vector<std::int64_t> onsetsOf(const std::vector<float>& signal)
{
    std::vector<std::int64_t> onsets;
    for (size_t i = 0; i < signal.size(); ++i)
        if (signal[i] > 0.5f && (i == 0 || signal[i - 1] < 0.5f))
            onsets.push_back(static_cast<std::int64_t>(i));
    return onsets;
}

} // namespace tambrix::test
