// The packet dispatcher inside a test effect: bindings, marks, dispatch order, shared
// and portless bindings, failing handlers, and the ready-made single-value handler.

#include "effect_fixture.h"

#include <new>
#include <stdexcept>

using namespace tambrix::test;

namespace
{

// A handler that writes a fixed byte pattern, fails, or throws, and counts its calls.
class ScriptedHandler : public AAX_IPacketHandler
{
public:
    enum class Mode
    {
        Write,
        Fail,
        ThrowBadAlloc,
        ThrowOutOfRange
    };

    ScriptedHandler(Mode mode, uint8_t pattern, int* calls) : mMode(mode), mPattern(pattern), mCalls(calls) {}

    AAX_IPacketHandler* Clone() const override { return new ScriptedHandler(*this); }

    AAX_Result Call(AAX_CParamID, AAX_CPacket& ioPacket) const override
    {
        ++*mCalls;
        switch (mMode)
        {
        case Mode::Write:
            *ioPacket.GetPtr<uint16_t>() = static_cast<uint16_t>(mPattern * 0x101);
            return AAX_SUCCESS;
        case Mode::Fail:
            return AAX_ERROR_NULL_OBJECT;
        case Mode::ThrowBadAlloc:
            throw std::bad_alloc();
        case Mode::ThrowOutOfRange:
            throw std::out_of_range("packet");
        }
        return AAX_SUCCESS;
    }

private:
    Mode mMode;
    uint8_t mPattern;
    int* mCalls;
};

std::vector<uint8_t> Bytes(uint8_t pattern)
{
    return {pattern, pattern};
}

template <class T>
std::vector<uint8_t> BytesOf(T value)
{
    std::vector<uint8_t> bytes(sizeof(T));
    std::memcpy(bytes.data(), &value, sizeof(T));
    return bytes;
}

// A float parameter that answers the value queries it is told to: bool true,
// float 0.75, int32 -7, double 440.125.
class ManyValuesParameter : public AAX_CParameter<float>
{
public:
    enum Answers
    {
        Bool = 1,
        Float = 2,
        Int32 = 4,
        Double = 8
    };

    ManyValuesParameter(const char* identifier, int answers)
        : AAX_CParameter<float>(identifier, AAX_CString(identifier), 0.0f, AAX_CLinearTaperDelegate<float>(),
                                AAX_CNumberDisplayDelegate<float, 3>(), true),
          mAnswers(answers)
    {
    }

    bool GetValueAsBool(bool* value) const override { return Answer(Bool, value, true); }
    bool GetValueAsFloat(float* value) const override { return Answer(Float, value, 0.75f); }
    bool GetValueAsInt32(int32_t* value) const override { return Answer(Int32, value, int32_t{-7}); }
    bool GetValueAsDouble(double* value) const override { return Answer(Double, value, 440.125); }

private:
    template <class T>
    bool Answer(int kind, T* out, T value) const
    {
        if ((mAnswers & kind) == 0)
            return false;
        *out = value;
        return true;
    }

    int mAnswers;
};

class DispatcherFixture : public EffectFixture
{
protected:
    // Three plain parameters; the test registers the packets.
    void InitializeWith(std::function<void(AAX_CPacketDispatcher&)> registration)
    {
        Object().SetSetup(
            [registration](TestEffect& effect)
            {
                effect.Manager().AddParameter(MakeParameter("A", "A", 0.25f));
                effect.Manager().AddParameter(MakeParameter("B", "B", 0.5f));
                effect.Manager().AddParameter(MakeParameter("C", "C", 0.75f));
                registration(effect.Dispatcher());
                return AAX_Result(AAX_SUCCESS);
            });
        Initialize();
    }

    int calls = 0;
};

} // namespace

TEST_F(DispatcherFixture, OneIdentifierOnTwoPortsPostsInRegistrationOrder)
{
    InitializeWith(
        [this](AAX_CPacketDispatcher& dispatcher)
        {
            const ScriptedHandler five(ScriptedHandler::Mode::Write, 5, &calls);
            const ScriptedHandler three(ScriptedHandler::Mode::Write, 3, &calls);
            EXPECT_EQ(dispatcher.RegisterPacket("B", 5, &five), 0);
            EXPECT_EQ(dispatcher.RegisterPacket("B", 3, &three), 0);
        });
    ASSERT_EQ(driver->generateCoefficients(), 0);
    auto posted = driver->takePosted();
    ASSERT_EQ(Ports(posted), (std::vector<int32_t>{5, 3}));
    EXPECT_EQ(posted[0].data, Bytes(5));
    EXPECT_EQ(posted[1].data, Bytes(3));

    EXPECT_EQ(driver->update("B", 0.5), 0);
    driver->generateCoefficients();
    EXPECT_EQ(Ports(driver->takePosted()), (std::vector<int32_t>{5, 3}));
}

TEST_F(DispatcherFixture, TwoIdentifiersOnOnePortShareOnePacketPostedOnce)
{
    InitializeWith(
        [this](AAX_CPacketDispatcher& dispatcher)
        {
            const ScriptedHandler a(ScriptedHandler::Mode::Write, 0xA, &calls);
            const ScriptedHandler c(ScriptedHandler::Mode::Write, 0xC, &calls);
            dispatcher.RegisterPacket("C", 7, &c);
            dispatcher.RegisterPacket("A", 7, &a);
        });
    driver->generateCoefficients();
    auto posted = driver->takePosted();
    ASSERT_EQ(Ports(posted), std::vector<int32_t>{7});
    EXPECT_EQ(posted[0].data, Bytes(0xA)); // through "A", the first identifier in byte order
    EXPECT_EQ(calls, 1);

    // A mark through "C" marks the shared packet, which "A" (first in order) fills.
    driver->update("C", 0.1);
    driver->generateCoefficients();
    posted = driver->takePosted();
    ASSERT_EQ(Ports(posted), std::vector<int32_t>{7});
    EXPECT_EQ(posted[0].data, Bytes(0xA));
    EXPECT_EQ(calls, 2);
}

TEST_F(DispatcherFixture, APortlessBindingIsNeverPosted)
{
    InitializeWith(
        [this](AAX_CPacketDispatcher& dispatcher)
        {
            const ScriptedHandler handler(ScriptedHandler::Mode::Write, 1, &calls);
            EXPECT_EQ(dispatcher.RegisterPacket("A", -1, &handler), 0);
        });
    driver->update("A", 0.9);
    EXPECT_EQ(driver->generateCoefficients(), 0);
    EXPECT_TRUE(driver->takePosted().empty());
    EXPECT_EQ(calls, 0);
}

TEST_F(DispatcherFixture, ClearingTheMarkBeforeTheFirstDispatchSuppressesTheNewPacket)
{
    InitializeWith(
        [](AAX_CPacketDispatcher& dispatcher)
        {
            dispatcher.RegisterPacket("A", 2);
            dispatcher.RegisterPacket("B", 4);
            EXPECT_EQ(dispatcher.SetDirty("A", false), 0);
            EXPECT_EQ(dispatcher.SetDirty("Unbound", true), 0);
            EXPECT_EQ(dispatcher.SetDirty(nullptr, true), 0);
        });
    driver->generateCoefficients();
    const auto posted = driver->takePosted();
    ASSERT_EQ(Ports(posted), std::vector<int32_t>{4});
    EXPECT_EQ(PacketFloat(posted[0]), 0.5f);
}

TEST_F(DispatcherFixture, FailingAndThrowingHandlersPostNothingAndLeaveThePacketClean)
{
    int failing = 0;
    InitializeWith(
        [&failing, this](AAX_CPacketDispatcher& dispatcher)
        {
            const ScriptedHandler fail(ScriptedHandler::Mode::Fail, 0, &failing);
            const ScriptedHandler write(ScriptedHandler::Mode::Write, 9, &calls);
            dispatcher.RegisterPacket("A", 1, &fail);
            dispatcher.RegisterPacket("B", 2, &write);
        });
    EXPECT_EQ(driver->generateCoefficients(), 0);
    EXPECT_EQ(Ports(driver->takePosted()), std::vector<int32_t>{2});
    EXPECT_EQ(failing, 1);
    EXPECT_EQ(driver->generateCoefficients(), 0); // port 1 was cleared though not posted
    EXPECT_EQ(failing, 1);

    // Only a failure: nothing posted, 0.
    driver->update("A", 0.3);
    EXPECT_EQ(driver->generateCoefficients(), 0);
    EXPECT_TRUE(driver->takePosted().empty());
}

TEST_F(DispatcherFixture, ExceptionsInHandlersBecomeUnknownExceptionAndTheOthersStillPost)
{
    int throwing = 0;
    InitializeWith(
        [&throwing, this](AAX_CPacketDispatcher& dispatcher)
        {
            const ScriptedHandler badAlloc(ScriptedHandler::Mode::ThrowBadAlloc, 0, &throwing);
            const ScriptedHandler outOfRange(ScriptedHandler::Mode::ThrowOutOfRange, 0, &throwing);
            const ScriptedHandler write(ScriptedHandler::Mode::Write, 9, &calls);
            dispatcher.RegisterPacket("A", 1, &badAlloc);
            dispatcher.RegisterPacket("B", 2, &write);
            dispatcher.RegisterPacket("C", 3, &outOfRange);
        });
    EXPECT_EQ(driver->generateCoefficients(), AAX_ERROR_UNKNOWN_EXCEPTION);
    EXPECT_EQ(Ports(driver->takePosted()), std::vector<int32_t>{2});
    EXPECT_EQ(throwing, 2);
    EXPECT_EQ(driver->generateCoefficients(), 0);
    EXPECT_EQ(throwing, 2);
}

TEST_F(DispatcherFixture, AnUninitializeFromWithinPostPacketEndsTheDispatch)
{
    InitializeWith(
        [this](AAX_CPacketDispatcher& dispatcher)
        {
            const ScriptedHandler write(ScriptedHandler::Mode::Write, 7, &calls);
            dispatcher.RegisterPacket("A", 1, &write);
            dispatcher.RegisterPacket("B", 2, &write);
        });
    int posts = 0;
    driver->setPacketHook(
        [&](const aaxhost::PostedPacket&)
        {
            // The host takes the effect down while the first packet is being posted.
            if (++posts == 1)
            {
                EXPECT_EQ(driver->uninitialize(), 0);
            }
        });
    EXPECT_EQ(driver->generateCoefficients(), 0);
    driver->setPacketHook({});
    EXPECT_EQ(posts, 1);
    EXPECT_EQ(calls, 1); // the second packet is neither filled nor posted
    EXPECT_EQ(driver->generateCoefficients(), 0);
    EXPECT_EQ(posts, 1);
}

TEST_F(DispatcherFixture, RegisteringWithoutHandlerOrIdentifierBindsNothing)
{
    InitializeWith(
        [](AAX_CPacketDispatcher& dispatcher)
        {
            EXPECT_NE(dispatcher.RegisterPacket("A", 1, nullptr), 0);
            const AAX_CPacketHandler<AAX_CPacketDispatcher> handler(
                &dispatcher, &AAX_CPacketDispatcher::GenerateSingleValuePacket);
            EXPECT_NE(dispatcher.RegisterPacket(nullptr, 1, &handler), 0);
        });
    driver->update("A", 0.3);
    EXPECT_EQ(driver->generateCoefficients(), 0);
    EXPECT_TRUE(driver->takePosted().empty());
}

TEST_F(DispatcherFixture, AHandlerWithoutMemberFunctionAnswersNullObject)
{
    InitializeWith([](AAX_CPacketDispatcher&) {});
    AAX_CPacket packet(0);
    const AAX_CPacketHandler<AAX_CPacketDispatcher> empty(
        &Object().Dispatcher(),
        static_cast<AAX_CPacketHandler<AAX_CPacketDispatcher>::IdentifierHandler>(nullptr));
    EXPECT_EQ(empty.Call("A", packet), AAX_ERROR_NULL_OBJECT);
    std::unique_ptr<AAX_IPacketHandler> copy(empty.Clone());
    EXPECT_EQ(copy->Call("A", packet), AAX_ERROR_NULL_OBJECT);
}

TEST_F(DispatcherFixture, TheSingleValueHandlerWritesTheFloatOrLeavesThePacketAlone)
{
    InitializeWith([](AAX_CPacketDispatcher&) {});
    AAX_CPacketDispatcher& dispatcher = Object().Dispatcher();
    AAX_CPacket packet(4);
    EXPECT_TRUE(packet.IsDirty());
    EXPECT_EQ(packet.GetSize(), 0u);

    EXPECT_EQ(dispatcher.GenerateSingleValuePacket("Nope", packet), AAX_ERROR_NULL_OBJECT);
    EXPECT_EQ(packet.GetSize(), 0u);

    EXPECT_EQ(dispatcher.GenerateSingleValuePacket("C", packet), 0);
    ASSERT_EQ(packet.GetSize(), 4u);
    float value = 0.0f;
    std::memcpy(&value, packet.GetData(), sizeof(value));
    EXPECT_EQ(value, 0.75f);

    EXPECT_EQ(dispatcher.GenerateSingleValuePacket("Nope", packet), AAX_ERROR_NULL_OBJECT);
    EXPECT_EQ(packet.GetSize(), 4u);
    std::memcpy(&value, packet.GetData(), sizeof(value));
    EXPECT_EQ(value, 0.75f);
}

TEST_F(DispatcherFixture, TheSingleValueHandlerTakesTheFirstTypeTheParameterAnswers)
{
    using P = ManyValuesParameter;
    const struct
    {
        const char* identifier;
        int answers;
        AAX_Result result;
        std::vector<uint8_t> data;
    } cases[] = {
        {"bool", P::Bool | P::Float | P::Int32 | P::Double, 0, BytesOf(uint32_t{1})},
        {"float", P::Float | P::Int32 | P::Double, 0, BytesOf(0.75f)},
        {"int32", P::Int32 | P::Double, 0, BytesOf(int32_t{-7})},
        {"double", P::Double, 0, BytesOf(440.125)},
        {"none", 0, AAX_ERROR_NULL_OBJECT, {}},
    };
    InitializeWith([](AAX_CPacketDispatcher&) {});
    for (const auto& c : cases)
    {
        Object().Manager().AddParameter(new P(c.identifier, c.answers));
        AAX_CPacket packet(0);
        EXPECT_EQ(Object().Dispatcher().GenerateSingleValuePacket(c.identifier, packet), c.result)
            << c.identifier;
        const auto* data = static_cast<const uint8_t*>(packet.GetData());
        EXPECT_EQ(std::vector<uint8_t>(data, data + packet.GetSize()), c.data) << c.identifier;
    }
}

TEST_F(DispatcherFixture, DispatchAnswersWithTheResultOfTheLastPost)
{
    InitializeWith(
        [this](AAX_CPacketDispatcher& dispatcher)
        {
            const ScriptedHandler write(ScriptedHandler::Mode::Write, 1, &calls);
            dispatcher.RegisterPacket("A", 1, &write);
            dispatcher.RegisterPacket("B", 2, &write);
        });
    // The host refuses the post of one port (a throwing hook is answered with kResultUnexpected, one
    // that runs out of memory with kResultOutOfMemory).
    int32_t refused = 1;
    bool outOfMemory = false;
    driver->setPacketHook(
        [&](const aaxhost::PostedPacket& packet)
        {
            if (packet.port == refused && outOfMemory)
                throw std::bad_alloc();
            if (packet.port == refused)
                throw std::runtime_error("refused");
        });
    EXPECT_EQ(driver->generateCoefficients(), 0); // port 1 refused, then port 2 taken

    refused = 2;
    driver->update("A", 0.1);
    driver->update("B", 0.1);
    EXPECT_EQ(driver->generateCoefficients(), aaxhost::kResultUnexpected);
    outOfMemory = true;
    driver->update("B", 0.2);
    EXPECT_EQ(driver->generateCoefficients(), aaxhost::kResultOutOfMemory);
    driver->setPacketHook({});
}

TEST(PacketData, HoldsZeroedBytesAndRefusesSizeZero)
{
    AAX_CPacket::SPacketData data;
    auto* bytes = static_cast<uint8_t*>(data.Get(8));
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(bytes[i], 0);
    bytes[0] = 0x11;
    bytes = static_cast<uint8_t*>(data.Get(16));
    EXPECT_EQ(bytes[0], 0x11);
    EXPECT_EQ(bytes[15], 0);
    EXPECT_THROW(data.Get(0), std::out_of_range);
}
