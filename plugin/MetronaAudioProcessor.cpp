#include "MetronaAudioProcessor.h"

#include "MetronaEditor.h"

#include <cfloat>
#include <cmath>
#include <limits>

namespace
{
// A pulse starts on every wrap of the phase grid: 1/24 quarter note (1/48 while
// catching up after a start at tick 6), each rounded to single precision. Ticks,
// on the other hand, are counted with the exact factor 24.
constexpr double singleRatePeriod = static_cast<double>(1.0f / 24.0f);
constexpr double doubleRatePeriod = static_cast<double>(1.0f / 48.0f);
constexpr double ticksPerQuarterNote = 24.0;
constexpr double pulseGain = static_cast<double>(0.95f);
constexpr float idleLevel = 0.0001f;
constexpr double onsetWindowSamples = 20.0;
constexpr double noPosition = std::numeric_limits<double>::lowest();

static_assert(singleRatePeriod == 0.0416666679084301);
static_assert(doubleRatePeriod == 0.02083333395421505);
static_assert(pulseGain == 0.949999988079071);
static_assert(static_cast<double>(idleLevel) == 9.999999747378752e-05);

// The shape of one pulse: an immediate rise to a ringing flat top, then a smooth
// fall to exactly 0.0 at its last sample.
constexpr double pulseShape[MetronaAudioProcessor::pulseLength] = {
    0.7886, 0.99,   0.8993, 0.9624, 0.916,  0.9493, 0.9269, 0.9406, // 0-7
    0.9336, 0.9359, 0.9365, 0.9345, 0.9368, 0.9347, 0.9364, 0.9351, // 8-15
    0.9358, 0.9358, 0.9358, 0.9358, 0.9358, 0.9358, 0.9358, 0.9358, // 16-23
    0.9358, 0.9358, 0.9358, 0.9358, 0.9328, 0.9358, 0.9358, 0.9358, // 24-31
    0.9358, 0.9358, 0.9358, 0.9358, 0.9358, 0.9358, 0.9358, 0.9358, // 32-39
    0.9358, 0.9358, 0.9358, 0.9358, 0.9358, 0.9358, 0.9358, 0.9358, // 40-47
    0.9358, 0.9358, 0.9358, 0.9358, 0.9358, 0.9358, 0.9358, 0.9358, // 48-55
    0.9358, 0.9358, 0.9358, 0.9358, 0.9358, 0.9358, 0.9358, 0.9358, // 56-63
    0.933,  0.9293, 0.9239, 0.9162, 0.9053, 0.8905, 0.8709, 0.8462, // 64-71
    0.8161, 0.7803, 0.7391, 0.6928, 0.6422, 0.588,  0.5314, 0.4733, // 72-79
    0.4152, 0.3582, 0.3035, 0.2521, 0.205,  0.1628, 0.126,  0.0948, // 80-87
    0.0691, 0.0486, 0.0329, 0.0213, 0.0131, 0.0074, 0.0034, 0.0003, // 88-95
    0.0,                                                            // 96
};

bool isUsablePosition(double p) noexcept
{
    // False for negative positions (pre-roll), NaN and +infinity.
    return p >= 0.0 && p <= DBL_MAX;
}
} // namespace

// What one playing block carries from sample to sample (and from one chunk of the
// render buffer to the next).
struct MetronaAudioProcessor::PlayingRun
{
    double position = 0.0; // quarter notes since the bar start
    double increment = 0.0;
    double barLength = 4.0;
    double onsetWindow = 0.0;
    bool advancing = false;      // the increment is finite
    bool mayStartPulse = false;  // the tempo moves forward
    bool negativeFiller = false; // the filler toggle: the next filler sample is negative
};

MetronaAudioProcessor::MetronaAudioProcessor()
    : juce::AudioProcessor(BusesProperties()
                               .withInput("Input", juce::AudioChannelSet::stereo(), false)
                               .withOutput("Output", juce::AudioChannelSet::stereo(), false)),
      lastHostPosition(noPosition)
{
}

MetronaAudioProcessor::~MetronaAudioProcessor()
{
    renderBuffer.reset();
}

const juce::String MetronaAudioProcessor::getName() const
{
    return "tambrix";
}

juce::StringArray MetronaAudioProcessor::getAlternateDisplayNames() const
{
    return {"tambrix", "Jelv - tambrix"};
}

void MetronaAudioProcessor::prepareToPlay(double, int maximumBlockSize)
{
    sampleRate = getSampleRate();
    renderBuffer.reset();
    renderBufferSize = 0;
    if (maximumBlockSize > 0)
    {
        renderBuffer.reset(new float[static_cast<size_t>(maximumBlockSize)]());
        renderBufferSize = maximumBlockSize;
    }
    lastHostPosition = noPosition;
}

void MetronaAudioProcessor::releaseResources() {}

void MetronaAudioProcessor::renderStopped(float* out, int numSamples, int firstSampleOfBlock) noexcept
{
    // -e, +e, -e, ... counted from the first sample of the block.
    for (int i = 0; i < numSamples; ++i)
        out[i] = ((firstSampleOfBlock + i) & 1) == 0 ? -idleLevel : idleLevel;
}

void MetronaAudioProcessor::renderPlaying(float* out, int numSamples, PlayingRun& run) noexcept
{
    const auto filler = [&run]() noexcept
    {
        const float value = run.negativeFiller ? -idleLevel : idleLevel;
        run.negativeFiller = !run.negativeFiller;
        return value;
    };

    if (!run.advancing)
    {
        for (int i = 0; i < numSamples; ++i)
            out[i] = filler();
        return;
    }

    double p = run.position;
    for (int i = 0; i < numSamples; ++i)
    {
        if (!isUsablePosition(p))
        {
            out[i] = filler();
            p += run.increment;
            continue;
        }

        double phase = std::fmod(p, singleRatePeriod);
        // fmod(p, bar) lies in [0, bar) and bar is at most 2^31 + 1 quarter notes,
        // so the tick number always fits a 64-bit integer.
        const auto tick =
            static_cast<std::int64_t>(std::floor(std::fmod(p, run.barLength) * ticksPerQuarterNote));

        if (!clockStarted)
        {
            if (tick == 0 || tick == 6)
            {
                clockStarted = true;
                pulseSampleIndex = 0;
                inPulse = false;
                doubleRate = tick == 6;
            }
            else
            {
                out[i] = filler();
                p += run.increment;
                continue;
            }
        }
        else if (tick >= 12)
        {
            doubleRate = false;
        }

        if (doubleRate)
            phase = std::fmod(phase, doubleRatePeriod);

        if (phase <= run.onsetWindow && run.mayStartPulse)
            inPulse = true;

        if (inPulse && pulseSampleIndex < pulseLength)
        {
            out[i] = static_cast<float>(pulseShape[pulseSampleIndex] * pulseGain);
            ++pulseSampleIndex;
        }
        else
        {
            inPulse = false;
            pulseSampleIndex = 0;
            out[i] = filler();
        }
        p += run.increment;
    }
    run.position = p;
}

void MetronaAudioProcessor::processBlock(juce::AudioBuffer<float>& buffer, juce::MidiBuffer& midiMessages)
{
    // Nothing is read from or sent to MIDI.
    midiMessages.clear();

    const int numSamples = buffer.getNumSamples();

    bool playing = false;
    double hostPosition = 0.0;
    double barStart = 0.0;
    double bpm = 0.0;
    if (auto* host = getPlayHead())
    {
        if (const auto position = host->getPosition())
        {
            const auto ppq = position->getPpqPosition();
            const auto tempo = position->getBpm();
            if ((position->getIsPlaying() || position->getIsRecording()) && ppq.hasValue() &&
                tempo.hasValue())
            {
                playing = true;
                hostPosition = *ppq;
                bpm = *tempo;
                barStart = position->getPpqPositionOfLastBarStart().orFallback(0.0);
            }
        }
    }

    for (int channel = 0; channel < buffer.getNumChannels(); ++channel)
        juce::FloatVectorOperations::clear(buffer.getWritePointer(channel), numSamples);

    const int numOutputs = juce::jmin(getTotalNumOutputChannels(), buffer.getNumChannels());

    // Render through the prepared buffer, in chunks of its size when the block is
    // longer than prepared (or through a small buffer of our own if none is).
    float* const chunkBuffer = renderBufferSize > 0 ? renderBuffer.get() : fallbackBuffer;
    const int chunkCapacity = renderBufferSize > 0 ? renderBufferSize : fallbackBufferSize;
    const auto copyOut = [&](int offset, int count)
    {
        for (int channel = 0; channel < numOutputs; ++channel)
            juce::FloatVectorOperations::copy(buffer.getWritePointer(channel, offset), chunkBuffer, count);
    };

    if (!playing)
    {
        lastHostPosition = noPosition;
        clockStarted = false;
        for (int offset = 0; offset < numSamples; offset += chunkCapacity)
        {
            const int count = juce::jmin(chunkCapacity, numSamples - offset);
            renderStopped(chunkBuffer, count, offset);
            copyOut(offset, count);
        }
        return;
    }

    // The continued position is kept in host coordinates, so that a block which
    // continues the last one subtracts the bar start only once.
    if (hostPosition == lastHostPosition)
        hostPosition = continuedPosition;
    lastHostPosition = hostPosition;

    const std::uint32_t index = timeSignatureIndex.load(std::memory_order_relaxed);

    PlayingRun run;
    run.position = hostPosition - barStart;
    run.increment = bpm / (sampleRate * 60.0);
    run.barLength = (static_cast<double>(index) + 2.0) * 12.0 / 24.0;
    run.onsetWindow = onsetWindowSamples * run.increment;
    run.advancing = std::isfinite(run.increment);
    run.mayStartPulse = run.advancing && bpm > 0.0 && run.increment > 0.0;

    for (int offset = 0; offset < numSamples; offset += chunkCapacity)
    {
        const int count = juce::jmin(chunkCapacity, numSamples - offset);
        renderPlaying(chunkBuffer, count, run);
        copyOut(offset, count);
    }

    continuedPosition = run.position + barStart;
}

void MetronaAudioProcessor::processBlockBypassed(juce::AudioBuffer<float>& buffer,
                                                 juce::MidiBuffer& midiMessages)
{
    juce::AudioProcessor::processBlockBypassed(buffer, midiMessages);
    midiMessages.clear();
}

double MetronaAudioProcessor::getTailLengthSeconds() const
{
    return 0.0;
}

bool MetronaAudioProcessor::acceptsMidi() const
{
    return true;
}

bool MetronaAudioProcessor::producesMidi() const
{
    return false;
}

juce::AudioProcessorEditor* MetronaAudioProcessor::createEditor()
{
    return new MetronaEditor(*this);
}

bool MetronaAudioProcessor::hasEditor() const
{
    return true;
}

int MetronaAudioProcessor::getNumParameters()
{
    return 1;
}

const juce::String MetronaAudioProcessor::getParameterName(int parameterIndex)
{
    return parameterIndex == 0 ? juce::String("Time Signature") : juce::String();
}

float MetronaAudioProcessor::getParameter(int)
{
    return valueForIndex(timeSignatureIndex.load());
}

const juce::String MetronaAudioProcessor::getParameterText(int)
{
    return {};
}

std::uint32_t MetronaAudioProcessor::indexForValue(float normalisedValue) noexcept
{
    // Nearest integer to value x 30 in single precision, halves away from zero; its
    // low 32 bits are the index (so negative values wrap around). A float of
    // magnitude 2^63 or more is a multiple of 2^40: its low 32 bits are zero.
    const float rounded = std::roundf(normalisedValue * 30.0f);
    constexpr float twoTo63 = 9223372036854775808.0f;
    if (!(rounded > -twoTo63 && rounded < twoTo63))
        return 0;
    return static_cast<std::uint32_t>(static_cast<std::int64_t>(rounded));
}

float MetronaAudioProcessor::valueForIndex(std::uint32_t index) noexcept
{
    return static_cast<float>(index) / 30.0f;
}

void MetronaAudioProcessor::setParameter(int parameterIndex, float newValue)
{
    if (parameterIndex != 0)
        return;
    // A value without an integer nearest to its product with 30 (NaN, an infinity, or
    // a product that overflows) is taken as the framework's parameter object holds it,
    // within its range: NaN and negative values as 0.0, positive ones as 1.0. The
    // controls chunk and the state then name the same index.
    if (!std::isfinite(newValue * 30.0f))
        newValue = newValue > 0.0f ? 1.0f : 0.0f;
    timeSignatureIndex.exchange(indexForValue(newValue));
    parameterChanged.store(true);
}

int MetronaAudioProcessor::getNumPrograms()
{
    return 1;
}

int MetronaAudioProcessor::getCurrentProgram()
{
    return 0;
}

void MetronaAudioProcessor::setCurrentProgram(int) {}

const juce::String MetronaAudioProcessor::getProgramName(int)
{
    return "tambrix";
}

void MetronaAudioProcessor::changeProgramName(int, const juce::String&) {}

void MetronaAudioProcessor::getStateInformation(juce::MemoryBlock& destData)
{
    const std::uint8_t state[2] = {static_cast<std::uint8_t>(timeSignatureIndex.load() & 0xffu), 0};
    destData.replaceAll(state, sizeof(state));
}

void MetronaAudioProcessor::setStateInformation(const void* data, int sizeInBytes)
{
    // Empty state data changes nothing.
    if (data == nullptr || sizeInBytes < 1)
        return;
    timeSignatureIndex.exchange(*static_cast<const std::uint8_t*>(data));
    parameterChanged.store(true);
}

const juce::String MetronaAudioProcessor::getInputChannelName(int channelIndex) const
{
    return juce::String(static_cast<juce::int64>(channelIndex) + 1);
}

const juce::String MetronaAudioProcessor::getOutputChannelName(int channelIndex) const
{
    return juce::String(static_cast<juce::int64>(channelIndex) + 1);
}

bool MetronaAudioProcessor::isInputChannelStereoPair(int) const
{
    return true;
}

bool MetronaAudioProcessor::isOutputChannelStereoPair(int) const
{
    return true;
}

bool MetronaAudioProcessor::silenceInProducesSilenceOut() const
{
    return false;
}

juce::String MetronaAudioProcessor::getVersionString()
{
    return JucePlugin_VersionString;
}

juce::AudioProcessor* JUCE_CALLTYPE createPluginFilter()
{
    return new MetronaAudioProcessor();
}
