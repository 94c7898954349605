// The host's audio cycle through the bundle, with every heap call and mutex lock of
// the process counted around each call of the process procedure (process_counters.h).
#include "process_counters.h"

#include "aaxhost/EffectInstance.h"
#include "aaxhost/PluginSession.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

namespace
{

using tambrix::test::Counts;

constexpr int kBlocks = 1200;
constexpr double kRate = 48000.0;

// One stereo instance played for kBlocks blocks as EffectInstance::runBlock plays
// them (prepareBlock, then the process procedure), counting only around the process
// procedure. Between blocks the host sets "Time Signature", switches the master
// bypass on and off, and moves the transport: jumps to other positions and tempos,
// stops, and plays again; the block length changes too. Returns the counts of every
// block.
std::vector<Counts> playWatchedBlocks()
{
    std::vector<Counts> counts;
    counts.reserve(kBlocks);
    std::string error;
    auto session = aaxhost::PluginSession::open(TAMBRIX_BUNDLE, &error);
    if (session == nullptr)
    {
        ADD_FAILURE() << error;
        return counts;
    }
    {
        aaxhost::EffectInstance::Setup setup;
        setup.sampleRate = kRate;
        auto instance = aaxhost::EffectInstance::create(*session, setup, &error);
        if (instance == nullptr)
        {
            ADD_FAILURE() << error;
            return counts;
        }
        std::minstd_rand random(17);
        const auto uniform = [&random](double low, double high)
        {
            return std::uniform_real_distribution<double>(low, high)(random);
        };
        constexpr int32_t kLengths[] = {512, 512, 256, 1024, 64, 1, 480};

        tambrix::render::TransportAnchor anchor{true, 120.0, 0.0, 0};
        int64_t sample = 0;
        for (int block = 0; block < kBlocks; ++block)
        {
            if (block % 7 == 3)
            {
                EXPECT_EQ(instance->update("0", std::floor(uniform(0.0, 31.0)) / 30.0), 0);
            }
            if (block % 50 == 25 || block % 50 == 40)
            {
                EXPECT_EQ(instance->update("MasterBypassID", block % 50 == 25 ? 1.0 : 0.0), 0);
            }
            if (block % 30 == 15)
            {
                const bool playing = uniform(0.0, 1.0) < 0.8;
                const double bpm = uniform(30.0, 300.0);
                anchor = {playing, bpm, uniform(-4.0, 1000.0), sample};
            }
            const int32_t frames = kLengths[static_cast<std::size_t>(block) % std::size(kLengths)];

            instance->prepareBlock(anchor, sample);
            tambrix::test::startCounting();
            const bool ran = instance->algorithm().process(frames);
            counts.push_back(tambrix::test::stopCounting());
            EXPECT_TRUE(ran);

            sample += frames;
        }
        EXPECT_EQ(instance->undeliveredPackets(), 0u);
    }
    EXPECT_EQ(session->close(), 0);
    return counts;
}

TEST(AudioPath, ProcessProcedureAllocatesNothingAfterTheFirstBlock)
{
    const std::vector<Counts> counts = playWatchedBlocks();
    ASSERT_EQ(counts.size(), static_cast<std::size_t>(kBlocks));
    // The framework's wrapper makes its list of channel pointers in the first
    // block: seeing that allocation shows that the counters see the heap calls of
    // the plug-in (loaded with dlopen) inside the process procedure.
    EXPECT_GT(counts[0].allocations, 0u);
    for (int block = 1; block < kBlocks; ++block)
    {
        const Counts& c = counts[static_cast<std::size_t>(block)];
        ASSERT_EQ(c.allocations, 0u) << "block " << block;
        ASSERT_EQ(c.releases, 0u) << "block " << block;
    }
}

// The framework's wrapper runs processBlock under the processor's callback lock,
// which the framework takes on every block by design: the host's other calls into
// the processor (state, parameters, preparation) take it too, to keep out of the
// audio. Allowed is exactly that one lock per block, always the same mutex, and
// free when taken (nothing else holds it while the host plays). Any further lock,
// a wait, or a block without the lock fails.
TEST(AudioPath, ProcessProcedureTakesNoLockButTheCallbackLock)
{
    const std::vector<Counts> counts = playWatchedBlocks();
    ASSERT_EQ(counts.size(), static_cast<std::size_t>(kBlocks));
    const void* callbackLock = counts[0].firstMutex;
    ASSERT_NE(callbackLock, nullptr);
    for (int block = 0; block < kBlocks; ++block)
    {
        const Counts& c = counts[static_cast<std::size_t>(block)];
        ASSERT_EQ(c.locks, 1u) << "block " << block;
        ASSERT_EQ(c.firstMutex, callbackLock) << "block " << block;
        ASSERT_EQ(c.waits, 0u) << "block " << block;
    }
}

} // namespace
