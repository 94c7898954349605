// The processor apart from rendering: parameter mapping, state bytes, buses and
// the framework's fixed questions.

#include "test_host.h"

#include <gtest/gtest.h>

#include <limits>

TEST(ProcessorParameter, MapsNormalisedValuesToIndexes)
{
    MetronaAudioProcessor p;
    EXPECT_EQ(p.timeSignatureIndex.load(), 6u);
    EXPECT_EQ(p.getParameter(0), 0.2f);
    EXPECT_EQ(p.getParameter(7), p.getParameter(0));
    EXPECT_EQ(p.getNumParameters(), 1);
    EXPECT_EQ(p.getParameterName(0), "Time Signature");
    EXPECT_EQ(p.getParameterName(1), "");
    EXPECT_EQ(p.getParameterText(0), "");

    struct Case
    {
        float value;
        std::uint32_t index;
    };
    constexpr float inf = std::numeric_limits<float>::infinity();
    // Without an integer nearest to value x 30 (NaN, an infinity, an overflowing
    // product): the parameter object's range, NaN and negative values 0.0, positive 1.0.
    for (const Case c :
         {Case{0.0f, 0}, Case{0.2f, 6}, Case{1.0f, 30}, Case{-0.1f, 4294967293u}, Case{-1.0f, 4294967266u},
          Case{2.0f, 60}, Case{1.0e30f, 0}, Case{inf, 30}, Case{std::numeric_limits<float>::quiet_NaN(), 0},
          Case{3.0e38f, 30}, Case{-inf, 0}, Case{-3.0e38f, 0}})
    {
        p.setParameter(0, c.value);
        EXPECT_EQ(p.timeSignatureIndex.load(), c.index) << c.value;
    }
    p.setParameter(0, 0.2f);
    EXPECT_EQ(p.getParameter(0), 0.2f);
}

TEST(ProcessorParameter, RoundsHalvesAwayFromZero)
{
    MetronaAudioProcessor p;
    struct Case
    {
        float value;
        float product; // value x 30 in single precision, exactly a half
        std::uint32_t index;
    };
    for (const Case c : {Case{0.5f / 30.0f, 0.5f, 1}, Case{2.5f / 30.0f, 2.5f, 3},
                         Case{4.5f / 30.0f, 4.5f, 5}, Case{-2.5f / 30.0f, -2.5f, 4294967293u},
                         // A half only in single precision: 0.35f x 30 is 10.4999998 in double.
                         Case{0.35f, 10.5f, 11}})
    {
        ASSERT_EQ(c.value * 30.0f, c.product);
        p.setParameter(0, c.value);
        EXPECT_EQ(p.timeSignatureIndex.load(), c.index) << c.product;
    }
}

TEST(ProcessorParameter, RaisesTheChangedFlagOnlyForItsOwnIndex)
{
    MetronaAudioProcessor p;
    p.parameterChanged = false;
    p.setParameter(1, 0.5f);
    EXPECT_EQ(p.timeSignatureIndex.load(), 6u);
    EXPECT_FALSE(p.parameterChanged.load());
    p.setParameter(0, 0.2f); // also when the value does not change
    EXPECT_TRUE(p.parameterChanged.load());
    p.parameterChanged = false;
    p.setParameter(0, std::numeric_limits<float>::quiet_NaN()); // and when it has no nearest integer
    EXPECT_TRUE(p.parameterChanged.load());
}

TEST(ProcessorState, TwoBytesWithTheIndexFirst)
{
    MetronaAudioProcessor p;
    p.setParameter(0, 0.2f);
    juce::MemoryBlock state("previous content", 16);
    p.getStateInformation(state);
    ASSERT_EQ(state.getSize(), 2u);
    EXPECT_EQ(static_cast<std::uint8_t>(state[0]), 6);

    p.timeSignatureIndex = 300; // only the low 8 bits are stored
    p.getStateInformation(state);
    EXPECT_EQ(static_cast<std::uint8_t>(state[0]), 44);

    MetronaAudioProcessor restored;
    restored.parameterChanged = false;
    const std::uint8_t two[] = {9, 200};
    restored.setStateInformation(two, 2);
    EXPECT_EQ(restored.timeSignatureIndex.load(), 9u);
    EXPECT_TRUE(restored.parameterChanged.load());

    const std::uint8_t one[] = {31};
    restored.setStateInformation(one, 1);
    EXPECT_EQ(restored.timeSignatureIndex.load(), 31u);
    EXPECT_EQ(restored.getParameter(0), 31.0f / 30.0f);

    juce::MemoryBlock roundTrip;
    restored.getStateInformation(roundTrip);
    MetronaAudioProcessor third;
    third.setStateInformation(roundTrip.getData(), static_cast<int>(roundTrip.getSize()));
    EXPECT_EQ(third.timeSignatureIndex.load(), 31u);
}

TEST(ProcessorState, EmptyStateChangesNothing)
{
    MetronaAudioProcessor p;
    p.parameterChanged = false;
    const std::uint8_t byte[] = {12};
    p.setStateInformation(nullptr, 0);
    p.setStateInformation(nullptr, 5);
    p.setStateInformation(byte, 0);
    p.setStateInformation(byte, -1);
    EXPECT_EQ(p.timeSignatureIndex.load(), 6u);
    EXPECT_FALSE(p.parameterChanged.load());
}

TEST(ProcessorShell, NamesAndChannelNames)
{
    MetronaAudioProcessor p;
    EXPECT_EQ(p.getName(), "tambrix");
    EXPECT_EQ(p.getAlternateDisplayNames(), juce::StringArray({"tambrix", "Jelv - tambrix"}));
    EXPECT_EQ(p.getProgramName(9), "tambrix");
    EXPECT_EQ(MetronaAudioProcessor::getVersionString(), "1.0.7");

    EXPECT_EQ(p.getInputChannelName(0), "1");
    EXPECT_EQ(p.getOutputChannelName(5), "6");
    EXPECT_EQ(p.getOutputChannelName(-1), "0");
    EXPECT_EQ(p.getInputChannelName(-3), "-2");
    EXPECT_EQ(p.getOutputChannelName(std::numeric_limits<int>::max()), "2147483648");
}

TEST(ProcessorShell, BusesAreStereoAndInactiveUntilTheHostSetsThem)
{
    MetronaAudioProcessor p;
    ASSERT_EQ(p.getBusCount(true), 1);
    ASSERT_EQ(p.getBusCount(false), 1);
    for (const bool isInput : {true, false})
    {
        const auto* bus = p.getBus(isInput, 0);
        EXPECT_EQ(bus->getName(), isInput ? "Input" : "Output");
        EXPECT_EQ(bus->getDefaultLayout(), juce::AudioChannelSet::stereo());
        EXPECT_FALSE(bus->isEnabledByDefault());
    }
    EXPECT_EQ(p.getTotalNumOutputChannels(), 0);

    std::unique_ptr<juce::AudioProcessor> created(createPluginFilter());
    EXPECT_NE(dynamic_cast<MetronaAudioProcessor*>(created.get()), nullptr);
}
