// The offline renderer: options, timeline files, the simulated transport, and the
// tambrix-render executable end to end.

#include "ClockRender.h"
#include "MetronaAudioProcessor.h"
#include "RenderOptions.h"
#include "Transport.h"

#include "subprocess.h"
#include "test_host.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>

using namespace tambrix::render;

namespace
{

Parsed<RenderOptions> parseArgs(std::vector<std::string> args)
{
    args.insert(args.begin(), "tambrix-render");
    std::vector<const char*> argv;
    for (const auto& a : args)
        argv.push_back(a.c_str());
    return parseArguments(static_cast<int>(argv.size()), argv.data());
}

Parsed<std::vector<TimelineEvent>> parseText(const std::string& text)
{
    std::istringstream in(text);
    return parseTimeline(in, "t.txt");
}

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

TEST(RenderOptions, DefaultsAndEveryOption)
{
    const auto d = parseArgs({});
    ASSERT_TRUE(d.ok()) << d.error;
    EXPECT_EQ(d.result.out, "clock.wav");
    EXPECT_EQ(d.result.rate, 48000);
    EXPECT_EQ(d.result.block, 512);
    EXPECT_EQ(d.result.channels, 2);
    EXPECT_EQ(d.result.bpm, 120.0);
    EXPECT_EQ(d.result.start, 0.0);
    EXPECT_EQ(d.result.seconds, 4.0);
    EXPECT_FALSE(d.result.value.has_value());
    EXPECT_FALSE(d.result.index.has_value());
    EXPECT_EQ(d.result.totalSamples(), 192000);

    const auto o =
        parseArgs({"--out", "x.wav", "--rate=44100", "--block", "64", "--channels", "6", "--bpm", "93.5",
                   "--start", "-1.25", "--seconds", "0.5", "--value", "0.4", "--timeline", "t"});
    ASSERT_TRUE(o.ok()) << o.error;
    EXPECT_EQ(o.result.out, "x.wav");
    EXPECT_EQ(o.result.rate, 44100);
    EXPECT_EQ(o.result.block, 64);
    EXPECT_EQ(o.result.channels, 6);
    EXPECT_EQ(o.result.bpm, 93.5);
    EXPECT_EQ(o.result.start, -1.25);
    EXPECT_EQ(o.result.totalSamples(), 22050);
    EXPECT_EQ(*o.result.value, 0.4);
    EXPECT_EQ(o.result.timelineFile, "t");
    EXPECT_EQ(*parseArgs({"--index", "31"}).result.index, 31u);
}

TEST(RenderOptions, RejectsBadArgumentsWithAMessage)
{
    const std::vector<std::vector<std::string>> bad{{"--rate", "0"},
                                                    {"--rate", "48000.5"},
                                                    {"--block", "0"},
                                                    {"--block", "x"},
                                                    {"--channels", "0"},
                                                    {"--channels", "65"},
                                                    {"--bpm", "0"},
                                                    {"--bpm", "-120"},
                                                    {"--bpm", "nan"},
                                                    {"--start", "inf"},
                                                    {"--seconds", "0"},
                                                    {"--seconds", "-1"},
                                                    {"--value", "nan"},
                                                    {"--value", "1e300"},
                                                    {"--index", "256"},
                                                    {"--index", "-1"},
                                                    {"--value", "0.2", "--index", "6"},
                                                    {"--out"},
                                                    {"--frobnicate"},
                                                    {"--seconds", "1e-9"},
                                                    {"--timeline", ""}};
    for (const auto& args : bad)
    {
        const auto r = parseArgs(args);
        EXPECT_FALSE(r.ok()) << args[0];
        EXPECT_FALSE(r.error.empty());
    }
    EXPECT_NE(parseArgs({"--bpm", "fast"}).error.find("--bpm"), std::string::npos);
}

TEST(RenderOptions, IndexOptionSendsAValueThatMapsBackToTheIndex)
{
    for (std::uint32_t n = 0; n <= maxIndex; ++n)
        ASSERT_EQ(MetronaAudioProcessor::indexForValue(valueForIndexOption(n)), n);
}

TEST(Timeline, ParsesEventsCommentsAndBlankLines)
{
    const auto t = parseText("# a timeline\n"
                             "\n"
                             "0 stop\n"
                             "  1000 play 120 0.3   # start late in the bar\n"
                             "1000 value 0\n"
                             "48000 stop\n");
    ASSERT_TRUE(t.ok()) << t.error;
    ASSERT_EQ(t.result.size(), 4u);
    EXPECT_EQ(t.result[0].kind, TimelineEvent::Kind::stop);
    EXPECT_EQ(t.result[1].kind, TimelineEvent::Kind::play);
    EXPECT_EQ(t.result[1].sample, 1000);
    EXPECT_EQ(t.result[1].bpm, 120.0);
    EXPECT_EQ(t.result[1].ppq, 0.3);
    EXPECT_EQ(t.result[1].line, 4);
    EXPECT_EQ(t.result[2].kind, TimelineEvent::Kind::value);
    EXPECT_EQ(t.result[2].value, 0.0);
    EXPECT_EQ(t.result[3].sample, 48000);
}

TEST(Timeline, MalformedLineIsAnErrorNamingTheLine)
{
    const std::vector<std::string> bad{"x play 120 0",   "-5 stop",     "10 play 120", "10 play 0 0",
                                       "10 play 120 q",  "10 stop now", "10 value",    "10 value nan",
                                       "10 value -1e40", "10 pause",    "10",          "1.5 stop",
                                       "10 play nan 0"};
    for (const auto& line : bad)
    {
        const auto t = parseText("0 stop\n\n" + line + "\n");
        EXPECT_FALSE(t.ok()) << line;
        EXPECT_EQ(t.error.rfind("t.txt:3: ", 0), 0u) << t.error;
        EXPECT_TRUE(t.result.empty());
    }
    const auto order = parseText("100 stop\n50 play 120 0\n");
    EXPECT_EQ(order.error.rfind("t.txt:2: ", 0), 0u) << order.error;
}

TEST(Transport, EventsTakeEffectAtTheNextBlockBoundary)
{
    const auto t = parseText("0 stop\n1000 play 120 0.3\n1000 value 0.5\n2048 stop\n");
    ASSERT_TRUE(t.ok());
    TransportSimulation transport(48000, 90, 7.0, t.result);
    std::vector<double> values;

    auto pos = transport.beginBlock(0, values);
    EXPECT_FALSE(pos.playing);
    pos = transport.beginBlock(512, values);
    EXPECT_FALSE(pos.playing);
    EXPECT_TRUE(values.empty());

    pos = transport.beginBlock(1024, values); // first boundary at or after 1000
    EXPECT_TRUE(pos.playing);
    EXPECT_EQ(pos.bpm, 120.0);
    EXPECT_EQ(pos.hostTicks, 288000); // 0.3 x 960000
    EXPECT_EQ(values, std::vector<double>{0.5});

    pos = transport.beginBlock(1536, values);
    EXPECT_EQ(pos.hostTicks, 288000 + 512 * 40); // 40 ticks a sample at 120 bpm, 48 kHz
    pos = transport.beginBlock(2048, values);    // stops here and keeps its position
    EXPECT_FALSE(pos.playing);
    EXPECT_EQ(pos.hostTicks, 288000 + 1024 * 40);
    EXPECT_EQ(transport.beginBlock(4096, values).hostTicks, 288000 + 1024 * 40);
}

TEST(Transport, ReportsWholeHostTicksRoundedHalfAwayFromZero)
{
    // Without events the transport plays from the start position.
    TransportSimulation transport(44100, 100, 0.1, {});
    std::vector<double> values;
    const auto pos = transport.beginBlock(441, values);
    // 0.1 + 441 x 100 / (60 x 44100) = 0.1 + 1/60 quarter notes = 112000 ticks.
    EXPECT_TRUE(pos.playing);
    EXPECT_EQ(pos.hostTicks, 112000);
    EXPECT_EQ(pos.ppqPosition, 112000 / 960000.0);

    // One more sample is 960000 x 100 / (60 x 44100) = 36.28 ticks: rounds to 36.
    EXPECT_EQ(transport.beginBlock(442, values).hostTicks, 112036);

    const double half = 0.5 / 960000.0;
    ASSERT_EQ(half * 960000.0, 0.5);
    EXPECT_EQ(ppqToHostTicks(half), 1);
    EXPECT_EQ(ppqToHostTicks(-half), -1);
    EXPECT_EQ(ppqToHostTicks(2.4e-7), 0); // 0.2304 ticks
    EXPECT_EQ(ppqToHostTicks(-5.0), -4800000);
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
    EXPECT_NE(r.exitCode, 0);
    EXPECT_NE(r.out.find(timeline + ":3:"), std::string::npos) << r.out;
    EXPECT_FALSE(exists(out));
    EXPECT_FALSE(exists(out + ".partial"));

    r = runTool("--out '" + out + "' --timeline '" + timeline + ".missing'");
    EXPECT_NE(r.exitCode, 0);
    EXPECT_FALSE(exists(out));

    r = runTool("--out '" + out + "' --block 0");
    EXPECT_NE(r.exitCode, 0);
    EXPECT_NE(r.out.find("--block"), std::string::npos);
    EXPECT_FALSE(exists(out));

    r = runTool("--out '" + tempPath("no-such-dir") + "/clock.wav'");
    EXPECT_NE(r.exitCode, 0);
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

TEST(RenderTool, SummaryIsValidJsonForAnyFileName)
{
    RenderSummary summary;
    summary.samples = 10;
    summary.channels = 1;
    summary.rate = 48000;
    summary.pulses = 2;
    EXPECT_EQ(summaryJson(summary, "a\tb\"c\\d\n\x01\xc3\xa9.wav"),
              "{\"out\":\"a\\u0009b\\\"c\\\\d\\u000a\\u0001\xc3\xa9.wav\",\"samples\":10,\"channels\":1,"
              "\"rate\":48000,\"pulses\":2}");
}
