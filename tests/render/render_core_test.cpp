// The render core without a processor: command-line options, timeline files, the
// simulated transport, the block loop and the summary line.
#include "tambrix/render/BlockLoop.h"
#include "tambrix/render/RenderTool.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <map>
#include <limits>
#include <sstream>

namespace
{

using namespace tambrix::render;

Parsed<std::vector<TimelineEvent>> parseText(const std::string& text)
{
    std::istringstream in(text);
    return parseTimeline(in, "t.txt");
}

TEST(RenderOptions, DefaultsAndEveryOption)
{
    const auto d = parseArguments({});
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
        parseArguments({"--out", "x.wav", "--rate=44100", "--block", "64", "--channels", "6", "--bpm", "93.5",
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
    EXPECT_EQ(*parseArguments({"--index", "31"}).result.index, 31u);
}

TEST(RenderOptions, RejectsBadArgumentsWithAMessage)
{
    // A value out of its range, or no number at all: the refusal names the option's limits,
    // which come from the limits' constants.
    const auto limits = [](const std::string& option)
    {
        for (const OptionFacts& f : optionFacts())
            if (f.name == option)
                return f.limits;
        return std::string("?");
    };
    EXPECT_EQ(limits("--rate"),
              "a whole number of Hz from " + std::to_string(minRate) + " to " + std::to_string(maxRate));
    EXPECT_EQ(limits("--bpm"), "a tempo above 0 and at most " + tambrix::text::numberText(maxBpm));
    EXPECT_EQ(limits("--index"), "a whole number from 0 to " + std::to_string(maxIndex));
    const std::vector<std::pair<std::string, std::string>> outOfRange{
        {"--rate", "0"},        {"--rate", "48000.5"}, {"--block", "0"},   {"--channels", "65"},
        {"--bpm", "-120"},      {"--bpm", "nan"},      {"--start", "inf"}, {"--seconds", "-1"},
        {"--value", "1e300"},   {"--index", "256"},    {"--index", "-1"},  {"--rate", " 48000"},
        {"--bpm", "0x1p-1074x"}};
    for (const auto& [option, word] : outOfRange)
        EXPECT_EQ(parseArguments({option, word}).error,
                  option + " must be " + limits(option) + ", not '" + word + "'");
    EXPECT_EQ(parseArguments({"--block=x"}).error, "--block must be " + limits("--block") + ", not 'x'");

    const std::vector<std::pair<std::vector<std::string>, std::string>> bad{
        {{"--value", "1e-320"},
         "--value cannot be '1e-320': it underflows (closer to 0 than the smallest normal double)"},
        {{"--bpm", "0x1p-1074"},
         "--bpm cannot be '0x1p-1074': it underflows (closer to 0 than the smallest normal double)"},
        {{"--value", "0.2", "--index", "6"}, "--value and --index cannot be given together"},
        {{"--out"}, "option --out needs a value"},
        {{"--frobnicate=1"}, "unknown option '--frobnicate=1'"},
        {{"--\x1B[2J"}, "unknown option '--\\x1B[2J'"},
        {{"clock.wav"}, "unexpected argument 'clock.wav'"},
        {{"--seconds", "1e-9"}, "--seconds gives no samples at this rate"},
        {{"--timeline", ""}, "--timeline needs a file name"},
        {{"--out="}, "--out needs a file name"},
        // The usage, asked for where an option may stand, goes before any refusal.
        {{"--frobnicate", "--help"}, ""},
        {{"--rate", "1", "-h"}, ""}};
    for (const auto& [args, message] : bad)
        EXPECT_EQ(parseArguments(args).error, message);
}

// README's table of options says what the option table says: every option, its
// default, and the limits its refusals name.
TEST(RenderOptions, TheReadmeTableMatchesTheOptionTable)
{
    std::ifstream readme(README_FILE);
    std::string line;
    while (std::getline(readme, line) && line != "### tambrix-render")
    {
    }
    std::map<std::string, std::vector<std::string>> rows; // first cell to the other cells, backticks removed
    while (std::getline(readme, line) && (rows.empty() || line.rfind("| `", 0) == 0))
    {
        if (line.rfind("| `", 0) != 0)
            continue;
        line.erase(std::remove(line.begin(), line.end(), '`'), line.end());
        std::vector<std::string> cells;
        std::istringstream split(line.substr(1));
        for (std::string cell; std::getline(split, cell, '|');)
            cells.push_back(cell.size() > 2 ? cell.substr(1, cell.size() - 2) : "");
        rows[cells.at(0)] = cells;
    }
    const std::vector<OptionFacts> facts = optionFacts();
    EXPECT_EQ(rows.size(), facts.size());
    for (const OptionFacts& f : facts)
    {
        const auto row = rows.find(f.name + " " + f.value);
        ASSERT_NE(row, rows.end()) << f.name;
        EXPECT_EQ(row->second.at(1), f.byDefault) << f.name;
        EXPECT_NE(row->second.at(2).find(f.limits), std::string::npos) << f.name << ": " << f.limits;
    }
}

TEST(Timeline, ParsesEventsCommentsAndBlankLines)
{
    const auto t = parseText("\xEF\xBB\xBF# a timeline, after a byte-order mark\n"
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
    EXPECT_EQ(t.result[1].number, 0.3);
    EXPECT_EQ(t.result[2].kind, TimelineEvent::Kind::value);
    EXPECT_EQ(t.result[2].number, 0.0);
    EXPECT_EQ(t.result[3].sample, 48000);

    // Events at or after the render's end are checked, then left out.
    std::istringstream ended("0 stop\n48000 stop\n"), wrongAfterTheEnd("0 stop\n48000 pause\n");
    EXPECT_EQ(parseTimeline(ended, "t.txt", 48000).result.size(), 1u);
    EXPECT_EQ(parseTimeline(wrongAfterTheEnd, "t.txt", 48000).error,
              "t.txt:2: unknown event 'pause' (expected play, stop or value)");
}

TEST(Timeline, MalformedLineIsAnErrorNamingTheLine)
{
    // The last one: a byte-order mark may begin a file, not a later line.
    const std::vector<std::string> bad{
        "x play 120 0", "-5 stop",  "10 play 120",   "10 play 0 0",         "10 play 120 q",
        "10 stop now",  "10 value", "10 value nan",  "10 value -1e40",      "10 pause",
        "10",           "1.5 stop", "10 play nan 0", "\xEF\xBB\xBF 10 stop"};
    for (const auto& line : bad)
    {
        const auto t = parseText("0 stop\n\n" + line + "\n");
        EXPECT_FALSE(t.ok()) << line;
        EXPECT_EQ(t.error.rfind("t.txt:3: ", 0), 0u) << t.error;
        EXPECT_TRUE(t.result.empty());
    }
    const auto order = parseText("100 stop\n50 play 120 0\n");
    EXPECT_EQ(order.error.rfind("t.txt:2: ", 0), 0u) << order.error;

    // Words are shown with their control bytes escaped, cut after 64 characters.
    const std::vector<std::pair<std::string, std::string>> shown{
        {std::string("0 \x1B[2J\0\n", 8),
         "t.txt:1: unknown event '\\x1B[2J\\x00' (expected play, stop or value)"},
        {"0 value " + std::string(100, '9') + "\n",
         "t.txt:1: V must be a number of magnitude at most 1e9, not '" + std::string(64, '9') + "\u2026'"},
        {"0 play 120 1e-320\n",
         "t.txt:1: PPQ cannot be '1e-320': it underflows (closer to 0 than the smallest normal double)"}};
    for (const auto& [text, message] : shown)
        EXPECT_EQ(parseText(text).error, message);
}

TEST(TransportSimulation, EventsTakeEffectAtTheNextBlockBoundary)
{
    const auto t = parseText("0 stop\n1000 play 120 0.3\n1000 value 0.5\n2048 stop\n");
    ASSERT_TRUE(t.ok());
    TransportSimulation transport(48000, 90, 7.0, t.result);
    std::vector<double> values;

    auto pos = transport.beginBlock(0, values);
    EXPECT_FALSE(pos.playing());
    pos = transport.beginBlock(512, values);
    EXPECT_FALSE(pos.playing());
    EXPECT_TRUE(values.empty());

    pos = transport.beginBlock(1024, values); // first boundary at or after 1000
    EXPECT_TRUE(pos.playing());
    EXPECT_EQ(pos.bpm(), 120.0);
    EXPECT_EQ(pos.hostTicks, 288000); // 0.3 x 960000
    EXPECT_EQ(values, std::vector<double>{0.5});

    pos = transport.beginBlock(1536, values);
    EXPECT_EQ(pos.hostTicks, 288000 + 512 * 40); // 40 ticks a sample at 120 bpm, 48 kHz
    pos = transport.beginBlock(2048, values);    // stops here and keeps its position
    EXPECT_FALSE(pos.playing());
    EXPECT_EQ(pos.hostTicks, 288000 + 1024 * 40);
    EXPECT_EQ(transport.beginBlock(4096, values).hostTicks, 288000 + 1024 * 40);
}

TEST(TransportSimulation, ReportsWholeHostTicksRoundedHalfAwayFromZero)
{
    // Without events the transport plays from the start position.
    TransportSimulation transport(44100, 100, 0.1);
    std::vector<double> values;
    const auto pos = transport.beginBlock(441, values);
    // 0.1 + 441 x 100 / (60 x 44100) = 0.1 + 1/60 quarter notes = 112000 ticks.
    EXPECT_TRUE(pos.playing());
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
    // Saturating at the int64 range (NaN at its lowest).
    EXPECT_EQ(ppqToHostTicks(1e300), std::numeric_limits<std::int64_t>::max());
    EXPECT_EQ(ppqToHostTicks(-1e300), std::numeric_limits<std::int64_t>::min());
    EXPECT_EQ(ppqToHostTicks(std::nan("")), std::numeric_limits<std::int64_t>::min());
}

TEST(BlockLoop, ValuesBeforeTheirBlockFramesInterleavedPulsesOnTheFirstChannel)
{
    RenderOptions options;
    options.rate = 1000;
    options.block = 300;
    options.seconds = 1.0;
    options.index = 3;
    options.timeline = parseText("0 stop\n250 value 0.5\n250 play 60 2\n").result;

    // Channel 0 rises at the start of every playing block; channel 1 counts samples.
    std::vector<std::string> log;
    std::vector<float> channels[2];
    const float* outputs[2] = {};
    BlockProcessor processor;
    processor.channels = 2;
    processor.setValue = [&log](double value)
    {
        log.push_back("value " + std::to_string(value));
    };
    processor.runBlock = [&](const TransportPosition& position, int frames, std::string&)
    {
        log.push_back("block " + std::to_string(position.sample) + " " + std::to_string(frames) +
                      (position.playing() ? " at " + std::to_string(position.hostTicks) : ""));
        channels[0].assign(static_cast<std::size_t>(frames), 0.0f);
        channels[0][0] = position.playing() ? 1.0f : 0.0f;
        channels[1].clear();
        for (int i = 0; i < frames; ++i)
            channels[1].push_back(static_cast<float>(position.sample + i));
        outputs[0] = channels[0].data();
        outputs[1] = channels[1].data();
        return outputs;
    };
    std::vector<float> frames;
    const FrameSink sink = [&frames](const float* interleaved, int count)
    {
        frames.insert(frames.end(), interleaved, interleaved + 2 * count);
        return true;
    };
    RenderSummary summary;
    std::string error;
    ASSERT_TRUE(renderBlocks(processor, options, sink, summary, error)) << error;

    EXPECT_EQ(log, (std::vector<std::string>{"value 0.100000", "block 0 300", "value 0.500000",
                                             "block 300 300 at 1920000", "block 600 300 at 2208000",
                                             "block 900 100 at 2496000"}));
    ASSERT_EQ(frames.size(), 2000u);
    for (std::size_t i = 0; i < 1000; ++i)
    {
        ASSERT_EQ(frames[2 * i], i == 300 || i == 600 || i == 900 ? 1.0f : 0.0f) << i;
        ASSERT_EQ(frames[2 * i + 1], static_cast<float>(i)) << i;
    }
    EXPECT_EQ(summary.samples, 1000);
    EXPECT_EQ(summary.channels, 2);
    EXPECT_EQ(summary.rate, 1000);
    EXPECT_EQ(summary.pulses, 3);

    EXPECT_FALSE(renderBlocks(
        processor, options, [](const float*, int) { return false; }, summary, error));
    EXPECT_EQ(error, "cannot write the rendered signal");
    processor.runBlock = [](const TransportPosition&, int, std::string& failure) -> const float* const*
    {
        failure = "refused";
        return nullptr;
    };
    EXPECT_FALSE(renderBlocks(processor, options, sink, summary, error));
    EXPECT_EQ(error, "refused");
}

TEST(RenderSummary, OneLineOfJsonForAnyFileName)
{
    RenderSummary summary;
    summary.samples = 10;
    summary.channels = 1;
    summary.rate = 48000;
    summary.pulses = 2;
    const std::string name = "a\tb\"c\\d\n\x01\xc3\xa9.wav";
    const std::string line = summaryJson(summary, name);
    EXPECT_EQ(line.find('\n'), std::string::npos) << line;
    EXPECT_EQ(line.rfind("{\"out\":", 0), 0u) << line;
    EXPECT_EQ(line.substr(line.find(",\"samples\"")),
              ",\"samples\":10,\"channels\":1,\"rate\":48000,\"pulses\":2}");
    EXPECT_EQ(nlohmann::json::parse(line).at("out"), name);
    // Bytes that are not UTF-8 come out as U+FFFD.
    EXPECT_EQ(nlohmann::json::parse(summaryJson(summary, "x\xff.wav")).at("out"), "x\xef\xbf\xbd.wav");
}

TEST(RenderTool, FinishedRunsOnceTheFileIsInPlaceAndAFailedRunLeavesNothing)
{
    RenderOptions options;
    options.rate = 1000;
    options.seconds = 0.01;
    options.channels = 1;
    const float silence[10] = {};
    RenderSteps steps;
    steps.prepare = [](std::string&)
    {
        return 0;
    };
    steps.play = [&silence](const FrameSink& sink, RenderSummary&, std::string&)
    {
        return sink(silence, 10);
    };
    std::ostringstream out, err;
    std::vector<std::string> seen; // what `out` held and whether the file was there
    steps.finished = [&]
    {
        seen.push_back(out.str() + (std::filesystem::is_regular_file(options.out) ? "file" : "none"));
    };

    options.out = ::testing::TempDir() + "render_core_test.wav";
    EXPECT_EQ(runRenderTool("t", "", "", options, steps, out, err), 0) << err.str();
    EXPECT_EQ(seen, std::vector<std::string>{"file"});
    std::filesystem::remove(options.out);

    // A folder in the way: refused before anything is rendered.
    options.out = ::testing::TempDir() + "render_core_test_folder";
    std::filesystem::create_directories(options.out);
    EXPECT_EQ(runRenderTool("t", "", "", options, steps, out, err), 2);
    EXPECT_EQ(seen.size(), 1u);
    std::filesystem::remove(options.out);
}

} // namespace
