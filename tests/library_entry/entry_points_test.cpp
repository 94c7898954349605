// The seven exported entry points, driven as the host drives them, with a
// stand-in describer whose behaviour each test chooses.
#include "fake_describer.h"
#include "library_unknown.h"

#include "AAX_CHostServices.h"
#include "AAX_Errors.h"
#include "AAX_Exception.h"
#include "AAX_ICollection.h"
#include "AAX_IEffectDescriptor.h"
#include "AAX_Init.h"
#include "CACFUnknown.h"

#include "aaxhost/Description.h"
#include "aaxhost/Host.h"
#include "aaxhost/HostServices.h"
#include "aaxhost/Identifiers.h"

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace
{

using aaxhost::TraceRecord;
using tambrix::test::asHost;
using tambrix::test::asLibrary;

constexpr int32_t kHigh = 0x08000000;   // library failures
constexpr int32_t kNormal = 0x04000000; // a checked result about to throw
constexpr ACFRESULT kUnexpected = static_cast<ACFRESULT>(0x8000FFFFu);

// A pointer value no host or library writes, to see whether an out-pointer was touched.
template <class T>
T* untouched()
{
    static char marker;
    return reinterpret_cast<T*>(&marker);
}

class EntryPointsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        liveHostObjects = aaxhost::HostObject::liveCount();
        liveObjects = CACFUnknown::GetActiveObjectCount();
        host = std::make_unique<aaxhost::Host>();
        setup = aaxhost::installDescriptionComponents(*host);
        tambrix::test::setDescriber({});
        ASSERT_EQ(ACFStartup(hostUnknown()), 0);
    }

    void TearDown() override
    {
        EXPECT_EQ(ACFShutdown(hostUnknown()), 0);
        tambrix::test::setDescriber({});
        host.reset();
        EXPECT_EQ(aaxhost::HostObject::liveCount(), liveHostObjects) << "host objects left alive";
        EXPECT_EQ(CACFUnknown::GetActiveObjectCount(), liveObjects);
    }

    IACFUnknown* hostUnknown() { return asLibrary(host->unknownInterface()); }
    std::vector<TraceRecord> traces() { return host->services().traces(); }

    // The host collection behind a plug-in definition; releases the host's reference.
    aaxhost::HostRef<aaxhost::HostCollection> takeDefinition(IACFPluginDefinition* definition)
    {
        auto* unknown = asHost(definition);
        aaxhost::HostRef<aaxhost::HostCollection> collection(aaxhost::HostCollection::fromUnknown(unknown));
        if (unknown != nullptr)
            unknown->Release();
        return collection;
    }

    int64_t liveHostObjects = 0;
    int32_t liveObjects = 0;
    std::unique_ptr<aaxhost::Host> host;
    std::shared_ptr<aaxhost::DescriptionSetup> setup;
};

void expectTraces(const std::vector<TraceRecord>& actual, const std::vector<TraceRecord>& expected)
{
    ASSERT_EQ(actual.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i)
    {
        EXPECT_EQ(actual[i].priority, expected[i].priority) << "trace " << i;
        EXPECT_EQ(actual[i].message, expected[i].message) << "trace " << i;
    }
}

// A describer that fills the collection the way a plug-in does, in outline.
AAX_Result describeOneEffect(AAX_ICollection& collection)
{
    AAX_IEffectDescriptor* effect = collection.NewDescriptor();
    effect->AddName("Probe");
    effect->AddComponent(effect->NewComponentDescriptor());
    collection.AddEffect("com.example.probe", effect);
    collection.SetManufacturerName("Maker");
    collection.AddPackageName("Probe");
    collection.SetPackageVersion(0x00010203);
    return AAX_SUCCESS;
}

TEST_F(EntryPointsTest, RegistrationHandsTheHostItsCollectionAsTheDefinitionWithOneReference)
{
    tambrix::test::setDescriber(describeOneEffect);
    IACFPluginDefinition* definition = nullptr;
    ASSERT_EQ(ACFRegisterPlugin(hostUnknown(), &definition), 0);
    EXPECT_EQ(tambrix::test::describerCalls(), 1);
    ASSERT_NE(definition, nullptr);

    auto* hostSide = aaxhost::HostCollection::fromUnknown(asHost(definition));
    ASSERT_NE(hostSide, nullptr);
    // The host's reference is the only one: the collection wrapper and its
    // descriptors have let go of theirs.
    EXPECT_EQ(hostSide->refCount(), 1u);
    ASSERT_EQ(hostSide->effects().size(), 1u);
    EXPECT_EQ(hostSide->effects()[0].effectId, "com.example.probe");
    EXPECT_EQ(hostSide->effects()[0].descriptor->names(), std::vector<std::string>{"Probe"});
    EXPECT_EQ(hostSide->effects()[0].descriptor->components().size(), 1u);
    EXPECT_EQ(hostSide->manufacturerName(), "Maker");
    EXPECT_EQ(hostSide->packageVersion(), 0x00010203u);
    EXPECT_TRUE(traces().empty());

    takeDefinition(definition);
}

TEST_F(EntryPointsTest, AFailingDescriberIsTracedTwiceAndLeavesTheOutPointerAlone)
{
    tambrix::test::setDescriber([](AAX_ICollection&) { return AAX_Result{AAX_ERROR_NULL_OBJECT}; });
    IACFPluginDefinition* definition = untouched<IACFPluginDefinition>();
    EXPECT_EQ(ACFRegisterPlugin(hostUnknown(), &definition), -20004);
    EXPECT_EQ(definition, untouched<IACFPluginDefinition>());
    expectTraces(traces(), {{kNormal, "AAX_CheckedResult - throwing AAX_ERROR_NULL_OBJECT (-20004)"},
                            {kHigh, "AAXRegisterPlugin exception caught: AAX_ERROR_NULL_OBJECT (-20004)"}});
}

TEST_F(EntryPointsTest, EachKindOfExceptionFromTheDescriberBecomesItsResultAndTrace)
{
    struct Case
    {
        const char* name;
        tambrix::test::Describer describer;
        AAX_Result result;
        const char* trace;
    };
    const std::vector<Case> cases{
        {"result error",
         [](AAX_ICollection&) -> AAX_Result { throw AAX::Exception::ResultError(AAX_ERROR_UNIMPLEMENTED); },
         -20009, "AAXRegisterPlugin exception caught: AAX_ERROR_UNIMPLEMENTED (-20009)"},
        {"library exception",
         [](AAX_ICollection&) -> AAX_Result { throw AAX::Exception::Any("describer gave up"); }, -20042,
         "AAXRegisterPlugin exception caught: describer gave up"},
        {"standard exception", [](AAX_ICollection&) -> AAX_Result { throw std::runtime_error("no buses"); },
         -20042, "AAXRegisterPlugin exception caught: no buses"},
        {"integer", [](AAX_ICollection&) -> AAX_Result { throw static_cast<int32_t>(0x80000004u); }, -20042,
         "AAXRegisterPlugin exception caught: unknown"},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        host->services().clear();
        tambrix::test::setDescriber(c.describer);
        IACFPluginDefinition* definition = untouched<IACFPluginDefinition>();
        EXPECT_EQ(ACFRegisterPlugin(hostUnknown(), &definition), c.result);
        EXPECT_EQ(definition, untouched<IACFPluginDefinition>());
        expectTraces(traces(), {{kHigh, c.trace}});
    }
}

TEST_F(EntryPointsTest, AnExceptionAfterPartOfTheDescriptionLeavesNothingHeld)
{
    const int64_t before = aaxhost::HostObject::liveCount();
    tambrix::test::setDescriber(
        [](AAX_ICollection& collection) -> AAX_Result
        {
            describeOneEffect(collection);
            collection.NewPropertyMap();
            throw std::bad_alloc();
        });
    IACFPluginDefinition* definition = nullptr;
    EXPECT_EQ(ACFRegisterPlugin(hostUnknown(), &definition), -20042);
    EXPECT_EQ(definition, nullptr);
    EXPECT_EQ(aaxhost::HostObject::liveCount(), before) << "description objects still held";
}

TEST_F(EntryPointsTest, ACollectionWithoutAPluginDefinitionFailsWithANullOutPointer)
{
    setup->refusedVersions.push_back(aaxhost::IID_IACFPluginDefinition);
    tambrix::test::setDescriber(describeOneEffect);
    IACFPluginDefinition* definition = untouched<IACFPluginDefinition>();
    EXPECT_EQ(ACFRegisterPlugin(hostUnknown(), &definition), -20004);
    EXPECT_EQ(definition, nullptr);
    EXPECT_EQ(tambrix::test::describerCalls(), 1);
    expectTraces(traces(), {{kNormal, "AAX_CheckedResult - throwing AAX_ERROR_NULL_OBJECT (-20004)"},
                            {kHigh, "AAXRegisterPlugin exception caught: AAX_ERROR_NULL_OBJECT (-20004)"}});
}

TEST_F(EntryPointsTest, WithoutAHostCollectionTheDescriberNeverRuns)
{
    tambrix::test::setDescriber(describeOneEffect);
    const auto expectRefused = [&](IACFUnknown* hostUnknown)
    {
        host->services().clear();
        IACFPluginDefinition* definition = untouched<IACFPluginDefinition>();
        EXPECT_EQ(ACFRegisterPlugin(hostUnknown, &definition), -20004);
        EXPECT_EQ(tambrix::test::describerCalls(), 0);
        EXPECT_EQ(definition, untouched<IACFPluginDefinition>());
        expectTraces(traces(),
                     {{kNormal, "AAX_CheckedResult - throwing AAX_ERROR_NULL_OBJECT (-20004)"},
                      {kHigh, "AAXRegisterPlugin exception caught: AAX_ERROR_NULL_OBJECT (-20004)"}});
    };
    {
        SCOPED_TRACE("null host");
        expectRefused(nullptr);
    }
    {
        SCOPED_TRACE("host that makes no collection");
        host->factory().failComponent(aaxhost::AAXCompID_AAXCollection);
        expectRefused(hostUnknown());
        host->factory().clearFailures();
    }
    {
        SCOPED_TRACE("host without a component factory");
        // The services were made at start-up; from here the host hands out no factory.
        host->unknown().refuse(aaxhost::IID_IACFComponentFactory);
        expectRefused(hostUnknown());
    }
}

TEST_F(EntryPointsTest, NullOutPointersAreRefusedOrSkipped)
{
    tambrix::test::setDescriber(describeOneEffect);
    host->recorder().clear();
    EXPECT_EQ(ACFRegisterPlugin(hostUnknown(), nullptr), -20044);
    EXPECT_EQ(tambrix::test::describerCalls(), 0);
    EXPECT_TRUE(host->recorder().calls().empty()) << "the host was called";

    EXPECT_EQ(ACFGetSDKVersion(nullptr), -20044);
    EXPECT_EQ(ACFRegisterComponent(hostUnknown(), 0, nullptr), 0);
    const acfUID id{};
    EXPECT_EQ(ACFGetClassFactory(hostUnknown(), id, id, nullptr), -20009);
}

TEST_F(EntryPointsTest, NoFurtherComponentsAndNoClassFactory)
{
    for (uint32_t number : {0u, 1u, 7u, 0xFFFFFFFFu})
    {
        IACFComponentDefinition* component = untouched<IACFComponentDefinition>();
        EXPECT_EQ(ACFRegisterComponent(hostUnknown(), number, &component), 0);
        EXPECT_EQ(component, nullptr);
    }
    const acfUID zero{};
    const acfUID some{0x12345678, 0x9ABC, 0xDEF0, {1, 2, 3, 4, 5, 6, 7, 8}};
    for (const acfUID* id : {&zero, &some})
    {
        void* factory = untouched<void>();
        EXPECT_EQ(ACFGetClassFactory(nullptr, *id, zero, &factory), -20009);
        EXPECT_EQ(factory, nullptr);
    }
}

// Host services whose every report throws: what escapes the library's own catch
// clauses (here, the trace of a caught exception) must not reach the host.
class ThrowingServices final : public aaxhost::HostObjectOf<aaxhost::AAX_IACFHostServices_V3>
{
public:
    explicit ThrowingServices(std::shared_ptr<aaxhost::CallRecorder> recorder)
        : HostObjectOf("ThrowingServices", std::move(recorder))
    {
    }
    aaxhost::Result UnusedPosition3() override { return aaxhost::kResultOk; }
    aaxhost::Result Trace(int32_t, const char*) override { throw std::runtime_error("trace refused"); }
    aaxhost::Result StackTrace(int32_t, int32_t, const char*) override
    {
        throw std::runtime_error("stack trace refused");
    }
    aaxhost::Result HandleAssertFailure(const char*, int32_t, const char*, int32_t) override
    {
        throw std::runtime_error("assertion report refused");
    }

protected:
    void* findInterface(const aaxhost::Uid& iid) noexcept override
    {
        return iid == aaxhost::IID_IAAXHostServicesV1 || iid == aaxhost::IID_IAAXHostServicesV2 ||
                       iid == aaxhost::IID_IAAXHostServicesV3
                   ? as<aaxhost::AAX_IACFHostServices_V3>()
                   : nullptr;
    }
};

TEST_F(EntryPointsTest, AnExceptionEscapingTheCatchClausesBecomesUnexpectedAtTheExport)
{
    ASSERT_EQ(ACFShutdown(hostUnknown()), 0);
    host->factory().registerComponent(aaxhost::AAXCompID_HostServices,
                                      [](const aaxhost::CreateRequest& request) {
                                          return aaxhost::HostRef<aaxhost::HostObject>(
                                              aaxhost::makeHost<ThrowingServices>(request.recorder));
                                      });
    ASSERT_EQ(ACFStartup(hostUnknown()), 0);

    for (const tambrix::test::Describer& describer :
         {tambrix::test::Describer([](AAX_ICollection&) { return AAX_Result{AAX_ERROR_UNIMPLEMENTED}; }),
          tambrix::test::Describer([](AAX_ICollection&) -> AAX_Result
                                   { throw std::runtime_error("no buses"); })})
    {
        tambrix::test::setDescriber(describer);
        IACFPluginDefinition* definition = untouched<IACFPluginDefinition>();
        EXPECT_EQ(ACFRegisterPlugin(hostUnknown(), &definition), kUnexpected);
        EXPECT_EQ(definition, untouched<IACFPluginDefinition>());
    }
    ASSERT_EQ(ACFShutdown(hostUnknown()), 0);
}

TEST_F(EntryPointsTest, SDKVersionIsLibrary2Point3Build13200373)
{
    uint64_t version = 0;
    ASSERT_EQ(ACFGetSDKVersion(&version), 0);
    EXPECT_EQ(version >> 32, 0x203u);
    EXPECT_EQ(version & 0xFFFFFFFFu, 13200373u);
    EXPECT_EQ(version, 2211921357813ull);
}

TEST_F(EntryPointsTest, CanUnloadNowCountsLiveObjects)
{
    struct Live : CACFUnknown
    {
    };
    EXPECT_EQ(ACFCanUnloadNow(nullptr), liveObjects);
    auto effect = std::make_unique<Live>();
    auto gui = std::make_unique<Live>();
    EXPECT_EQ(ACFCanUnloadNow(hostUnknown()), liveObjects + 2);
    effect.reset();
    gui.reset();
    EXPECT_EQ(ACFCanUnloadNow(hostUnknown()), liveObjects);
}

TEST_F(EntryPointsTest, StartupTwiceKeepsTheFirstHostAndShutdownWithoutStartupChangesNothing)
{
    aaxhost::Host second;
    EXPECT_EQ(ACFStartup(asLibrary(second.unknownInterface())), 0);
    tambrix::test::setDescriber([](AAX_ICollection&) { return AAX_Result{AAX_ERROR_UNIMPLEMENTED}; });
    IACFPluginDefinition* definition = nullptr;
    EXPECT_EQ(ACFRegisterPlugin(hostUnknown(), &definition), -20009);
    EXPECT_EQ(traces().size(), 2u);
    EXPECT_TRUE(second.services().traces().empty());

    EXPECT_EQ(ACFShutdown(nullptr), 0);
    EXPECT_EQ(ACFShutdown(hostUnknown()), 0); // a second shut-down: nothing to drop
    host->services().clear();
    EXPECT_EQ(ACFRegisterPlugin(hostUnknown(), &definition), -20009);
    EXPECT_TRUE(traces().empty()) << "traces after shut-down";
    EXPECT_EQ(AAX_CHostServices::GetAAXHostServices(), nullptr);
}

} // namespace
