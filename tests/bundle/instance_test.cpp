// One effect instance of the built bundle, driven through the host stand-in:
// the bypass packet after initialisation, the framework's state chunk restored,
// read back and reflected in the controls chunk, and both chunks after a host
// value without an index.
#include "aaxhost/ChunkRecord.h"
#include "aaxhost/Creators.h"
#include "aaxhost/EffectDriver.h"
#include "aaxhost/EffectInstance.h"
#include "aaxhost/PluginSession.h"

#include "tambrix/text/FourChar.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace
{

constexpr uint32_t kJuceChunk = *tambrix::text::fourCharCode("juce");
constexpr uint32_t kControlsChunk = *tambrix::text::fourCharCode("elck");

// A chunk's payload as the plug-in hands it over.
std::vector<uint8_t> chunkOf(aaxhost::IEffectParameters& effect, uint32_t chunkId)
{
    uint32_t size = 0;
    EXPECT_EQ(effect.GetChunkSize(chunkId, &size), 0);
    aaxhost::ChunkRecord record(chunkId, std::vector<uint8_t>(size), 0);
    EXPECT_EQ(effect.GetChunk(chunkId, record.get()), 0);
    EXPECT_EQ(static_cast<uint32_t>(record.header().size), size);
    return record.payload(size);
}

class BundleInstanceTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        hostObjectsAtStart = aaxhost::HostObject::liveCount();
        std::string error;
        session = aaxhost::PluginSession::load(TAMBRIX_BUNDLE, &error);
        ASSERT_NE(session, nullptr) << error;
        session->host().recorder().setEnabled(true); // the automation delegate's events are read
        session->start();
        ASSERT_NE(session->effect(), nullptr);
        driver = std::make_unique<aaxhost::EffectDriver>(session->host());
        ASSERT_EQ(driver->create(aaxhost::effectCreatorOf(*session->effect())), 0);
        ASSERT_EQ(driver->initialize(), 0);
        driver->automation().clearEvents();
    }

    void TearDown() override
    {
        if (driver)
        {
            EXPECT_EQ(driver->uninitialize(), 0);
            EXPECT_EQ(driver->release(), 0u);
            driver.reset();
        }
        if (session)
        {
            EXPECT_EQ(session->close(), 0);
            EXPECT_TRUE(session->host().services().traces().empty());
            EXPECT_TRUE(session->host().services().assertions().empty());
        }
        session.reset();
        EXPECT_EQ(aaxhost::HostObject::liveCount(), hostObjectsAtStart);
    }

    aaxhost::IEffectParameters& effect() { return *driver->effect(); }

    std::vector<uint8_t> chunk(uint32_t chunkId) { return chunkOf(effect(), chunkId); }

    int64_t hostObjectsAtStart = 0;
    std::unique_ptr<aaxhost::PluginSession> session;
    std::unique_ptr<aaxhost::EffectDriver> driver;
};

TEST_F(BundleInstanceTest, FirstCoefficientsPostTheBypassOnItsPort)
{
    ASSERT_EQ(driver->generateCoefficients(), 0);
    const std::vector<aaxhost::PostedPacket> posted = driver->takePosted();
    ASSERT_EQ(posted.size(), 1u);
    EXPECT_EQ(posted[0].port, 3);
    EXPECT_EQ(posted[0].data, std::vector<uint8_t>(4, 0)); // 0.0f: not bypassed
    ASSERT_EQ(driver->generateCoefficients(), 0);
    EXPECT_TRUE(driver->takePosted().empty()) << "nothing changed, nothing posted";
}

TEST_F(BundleInstanceTest, RestoringTheStateChunkSetsTheIndexAndSendsItThroughTheHost)
{
    // The processor's state: the time-signature index in the first byte (12/8: index 10).
    aaxhost::ChunkRecord record(kJuceChunk, {10, 0}, 0);
    ASSERT_EQ(effect().SetChunk(kJuceChunk, record.get()), 0);

    double value = 0.0;
    ASSERT_EQ(effect().GetParameterNormalizedValue("0", &value), 0);
    EXPECT_NEAR(value, 10.0 / 30.0, 1e-6);
    EXPECT_EQ(chunk(kJuceChunk), (std::vector<uint8_t>{10, 0}));

    // The framework re-sends every parameter but its own bypass as a set request.
    const auto requests = driver->automation().events(aaxhost::AutomationEvent::Kind::SetRequest);
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].parameterId, "0");
    EXPECT_NEAR(requests[0].value, 10.0 / 30.0, 1e-6);

    // Once the host answers, the controls chunk holds the value: marker, then the
    // entry 'd' '_' '0' with the float widened to a big-endian double.
    EXPECT_EQ(driver->deliverRequests(), 1u);
    const std::vector<aaxhost::Result> updates = driver->updateResults();
    ASSERT_EQ(updates.size(), 1u);
    EXPECT_EQ(updates[0], 0);
    const double stored = static_cast<double>(static_cast<float>(10.0 / 30.0));
    uint64_t bits = 0;
    std::memcpy(&bits, &stored, 8);
    std::vector<uint8_t> expected{1, 1, 1, 1, 'd', '_', '0', 0};
    for (int shift = 56; shift >= 0; shift -= 8)
        expected.push_back(static_cast<uint8_t>(bits >> shift));
    EXPECT_EQ(chunk(kControlsChunk), expected);
}

// Without a host collection the framework's describer would run against
// description objects that cannot reach the host (and dereference a property map
// it never gets): registration refuses before it runs.
TEST(BundleRegistration, RefusedWithoutAHostCollectionAndWithoutAnOutPointer)
{
    std::string error;
    auto module = aaxhost::PluginModule::open(TAMBRIX_BUNDLE, &error);
    ASSERT_NE(module, nullptr) << error;
    const aaxhost::EntryPoints& acf = module->entryPoints();
    {
        aaxhost::Host host; // no description components: the factory makes no collection
        ASSERT_EQ(acf.startup(host.unknownInterface()), 0);
        aaxhost::IACFPluginDefinition* definition = nullptr;
        EXPECT_EQ(acf.registerPlugin(host.unknownInterface(), &definition), -20004);
        EXPECT_EQ(definition, nullptr);
        EXPECT_EQ(acf.registerPlugin(nullptr, &definition), -20004);
        EXPECT_EQ(definition, nullptr);
        EXPECT_EQ(acf.registerPlugin(host.unknownInterface(), nullptr), -20044);
        EXPECT_EQ(acf.canUnloadNow(nullptr), 0);
        EXPECT_EQ(acf.shutdown(nullptr), 0);
        const std::vector<aaxhost::TraceRecord> traces = host.services().traces();
        ASSERT_EQ(traces.size(), 4u); // two for each refused registration
        EXPECT_EQ(traces[1].message, "AAXRegisterPlugin exception caught: AAX_ERROR_NULL_OBJECT (-20004)");
    }
}

// A host that answers the stem-format feature by property: the framework
// describes only the pairs of formats the host supports.
TEST(BundleRegistration, OnlyTheStemFormatsTheHostSupportsAreDescribed)
{
    const int64_t hostObjectsAtStart = aaxhost::HostObject::liveCount();
    {
        std::string error;
        auto session = aaxhost::PluginSession::load(TAMBRIX_BUNDLE, &error);
        ASSERT_NE(session, nullptr) << error;
        aaxhost::HostFeatureInfo& stemFormats = session->descriptionHost().stemFormatFeature();
        constexpr int32_t kMono = 0x00000001;
        constexpr int32_t kStereo = 0x00010002;
        // Every format index the framework may ask about, with any channel count:
        // supported for mono and stereo, unsupported otherwise.
        for (int32_t index = 0; index <= 12; ++index)
            for (int32_t channels = 0; channels <= 16; ++channels)
            {
                const int32_t format = (index << 16) | channels;
                stemFormats.setPropertyLevel(format, format == kMono || format == kStereo
                                                         ? aaxhost::kSupportLevelSupported
                                                         : aaxhost::kSupportLevelUnsupported);
            }

        session->start();
        ASSERT_EQ(session->startResult(), 0);
        ASSERT_EQ(session->registerResult(), 0);
        const auto effects = session->collection()->effects();
        ASSERT_EQ(effects.size(), 1u);
        std::set<std::pair<int64_t, int64_t>> pairs;
        for (const auto& component : effects[0].descriptor->components())
            for (const aaxhost::ProcessProcRecord& proc : component->processProcs())
                pairs.insert(
                    {proc.properties->value(51).value_or(-1), proc.properties->value(52).value_or(-1)});
        const std::set<std::pair<int64_t, int64_t>> expected{
            {kMono, kMono}, {kMono, kStereo}, {kStereo, kMono}, {kStereo, kStereo}};
        EXPECT_EQ(pairs, expected);
        EXPECT_EQ(effects[0].descriptor->components().size(), 4u);

        EXPECT_EQ(session->close(), 0);
        EXPECT_TRUE(session->host().services().traces().empty());
    }
    EXPECT_EQ(aaxhost::HostObject::liveCount(), hostObjectsAtStart);
}

// A host value without an index (NaN, an infinity, a product with 30 beyond single
// precision) after 0.2: the controls chunk and the state chunk name the same index,
// and a fresh instance restored from either plays as the original does.
TEST(BundleInstanceState, AValueWithoutAnIndexLeavesBothChunksNamingOneIndex)
{
    std::string error;
    auto session = aaxhost::PluginSession::open(TAMBRIX_BUNDLE, &error);
    ASSERT_NE(session, nullptr) << error;
    const int64_t hostObjectsAtStart = aaxhost::HostObject::liveCount();
    constexpr int32_t kFrames = 4096;
    const auto makeInstance = [&]
    {
        auto instance = aaxhost::EffectInstance::create(*session, {2, 48000.0, kFrames}, &error);
        EXPECT_NE(instance, nullptr) << error;
        return instance;
    };
    const auto setChunk =
        [](aaxhost::EffectInstance& instance, uint32_t chunkId, const std::vector<uint8_t>& payload)
    {
        aaxhost::ChunkRecord record(chunkId, payload, 0);
        EXPECT_EQ(instance.effect().SetChunk(chunkId, record.get()), 0);
    };
    // 600 bpm (200 ticks a sample) from quarter note 1: a bar line for index 0 (2
    // eighth notes), not for 6 or 30, whose clocks start at quarter notes 4 and 16.
    const auto play = [](aaxhost::EffectInstance& instance)
    {
        std::vector<float> samples;
        const tambrix::render::TransportAnchor anchor{true, 600.0, 1.0, 0};
        for (int block = 0; block < 20; ++block)
        {
            EXPECT_TRUE(instance.runBlock(anchor, block * kFrames, kFrames));
            const float* out = instance.algorithm().output(0);
            samples.insert(samples.end(), out, out + kFrames);
        }
        return samples;
    };

    const double inf = std::numeric_limits<double>::infinity();
    for (const double value : {inf, -inf, std::numeric_limits<double>::quiet_NaN(), 1e38, -1e38})
    {
        SCOPED_TRACE(value);
        auto original = makeInstance();
        ASSERT_NE(original, nullptr);
        EXPECT_EQ(original->update("0", 0.2), 0);
        EXPECT_EQ(original->update("0", value), 0);
        const std::vector<uint8_t> controls = chunkOf(original->effect(), kControlsChunk);
        const std::vector<uint8_t> state = chunkOf(original->effect(), kJuceChunk);
        // The controls chunk: marker, then 'd' '_' '0' with a big-endian double.
        ASSERT_EQ(controls.size(), 16u);
        uint64_t bits = 0;
        for (std::size_t i = 8; i < 16; ++i)
            bits = bits << 8 | controls[i];
        double stored = 0.0;
        std::memcpy(&stored, &bits, 8);
        ASSERT_EQ(state.size(), 2u);
        EXPECT_EQ(std::lround(stored * 30.0), state[0]);

        const std::vector<float> expected = play(*original);
        for (const auto& [chunkId, payload] :
             {std::pair{kControlsChunk, controls}, std::pair{kJuceChunk, state}})
        {
            auto restored = makeInstance();
            ASSERT_NE(restored, nullptr);
            setChunk(*restored, chunkId, payload);
            EXPECT_TRUE(play(*restored) == expected)
                << "restored from the " << (chunkId == kJuceChunk ? "state" : "controls") << " chunk";
        }
    }
    EXPECT_EQ(aaxhost::HostObject::liveCount(), hostObjectsAtStart);
    EXPECT_EQ(session->close(), 0);
}

} // namespace
