#pragma once

// The plug-in's audio processor: renders a clock signal of 24 pulses per quarter
// note from the host's play head, locked to the bars of its one parameter,
// "Time Signature" (index k: a bar of k + 2 eighth notes).

#include <juce_audio_processors/juce_audio_processors.h>

#include <atomic>
#include <cstdint>
#include <memory>

class MetronaAudioProcessor : public juce::AudioProcessor
{
public:
    MetronaAudioProcessor();
    ~MetronaAudioProcessor() override;

    const juce::String getName() const override;
    juce::StringArray getAlternateDisplayNames() const override;

    void prepareToPlay(double newSampleRate, int maximumBlockSize) override;
    void releaseResources() override;
    void processBlock(juce::AudioBuffer<float>& buffer, juce::MidiBuffer& midiMessages) override;
    using juce::AudioProcessor::processBlock;
    // The framework's bypassed audio, and no MIDI, as in processBlock.
    void processBlockBypassed(juce::AudioBuffer<float>& buffer, juce::MidiBuffer& midiMessages) override;
    using juce::AudioProcessor::processBlockBypassed;

    double getTailLengthSeconds() const override;
    bool acceptsMidi() const override;
    bool producesMidi() const override;

    juce::AudioProcessorEditor* createEditor() override;
    bool hasEditor() const override;

    // The one parameter, through the framework's index-based parameter operations.
    int getNumParameters() override;
    const juce::String getParameterName(int parameterIndex) override;
    float getParameter(int parameterIndex) override;
    const juce::String getParameterText(int parameterIndex) override;
    void setParameter(int parameterIndex, float newValue) override;

    int getNumPrograms() override;
    int getCurrentProgram() override;
    void setCurrentProgram(int index) override;
    const juce::String getProgramName(int index) override;
    void changeProgramName(int index, const juce::String& newName) override;

    // State: 2 bytes, the time-signature index (low 8 bits) in byte 0.
    void getStateInformation(juce::MemoryBlock& destData) override;
    void setStateInformation(const void* data, int sizeInBytes) override;

    const juce::String getInputChannelName(int channelIndex) const override;
    const juce::String getOutputChannelName(int channelIndex) const override;
    bool isInputChannelStereoPair(int index) const override;
    bool isOutputChannelStereoPair(int index) const override;
    bool silenceInProducesSilenceOut() const override;

    // The plug-in's version text, "1.0.7".
    static juce::String getVersionString();

    // Index <-> normalised value of "Time Signature" (value = index / 30).
    static std::uint32_t indexForValue(float normalisedValue) noexcept;
    static float valueForIndex(std::uint32_t index) noexcept;

    static constexpr std::uint32_t defaultTimeSignatureIndex = 6;
    static constexpr int pulseLength = 97;

    // Shared with the editor: the time-signature index (written by atomic exchange,
    // read with a plain load) and the flag raised after every change of it.
    std::atomic<std::uint32_t> timeSignatureIndex{defaultTimeSignatureIndex};
    std::atomic<bool> parameterChanged{false};

private:
    struct PlayingRun;

    void renderStopped(float* out, int numSamples, int firstSampleOfBlock) noexcept;
    void renderPlaying(float* out, int numSamples, PlayingRun& run) noexcept;

    double sampleRate = 1.0;
    std::unique_ptr<float[]> renderBuffer;
    int renderBufferSize = 0;
    double continuedPosition = 0.0;
    double lastHostPosition;
    bool clockStarted = false;
    bool inPulse = false;
    bool doubleRate = false;
    std::int32_t pulseSampleIndex = 0;

    // Used for rendering only while no render buffer has been prepared.
    static constexpr int fallbackBufferSize = 64;
    float fallbackBuffer[fallbackBufferSize] = {};

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(MetronaAudioProcessor)
};
