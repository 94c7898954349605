// Host updates on one thread, coefficient requests on another, host queries on a
// third: every update is counted, no packet is lost, and (in a ThreadSanitizer build)
// nothing races.

#include "effect_fixture.h"

#include <atomic>
#include <thread>

using namespace tambrix::test;

namespace
{
constexpr int kUpdates = 20000;

// The value of update i: steps of 0.01 through 0..0.99, so consecutive values differ.
double UpdateValue(int i)
{
    return (i % 100) / 100.0;
}
} // namespace

TEST_F(EffectFixture, UpdatesAndCoefficientsOnDifferentThreads)
{
    Initialize();
    std::atomic<bool> updating{true};
    std::atomic<int> dispatches{0};

    std::thread updater(
        [&]
        {
            for (int i = 0; i < kUpdates; ++i)
                EXPECT_EQ(driver->update("Gain", UpdateValue(i)), 0);
            updating = false;
        });
    std::thread coefficients(
        [&]
        {
            while (updating)
            {
                EXPECT_EQ(driver->generateCoefficients(), 0);
                ++dispatches;
            }
        });
    std::thread queries(
        [&]
        {
            double value = 0.0;
            int32_t changes = 0;
            while (updating)
            {
                EXPECT_EQ(Fx().GetParameterNormalizedValue("Gain", &value), 0);
                EXPECT_GE(value, 0.0);
                EXPECT_LE(value, 1.0);
                EXPECT_EQ(Fx().GetNumberOfChanges(&changes), 0);
            }
        });
    updater.join();
    coefficients.join();
    queries.join();
    EXPECT_EQ(driver->generateCoefficients(), 0);

    // Every update changed the value (the first from the default 0.5 to 0.0).
    EXPECT_EQ(Changes(), kUpdates);

    // The last packet on the gain port carries the last value.
    const auto posted = driver->takePosted();
    const aaxhost::PostedPacket* lastGain = nullptr;
    for (const auto& packet : posted)
        if (packet.port == kGainPort)
            lastGain = &packet;
    ASSERT_NE(lastGain, nullptr);
    EXPECT_EQ(PacketFloat(*lastGain), static_cast<float>(UpdateValue(kUpdates - 1)));
    EXPECT_GT(dispatches.load(), 0);
}
