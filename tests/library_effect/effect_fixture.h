#pragma once

#include "test_effect.h"

#include "aaxhost/EffectDriver.h"
#include "aaxhost/Host.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace tambrix::test
{

// The value a packet carries as a 4-byte float.
inline float PacketFloat(const aaxhost::PostedPacket& packet)
{
    float value = -1.0f;
    EXPECT_EQ(packet.data.size(), sizeof(float));
    if (packet.data.size() == sizeof(float))
        std::memcpy(&value, packet.data.data(), sizeof(float));
    return value;
}

// Ports of the packets, in posting order.
inline std::vector<int32_t> Ports(const std::vector<aaxhost::PostedPacket>& packets)
{
    std::vector<int32_t> ports;
    for (const auto& packet : packets)
        ports.push_back(packet.port);
    return ports;
}

// A host with one test effect created through creator procedure 0. Checks at the end
// that every library object and every host object made meanwhile is gone.
class EffectFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        libraryLiveAtStart = CACFUnknown::GetActiveObjectCount();
        hostLiveAtStart = aaxhost::HostObject::liveCount();
        host = std::make_unique<aaxhost::Host>();
        driver = std::make_unique<aaxhost::EffectDriver>(*host);
        ASSERT_EQ(driver->create(&TestEffect::Create), aaxhost::kResultOk);
    }

    void TearDown() override
    {
        driver.reset();
        host.reset();
        EXPECT_EQ(CACFUnknown::GetActiveObjectCount(), libraryLiveAtStart);
        EXPECT_EQ(aaxhost::HostObject::liveCount(), hostLiveAtStart);
    }

    aaxhost::IEffectParameters& Fx() { return *driver->effect(); }
    TestEffect& Object() { return TestEffect::From(driver->effect()); }

    void Initialize() { ASSERT_EQ(driver->initialize(), aaxhost::kResultOk); }

    double Value(const char* id)
    {
        double value = -1.0;
        EXPECT_EQ(Fx().GetParameterNormalizedValue(id, &value), 0);
        return value;
    }

    int32_t Changes()
    {
        int32_t changes = -12345;
        EXPECT_EQ(Fx().GetNumberOfChanges(&changes), 0);
        return changes;
    }

    int32_t libraryLiveAtStart = 0;
    int64_t hostLiveAtStart = 0;
    std::unique_ptr<aaxhost::Host> host;
    std::unique_ptr<aaxhost::EffectDriver> driver;
};

} // namespace tambrix::test
