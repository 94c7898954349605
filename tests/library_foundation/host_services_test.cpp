// Traces and assertion reports through the host's services component.
#include "AAX_CHostServices.h"
#include "AAX_IHostServices.h"
#include "AAX_VHostServices.h"
#include "AAX_Assert.h"
#include "AAX_Errors.h"

#include "aaxhost/Host.h"

#include "library_unknown.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{
using tambrix::test::asLibrary;

class HostServicesTest : public ::testing::Test
{
protected:
    void SetUp() override { liveHostObjects = aaxhost::HostObject::liveCount(); }
    void TearDown() override { AAX_CHostServices::Set(nullptr); }

    int64_t liveHostObjects = 0;
};

TEST_F(HostServicesTest, WithoutServicesReportsAreDropped)
{
    ASSERT_EQ(AAX_CHostServices::GetAAXHostServices(), nullptr);
    EXPECT_EQ(AAX_CHostServices::Trace(AAX_eTracePriorityHost_High, "dropped %d", 1), 0);
    EXPECT_EQ(AAX_CHostServices::HandleAssertFailure("file.cpp", 3, "x != 0", 1), 0);
    AAX_CHostServices::Set(nullptr); // shut-down without start-up changes nothing
    EXPECT_EQ(AAX_CHostServices::GetAAXHostServices(), nullptr);
}

TEST_F(HostServicesTest, TracesReachTheHostFormatted)
{
    aaxhost::Host host;
    AAX_CHostServices::Set(asLibrary(host.unknownInterface()));
    EXPECT_EQ(AAX_CHostServices::Trace(AAX_eTracePriorityHost_High, "AAXRegisterPlugin exception caught: %s",
                                       "bad thing"),
              0);
    // Text in an argument is never read as a format.
    EXPECT_EQ(AAX_CHostServices::Trace(AAX_eTracePriorityHost_Normal, "%s", "100%d %s%n"), 0);

    const auto traces = host.services().traces();
    ASSERT_EQ(traces.size(), 2u);
    EXPECT_EQ(traces[0].priority, 0x08000000);
    EXPECT_EQ(traces[0].message, "AAXRegisterPlugin exception caught: bad thing");
    EXPECT_EQ(traces[1].priority, 0x04000000);
    EXPECT_EQ(traces[1].message, "100%d %s%n");
    EXPECT_EQ(host.recorder().count("UnusedPosition3"), 0u);
}

TEST_F(HostServicesTest, LongMessagesAreCutTo511Characters)
{
    aaxhost::Host host;
    AAX_CHostServices::Set(asLibrary(host.unknownInterface()));
    const std::string longText(600, 'x');
    AAX_CHostServices::Trace(AAX_eTracePriorityHost_High, "<%s>", longText.c_str());
    const std::string exact(511, 'y');
    AAX_CHostServices::Trace(AAX_eTracePriorityHost_High, "%s", exact.c_str());

    const auto traces = host.services().traces();
    ASSERT_EQ(traces.size(), 2u);
    EXPECT_EQ(traces[0].message, "<" + std::string(510, 'x'));
    EXPECT_EQ(traces[1].message, exact);
}

TEST_F(HostServicesTest, AssertionReportsCarryFileLineConditionAndFlagOne)
{
    aaxhost::Host host;
    AAX_CHostServices::Set(asLibrary(host.unknownInterface()));
    const int value = 0;
    const int line = __LINE__ + 1;
    AAX_ASSERT(value != 0);
    AAX_ASSERT(value == 0); // holds: no report

    const auto reports = host.services().assertions();
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0].file, __FILE__);
    EXPECT_EQ(reports[0].line, line);
    EXPECT_EQ(reports[0].condition, "value != 0");
    EXPECT_EQ(reports[0].flags, 1);
}

TEST_F(HostServicesTest, MissingVersionsAnswerWithoutCallingTheHost)
{
    aaxhost::Host host;
    host.factory().failInterface(aaxhost::AAXCompID_HostServices, aaxhost::IID_IAAXHostServicesV3);
    host.factory().failInterface(aaxhost::AAXCompID_HostServices, aaxhost::IID_IAAXHostServicesV2);
    AAX_CHostServices::Set(asLibrary(host.unknownInterface()));

    EXPECT_EQ(AAX_CHostServices::HandleAssertFailure("f.cpp", 1, "c", 1), AAX_ERROR_NULL_OBJECT);
    EXPECT_EQ(AAX_CHostServices::GetAAXHostServices()->StackTrace(1, 2, "s"), AAX_ERROR_UNIMPLEMENTED);
    EXPECT_EQ(AAX_CHostServices::Trace(AAX_eTracePriorityHost_High, "still here"), 0);
    EXPECT_TRUE(host.services().assertions().empty());
    EXPECT_TRUE(host.services().stackTraces().empty());
    ASSERT_EQ(host.services().traces().size(), 1u);
}

TEST_F(HostServicesTest, StackTracesGoThroughVersionTwo)
{
    aaxhost::Host host;
    AAX_CHostServices::Set(asLibrary(host.unknownInterface()));
    EXPECT_EQ(AAX_CHostServices::GetAAXHostServices()->StackTrace(0x08000000, 0x04000000, "where"), 0);
    const auto stackTraces = host.services().stackTraces();
    ASSERT_EQ(stackTraces.size(), 1u);
    EXPECT_EQ(stackTraces[0].tracePriority, 0x08000000);
    EXPECT_EQ(stackTraces[0].stackTracePriority, 0x04000000);
    EXPECT_EQ(stackTraces[0].message, "where");
}

TEST_F(HostServicesTest, WithoutAFactoryOrServicesEveryReportIsRefused)
{
    aaxhost::Host noServices;
    noServices.factory().failComponent(aaxhost::AAXCompID_HostServices);
    AAX_CHostServices::Set(asLibrary(noServices.unknownInterface()));
    EXPECT_EQ(AAX_CHostServices::Trace(AAX_eTracePriorityHost_High, "x"), AAX_ERROR_NULL_OBJECT);
    EXPECT_EQ(AAX_CHostServices::HandleAssertFailure("f", 1, "c", 1), AAX_ERROR_NULL_OBJECT);
    AAX_CHostServices::Set(nullptr);

    aaxhost::Host noFactory;
    noFactory.unknown().refuse(aaxhost::IID_IACFComponentFactory);
    AAX_CHostServices::Set(asLibrary(noFactory.unknownInterface()));
    EXPECT_EQ(AAX_CHostServices::Trace(AAX_eTracePriorityHost_High, "x"), AAX_ERROR_NULL_OBJECT);
    EXPECT_EQ(AAX_CHostServices::GetAAXHostServices()->StackTrace(1, 1, "x"), AAX_ERROR_UNIMPLEMENTED);
    EXPECT_EQ(noFactory.factory().createdCount(), 0u);
}

TEST_F(HostServicesTest, TheFirstHostKeepsReceivingUntilShutDown)
{
    aaxhost::Host first;
    aaxhost::Host second;
    AAX_CHostServices::Set(asLibrary(first.unknownInterface()));
    AAX_CHostServices::Set(asLibrary(second.unknownInterface()));
    AAX_CHostServices::Trace(AAX_eTracePriorityHost_High, "one");
    EXPECT_EQ(first.services().traces().size(), 1u);
    EXPECT_TRUE(second.services().traces().empty());

    AAX_CHostServices::Set(nullptr);
    AAX_CHostServices::Trace(AAX_eTracePriorityHost_High, "dropped");
    AAX_CHostServices::Set(asLibrary(second.unknownInterface()));
    AAX_CHostServices::Trace(AAX_eTracePriorityHost_High, "two");
    EXPECT_EQ(first.services().traces().size(), 1u);
    ASSERT_EQ(second.services().traces().size(), 1u);
    EXPECT_EQ(second.services().traces()[0].message, "two");
}

TEST_F(HostServicesTest, ShutDownReleasesEveryHostReference)
{
    {
        aaxhost::Host host;
        const uint32_t unknownRefs = host.unknown().refCount();
        AAX_CHostServices::Set(asLibrary(host.unknownInterface()));
        EXPECT_EQ(host.factory().createdCount(), 3u); // one services object per version
        AAX_CHostServices::Trace(AAX_eTracePriorityHost_High, "x");
        AAX_CHostServices::Set(nullptr);
        EXPECT_EQ(host.unknown().refCount(), unknownRefs);
        EXPECT_EQ(host.unknown().overReleases(), 0u);
    }
    EXPECT_EQ(aaxhost::HostObject::liveCount(), liveHostObjects);
}

TEST_F(HostServicesTest, ShutDownReleasesVersionThreeThenTwoThenOne)
{
    aaxhost::Host host;
    AAX_CHostServices::Set(asLibrary(host.unknownInterface()));
    // Each version is its own host object; one call through each tells them apart.
    AAX_CHostServices::Trace(AAX_eTracePriorityHost_High, "v1");
    AAX_CHostServices::GetAAXHostServices()->StackTrace(1, 1, "v2");
    AAX_CHostServices::HandleAssertFailure("f.cpp", 1, "v3", 1);
    const void* v1 = host.recorder().calls("Trace").at(0).address;
    const void* v2 = host.recorder().calls("StackTrace").at(0).address;
    const void* v3 = host.recorder().calls("HandleAssertFailure").at(0).address;
    ASSERT_TRUE(v1 != v2 && v2 != v3 && v1 != v3);

    host.recorder().setRecordReferenceCalls(true);
    AAX_CHostServices::Set(nullptr);
    std::vector<const void*> released;
    for (const auto& call : host.recorder().calls("HostServices", "Release"))
        released.push_back(call.address);
    EXPECT_EQ(released, (std::vector<const void*>{v3, v2, v1}));
}

TEST_F(HostServicesTest, TheWrapperOverANullUnknownHasNoInterfaces)
{
    AAX_VHostServices services(nullptr);
    EXPECT_EQ(services.Trace(1, "x"), AAX_ERROR_NULL_OBJECT);
    EXPECT_EQ(services.StackTrace(1, 1, "x"), AAX_ERROR_UNIMPLEMENTED);
    EXPECT_EQ(services.HandleAssertFailure("f", 1, "c", 1), AAX_ERROR_NULL_OBJECT);
}
} // namespace
