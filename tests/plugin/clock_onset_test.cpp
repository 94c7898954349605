// Where pulses begin: checked against onsets computed here, in long double, from
// the clock's rules stated in terms of positions, at several block sizes.

#include "test_host.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

using namespace tambrix::test;

namespace
{

// The phase grids: 1/24 and 1/48 quarter note, each rounded to single precision.
const long double gridSingle = static_cast<long double>(1.0f / 24.0f);
const long double gridDouble = static_cast<long double>(1.0f / 48.0f);

// A clock run at constant tempo from position p0 (quarter notes) with `increment`
// quarter notes per sample, in bars of `bar` quarter notes.
struct Reference
{
    long double p0;
    long double increment;
    long double bar;
    std::int64_t total;
    bool nearTie = false;

    long double at(std::int64_t n) const { return p0 + static_cast<long double>(n) * increment; }

    // The first sample whose position has reached x.
    std::int64_t firstReaching(long double x)
    {
        const long double samples = (x - p0) / increment;
        if (samples <= 0)
            return 0;
        const long double whole = std::ceil(samples);
        if (whole - samples < 1e-6L || samples - (whole - 1) < 1e-6L)
            nearTie = true;
        return static_cast<std::int64_t>(whole);
    }

    // Onsets of a segment [from, to) on one grid: the first sample of the segment
    // if its phase lies within 20 samples' worth of position after a grid point,
    // then the first sample reaching each later grid point.
    void segment(std::int64_t from, std::int64_t to, long double grid, std::vector<std::int64_t>& onsets)
    {
        if (from >= to)
            return;
        if (std::fmod(at(from), grid) <= 20.0L * increment)
            onsets.push_back(from);
        for (long double k = std::floor(at(from) / grid) + 1;; k += 1)
        {
            const std::int64_t n = firstReaching(k * grid);
            if (n >= to)
                break;
            if (n > from)
                onsets.push_back(n);
        }
    }

    std::vector<std::int64_t> onsets()
    {
        const long double barStart = std::floor(p0 / bar) * bar;
        const auto tick = static_cast<int>(std::floor((p0 - barStart) * 24.0L));
        std::vector<std::int64_t> result;
        if (tick == 0)
        {
            segment(0, total, gridSingle, result);
        }
        else if (tick <= 6)
        {
            // Ticks 1-5 wait for tick 6; from tick 6 the clock runs at double rate
            // until the first sample at tick 12.
            const std::int64_t start = tick == 6 ? 0 : firstReaching(barStart + 6.0L / 24.0L);
            const std::int64_t single = firstReaching(barStart + 12.0L / 24.0L);
            segment(start, std::min(single, total), gridDouble, result);
            segment(single, total, gridSingle, result);
        }
        else
        {
            segment(firstReaching(barStart + bar), total, gridSingle, result);
        }
        return result;
    }
};

struct Scenario
{
    const char* name;
    double rate;
    double bpm;
    double startPpq;
    std::uint32_t index;
    int total;
};

void checkScenario(const Scenario& s)
{
    SCOPED_TRACE(s.name);
    Reference ref{s.startPpq, static_cast<long double>(s.bpm) / (static_cast<long double>(s.rate) * 60.0L),
                  (static_cast<long double>(s.index) + 2.0L) / 2.0L, s.total};
    const auto expected = ref.onsets();
    ASSERT_FALSE(ref.nearTie) << "scenario lies too close to a sample boundary to decide";
    ASSERT_GE(expected.size(), 3u);
    for (size_t i = 1; i < expected.size(); ++i)
        ASSERT_GT(expected[i] - expected[i - 1], 97) << "pulses would overlap";

    for (const int blockSize : {1, 37, 512, 1024})
    {
        SCOPED_TRACE("block size " + std::to_string(blockSize));
        auto processor = makeProcessor(s.rate, 1024);
        processor->timeSignatureIndex = s.index;
        ManualPlayHead head;
        const auto signal = playRun(*processor, head, s.startPpq, s.bpm, s.rate, s.total, blockSize);
        EXPECT_EQ(onsetsOf(signal), expected);
    }
}

} // namespace

TEST(ClockOnsets, WorkedExampleFromBarLine)
{
    // 120 bpm at 48 kHz: 1000 samples a tick; the single-precision grid point k
    // lies just after sample 1000 k, so pulse k starts at sample 1000 k + 1.
    auto processor = makeProcessor(48000, 512);
    ManualPlayHead head;
    const auto onsets = onsetsOf(playRun(*processor, head, 0.0, 120.0, 48000, 10000, 512));
    const std::vector<std::int64_t> expected{0, 1001, 2001, 3001, 4001, 5001, 6001, 7001, 8001, 9001};
    EXPECT_EQ(onsets, expected);
}

TEST(ClockOnsets, WorkedExampleStartAtTickTwoCatchesUpAtDoubleRate)
{
    // From 0.1 (tick 2): tick 6 at sample 3600; 12 double-rate pulses 500 apart
    // (3601 ... 9101), then from tick 12 (sample 9600) one every 1000.
    auto processor = makeProcessor(48000, 512);
    ManualPlayHead head;
    const auto onsets = onsetsOf(playRun(*processor, head, 0.1, 120.0, 48000, 12000, 512));
    std::vector<std::int64_t> expected;
    for (int k = 0; k < 12; ++k)
        expected.push_back(3601 + 500 * k);
    expected.push_back(9601);
    expected.push_back(10601);
    expected.push_back(11601);
    EXPECT_EQ(onsets, expected);
}

TEST(ClockOnsets, WorkedExampleStartAtTickSevenWaitsForNextBar)
{
    auto processor = makeProcessor(48000, 512);
    ManualPlayHead head;
    const auto onsets = onsetsOf(playRun(*processor, head, 0.3, 120.0, 48000, 91000, 512));
    const std::vector<std::int64_t> expected{88801, 89801, 90801};
    EXPECT_EQ(onsets, expected);
}

TEST(ClockOnsets, StartRulesAgreeWithReferenceAtEveryBlockSize)
{
    const Scenario scenarios[] = {
        {"tick 0 at the bar line", 48000, 120, 0.0, 6, 30000},
        {"tick 0 after the onset window", 44100, 137, 0.0123, 6, 30000},
        {"tick 0, 19.5 samples after the bar line", 44100, 137, 19.5 * 137 / (44100 * 60.0), 6, 30000},
        {"tick 0, 20.5 samples after the bar line", 44100, 137, 20.5 * 137 / (44100 * 60.0), 6, 30000},
        {"tick 6 inside the onset window", 48000, 97, 0.25 + 19.0 * 97 / (48000 * 60.0), 6, 30000},
        {"tick 2: waits for tick 6, double rate", 44100, 93, 0.1, 6, 40000},
        {"tick 6 of the third bar: double rate at once", 96000, 151, 4.27, 6, 40000},
        {"tick 7: waits for the next bar", 48000, 163.7, 0.3001, 6, 80000},
        {"index 0, a bar of one quarter note", 44100, 101.3, 2.1001, 0, 30000},
        {"index 30, a bar of 16 quarter notes", 48000, 181.9, 15.9003, 30, 20000},
        {"index 31 from a state byte, a bar of 16.5", 48000, 177.7, 16.4002, 31, 20000},
        {"index that wrapped from a negative value", 48000, 111, 0.1, 4294967293u, 40000},
        {"late in a long bar: waits", 88200, 140.9, 6.5004, 12, 60000},
    };
    for (const auto& s : scenarios)
        checkScenario(s);
}

TEST(ClockOnsets, DoubleRateEndsAtTickTwelveOfTheStartBar)
{
    // Start at tick 3 of bar 2 (index 6: bars of 4): double-rate pulses every 250
    // samples at 240 bpm / 48 kHz (500 samples a tick) between ticks 6 and 12,
    // single rate (every 500) from there.
    auto processor = makeProcessor(48000, 256);
    ManualPlayHead head;
    const double start = 4.0 + 3.5 / 24.0;
    const auto onsets = onsetsOf(playRun(*processor, head, start, 240.0, 48000, 6000, 256));
    // Tick 6 is 2.5 ticks = 1250 samples away; grid point k of 1/48 lies just after it.
    ASSERT_GE(onsets.size(), 15u);
    for (size_t i = 0; i < 12; ++i)
        EXPECT_EQ(onsets[i], 1251 + 250 * static_cast<std::int64_t>(i)) << i;
    EXPECT_EQ(onsets[12], 1251 + 3000);
    EXPECT_EQ(onsets[13], 1251 + 3500);
}
