// aaxhost's render through the bundle writes exactly what tambrix-render writes:
// the same options and timelines, played once through the processor directly and
// once through the bundle's effect object and process procedure.
#include "BundlePlay.h"
#include "ClockRender.h"
#include "MetronaAudioProcessor.h"
#include "RenderCommand.h"
#include "subprocess.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

namespace
{

using tambrix::render::RenderOptions;

struct Case
{
    std::string name;
    std::string timeline; // empty: none
    double start = 0.0;
    double bpm = 120.0;
    double seconds = 3.0;
    std::optional<std::uint32_t> index;
};

RenderOptions optionsFor(const Case& c, int channels, int block)
{
    RenderOptions o;
    o.channels = channels;
    o.block = block;
    o.start = c.start;
    o.bpm = c.bpm;
    o.seconds = c.seconds;
    o.index = c.index;
    if (!c.timeline.empty())
    {
        std::istringstream in(c.timeline);
        auto parsed = tambrix::render::parseTimeline(in, c.name);
        EXPECT_TRUE(parsed.ok()) << parsed.error;
        o.timeline = parsed.result;
    }
    return o;
}

std::vector<float> renderDirect(const RenderOptions& o)
{
    juce::ScopedJuceInitialiser_GUI juce;
    MetronaAudioProcessor processor;
    std::vector<float> out;
    tambrix::render::RenderSummary summary;
    std::string error;
    const bool ok = tambrix::render::renderClock(
        processor, o,
        [&out, &o](const float* frames, int count)
        {
            out.insert(out.end(), frames, frames + static_cast<std::ptrdiff_t>(count) * o.channels);
            return true;
        },
        summary, error);
    EXPECT_TRUE(ok) << error;
    return out;
}

struct BundleRun
{
    std::vector<float> samples;
    aaxhost::Result live = -1;
};

BundleRun renderBundle(const RenderOptions& o, bool bypass = false)
{
    BundleRun run;
    std::string error;
    auto session = aaxhost::PluginSession::open(TAMBRIX_BUNDLE, &error);
    EXPECT_NE(session, nullptr) << error;
    if (!session)
        return run;
    aaxhost::play::PlayOptions options;
    options.render = o;
    options.bypass = bypass;
    {
        auto instance = aaxhost::play::makePlayInstance(*session, options, &error);
        EXPECT_NE(instance, nullptr) << error;
        if (!instance)
            return run;
        tambrix::render::RenderSummary summary;
        const bool ok = aaxhost::play::playThroughInstance(
            *instance, options,
            [&run, &o](const float* frames, int count)
            {
                run.samples.insert(run.samples.end(), frames,
                                   frames + static_cast<std::ptrdiff_t>(count) * o.channels);
                return true;
            },
            summary, error);
        EXPECT_TRUE(ok) << error;
        EXPECT_EQ(instance->undeliveredPackets(), 0u);
    }
    run.live = session->close();
    return run;
}

bool bitIdentical(const std::vector<float>& a, const std::vector<float>& b)
{
    return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof(float)) == 0;
}

std::size_t firstDifference(const std::vector<float>& a, const std::vector<float>& b)
{
    std::size_t i = 0;
    while (i < a.size() && i < b.size() && std::memcmp(&a[i], &b[i], sizeof(float)) == 0)
        ++i;
    return i;
}

const std::vector<Case>& cases()
{
    static const std::vector<Case> all{
        {"bar line", "", 0.0, 120.0, 3.0, {}},
        {"late start in the first sixteenth", "", 0.1, 120.0, 3.0, {}},
        {"start later in the bar", "", 0.3, 120.0, 3.0, {2}},
        {"tempo change", "0 play 120 0.0\n40000 play 150 2.0\n90000 play 73.5 4.75\n", 0.0, 120.0, 3.0, {}},
        {"jump back", "0 play 120 0.0\n60000 play 120 0.5\n100000 play 120 0.05\n", 0.0, 120.0, 3.0, {}},
        {"stop and restart",
         "0 play 120 0.0\n30000 stop\n50000 play 120 0.1\n90000 stop\n100000 play 96 4.0\n",
         0.0,
         120.0,
         3.0,
         {}},
        {"time signature change while waiting",
         "0 stop\n0 value 0.0333333\n24000 play 90 -2.0\n60000 value 0.5\n",
         0.0,
         120.0,
         4.0,
         {}},
    };
    return all;
}

TEST(RenderIdentity, BundleWritesTheSamplesOfTheOfflineRenderer)
{
    for (const Case& c : cases())
        for (const int channels : {1, 2, 6})
            for (const int block : {64, 441, 1024, 2048})
            {
                SCOPED_TRACE(c.name + ", " + std::to_string(channels) + " channels, blocks of " +
                             std::to_string(block));
                const RenderOptions o = optionsFor(c, channels, block);
                const std::vector<float> direct = renderDirect(o);
                const BundleRun bundle = renderBundle(o);
                ASSERT_EQ(direct.size(),
                          static_cast<std::size_t>(o.totalSamples()) * static_cast<std::size_t>(channels));
                EXPECT_TRUE(bitIdentical(direct, bundle.samples))
                    << "first difference at value " << firstDifference(direct, bundle.samples);
                EXPECT_EQ(bundle.live, 0) << "plug-in objects left after the session";
            }
}

TEST(RenderIdentity, EverySurroundLayoutOfTheBundle)
{
    const Case c{"late start", "", 0.1, 120.0, 1.0, {}};
    for (const int channels : {3, 4, 5, 7, 8})
    {
        SCOPED_TRACE(std::to_string(channels) + " channels");
        const RenderOptions o = optionsFor(c, channels, 512);
        EXPECT_TRUE(bitIdentical(renderDirect(o), renderBundle(o).samples));
    }
}

TEST(RenderIdentity, SingleSampleBlocks)
{
    const Case c{"stop and restart", "0 play 120 0.0\n3000 stop\n5000 play 120 0.26\n", 0.0, 120.0, 0.25, {}};
    const RenderOptions o = optionsFor(c, 2, 1);
    EXPECT_TRUE(bitIdentical(renderDirect(o), renderBundle(o).samples));
}

TEST(RenderThroughBundle, PulsesOfAPlainRunAtTheWorkedExampleOnsets)
{
    // 120 bpm, 48 kHz, from position 0: pulse onsets at samples 0, 1001, 2001, 3001, ...
    // (the k-th pulse begins where the position reaches k x 0.0416666679 quarter notes).
    const Case c{"plain", "", 0.0, 120.0, 0.1, {}};
    const RenderOptions o = optionsFor(c, 1, 512);
    const std::vector<float> s = renderBundle(o).samples;
    ASSERT_EQ(s.size(), 4800u);
    EXPECT_EQ(s[0], static_cast<float>(0.7886 * 0.949999988079071));
    EXPECT_EQ(s[1], 0.9404999613761902f);
    EXPECT_EQ(s[96], 0.0f);
    EXPECT_EQ(s[97], 9.999999747378752e-05f);
    EXPECT_EQ(s[98], -9.999999747378752e-05f);
    EXPECT_LT(s[1000], 0.001f);
    EXPECT_GT(s[1001], 0.7f);
    EXPECT_GT(s[2001], 0.7f);
    EXPECT_LT(s[2000], 0.001f);
}

TEST(RenderThroughBundle, StoppedTransportGivesTheIdleSignal)
{
    const Case c{"stopped", "0 stop\n", 0.0, 120.0, 0.01, {}};
    const RenderOptions o = optionsFor(c, 2, 5);
    const std::vector<float> s = renderBundle(o).samples;
    ASSERT_EQ(s.size(), 960u);
    const float e = 9.999999747378752e-05f;
    // Every stopped block begins with -e: blocks of 5 give -e +e -e +e -e, again and again.
    for (std::size_t frame = 0; frame < 480; ++frame)
    {
        const float expected = (frame % 5) % 2 == 0 ? -e : e;
        ASSERT_EQ(s[frame * 2], expected) << frame;
        ASSERT_EQ(s[frame * 2 + 1], expected) << frame;
    }
}

TEST(RenderThroughBundle, MasterBypassRendersNoClock)
{
    const Case c{"bypassed", "", 0.0, 120.0, 0.5, {}};
    const RenderOptions o = optionsFor(c, 2, 512);
    const BundleRun run = renderBundle(o, true);
    ASSERT_EQ(run.samples.size(), 48000u);
    for (const float v : run.samples)
        ASSERT_EQ(v, 0.0f); // silent input passed through
    EXPECT_EQ(run.live, 0);
}

TEST(RenderThroughBundle, InstanceDeliversTheBypassPacketAndChoosesTheComponent)
{
    std::string error;
    auto session = aaxhost::PluginSession::open(TAMBRIX_BUNDLE, &error);
    ASSERT_NE(session, nullptr) << error;
    {
        aaxhost::play::PlayOptions options;
        options.render.channels = 6;
        auto instance = aaxhost::play::makePlayInstance(*session, options, &error);
        ASSERT_NE(instance, nullptr) << error;
        EXPECT_EQ(aaxhost::PluginSession::stemChannelCount(instance->outputStemFormat()), 6);
        EXPECT_EQ(instance->algorithm().layout().outputChannels, 6);

        // The first coefficients after initialisation: the bypass value, a 4-byte float 0, on port 3.
        const tambrix::render::TransportAnchor playing{true, 120.0, 0.0, 0};
        ASSERT_TRUE(instance->runBlock(playing, 0, 16));
        auto packets = instance->takePacketLog();
        ASSERT_EQ(packets.size(), 1u);
        EXPECT_EQ(packets[0].port, 3);
        EXPECT_EQ(packets[0].data, std::vector<uint8_t>(4, 0));
        ASSERT_TRUE(instance->runBlock(playing, 0, 16));
        EXPECT_TRUE(instance->takePacketLog().empty());

        const std::string bypass = "MasterBypassID";
        EXPECT_EQ(instance->update(bypass.c_str(), 1.0), 0);
        ASSERT_TRUE(instance->runBlock(playing, 0, 16));
        packets = instance->takePacketLog();
        ASSERT_EQ(packets.size(), 1u);
        float value = 0.0f;
        std::memcpy(&value, instance->algorithm().portData(3).data(), 4);
        EXPECT_EQ(value, 1.0f);

        EXPECT_FALSE(instance->runBlock(playing, 0, 1 << 20)); // beyond the longest block
    }
    EXPECT_EQ(session->close(), 0);
}

// However long a session plays, it keeps nothing that grows with it: host updates
// and the plug-in's own requests, each followed by a block that posts the bypass,
// leave no recorded call, controller packet, automation event or update result,
// and the packet log holds only the newest packets.
TEST(RenderThroughBundle, ManyUpdatesAndBlocksKeepNoGrowingRecord)
{
    std::string error;
    auto session = aaxhost::PluginSession::open(TAMBRIX_BUNDLE, &error);
    ASSERT_NE(session, nullptr) << error;
    {
        auto instance = aaxhost::play::makePlayInstance(*session, {}, &error);
        ASSERT_NE(instance, nullptr) << error;
        const tambrix::render::TransportAnchor stopped;
        ASSERT_TRUE(instance->runBlock(stopped, 0, 16));
        instance->takePacketLog();
        constexpr std::size_t kBlocks = 20001; // odd: the newest packet switches the bypass on
        for (std::size_t i = 0; i < kBlocks; ++i)
        {
            EXPECT_EQ(instance->update("MasterBypassID", i % 2 == 0 ? 1.0 : 0.0), 0);
            const double value = static_cast<double>(i % 30) / 30.0;
            if (i % 2 == 0)
                EXPECT_EQ(instance->update("0", value), 0);
            else
                EXPECT_EQ(instance->effect().SetParameterNormalizedValue("0", value), 0);
            ASSERT_TRUE(instance->runBlock(stopped, 0, 16));
        }
        aaxhost::EffectDriver& driver = instance->driver();
        EXPECT_EQ(session->host().recorder().size(), 0u);
        EXPECT_TRUE(driver.controller().packets().empty());
        EXPECT_TRUE(driver.automation().events().empty());
        EXPECT_TRUE(driver.updateResults().empty());
        std::size_t dropped = 0;
        const auto packets = instance->takePacketLog(&dropped);
        ASSERT_EQ(packets.size(), aaxhost::EffectInstance::kPacketLogSize);
        EXPECT_EQ(dropped, kBlocks - packets.size());
        EXPECT_EQ(packets.back().data, std::vector<uint8_t>({0x00, 0x00, 0x80, 0x3F})); // 1.0f
    }
    EXPECT_EQ(session->close(), 0);
}

TEST(RenderThroughBundle, NoComponentForAnUndescribedChannelCount)
{
    std::string error;
    auto session = aaxhost::PluginSession::open(TAMBRIX_BUNDLE, &error);
    ASSERT_NE(session, nullptr) << error;
    aaxhost::play::PlayOptions options;
    options.render.channels = 11;
    EXPECT_EQ(aaxhost::play::makePlayInstance(*session, options, &error), nullptr);
    EXPECT_NE(error.find("no component for 11 channels"), std::string::npos) << error;
    EXPECT_EQ(session->close(), 0);
}

std::string slurp(const std::string& path)
{
    std::string data;
    if (FILE* f = std::fopen(path.c_str(), "rb"))
    {
        char buffer[65536];
        std::size_t n = 0;
        while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0)
            data.append(buffer, n);
        std::fclose(f);
    }
    return data;
}

// Also in blocks of 16384 stereo frames (128 KiB), larger than the output file's buffer.
TEST(RenderCommand, ToolsWriteTheSameFile)
{
    const std::string dir = ::testing::TempDir();
    const std::string timeline = dir + "e2e_timeline.txt";
    const Case c{"pre-roll", "0 stop\n0 value 0.0333333\n48000 play 90 -2.0\n", 0.0, 120.0, 4.0, {}};
    std::ofstream(timeline) << c.timeline;
    const std::string a = dir + "e2e_a.wav", b = dir + "e2e_b.wav";
    const std::string aaxhost = std::string(AAXHOST_EXECUTABLE) + " render " + TAMBRIX_BUNDLE + " --out " + a;
    using tambrix::test::run;
    for (const std::string block : {"300", "16384"})
    {
        SCOPED_TRACE(block);
        const std::string args = " --timeline " + timeline + " --seconds 4 --channels 2 --block " + block;
        ASSERT_EQ(run(aaxhost + args).exitCode, 0);
        ASSERT_EQ(run(std::string(TAMBRIX_RENDER_EXECUTABLE) + " --out " + b + args).exitCode, 0);
        const std::string wa = slurp(a), wb = slurp(b);
        EXPECT_EQ(wa, wb);
        // The header, then exactly the samples of the processor played in-process.
        const std::vector<float> direct = renderDirect(optionsFor(c, 2, std::stoi(block)));
        EXPECT_EQ(wa.substr(0, 4), "RIFF");
        EXPECT_EQ(wa.substr(58),
                  std::string(reinterpret_cast<const char*>(direct.data()), direct.size() * 4));
    }
}

TEST(RenderCommand, BundleAndBypassMayStandAmongTheOptions)
{
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"b.aaxplugin", "--bypass", "--rate", "44100"},
          std::vector<std::string>{"--bypass", "b.aaxplugin", "--rate", "44100"},
          std::vector<std::string>{"--rate", "44100", "b.aaxplugin", "--bypass"}})
    {
        const auto parsed = aaxhost::tool::parseRenderCommand(args);
        ASSERT_TRUE(parsed.ok()) << parsed.error;
        EXPECT_EQ(parsed.result.bundle, "b.aaxplugin");
        EXPECT_TRUE(parsed.result.options.bypass);
        EXPECT_EQ(parsed.result.options.render.rate, 44100);
    }
    // An option's value is never taken for the bundle.
    EXPECT_EQ(aaxhost::tool::parseRenderCommand({"--out", "x.wav"}).error,
              "missing BUNDLE (the tambrix.aaxplugin folder or its binary)");
    EXPECT_EQ(aaxhost::tool::parseRenderCommand({"b.aaxplugin", "c.aaxplugin"}).error,
              "unexpected argument 'c.aaxplugin'");
}

TEST(RenderCommand, BadArgumentsWriteNothing)
{
    const std::string out = ::testing::TempDir() + "e2e_never.wav";
    std::remove(out.c_str());
    const std::string tool = std::string(AAXHOST_EXECUTABLE) + " render ";
    using tambrix::test::run;
    EXPECT_NE(run(tool + TAMBRIX_BUNDLE + " --out " + out + " --channels 0 2>/dev/null").exitCode, 0);
    EXPECT_NE(run(tool + "--out " + out + " 2>/dev/null").exitCode, 0);
    EXPECT_NE(run(tool + "/nonexistent.aaxplugin --out " + out + " 2>/dev/null").exitCode, 0);
    EXPECT_NE(run(tool + TAMBRIX_BUNDLE + " --out " + out + " --channels 11 2>/dev/null").exitCode, 0);
    EXPECT_FALSE(std::ifstream(out).good());
}

} // namespace
