#include "aaxhost/Controller.h"
#include "aaxhost/Host.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace
{

using namespace aaxhost;

// Calls operation `slot` of an interface the way a separately compiled
// plug-in does: through the object's table of operations by position.
template <class Fn>
Fn slotOf(void* object, std::size_t slot)
{
    void** table = *static_cast<void***>(object);
    Fn fn;
    std::memcpy(&fn, &table[slot], sizeof fn);
    return fn;
}

using QueryFn = Result (*)(void*, const Uid&, void**);
using RefFn = uint32_t (*)(void*);
using CreateFn = Result (*)(void*, const Uid&, void*, const Uid&, void**);
using TraceFn = Result (*)(void*, int32_t, const char*);
using StackTraceFn = Result (*)(void*, int32_t, int32_t, const char*);
using AssertFn = Result (*)(void*, const char*, int32_t, const char*, int32_t);

// Asks the host unknown for the factory and the factory for host services,
// as the plug-in's start-up does.
void* createServices(Host& host, const Uid& iid, Result* result = nullptr)
{
    void* factory = nullptr;
    EXPECT_EQ(slotOf<QueryFn>(host.unknownInterface(), 0)(host.unknownInterface(), IID_IACFComponentFactory,
                                                          &factory),
              kResultOk);
    void* services = reinterpret_cast<void*>(0x1); // must be overwritten
    const Result r = slotOf<CreateFn>(factory, 3)(factory, AAXCompID_HostServices, nullptr, iid, &services);
    if (result != nullptr)
        *result = r;
    slotOf<RefFn>(factory, 2)(factory);
    return services;
}

class HostTest : public ::testing::Test
{
protected:
    void SetUp() override { liveAtStart = HostObject::liveCount(); }
    void TearDown() override { EXPECT_EQ(HostObject::liveCount(), liveAtStart) << "host objects leaked"; }
    int64_t liveAtStart = 0;
};

TEST_F(HostTest, ServicesThroughFactoryByPosition)
{
    Host host;
    void* services = createServices(host, IID_IAAXHostServicesV3);
    ASSERT_NE(services, nullptr);
    EXPECT_EQ(HostObject::fromUnknown(static_cast<IACFUnknown*>(services))->refCount(), 1u);

    char message[] = "first 42";
    EXPECT_EQ(slotOf<TraceFn>(services, 4)(services, 0x08000000, message), kResultOk);
    std::strcpy(message, "changed");
    EXPECT_EQ(slotOf<StackTraceFn>(services, 5)(services, 1, 2, "stack"), kResultOk);
    EXPECT_EQ(slotOf<AssertFn>(services, 6)(services, "File.cpp", 17, "NULL != parameter", 1), kResultOk);
    EXPECT_EQ(slotOf<TraceFn>(services, 4)(services, 3, nullptr), kResultOk);

    const auto traces = host.services().traces();
    ASSERT_EQ(traces.size(), 2u);
    EXPECT_EQ(traces[0].priority, 0x08000000);
    EXPECT_EQ(traces[0].message, "first 42"); // copied at call time
    EXPECT_EQ(traces[1].message, "");
    const auto stacks = host.services().stackTraces();
    ASSERT_EQ(stacks.size(), 1u);
    EXPECT_EQ(stacks[0].tracePriority, 1);
    EXPECT_EQ(stacks[0].stackTracePriority, 2);
    EXPECT_EQ(stacks[0].message, "stack");
    const auto asserts = host.services().assertions();
    ASSERT_EQ(asserts.size(), 1u);
    EXPECT_EQ(asserts[0].file, "File.cpp");
    EXPECT_EQ(asserts[0].line, 17);
    EXPECT_EQ(asserts[0].condition, "NULL != parameter");
    EXPECT_EQ(asserts[0].flags, 1);

    const auto traceCalls = host.recorder().calls("HostServices", "Trace");
    ASSERT_EQ(traceCalls.size(), 2u);
    EXPECT_EQ(traceCalls[0].arg<std::string>(1), "first 42");
    EXPECT_EQ(traceCalls[0].arg<int64_t>(0), 0x08000000);
    EXPECT_TRUE(std::holds_alternative<std::nullptr_t>(traceCalls[1].args.at(1))); // null stays null

    // The log keeps the newest kKept of each kind; takeTraces() drains the traces.
    constexpr std::size_t kKept = HostServicesLog::kKept;
    for (std::size_t i = 0; i < kKept; ++i)
    {
        slotOf<TraceFn>(services, 4)(services, 1, std::to_string(i).c_str());
        slotOf<StackTraceFn>(services, 5)(services, 1, 2, "stack");
        slotOf<AssertFn>(services, 6)(services, "File.cpp", 17, "NULL != parameter", 1);
    }
    EXPECT_EQ(host.services().stackTraces().size(), kKept);
    EXPECT_EQ(host.services().assertions().size(), kKept);
    std::size_t dropped = 0;
    const auto kept = host.services().takeTraces(&dropped);
    ASSERT_EQ(kept.size(), kKept);
    EXPECT_EQ(dropped, 2u);
    EXPECT_EQ(kept.front().message, "0");
    EXPECT_TRUE(host.services().takeTraces(&dropped).empty());
    EXPECT_EQ(dropped, 0u);

    EXPECT_EQ(slotOf<RefFn>(services, 2)(services), 0u);
}

TEST_F(HostTest, RecorderKeepsOrderAndCopies)
{
    Host host;
    void* services = createServices(host, IID_IAAXHostServicesV1);
    ASSERT_NE(services, nullptr);
    host.recorder().clear();
    std::string text = "one";
    slotOf<TraceFn>(services, 4)(services, 1, text.c_str());
    text = "two";
    slotOf<TraceFn>(services, 4)(services, 2, text.c_str());
    slotOf<RefFn>(services, 1)(services);
    slotOf<RefFn>(services, 2)(services);
    const auto calls = host.recorder().calls();
    ASSERT_EQ(calls.size(), 4u);
    EXPECT_EQ(calls[0].operation, "Trace");
    EXPECT_EQ(calls[0].arg<std::string>(1), "one");
    EXPECT_EQ(calls[1].arg<std::string>(1), "two");
    EXPECT_EQ(calls[2].operation, "AddRef");
    EXPECT_EQ(calls[3].operation, "Release");
    for (std::size_t i = 0; i < calls.size(); ++i)
        EXPECT_EQ(calls[i].sequence, i);
    EXPECT_EQ(calls[0].toString(), "HostServices.Trace(1, \"one\")");

    host.recorder().setRecordReferenceCalls(false);
    slotOf<RefFn>(services, 1)(services);
    slotOf<RefFn>(services, 2)(services);
    EXPECT_EQ(host.recorder().size(), 4u);
    slotOf<RefFn>(services, 2)(services);
}

TEST_F(HostTest, ReferenceCountingAndIdentity)
{
    Host host;
    const int64_t before = HostObject::liveCount();
    void* v1 = createServices(host, IID_IAAXHostServicesV1);
    ASSERT_NE(v1, nullptr);
    EXPECT_EQ(HostObject::liveCount(), before + 1);
    HostObject* object = HostObject::fromUnknown(static_cast<IACFUnknown*>(v1));
    ASSERT_NE(object, nullptr);
    EXPECT_EQ(object->refCount(), 1u);
    EXPECT_EQ(slotOf<RefFn>(v1, 1)(v1), 2u);

    // Every version of one object is the same pointer; unknown too (one interface).
    void* v3 = nullptr;
    EXPECT_EQ(slotOf<QueryFn>(v1, 0)(v1, IID_IAAXHostServicesV3, &v3), kResultOk);
    EXPECT_EQ(v3, v1);
    void* unknown = nullptr;
    EXPECT_EQ(slotOf<QueryFn>(v1, 0)(v1, IID_IACFUnknown, &unknown), kResultOk);
    EXPECT_EQ(unknown, v1);
    EXPECT_EQ(object->refCount(), 4u);

    // Not offered: null and kResultNoInterface, no reference.
    void* other = reinterpret_cast<void*>(0x1);
    EXPECT_EQ(slotOf<QueryFn>(v1, 0)(v1, IID_IAAXCollectionV1, &other), kResultNoInterface);
    EXPECT_EQ(other, nullptr);
    EXPECT_EQ(object->refCount(), 4u);

    EXPECT_EQ(slotOf<RefFn>(v1, 2)(v1), 3u);
    EXPECT_EQ(slotOf<RefFn>(v1, 2)(v1), 2u);
    EXPECT_EQ(slotOf<RefFn>(v1, 2)(v1), 1u);
    EXPECT_EQ(slotOf<RefFn>(v1, 2)(v1), 0u); // deleted now
    EXPECT_EQ(HostObject::liveCount(), before);
}

TEST_F(HostTest, ReleaseWithoutReferenceIsCountedNotWrapped)
{
    Host host;
    auto* raw =
        new HostServices(host.sharedServices(), host.sharedRecorder()); // count 0, like a fresh object
    EXPECT_EQ(raw->Release(), 0u);
    EXPECT_EQ(raw->refCount(), 0u);
    EXPECT_EQ(raw->overReleases(), 1u);
    raw->retain();
    raw->releaseRef(); // now it goes
}

TEST_F(HostTest, SwitchedOffAnswers)
{
    Host host;
    host.unknown().refuse(IID_IACFComponentFactory);
    void* factory = reinterpret_cast<void*>(0x1);
    EXPECT_EQ(host.unknownInterface()->QueryInterface(IID_IACFComponentFactory, &factory),
              kResultNoInterface);
    EXPECT_EQ(factory, nullptr);
    EXPECT_EQ(host.factory().refCount(), 2u); // the host's and the unknown's; none for the refused query

    host.unknown().allow(IID_IACFComponentFactory);
    EXPECT_EQ(host.unknownInterface()->QueryInterface(IID_IACFComponentFactory, &factory), kResultOk);
    EXPECT_EQ(factory, host.factory().primaryInterface());
    EXPECT_EQ(host.factory().refCount(), 3u);
    static_cast<IACFUnknown*>(factory)->Release();

    // Refusal on the provider also applies through the host unknown.
    host.factory().refuse(IID_IACFComponentFactory);
    EXPECT_EQ(host.unknownInterface()->QueryInterface(IID_IACFComponentFactory, &factory),
              kResultNoInterface);
    host.factory().allowAll();

    host.unknown().refuse(IID_IACFUnknown);
    void* unknown = reinterpret_cast<void*>(0x1);
    EXPECT_EQ(host.unknownInterface()->QueryInterface(IID_IACFUnknown, &unknown), kResultNoInterface);
    EXPECT_EQ(unknown, nullptr);
    EXPECT_EQ(host.unknownInterface()->QueryInterface(IID_IACFUnknown, nullptr), kResultInvalidPointer);

    host.unknown().withdraw(IID_IACFComponentFactory);
    EXPECT_EQ(host.unknownInterface()->QueryInterface(IID_IACFComponentFactory, &factory),
              kResultNoInterface);
    EXPECT_EQ(host.factory().refCount(), 1u);
}

TEST_F(HostTest, FactoryFailureModes)
{
    Host host;
    IACFComponentFactory& factory = host.factory();
    void* out = reinterpret_cast<void*>(0x1);

    // Unknown component, aggregation, a null out-pointer.
    EXPECT_EQ(factory.Create(AAXCompID_AAXCollection, nullptr, IID_IAAXCollectionV1, &out),
              kResultClassNotAvailable);
    EXPECT_EQ(out, nullptr);
    out = reinterpret_cast<void*>(0x1);
    EXPECT_EQ(factory.Create(AAXCompID_HostServices, host.unknownInterface(), IID_IAAXHostServicesV1, &out),
              kResultNoAggregation);
    EXPECT_EQ(out, nullptr);
    EXPECT_EQ(factory.Create(AAXCompID_HostServices, nullptr, IID_IAAXHostServicesV1, nullptr),
              kResultInvalidPointer);
    // An interface the component does not offer: the new object is gone again.
    const int64_t live = HostObject::liveCount();
    EXPECT_EQ(factory.Create(AAXCompID_HostServices, nullptr, IID_IAAXCollectionV1, &out),
              kResultNoInterface);
    EXPECT_EQ(out, nullptr);
    EXPECT_EQ(HostObject::liveCount(), live);

    // One version taken away.
    host.factory().failInterface(AAXCompID_HostServices, IID_IAAXHostServicesV3);
    EXPECT_EQ(factory.Create(AAXCompID_HostServices, nullptr, IID_IAAXHostServicesV3, &out),
              kResultNoInterface);
    EXPECT_EQ(factory.Create(AAXCompID_HostServices, nullptr, IID_IAAXHostServicesV2, &out), kResultOk);
    static_cast<IACFUnknown*>(out)->Release();
    host.factory().clearFailures();

    // Skip and times: the 2nd creation fails once, then all pass again.
    host.factory().addFailure(FailureRule{AAXCompID_HostServices, std::nullopt, -7, 1, 1});
    EXPECT_EQ(factory.Create(AAXCompID_HostServices, nullptr, IID_IAAXHostServicesV1, &out), kResultOk);
    static_cast<IACFUnknown*>(out)->Release();
    EXPECT_EQ(factory.Create(AAXCompID_HostServices, nullptr, IID_IAAXHostServicesV1, &out), -7);
    EXPECT_EQ(out, nullptr);
    EXPECT_EQ(factory.Create(AAXCompID_HostServices, nullptr, IID_IAAXHostServicesV1, &out), kResultOk);
    static_cast<IACFUnknown*>(out)->Release();

    host.factory().failAll();
    EXPECT_EQ(factory.Create(AAXCompID_HostServices, nullptr, IID_IAAXHostServicesV1, &out), kResultFail);
    host.factory().clearFailures();

    // A creator that returns nothing, and one that throws.
    host.factory().registerComponent(AAXCompID_PageTable,
                                     [](const CreateRequest&) { return HostRef<HostObject>(); });
    EXPECT_EQ(factory.Create(AAXCompID_PageTable, nullptr, IID_IAAXPageTableV1, &out), kResultOutOfMemory);
    host.factory().registerComponent(AAXCompID_PageTable,
                                     [](const CreateRequest&) -> HostRef<HostObject> { throw 5; });
    EXPECT_EQ(factory.Create(AAXCompID_PageTable, nullptr, IID_IAAXPageTableV1, &out), kResultUnexpected);
    EXPECT_EQ(out, nullptr);
    EXPECT_TRUE(host.factory().unregisterComponent(AAXCompID_PageTable));
    EXPECT_FALSE(host.factory().hasComponent(AAXCompID_PageTable));

    EXPECT_EQ(host.factory().createdCount(), 3u);
    EXPECT_EQ(host.recorder().count("Create"), 12u);
}

TEST_F(HostTest, ForcedResults)
{
    Host host;
    HostRef<HostServices> services = makeHost<HostServices>(host.sharedServices(), host.sharedRecorder());
    services->setResult("Trace", -20001);
    EXPECT_EQ(services->Trace(1, "x"), -20001);
    EXPECT_EQ(host.services().traces().size(), 1u); // still recorded
    services->clearResults();
    EXPECT_EQ(services->Trace(1, "x"), kResultOk);
}

// An operation with an output: a forced result answers first, then a null
// output; only then is the output written. Every call is recorded.
TEST_F(HostTest, ForcedResultBeforeNullOutputBeforeAnswer)
{
    Host host;
    HostRef<Controller> controller = makeHost<Controller>(host.sharedRecorder());
    controller->setSampleRate(44100.0f);
    float rate = 0.0f;
    EXPECT_EQ(controller->GetSampleRate(nullptr), hostresult::NullArgument);
    controller->setResult("GetSampleRate", -20001);
    EXPECT_EQ(controller->GetSampleRate(nullptr), -20001);
    EXPECT_EQ(controller->GetSampleRate(&rate), -20001);
    EXPECT_EQ(rate, 0.0f);
    controller->clearResults();
    EXPECT_EQ(controller->GetSampleRate(&rate), kResultOk);
    EXPECT_EQ(rate, 44100.0f);
    EXPECT_EQ(host.recorder().calls("Controller", "GetSampleRate").size(), 4u);
}

TEST_F(HostTest, PluginObjectsAreNotHostObjects)
{
    struct Foreign : IACFUnknown
    {
        virtual ~Foreign() = default;
        Result QueryInterface(const Uid&, void** out) override
        {
            if (out != nullptr)
                *out = nullptr;
            return kResultNoInterface;
        }
        uint32_t AddRef() override { return 1; }
        uint32_t Release() override { return 1; }
    } foreign;
    EXPECT_EQ(HostObject::fromUnknown(&foreign), nullptr);
    EXPECT_EQ(HostObject::fromUnknown(nullptr), nullptr);
}

} // namespace
