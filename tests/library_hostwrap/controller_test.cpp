#include "host_wrap_fixture.h"

#include "AAX_Errors.h"
#include "AAX_IPageTable.h"
#include "AAX_VController.h"

#include <cstring>
#include <memory>

using tambrix::test::ControllerHost;
using tambrix::test::TestString;

namespace
{

class ControllerWrapper : public ::testing::Test
{
protected:
    ControllerHost h;

    std::unique_ptr<AAX_IController> makeWrapper()
    {
        return std::make_unique<AAX_VController>(h.libraryUnknown());
    }
};

TEST_F(ControllerWrapper, ForwardsEveryOperationToTheHostOperationOfTheSameName)
{
    h.controller->setEffectId("com.jelv.tambrix");
    h.controller->setSampleRate(44100.0f);
    h.controller->setStemFormats(AAX_eStemFormat_Mono, AAX_eStemFormat_Stereo);
    h.controller->setTodLocation(-(int64_t{1} << 40));
    h.controller->setHybridSignalLatency(77);
    h.controller->setAutomationTimestamp(int64_t{1} << 35);
    h.controller->setHostName("Test Host 7");
    h.controller->setTargetPlatform(3);
    h.controller->setMeters({{0.25f, 0.5f, true}, {0.125f, 0.75f, false}});
    aaxhost::MidiPacket midi;
    midi.timestamp = 17;
    midi.length = 3;
    midi.data[0] = 0x90;
    midi.data[1] = 60;
    midi.data[2] = 100;
    midi.isImmediate = 1;
    h.controller->queueMidiPacket(2, midi);

    auto wrapper = makeWrapper();
    AAX_IController& c = *wrapper; // through the abstract interface, as callers use it

    TestString id;
    EXPECT_EQ(c.GetEffectID(&id), AAX_SUCCESS);
    EXPECT_EQ(id.text(), "com.jelv.tambrix");
    EXPECT_EQ(h.lastOperation("Controller"), "GetEffectID");

    AAX_CSampleRate rate = 0.0f;
    EXPECT_EQ(c.GetSampleRate(&rate), AAX_SUCCESS);
    EXPECT_EQ(rate, 44100.0f);
    EXPECT_EQ(h.lastOperation("Controller"), "GetSampleRate");

    AAX_EStemFormat in = AAX_eStemFormat_None, out = AAX_eStemFormat_None;
    EXPECT_EQ(c.GetInputStemFormat(&in), AAX_SUCCESS);
    EXPECT_EQ(h.lastOperation("Controller"), "GetInputStemFormat");
    EXPECT_EQ(c.GetOutputStemFormat(&out), AAX_SUCCESS);
    EXPECT_EQ(h.lastOperation("Controller"), "GetOutputStemFormat");
    EXPECT_EQ(static_cast<uint32_t>(in), 0x00000001u);
    EXPECT_EQ(static_cast<uint32_t>(out), 0x00010002u);

    EXPECT_EQ(c.SetSignalLatency(4321), AAX_SUCCESS);
    EXPECT_EQ(h.lastOperation("Controller"), "SetSignalLatency");
    EXPECT_EQ(h.controller->signalLatency(), 4321);
    int32_t latency = 0;
    EXPECT_EQ(c.GetSignalLatency(&latency), AAX_SUCCESS);
    EXPECT_EQ(h.lastOperation("Controller"), "GetSignalLatency");
    EXPECT_EQ(latency, 4321);

    AAX_EProperty props[2] = {static_cast<AAX_EProperty>(11), static_cast<AAX_EProperty>(12)};
    AAX_CPropertyValue counts[2] = {500, 1200};
    EXPECT_EQ(c.SetCycleCount(props, counts, 2), AAX_SUCCESS);
    EXPECT_EQ(h.lastOperation("Controller"), "SetCycleCount");
    AAX_CPropertyValue cycles = 0;
    EXPECT_EQ(c.GetCycleCount(static_cast<AAX_EProperty>(12), &cycles), AAX_SUCCESS);
    EXPECT_EQ(h.lastOperation("Controller"), "GetCycleCount");
    EXPECT_EQ(cycles, 1200);

    AAX_CTimeOfDay tod = 0;
    EXPECT_EQ(c.GetTODLocation(&tod), AAX_SUCCESS);
    EXPECT_EQ(h.lastOperation("Controller"), "GetTODLocation");
    EXPECT_EQ(tod, -(int64_t{1} << 40));

    // Meters: the count sits before the clip state in the wrapper, after it at the host.
    uint32_t meterCount = 0;
    EXPECT_EQ(c.GetMeterCount(&meterCount), AAX_SUCCESS);
    EXPECT_EQ(h.lastOperation("Controller"), "GetMeterCount");
    EXPECT_EQ(meterCount, 2u);
    AAX_CBoolean clipped = 7;
    EXPECT_EQ(c.GetMeterClipped(0, &clipped), AAX_SUCCESS);
    EXPECT_EQ(h.lastOperation("Controller"), "GetMeterClipped");
    EXPECT_EQ(clipped, 1);
    EXPECT_EQ(c.ClearMeterClipped(0), AAX_SUCCESS);
    EXPECT_EQ(h.lastOperation("Controller"), "ClearMeterClipped");
    EXPECT_EQ(c.GetMeterClipped(0, &clipped), AAX_SUCCESS);
    EXPECT_EQ(clipped, 0);
    float value = 0.0f;
    EXPECT_EQ(c.GetCurrentMeterValue(1, &value), AAX_SUCCESS);
    EXPECT_EQ(h.lastOperation("Controller"), "GetCurrentMeterValue");
    EXPECT_EQ(value, 0.125f);
    EXPECT_EQ(c.GetMeterPeakValue(1, &value), AAX_SUCCESS);
    EXPECT_EQ(h.lastOperation("Controller"), "GetMeterPeakValue");
    EXPECT_EQ(value, 0.75f);
    EXPECT_EQ(c.ClearMeterPeakValue(1), AAX_SUCCESS);
    EXPECT_EQ(h.lastOperation("Controller"), "ClearMeterPeakValue");
    EXPECT_EQ(h.controller->meters()[1].peak, 0.0f);
    // A host error passes through unchanged.
    EXPECT_EQ(c.GetCurrentMeterValue(2, &value), aaxhost::hostresult::InvalidMeterIndex);

    AAX_CFieldIndex node = 0;
    AAX_CMidiPacket packet{};
    EXPECT_EQ(c.GetNextMIDIPacket(&node, &packet), AAX_SUCCESS);
    EXPECT_EQ(h.lastOperation("Controller"), "GetNextMIDIPacket");
    EXPECT_EQ(node, 2);
    EXPECT_EQ(packet.mTimestamp, 17u);
    EXPECT_EQ(packet.mLength, 3u);
    EXPECT_EQ(packet.mData[0], 0x90);
    EXPECT_EQ(packet.mData[1], 60);
    EXPECT_EQ(packet.mData[2], 100);
    EXPECT_EQ(packet.mIsImmediate, 1);
    EXPECT_EQ(c.GetNextMIDIPacket(&node, &packet), aaxhost::hostresult::NoMidiPacket);

    int32_t hybrid = 0;
    EXPECT_EQ(c.GetHybridSignalLatency(&hybrid), AAX_SUCCESS);
    EXPECT_EQ(h.lastOperation("Controller"), "GetHybridSignalLatency");
    EXPECT_EQ(hybrid, 77);
    AAX_CTransportCounter stamp = 0;
    EXPECT_EQ(c.GetCurrentAutomationTimestamp(&stamp), AAX_SUCCESS);
    EXPECT_EQ(h.lastOperation("Controller"), "GetCurrentAutomationTimestamp");
    EXPECT_EQ(stamp, int64_t{1} << 35);
    TestString name;
    EXPECT_EQ(c.GetHostName(&name), AAX_SUCCESS);
    EXPECT_EQ(h.lastOperation("Controller"), "GetHostName");
    EXPECT_EQ(name.text(), "Test Host 7");

    AAX_CTargetPlatform platform = 0;
    EXPECT_EQ(c.GetPlugInTargetPlatform(&platform), AAX_SUCCESS);
    EXPECT_EQ(h.lastOperation("Controller"), "GetPlugInTargetPlatform");
    EXPECT_EQ(platform, 3);
    AAX_CBoolean audioSuite = 9;
    EXPECT_EQ(c.GetIsAudioSuite(&audioSuite), AAX_SUCCESS);
    EXPECT_EQ(h.lastOperation("Controller"), "GetIsAudioSuite");
    EXPECT_EQ(audioSuite, 0);
}

TEST_F(ControllerWrapper, NotificationsComeRightAfterPostPacketAndReachTheHostsNotificationSlot)
{
    auto wrapper = makeWrapper();
    const uint8_t payload[3] = {1, 2, 3};
    EXPECT_EQ(wrapper->SendNotification(0x41424344u, payload, 3), AAX_SUCCESS);
    EXPECT_EQ(h.lastOperation("Controller"), "SendNotification");
    EXPECT_EQ(wrapper->SendNotification(0x45464748u), AAX_SUCCESS);
    EXPECT_EQ(h.lastOperation("Controller"), "SendNotification");

    const auto notes = h.controller->notifications();
    ASSERT_EQ(notes.size(), 2u);
    EXPECT_EQ(notes[0].type, 0x41424344u);
    EXPECT_EQ(notes[0].data, (std::vector<uint8_t>{1, 2, 3}));
    // The type-only form: a null data pointer and size 0.
    EXPECT_EQ(notes[1].type, 0x45464748u);
    EXPECT_FALSE(notes[1].hadData);
    const auto calls = h.host.recorder().calls("Controller", "SendNotification");
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[1].arg<uint64_t>(0), 0x45464748u);
    EXPECT_TRUE(std::holds_alternative<std::nullptr_t>(calls[1].args.at(1)));
    EXPECT_EQ(calls[1].arg<uint64_t>(2), 0u);
}

TEST_F(ControllerWrapper, PostedPacketsArriveIntactAsCopies)
{
    auto wrapper = makeWrapper();
    float bypass = 1.0f;
    uint8_t block[64];
    for (int i = 0; i < 64; ++i)
        block[i] = static_cast<uint8_t>(255 - i);

    EXPECT_EQ(wrapper->PostPacket(3, &bypass, sizeof bypass), AAX_SUCCESS);
    EXPECT_EQ(h.lastOperation("Controller"), "PostPacket");
    EXPECT_EQ(wrapper->PostPacket(7, block, sizeof block), AAX_SUCCESS);
    EXPECT_EQ(wrapper->PostPacket(-1, nullptr, 0), AAX_SUCCESS);
    bypass = 0.0f; // the host keeps what was posted, not the caller's buffer
    block[0] = 0;

    const auto packets = h.controller->packets();
    ASSERT_EQ(packets.size(), 3u);
    EXPECT_EQ(packets[0].port, 3);
    ASSERT_EQ(packets[0].data.size(), 4u);
    float posted = 0.0f;
    std::memcpy(&posted, packets[0].data.data(), 4);
    EXPECT_EQ(posted, 1.0f);
    EXPECT_EQ(packets[1].port, 7);
    ASSERT_EQ(packets[1].data.size(), 64u);
    EXPECT_EQ(packets[1].data[0], 255);
    EXPECT_EQ(packets[1].data[63], 192);
    EXPECT_EQ(packets[2].port, -1);
    EXPECT_TRUE(packets[2].data.empty());

    // A host refusal passes through unchanged.
    h.controller->setResult("PostPacket", AAX_ERROR_POST_PACKET_FAILED);
    EXPECT_EQ(wrapper->PostPacket(3, &bypass, sizeof bypass), AAX_ERROR_POST_PACKET_FAILED);
}

TEST(ControllerWrapperWithoutHost, NullUnknownGivesTheMissingResultsAndTouchesNoOutput)
{
    AAX_VController c(nullptr);

    AAX_CSampleRate rate = 123.0f;
    EXPECT_EQ(c.GetSampleRate(&rate), AAX_ERROR_NULL_OBJECT);
    EXPECT_EQ(rate, 123.0f);
    AAX_EStemFormat stem = AAX_eStemFormat_None; // what the framework presets
    EXPECT_EQ(c.GetInputStemFormat(&stem), AAX_ERROR_NULL_OBJECT);
    EXPECT_EQ(static_cast<uint32_t>(stem), 0xFF9C0000u);
    EXPECT_EQ(c.SetSignalLatency(5), AAX_ERROR_NULL_OBJECT);
    EXPECT_EQ(c.PostPacket(0, &rate, 4), AAX_ERROR_NULL_OBJECT);
    uint32_t meters = 55;
    EXPECT_EQ(c.GetMeterCount(&meters), AAX_ERROR_NULL_OBJECT);
    EXPECT_EQ(meters, 55u);

    TestString name("unchanged");
    EXPECT_EQ(c.GetHostName(&name), AAX_ERROR_UNIMPLEMENTED);
    EXPECT_EQ(name.text(), "unchanged");
    EXPECT_EQ(c.SendNotification(1u), AAX_ERROR_UNIMPLEMENTED);
    AAX_CBoolean audioSuite = 4;
    EXPECT_EQ(c.GetIsAudioSuite(&audioSuite), AAX_ERROR_UNIMPLEMENTED);
    EXPECT_EQ(audioSuite, 4);

    // The one output the wrapper writes itself: 0, unless there is nowhere to write.
    AAX_CTransportCounter stamp = 99;
    EXPECT_EQ(c.GetCurrentAutomationTimestamp(&stamp), AAX_ERROR_UNIMPLEMENTED);
    EXPECT_EQ(stamp, 0);
    EXPECT_EQ(c.GetCurrentAutomationTimestamp(nullptr), AAX_ERROR_NULL_ARGUMENT);

    EXPECT_EQ(c.CreateTableCopyForEffect(1, 2, 3, 0, 8), nullptr);
    EXPECT_EQ(c.CreateTableCopyForLayoutFromFile("/tmp/x", AAX_eTextEncoding_UTF8, "L", 0, 8), nullptr);
}

TEST_F(ControllerWrapper, HostWithVersionOneOnlyAnswersVersionOneAndLeavesLaterOutputsAlone)
{
    h.controller->refuse(aaxhost::IID_IAAXControllerV2);
    h.controller->refuse(aaxhost::IID_IAAXControllerV3);
    auto c = makeWrapper();

    AAX_CSampleRate rate = 0.0f;
    EXPECT_EQ(c->GetSampleRate(&rate), AAX_SUCCESS);
    EXPECT_EQ(rate, 48000.0f);

    int32_t hybrid = -3;
    EXPECT_EQ(c->GetHybridSignalLatency(&hybrid), AAX_ERROR_UNIMPLEMENTED);
    EXPECT_EQ(hybrid, -3);
    AAX_CTransportCounter stamp = 99;
    EXPECT_EQ(c->GetCurrentAutomationTimestamp(&stamp), AAX_ERROR_UNIMPLEMENTED);
    EXPECT_EQ(stamp, 0);
    AAX_CTargetPlatform platform = -8;
    EXPECT_EQ(c->GetPlugInTargetPlatform(&platform), AAX_ERROR_UNIMPLEMENTED);
    EXPECT_EQ(platform, -8);
    EXPECT_EQ(c->SendNotification(5u, nullptr, 0), AAX_ERROR_UNIMPLEMENTED);
    EXPECT_TRUE(h.controller->notifications().empty());
}

TEST_F(ControllerWrapper, HostWithoutVersionThreeStillNamesItself)
{
    h.controller->refuse(aaxhost::IID_IAAXControllerV3);
    auto c = makeWrapper();
    TestString name;
    EXPECT_EQ(c->GetHostName(&name), AAX_SUCCESS);
    EXPECT_EQ(name.text(), "tambrix test host");
    AAX_CBoolean audioSuite = 2;
    EXPECT_EQ(c->GetIsAudioSuite(&audioSuite), AAX_ERROR_UNIMPLEMENTED);
    EXPECT_EQ(audioSuite, 2);
}

TEST_F(ControllerWrapper, HostWithoutVersionOneAnswersNullObjectForVersionOneOperations)
{
    h.controller->refuse(aaxhost::IID_IAAXControllerV1);
    auto c = makeWrapper();
    AAX_CSampleRate rate = 5.0f;
    EXPECT_EQ(c->GetSampleRate(&rate), AAX_ERROR_NULL_OBJECT);
    EXPECT_EQ(rate, 5.0f);
    TestString name;
    EXPECT_EQ(c->GetHostName(&name), AAX_SUCCESS); // version 2 is still there
}

TEST_F(ControllerWrapper, ReferencesAreBalancedAfterTheWrapperIsDestroyed)
{
    const uint32_t controllerRefs = h.controller->refCount();
    const uint32_t transportRefs = h.transport->refCount();
    const uint32_t factoryRefs = h.host.factory().refCount();
    const int64_t live = aaxhost::HostObject::liveCount();
    {
        auto c = makeWrapper();
        // Five controller interfaces and the factory are held while it lives.
        EXPECT_EQ(h.controller->refCount(), controllerRefs + 5);
        EXPECT_EQ(h.host.factory().refCount(), factoryRefs + 1);
        std::unique_ptr<AAX_IPageTable> table(c->CreateTableCopyForEffect(1, 2, 3, 0, 8));
        ASSERT_NE(table, nullptr);
    }
    EXPECT_EQ(h.controller->refCount(), controllerRefs);
    EXPECT_EQ(h.transport->refCount(), transportRefs);
    EXPECT_EQ(h.host.factory().refCount(), factoryRefs);
    EXPECT_EQ(aaxhost::HostObject::liveCount(), live);
    EXPECT_EQ(h.controller->overReleases(), 0u);
    EXPECT_EQ(h.host.factory().overReleases(), 0u);
}

// --- page-table copies

aaxhost::PageTableContents sampleTable()
{
    aaxhost::PageTableContents table;
    table.pages = {{"0", "", "MasterBypassID"}, {"0"}};
    table.nameVariations = {{"0", {{4, "TSig"}, {9, "Time Sig."}}}};
    return table;
}

TEST_F(ControllerWrapper, CopiedTableOutlivesTheControllerThatMadeIt)
{
    h.controller->setSourceTable(sampleTable());
    const int64_t live = aaxhost::HostObject::liveCount();
    auto c = makeWrapper();
    std::unique_ptr<AAX_IPageTable> table(
        c->CreateTableCopyForLayout("com.jelv.tambrix", "Console", 0x50540001u, 8));
    ASSERT_NE(table, nullptr);

    const auto calls = h.host.recorder().calls("Controller", "CopyTableForLayout");
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].arg<std::string>(0), "com.jelv.tambrix");
    EXPECT_EQ(calls[0].arg<std::string>(1), "Console");
    EXPECT_EQ(calls[0].arg<uint64_t>(2), 0x50540001u);
    EXPECT_EQ(calls[0].arg<int64_t>(3), 8);
    EXPECT_NE(calls[0].arg<const void*>(4), nullptr);

    c.reset();
    int32_t pages = 0;
    EXPECT_EQ(table->GetNumPages(pages), AAX_SUCCESS);
    EXPECT_EQ(pages, 2);
    TestString id;
    EXPECT_EQ(table->GetMappedParameterID(0, 2, id), AAX_SUCCESS);
    EXPECT_EQ(id.text(), "MasterBypassID");
    TestString shortName;
    EXPECT_EQ(table->GetParameterNameVariationOfLength("0", 4, shortName), AAX_SUCCESS);
    EXPECT_EQ(shortName.text(), "TSig");

    table.reset();
    EXPECT_EQ(aaxhost::HostObject::liveCount(), live); // the host's page table is gone too
}

TEST_F(ControllerWrapper, EachCopyOperationReachesItsOwnHostOperationWithItsArguments)
{
    h.controller->setSourceTable(sampleTable());
    auto c = makeWrapper();

    std::unique_ptr<AAX_IPageTable> a(c->CreateTableCopyForEffect(0x4A656C76, 0x74627278, -5, 7u, 12));
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(h.lastOperation("Controller"), "CopyTableForEffect");
    auto call = h.host.recorder().calls("Controller", "CopyTableForEffect").at(0);
    EXPECT_EQ(call.arg<int64_t>(0), 0x4A656C76);
    EXPECT_EQ(call.arg<int64_t>(1), 0x74627278);
    EXPECT_EQ(call.arg<int64_t>(2), -5);
    EXPECT_EQ(call.arg<uint64_t>(3), 7u);
    EXPECT_EQ(call.arg<int64_t>(4), 12);

    std::unique_ptr<AAX_IPageTable> b(
        c->CreateTableCopyForEffectFromFile("/pt/a.xml", AAX_eTextEncoding_UTF8, 1, 2, 3, 4u, 5));
    ASSERT_NE(b, nullptr);
    call = h.host.recorder().calls("Controller", "CopyTableForEffectFromFile").at(0);
    EXPECT_EQ(call.arg<std::string>(0), "/pt/a.xml");
    EXPECT_EQ(call.arg<int64_t>(1), AAX_eTextEncoding_UTF8);
    EXPECT_EQ(call.arg<int64_t>(4), 3);
    EXPECT_EQ(call.arg<int64_t>(6), 5);

    std::unique_ptr<AAX_IPageTable> d(
        c->CreateTableCopyForLayoutFromFile("/pt/b.xml", AAX_eTextEncoding_Undefined, "Surface", 9u, 16));
    ASSERT_NE(d, nullptr);
    call = h.host.recorder().calls("Controller", "CopyTableForLayoutFromFile").at(0);
    EXPECT_EQ(call.arg<std::string>(0), "/pt/b.xml");
    EXPECT_EQ(call.arg<int64_t>(1), -1);
    EXPECT_EQ(call.arg<std::string>(2), "Surface");
    EXPECT_EQ(call.arg<uint64_t>(3), 9u);

    // Each copy is a table of its own.
    EXPECT_EQ(a->MapParameterID("X", 1, 3), AAX_SUCCESS);
    int32_t mapped = 0;
    EXPECT_EQ(b->GetNumMappedParameterIDs(1, mapped), AAX_SUCCESS);
    EXPECT_EQ(mapped, 1);
}

TEST_F(ControllerWrapper, FailedCopyGivesNullAndReleasesTheTable)
{
    const int64_t live = aaxhost::HostObject::liveCount();
    auto c = makeWrapper();
    h.controller->setResult("CopyTableForEffect", -20041);
    EXPECT_EQ(c->CreateTableCopyForEffect(1, 2, 3, 0, 8), nullptr);
    EXPECT_EQ(h.host.factory().createdCount(), 1u); // a table was made for the host to fill...
    c.reset();
    EXPECT_EQ(aaxhost::HostObject::liveCount(), live); // ...and released again
}

TEST_F(ControllerWrapper, WithoutAFactoryTheHostIsStillAskedWithANullTableAndTheResultIsNull)
{
    h.unknown->refuse(aaxhost::IID_IACFComponentFactory);
    auto c = makeWrapper(); // no exception for the missing factory

    EXPECT_EQ(c->CreateTableCopyForEffect(1, 2, 3, 0, 8), nullptr);
    auto calls = h.host.recorder().calls("Controller", "CopyTableForEffect");
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].arg<const void*>(5), nullptr);

    // Even a host that claims success cannot hand back a table it never had.
    h.controller->setResult("CopyTableForLayout", AAX_SUCCESS);
    EXPECT_EQ(c->CreateTableCopyForLayout("e", "l", 0, 8), nullptr);
    EXPECT_EQ(h.host.recorder().calls("Controller", "CopyTableForLayout").size(), 1u);
}

TEST_F(ControllerWrapper, AFactoryThatCannotMakeATableGivesTheHostANullTable)
{
    h.host.factory().failComponent(aaxhost::AAXCompID_PageTable);
    auto c = makeWrapper();
    EXPECT_EQ(c->CreateTableCopyForEffect(1, 2, 3, 0, 8), nullptr);
    const auto calls = h.host.recorder().calls("Controller", "CopyTableForEffect");
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].arg<const void*>(5), nullptr);
}

TEST_F(ControllerWrapper, MissingPageTableControllerGivesNullWithoutCallingTheHost)
{
    h.controller->refuse(aaxhost::IID_IAAXPageTableController);
    h.controller->refuse(aaxhost::IID_IAAXPageTableControllerV2);
    auto c = makeWrapper();
    EXPECT_EQ(c->CreateTableCopyForEffect(1, 2, 3, 0, 8), nullptr);
    EXPECT_EQ(c->CreateTableCopyForLayout("e", "l", 0, 8), nullptr);
    EXPECT_EQ(h.host.factory().createdCount(), 0u);
    EXPECT_TRUE(h.host.recorder().calls("Controller", "CopyTableForEffect").empty());
    EXPECT_TRUE(h.host.recorder().calls("Controller", "CopyTableForLayout").empty());
}

TEST_F(ControllerWrapper, PageTableControllerVersionOneOnlyRefusesTheFileCopies)
{
    h.controller->refuse(aaxhost::IID_IAAXPageTableControllerV2);
    auto c = makeWrapper();
    EXPECT_EQ(c->CreateTableCopyForEffectFromFile("/f", AAX_eTextEncoding_UTF8, 1, 2, 3, 0, 8), nullptr);
    EXPECT_EQ(c->CreateTableCopyForLayoutFromFile("/f", AAX_eTextEncoding_UTF8, "l", 0, 8), nullptr);
    EXPECT_EQ(h.host.factory().createdCount(), 0u);
    std::unique_ptr<AAX_IPageTable> table(c->CreateTableCopyForEffect(1, 2, 3, 0, 8));
    EXPECT_NE(table, nullptr);
}

} // namespace
