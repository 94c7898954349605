// The rendered signal sample by sample: pulse shape, idle alternation, channels,
// continued positions, restarts, and inputs a host should never send.

#include "test_host.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace tambrix::test;

namespace
{

// The pulse shape in units of 1/10000, entries 0..96.
std::vector<double> pulseTable()
{
    std::vector<int> units{7886, 9900, 8993, 9624, 9160, 9493, 9269, 9406,
                           9336, 9359, 9365, 9345, 9368, 9347, 9364, 9351};
    for (int i = 16; i <= 63; ++i)
        units.push_back(i == 28 ? 9328 : 9358);
    for (int u : {9330, 9293, 9239, 9162, 9053, 8905, 8709, 8462, 8161, 7803, 7391,
                  6928, 6422, 5880, 5314, 4733, 4152, 3582, 3035, 2521, 2050, 1628,
                  1260, 948,  691,  486,  329,  213,  131,  74,   34,   3,    0})
        units.push_back(u);
    std::vector<double> table;
    for (int u : units)
        table.push_back(u / 10000.0);
    return table;
}

float pulseSample(int entry)
{
    static const auto table = pulseTable();
    return static_cast<float>(table.at(static_cast<size_t>(entry)) * 0.949999988079071);
}

// Expects idle filler alternating from `first` (+1 or -1) over [from, to).
void expectFiller(const std::vector<float>& s, size_t from, size_t to, int first)
{
    int sign = first;
    for (size_t i = from; i < to; ++i, sign = -sign)
        ASSERT_EQ(s[i], sign * idle) << "sample " << i;
}

std::vector<float> playBlock(MetronaAudioProcessor& p, ManualPlayHead& head, double ppq, double bpm, int n)
{
    p.setPlayHead(&head);
    head.playing = true;
    head.ppq = ppq;
    head.bpm = bpm;
    return renderBlock(p, n)[0];
}

std::vector<float> stoppedBlock(MetronaAudioProcessor& p, ManualPlayHead& head, int n)
{
    p.setPlayHead(&head);
    head.playing = false;
    return renderBlock(p, n)[0];
}

constexpr double increment = 120.0 / (48000.0 * 60.0); // quarter notes per sample at 120 bpm, 48 kHz

} // namespace

TEST(ClockSignal, StoppedBlocksAlternateStartingNegative)
{
    auto p = makeProcessor(48000, 512);
    ManualPlayHead head;
    const auto first = stoppedBlock(*p, head, 5);
    expectFiller(first, 0, 5, -1);
    const auto second = stoppedBlock(*p, head, 5);
    expectFiller(second, 0, 5, -1);

    // Without a play head, without a position, or without a quarter-note position
    // the block is rendered as stopped.
    p->setPlayHead(nullptr);
    expectFiller(renderBlock(*p, 7)[0], 0, 7, -1);
    head.playing = true;
    head.hasPosition = false;
    p->setPlayHead(&head);
    expectFiller(renderBlock(*p, 7)[0], 0, 7, -1);
    head.hasPosition = true;
    head.ppq = {};
    expectFiller(renderBlock(*p, 7)[0], 0, 7, -1);

    // Recording counts as playing.
    head.playing = false;
    head.recording = true;
    head.ppq = 0.0;
    EXPECT_EQ(renderBlock(*p, 1)[0][0], pulseSample(0));
}

TEST(ClockSignal, PlayingBeforeTheClockStartsAlternatesStartingPositive)
{
    auto p = makeProcessor(48000, 512);
    ManualPlayHead head;
    expectFiller(playBlock(*p, head, 0.3, 120, 6), 0, 6, +1);  // tick 7: waiting
    expectFiller(playBlock(*p, head, -2.0, 120, 6), 0, 6, +1); // pre-roll
}

TEST(ClockSignal, FirstPulseFollowsTheTableTimesTheGain)
{
    auto p = makeProcessor(48000, 512);
    ManualPlayHead head;
    const auto s = playBlock(*p, head, 0.0, 120, 512);
    for (int i = 0; i < 97; ++i)
        ASSERT_EQ(s[static_cast<size_t>(i)], pulseSample(i)) << "entry " << i;
    EXPECT_EQ(s[1], 0.9404999613761902f);
    EXPECT_EQ(s[96], 0.0f);
    expectFiller(s, 97, 512, +1); // the first filler of a playing block is positive
}

TEST(ClockSignal, PulseContinuesIntoTheNextBlockAndFillerRestartsPositive)
{
    auto p = makeProcessor(48000, 512);
    ManualPlayHead head;
    const auto a = playBlock(*p, head, 0.0, 120, 50);
    const auto b = playBlock(*p, head, 50 * increment, 120, 100);
    for (int i = 0; i < 50; ++i)
        ASSERT_EQ(a[static_cast<size_t>(i)], pulseSample(i));
    for (int i = 0; i < 47; ++i)
        ASSERT_EQ(b[static_cast<size_t>(i)], pulseSample(50 + i));
    expectFiller(b, 47, 100, +1);
}

TEST(ClockSignal, EveryOutputChannelCarriesTheSameSignalAndInputsAreDiscarded)
{
    auto p = makeProcessor(48000, 1024, 6);
    ManualPlayHead head;
    p->setPlayHead(&head);
    const auto out = renderBlock(*p, 1024, 6);
    for (size_t ch = 1; ch < 6; ++ch)
        EXPECT_EQ(out[ch], out[0]) << "channel " << ch;
    EXPECT_EQ(onsetsOf(out[0]), (std::vector<std::int64_t>{0, 1001}));

    // Four inputs, two outputs: the extra buffer channels stay cleared.
    auto q = std::make_unique<MetronaAudioProcessor>();
    juce::AudioProcessor::BusesLayout layout;
    layout.inputBuses.add(juce::AudioChannelSet::quadraphonic());
    layout.outputBuses.add(juce::AudioChannelSet::stereo());
    ASSERT_TRUE(q->setBusesLayout(layout));
    q->setRateAndBufferSizeDetails(48000, 64);
    q->prepareToPlay(48000, 64);
    q->setPlayHead(&head);
    const auto four = renderBlock(*q, 64, 4);
    EXPECT_EQ(four[1], four[0]);
    EXPECT_EQ(four[2], std::vector<float>(64, 0.0f));
    EXPECT_EQ(four[3], std::vector<float>(64, 0.0f));

    // A buffer with fewer channels than the outputs gets only its own channels.
    const auto one = renderBlock(*p, 64, 1);
    EXPECT_EQ(one[0].size(), 64u);
}

TEST(ClockSignal, MidiIsClearedWhetherProcessedOrBypassed)
{
    auto p = makeProcessor(48000, 64);
    ManualPlayHead head;
    p->setPlayHead(&head);
    juce::AudioBuffer<float> buffer(2, 64);
    juce::MidiBuffer midi;
    midi.addEvent(juce::MidiMessage::noteOn(1, 60, 0.5f), 3);
    p->processBlock(buffer, midi);
    EXPECT_TRUE(midi.isEmpty());

    // Bypassed, mono in and stereo out: the input channel passes, the other output is cleared.
    juce::AudioProcessor::BusesLayout layout;
    layout.inputBuses.add(juce::AudioChannelSet::mono());
    layout.outputBuses.add(juce::AudioChannelSet::stereo());
    ASSERT_TRUE(p->setBusesLayout(layout));
    for (int ch = 0; ch < 2; ++ch)
        juce::FloatVectorOperations::fill(buffer.getWritePointer(ch), 0.25f, 64);
    midi.addEvent(juce::MidiMessage::noteOn(1, 60, 0.5f), 3);
    p->processBlockBypassed(buffer, midi);
    EXPECT_TRUE(midi.isEmpty());
    EXPECT_EQ(buffer.findMinMax(0, 0, 64), juce::Range<float>(0.25f, 0.25f));
    EXPECT_EQ(buffer.findMinMax(1, 0, 64), juce::Range<float>(0.0f, 0.0f));
}

TEST(ClockSignal, RepeatedHostPositionContinuesEveryOtherBlock)
{
    // The host reports 0.0 for every block of 600: blocks 1, 3, 5 start from the
    // host's value (onset at their first sample), blocks 2, 4, 6 continue from the
    // end of the one before (onset 401 samples in, at the second grid point).
    auto p = makeProcessor(48000, 600);
    ManualPlayHead head;
    std::vector<float> all;
    for (int b = 0; b < 6; ++b)
    {
        const auto s = playBlock(*p, head, 0.0, 120, 600);
        all.insert(all.end(), s.begin(), s.end());
    }
    EXPECT_EQ(onsetsOf(all), (std::vector<std::int64_t>{0, 1001, 1200, 2201, 2400, 3401}));
}

TEST(ClockSignal, EmptyPlayingBlockRecordsItsStartPosition)
{
    auto p = makeProcessor(48000, 512);
    ManualPlayHead head;
    playBlock(*p, head, 0.0, 120, 300);
    EXPECT_TRUE(playBlock(*p, head, 0.5, 120, 0).empty());
    // The host repeats 0.5: the block continues from 0.5 (not from sample 300 of
    // the first block), so the grid point 12 x 1/24 (just after 0.5) is reached at
    // its second sample.
    const auto s = playBlock(*p, head, 0.5, 120, 200);
    EXPECT_EQ(onsetsOf(s), (std::vector<std::int64_t>{1}));
}

TEST(ClockSignal, StartedClockFollowsAJumpWithoutWaitingForABarLine)
{
    // Playing from 0.0, then the host jumps to 0.3 (tick 7): the clock stays
    // started, so the next pulse comes at grid point 8 (8 x 1/24 in single
    // precision = 0.33333334), 800.0001 samples after the jump, not at the next bar.
    auto p = makeProcessor(48000, 512);
    ManualPlayHead head;
    playRun(*p, head, 0.0, 120, 48000, 1536, 512); // ends between pulses
    const auto s = playRun(*p, head, 0.3, 120, 48000, 2048, 512);
    EXPECT_EQ(onsetsOf(s), (std::vector<std::int64_t>{801, 1801}));
}

TEST(ClockSignal, RestartAfterDoubleRateStopRunsAtSingleRate)
{
    auto p = makeProcessor(48000, 512);
    ManualPlayHead head;
    const auto first = playRun(*p, head, 0.1, 120, 48000, 4200, 512); // double rate from 3600
    EXPECT_EQ(onsetsOf(first), (std::vector<std::int64_t>{3601, 4101}));
    stoppedBlock(*p, head, 512);
    const auto again = playRun(*p, head, 4.0, 120, 48000, 2600, 512);
    EXPECT_EQ(onsetsOf(again), (std::vector<std::int64_t>{1, 1001, 2001}));
}

TEST(ClockSignal, RestartInsideTickZeroAfterTheWindowWaitsForTheNextGridPoint)
{
    auto p = makeProcessor(48000, 512);
    ManualPlayHead head;
    playBlock(*p, head, 0.0, 120, 50); // stopped in the middle of a pulse
    stoppedBlock(*p, head, 64);
    // From 0.02: the grid point 1/24 (single precision) is 520.00003 samples away.
    const auto s = playRun(*p, head, 0.02, 120, 48000, 1000, 512);
    expectFiller(s, 0, 521, +1);
    EXPECT_EQ(onsetsOf(s), (std::vector<std::int64_t>{521}));
}

TEST(ClockSignal, NonFinitePositionOrTempoRendersFillerOnly)
{
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    struct Case
    {
        const char* name;
        double ppq, bpm, barStart;
    };
    for (const Case c : {Case{"NaN position", nan, 120, 0}, Case{"infinite position", inf, 120, 0},
                         Case{"negative infinite position", -inf, 120, 0}, Case{"NaN tempo", 0.0, nan, 0},
                         Case{"infinite tempo", 0.0, inf, 0}, Case{"NaN bar start", 0.0, 120, nan}})
    {
        SCOPED_TRACE(c.name);
        auto p = makeProcessor(48000, 256);
        ManualPlayHead head;
        head.barStart = c.barStart;
        for (int block = 0; block < 3; ++block)
            expectFiller(playBlock(*p, head, c.ppq, c.bpm, 256), 0, 256, +1);
    }
}

TEST(ClockSignal, PositionOverflowingWithinABlockRendersFillerFromThere)
{
    // At the largest double and the largest tempo the first sample is a bar line
    // and the position overflows to infinity after it.
    const double largest = std::numeric_limits<double>::max();
    auto p = makeProcessor(48000, 64);
    ManualPlayHead head;
    const auto s = playBlock(*p, head, largest, largest, 64);
    EXPECT_EQ(s[0], pulseSample(0));
    expectFiller(s, 1, 64, +1);
}

TEST(ClockSignal, TempoZeroOrBelowStartsNoPulse)
{
    for (const double bpm : {0.0, -120.0})
    {
        SCOPED_TRACE(bpm);
        auto p = makeProcessor(48000, 2048);
        ManualPlayHead head;
        expectFiller(playBlock(*p, head, 0.0, bpm, 2048), 0, 2048, +1);
        expectFiller(playBlock(*p, head, 0.0, bpm, 2048), 0, 2048, +1);
    }

    // A pulse already running finishes.
    auto p = makeProcessor(48000, 512);
    ManualPlayHead head;
    playBlock(*p, head, 0.0, 120, 50);
    const auto s = playBlock(*p, head, 50 * increment, 0.0, 512);
    for (int i = 0; i < 47; ++i)
        ASSERT_EQ(s[static_cast<size_t>(i)], pulseSample(50 + i));
    expectFiller(s, 47, 512, +1);
}

TEST(ClockSignal, BlocksLongerThanPreparedRenderCompletely)
{
    ManualPlayHead head;
    auto big = makeProcessor(48000, 3000);
    const auto reference = playBlock(*big, head, 0.0, 120, 3000);

    auto small = makeProcessor(48000, 64);
    EXPECT_EQ(playBlock(*small, head, 0.0, 120, 3000), reference);
    expectFiller(stoppedBlock(*small, head, 301), 0, 301, -1);

    // Before any preparation.
    auto unprepared = makeProcessor(48000, 64, 2, false);
    expectFiller(stoppedBlock(*unprepared, head, 301), 0, 301, -1);
    expectFiller(playBlock(*unprepared, head, -1000.0, 120, 301), 0, 301, +1);
    playBlock(*unprepared, head, 0.0, 120, 301); // any signal, but inside the buffer
}

TEST(ClockSignal, RePreparingWhilePlayingKeepsTheClockRunning)
{
    auto p = makeProcessor(48000, 512);
    ManualPlayHead head;
    const auto a = playRun(*p, head, 0.1, 120, 48000, 4000, 512);
    p->prepareToPlay(48000, 1024);
    // Continue from sample 4000 with the double-rate clock: next onset at 4101.
    const auto b = playRun(*p, head, 0.1 + 4000 * increment, 120, 48000, 600, 1024);
    EXPECT_EQ(onsetsOf(b), (std::vector<std::int64_t>{101}));
}
