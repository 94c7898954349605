// The offline renderer with the processor: the index option's values, and the
// tambrix-render executable end to end.

#include "ClockRender.h"
#include "MetronaAudioProcessor.h"

#include "subprocess.h"
#include "test_host.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>

using namespace tambrix::render;

namespace
{

// Runs tambrix-render with the given arguments (stderr joins stdout).
tambrix::test::CommandOutput runTool(const std::string& args)
{
    return tambrix::test::run(tambrix::test::quoted(TAMBRIX_RENDER_PATH) + " " + args + " 2>&1");
}

std::string tempPath(const std::string& name)
{
    return (juce::File::getSpecialLocation(juce::File::tempDirectory).getFullPathName() + "/" +
            juce::String(name) + "-" + juce::String(juce::Random::getSystemRandom().nextInt64()))
        .toStdString();
}

void writeFile(const std::string& path, const std::string& text)
{
    std::ofstream(path) << text;
}

bool exists(const std::string& path)
{
    return juce::File(path).exists();
}

// First channel of a 32-bit float WAV written by the tool (header checked).
std::vector<float> readWavChannel0(const std::string& path, int channels, int rate)
{
    juce::MemoryBlock data;
    EXPECT_TRUE(juce::File(path).loadFileAsData(data));
    const auto* b = static_cast<const unsigned char*>(data.getData());
    const auto u16 = [b](size_t at)
    {
        return b[at] | (b[at + 1] << 8);
    };
    const auto u32 = [b](size_t at)
    {
        return static_cast<std::uint32_t>(b[at] | (b[at + 1] << 8) | (b[at + 2] << 16)) |
               (static_cast<std::uint32_t>(b[at + 3]) << 24);
    };
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(b), 4), "RIFF");
    EXPECT_EQ(u32(4), data.getSize() - 8);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(b + 8), 8), "WAVEfmt ");
    EXPECT_EQ(u16(20), 3); // IEEE float
    EXPECT_EQ(u16(22), channels);
    EXPECT_EQ(u32(24), static_cast<std::uint32_t>(rate));
    EXPECT_EQ(u16(34), 32);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(b + 50), 4), "data");
    const std::uint32_t bytes = u32(54);
    EXPECT_EQ(bytes + 58, data.getSize());
    std::vector<float> channel;
    for (size_t at = 58; at + 4 <= data.getSize(); at += 4 * static_cast<size_t>(channels))
    {
        float v;
        std::memcpy(&v, b + at, 4);
        channel.push_back(v);
    }
    return channel;
}

} // namespace

TEST(RenderOptions, IndexOptionSendsAValueThatMapsBackToTheIndex)
{
    for (std::uint32_t n = 0; n <= maxIndex; ++n)
        ASSERT_EQ(MetronaAudioProcessor::indexForValue(valueForIndex(n)), n);
}

TEST(RenderTool, DefaultRunCounts24PulsesPerQuarterNote)
{
    const auto out = tempPath("clock") + ".wav";
    const auto r = runTool("--out '" + out + "'");
    ASSERT_EQ(r.exitCode, 0) << r.out;
    EXPECT_NE(r.out.find("\"samples\":192000,\"channels\":2,\"rate\":48000,\"pulses\":192}"),
              std::string::npos)
        << r.out;
    const auto signal = readWavChannel0(out, 2, 48000);
    ASSERT_EQ(signal.size(), 192000u);
    const auto onsets = tambrix::test::onsetsOf(signal);
    ASSERT_EQ(onsets.size(), 192u);
    EXPECT_EQ(onsets[0], 0);
    EXPECT_EQ(onsets[1], 1001);
    EXPECT_EQ(onsets[191], 191001);
    std::remove(out.c_str());
}

TEST(RenderTool, TimelineDrivesTransportAndParameter)
{
    // Stopped until the first block boundary at or after 1000 (1024), then playing
    // from 0.3 with bars of one quarter note (value 0): the clock waits for the bar
    // line at 1.0, 0.7 x 24000 = 16800 samples later, and its first pulse starts one
    // sample after it.
    const auto timeline = tempPath("timeline");
    writeFile(timeline, "0 stop\n1000 play 120 0.3\n1000 value 0.0\n");
    const auto out = tempPath("clock") + ".wav";
    const auto r = runTool("--seconds 0.5 --channels 1 --out '" + out + "' --timeline '" + timeline + "'");
    ASSERT_EQ(r.exitCode, 0) << r.out;
    const auto signal = readWavChannel0(out, 1, 48000);
    const auto onsets = tambrix::test::onsetsOf(signal);
    ASSERT_GE(onsets.size(), 2u);
    EXPECT_EQ(onsets[0], 1024 + 16800 + 1);
    EXPECT_EQ(onsets[1], 1024 + 16800 + 1001);
    EXPECT_EQ(signal[0], -tambrix::test::idle); // stopped blocks start negative
    EXPECT_EQ(signal[1023], tambrix::test::idle);
    EXPECT_EQ(signal[1024], tambrix::test::idle); // playing filler starts positive
    std::remove(out.c_str());
    std::remove(timeline.c_str());
}

TEST(RenderTool, BadInputWritesNothing)
{
    const auto timeline = tempPath("timeline");
    writeFile(timeline, "0 stop\n# fine so far\n500 play fast 0\n");
    const auto out = tempPath("clock") + ".wav";

    auto r = runTool("--out '" + out + "' --timeline '" + timeline + "'");
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_NE(r.out.find(timeline + ":3:"), std::string::npos) << r.out;
    EXPECT_FALSE(exists(out));

    r = runTool("--out '" + out + "' --timeline '" + timeline + ".missing'");
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_FALSE(exists(out));

    r = runTool("--out '" + out + "' --block 0");
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_NE(r.out.find("--block"), std::string::npos);
    EXPECT_FALSE(exists(out));

    r = runTool("--out '" + tempPath("no-such-dir") + "/clock.wav'");
    EXPECT_EQ(r.exitCode, 2);
    std::remove(timeline.c_str());
}

TEST(RenderTool, BlockSizeDoesNotChangeTheSignal)
{
    // With the host position on whole ticks at every block start, the pulses are
    // the same for every block size (the idle filler's polarity restarts with
    // every block, so it is left out of the comparison).
    std::vector<std::vector<float>> signals;
    for (const int block : {64, 441, 512, 1024})
    {
        RenderOptions options;
        options.block = block;
        options.seconds = 1.0;
        options.start = 0.1;
        std::vector<float> signal;
        RenderSummary summary;
        std::string error;
        MetronaAudioProcessor processor;
        ASSERT_TRUE(renderClock(
            processor, options,
            [&signal](const float* frames, int n)
            {
                for (int i = 0; i < n; ++i)
                {
                    const float v = frames[2 * i];
                    signal.push_back(std::fabs(v) <= tambrix::test::idle ? 0.0f : v);
                }
                return true;
            },
            summary, error))
            << error;
        EXPECT_EQ(summary.pulses, 51); // 12 at double rate, then 39 from tick 12
        signals.push_back(signal);
    }
    for (size_t i = 1; i < signals.size(); ++i)
        EXPECT_EQ(signals[i], signals[0]);
}
