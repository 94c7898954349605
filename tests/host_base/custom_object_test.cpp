// A host object of the kind later host components are: two interfaces,
// registered with the factory, reached through a host unknown.
#include "aaxhost/Host.h"
#include "aaxhost/UnknownPtr.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

namespace
{

using namespace aaxhost;

constexpr Uid kThingComponent{0x11111111, 0x2222, 0x3333, {1, 2, 3, 4, 5, 6, 7, 8}};
constexpr Uid kThingV1{0x11111111, 0x2222, 0x3333, {1, 2, 3, 4, 5, 6, 7, 9}};
constexpr Uid kOtherV1{0x11111111, 0x2222, 0x3333, {1, 2, 3, 4, 5, 6, 7, 10}};

class IThing : public IACFUnknown
{
public:
    virtual Result Post(uint32_t field, const void* data, uint32_t size) = 0; // 3
protected:
    ~IThing() = default;
};

class IOther : public IACFUnknown
{
public:
    virtual Result Name(const char* text, double value) = 0; // 3
protected:
    ~IOther() = default;
};

class Thing final : public HostObjectOf<IThing, IOther>
{
public:
    explicit Thing(std::shared_ptr<CallRecorder> recorder) : HostObjectOf("Thing", std::move(recorder)) {}
    Result Post(uint32_t field, const void* data, uint32_t size) override
    {
        record("Post", {uint64_t{field}, bytesValue(data, size), uint64_t{size}});
        return answer("Post", kResultOk);
    }
    Result Name(const char* text, double value) override
    {
        record("Name", {textValue(text), value});
        return answer("Name", kResultOk);
    }

protected:
    ~Thing() override = default;
    void* findInterface(const Uid& iid) noexcept override
    {
        if (iid == kThingV1)
            return as<IThing>();
        if (iid == kOtherV1)
            return as<IOther>();
        return nullptr;
    }
};

class CustomObjectTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        liveAtStart = HostObject::liveCount();
        host = std::make_unique<Host>();
        host->factory().registerComponent(kThingComponent, [](const CreateRequest& request)
                                          { return HostRef<HostObject>(makeHost<Thing>(request.recorder)); });
    }
    void TearDown() override
    {
        host.reset();
        EXPECT_EQ(HostObject::liveCount(), liveAtStart) << "host objects leaked";
    }
    int64_t liveAtStart = 0;
    std::unique_ptr<Host> host;
};

TEST_F(CustomObjectTest, TwoInterfacesOneObject)
{
    void* thing = nullptr;
    ASSERT_EQ(host->factory().Create(kThingComponent, nullptr, kThingV1, &thing), kResultOk);
    auto* asThing = static_cast<IThing*>(thing);
    void* other = nullptr;
    ASSERT_EQ(asThing->QueryInterface(kOtherV1, &other), kResultOk);
    EXPECT_NE(other, thing); // a second interface has its own pointer
    void* unknownFromOther = nullptr;
    ASSERT_EQ(static_cast<IOther*>(other)->QueryInterface(IID_IACFUnknown, &unknownFromOther), kResultOk);
    EXPECT_EQ(unknownFromOther, thing); // the primary interface answers for the object

    HostObject* object = HostObject::fromUnknown(static_cast<IOther*>(other));
    ASSERT_NE(object, nullptr);
    EXPECT_EQ(object, HostObject::fromUnknown(asThing));
    EXPECT_EQ(object->refCount(), 3u);

    uint8_t packet[4] = {0x3F, 0x80, 0x00, 0x00};
    EXPECT_EQ(asThing->Post(3, packet, 4), kResultOk);
    packet[0] = 0; // the record keeps the bytes as they were
    EXPECT_EQ(static_cast<IOther*>(other)->Name("Gain", 0.5), kResultOk);
    object->setResult("Post", -20004);
    EXPECT_EQ(asThing->Post(3, nullptr, 0), -20004);

    const auto posts = host->recorder().calls("Thing", "Post");
    ASSERT_EQ(posts.size(), 2u);
    EXPECT_EQ(posts[0].arg<Bytes>(1), (Bytes{0x3F, 0x80, 0x00, 0x00}));
    EXPECT_EQ(posts[0].toString(), "Thing.Post(3, [3F 80 00 00], 4)");
    EXPECT_TRUE(std::holds_alternative<std::nullptr_t>(posts[1].args.at(1)));
    const auto names = host->recorder().calls("Name");
    ASSERT_EQ(names.size(), 1u);
    EXPECT_EQ(names[0].toString(), "Thing.Name(\"Gain\", 0.5)");
    EXPECT_EQ(names[0].address, posts[0].address);

    static_cast<IOther*>(other)->Release();
    asThing->Release();
    EXPECT_EQ(object->refCount(), 1u);
    static_cast<IACFUnknown*>(unknownFromOther)->Release(); // last one: gone
}

TEST_F(CustomObjectTest, ProvidedThroughAHostUnknown)
{
    HostRef<HostUnknown> controller = makeHost<HostUnknown>(host->sharedRecorder(), "ControllerUnknown");
    HostRef<Thing> thing = makeHost<Thing>(host->sharedRecorder());
    controller->provide(kThingV1, HostRef<HostObject>(thing));
    controller->provide(kOtherV1, HostRef<HostObject>(thing));
    EXPECT_EQ(thing->refCount(), 3u);
    EXPECT_EQ(controller->provider(kThingV1), thing.get());

    void* out = nullptr;
    ASSERT_EQ(controller->primaryInterface()->QueryInterface(kOtherV1, &out), kResultOk);
    EXPECT_EQ(out, static_cast<void*>(static_cast<IOther*>(thing.get())));
    EXPECT_EQ(thing->refCount(), 4u);
    static_cast<IOther*>(out)->Release();

    thing->refuse(kOtherV1); // the provider's own switch
    EXPECT_EQ(controller->primaryInterface()->QueryInterface(kOtherV1, &out), kResultNoInterface);
    thing->allowAll();
    controller->refuse(kOtherV1); // the unknown's switch
    EXPECT_EQ(controller->primaryInterface()->QueryInterface(kOtherV1, &out), kResultNoInterface);
    EXPECT_EQ(controller->primaryInterface()->QueryInterface(kThingV1, &out), kResultOk);
    static_cast<IThing*>(out)->Release();

    const auto queries = host->recorder().calls("ControllerUnknown", "QueryInterface");
    ASSERT_EQ(queries.size(), 4u);
    EXPECT_TRUE(queries[0].arg<Uid>(0) == kOtherV1);
}

TEST_F(CustomObjectTest, ReferencesAndRecordsFromManyThreads)
{
    void* out = nullptr;
    ASSERT_EQ(host->factory().Create(kThingComponent, nullptr, kThingV1, &out), kResultOk);
    auto* thing = static_cast<IThing*>(out);
    constexpr int kThreads = 4;
    constexpr int kRounds = 500;
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t)
        threads.emplace_back(
            [thing, t]
            {
                for (int i = 0; i < kRounds; ++i)
                {
                    thing->AddRef();
                    const uint8_t byte = static_cast<uint8_t>(t);
                    thing->Post(static_cast<uint32_t>(t), &byte, 1);
                    thing->Release();
                }
            });
    for (auto& thread : threads)
        thread.join();
    EXPECT_EQ(HostObject::fromUnknown(thing)->refCount(), 1u);
    const auto posts = host->recorder().calls("Post");
    ASSERT_EQ(posts.size(), static_cast<std::size_t>(kThreads * kRounds));
    for (const Call& call : posts)
        EXPECT_EQ(call.arg<Bytes>(1), Bytes{static_cast<uint8_t>(call.arg<uint64_t>(0))});
    EXPECT_EQ(host->recorder().count("AddRef"), static_cast<std::size_t>(kThreads * kRounds));
    thing->Release();
}

TEST_F(CustomObjectTest, UnknownPtrOwnsOneReference)
{
    HostRef<Thing> thing = makeHost<Thing>(host->sharedRecorder());
    {
        Result result = kResultFail;
        auto other = UnknownPtr<IOther>::query(thing->primaryInterface(), kOtherV1, &result);
        EXPECT_EQ(result, kResultOk);
        ASSERT_TRUE(other);
        EXPECT_EQ(thing->refCount(), 2u);
        UnknownPtr<IOther> copy = other;
        EXPECT_EQ(thing->refCount(), 3u);
        copy = other; // same object: count unchanged
        EXPECT_EQ(thing->refCount(), 3u);
        auto missing = UnknownPtr<IOther>::query(thing->primaryInterface(), kThingComponent, &result);
        EXPECT_EQ(result, kResultNoInterface);
        EXPECT_FALSE(missing);
        EXPECT_FALSE(UnknownPtr<IOther>::query(nullptr, kOtherV1));
        // put() releases what it held before handing out the slot.
        EXPECT_EQ(thing->primaryInterface()->QueryInterface(kOtherV1, copy.put()), kResultOk);
        EXPECT_EQ(thing->refCount(), 3u);
    }
    EXPECT_EQ(thing->refCount(), 1u);
}

} // namespace
