// The chunk operations of the effect-parameters base, called by the host stand-in
// through its own declaration of the effect's interface, on records allocated the
// way a host allocates them (56 header bytes and exactly the reported payload size).

#include "chunk_records.h"
#include "library_unknown.h"
#include "test_effect.h"

#include "AAX_CHostServices.h"

#include "aaxhost/EffectDriver.h"
#include "aaxhost/Host.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <memory>

using tambrix::test::Bytes;
using tambrix::test::DeclaredChunk;
using tambrix::test::hexText;
using tambrix::test::kElck;
using tambrix::test::KindParameter;
using tambrix::test::kJuce;
using tambrix::test::PayloadBuilder;
using tambrix::test::TestEffect;

namespace
{

std::vector<TestEffect::Definition> gDefinitions;
TestEffect* gMade = nullptr;

void* MakeTestEffect()
{
    gMade = new TestEffect(gDefinitions);
    return static_cast<AAX_IACFEffectParameters_V4*>(gMade);
}

class ChunkOperations : public ::testing::Test
{
protected:
    void SetUp() override { Start(TestEffect::DefaultDefinitions()); }
    void TearDown() override
    {
        driver_.reset();
        AAX_CHostServices::Set(nullptr);
    }

    void Start(std::vector<TestEffect::Definition> definitions)
    {
        driver_.reset();
        AAX_CHostServices::Set(nullptr);
        AAX_CHostServices::Set(tambrix::test::asLibrary(host_.unknownInterface()));
        gDefinitions = std::move(definitions);
        driver_ = std::make_unique<aaxhost::EffectDriver>(host_);
        ASSERT_EQ(0, driver_->create(&MakeTestEffect));
        ASSERT_EQ(0, driver_->initialize());
        effect_ = gMade;
    }

    aaxhost::IEffectParameters& host() { return *driver_->effect(); }
    KindParameter& p(const char* id) { return *effect_->parameter(id); }

    // GetChunkSize, then GetChunk into a record of exactly that size.
    std::unique_ptr<DeclaredChunk> Save(int32_t* result = nullptr)
    {
        uint32_t size = 0;
        EXPECT_EQ(0, host().GetChunkSize(kElck, &size));
        auto record = std::make_unique<DeclaredChunk>(static_cast<int32_t>(size), Bytes{}, kElck, 0);
        const int32_t r = host().GetChunk(kElck, record->get());
        if (result)
            *result = r;
        else
            EXPECT_EQ(0, r);
        return record;
    }

    bool Equal(const DeclaredChunk& record)
    {
        uint8_t equal = 77;
        EXPECT_EQ(0, host().CompareActiveChunk(record.get(), &equal));
        EXPECT_TRUE(equal == 0 || equal == 1);
        return equal == 1;
    }

    // The default values of the test effect's unfiltered parameters, written by hand.
    static PayloadBuilder DefaultPayload()
    {
        return PayloadBuilder()
            .marker()
            .d("Gain", 0.75)
            .l("Count", -7)
            .l("On", 1)
            .d("Freq", 440.125)
            .r("Label", "Hi");
    }

    aaxhost::Host host_;
    std::unique_ptr<aaxhost::EffectDriver> driver_;
    TestEffect* effect_ = nullptr;
};

TEST_F(ChunkOperations, OneChunkAtIndexZero)
{
    int32_t count = 0;
    EXPECT_EQ(0, host().GetNumberOfChunks(&count));
    EXPECT_EQ(1, count);

    uint32_t id = 5;
    EXPECT_EQ(0, host().GetChunkIDFromIndex(0, &id));
    EXPECT_EQ(kElck, id);
    for (int32_t index : {1, -1, 2, std::numeric_limits<int32_t>::min()})
    {
        id = 5;
        EXPECT_EQ(-20006, host().GetChunkIDFromIndex(index, &id)) << index;
        EXPECT_EQ(0u, id) << index;
    }
}

TEST_F(ChunkOperations, OtherIdentifiersAreLeftToTheDerivedClass)
{
    uint32_t size = 99;
    EXPECT_EQ(-20007, host().GetChunkSize(kJuce, &size));
    EXPECT_EQ(0u, size);

    DeclaredChunk record(64, Bytes(64, 0xEE), kJuce, 3);
    const Bytes before = record.header();
    EXPECT_EQ(-20007, host().GetChunk(kJuce, record.get()));
    EXPECT_EQ(before, record.header());
    EXPECT_EQ(Bytes(64, 0xEE), record.payload(64));

    // SetChunk goes by the argument, not by the record's own identifier field.
    DeclaredChunk ours(DefaultPayload().l("Count", 3).bytes());
    EXPECT_EQ(-20007, host().SetChunk(kJuce, ours.get()));
    EXPECT_TRUE(effect_->allSets().empty());

    // A record of another identifier compares equal, unread.
    DeclaredChunk juce(std::numeric_limits<int32_t>::min(), {}, kJuce, 0);
    EXPECT_TRUE(Equal(juce));
}

TEST_F(ChunkOperations, WrittenChunkIsByteExactWithItsHeader)
{
    const Bytes expected = DefaultPayload().bytes();
    uint32_t size = 0;
    ASSERT_EQ(0, host().GetChunkSize(kElck, &size));
    ASSERT_EQ(expected.size(), size); // 4 + 16 + 12 + 8 + 16 + 12

    DeclaredChunk record(static_cast<int32_t>(size), {}, 0xCDCDCDCDu, 0);
    std::memset(record.get(), 0xCD, record.allocated());
    ASSERT_EQ(0, host().GetChunk(kElck, record.get()));

    const AAX_SPlugInChunk& c = *record.get();
    EXPECT_EQ(static_cast<int32_t>(size), c.fSize);
    EXPECT_EQ(-1, c.fVersion);
    EXPECT_EQ(0xCDCDCDCDu, c.fManID);
    EXPECT_EQ(0xCDCDCDCDu, c.fProductID);
    EXPECT_EQ(0xCDCDCDCDu, c.fPlugInID);
    EXPECT_EQ(0xCDCDCDCDu, c.fChunkID);
    char name[32] = "Complete Controls State";
    EXPECT_EQ(0, std::memcmp(name, c.fName, 32));
    EXPECT_EQ(hexText(expected), hexText(record.payload(size)));
    // The bypass never reaches the payload.
    EXPECT_EQ(std::string::npos, hexText(record.payload(size)).find(hexText(Bytes{'B', 'y', 'p'})));
}

TEST_F(ChunkOperations, GetChunkNeedsAnUnchangedSizeFromGetChunkSize)
{
    DeclaredChunk record(256, {}, kElck, 0);
    record.get()->fVersion = 5;
    EXPECT_EQ(-20008, host().GetChunk(kElck, record.get())); // no GetChunkSize yet
    EXPECT_EQ(256, record.get()->fSize);
    EXPECT_EQ(5, record.get()->fVersion);

    uint32_t size = 0;
    ASSERT_EQ(0, host().GetChunkSize(kElck, &size));
    p("Gain").floatValue = 0.125f; // same width
    ASSERT_EQ(0, host().GetChunk(kElck, record.get()));

    ASSERT_EQ(0, host().GetChunkSize(kElck, &size));
    p("Label").stringValue.Set("Hello"); // "Hi" and "Hello" pad to 4 and 8 bytes
    record.get()->fSize = 256;
    record.get()->fVersion = 5;
    EXPECT_EQ(-20008, host().GetChunk(kElck, record.get()));
    EXPECT_EQ(256, record.get()->fSize);
    EXPECT_EQ(5, record.get()->fVersion);

    p("Label").stringValue.Set("Hey"); // as wide as "Hi" again
    EXPECT_EQ(0, host().GetChunk(kElck, record.get()));
}

TEST_F(ChunkOperations, SavedChunkRestoresEveryParameter)
{
    p("Gain").floatValue = 0.1f; // not exact in binary: the widened double must round back
    p("Count").intValue = std::numeric_limits<int32_t>::min();
    p("On").boolValue = false;
    p("Freq").doubleValue = 1.0 / 3.0;
    p("Label").stringValue.Set("abc");
    auto saved = Save();
    EXPECT_TRUE(Equal(*saved));

    p("Gain").floatValue = 9.0f;
    p("Count").intValue = 1;
    p("On").boolValue = true;
    p("Freq").doubleValue = 2.0;
    p("Label").stringValue.Set("zz");
    p("MasterBypassID").boolValue = false;
    EXPECT_FALSE(Equal(*saved));

    effect_->clearSets();
    EXPECT_EQ(0, host().SetChunk(kElck, saved->get()));
    const std::vector<std::string> expected = {"Gain: float 0x3dcccccd", "Count: int32 -2147483648",
                                               "On: bool 0", "Freq: double 0x3fd5555555555555",
                                               "Label: string abc"};
    EXPECT_EQ(expected, effect_->allSets());
    EXPECT_TRUE(Equal(*saved));
}

TEST_F(ChunkOperations, AParameterAnsweringSeveralKindsIsStoredAsTheFirstOfThem)
{
    using K = KindParameter::Kind;
    Start({{"Fl", K::Float}, {"In", K::Int32}, {"Bo", K::Bool}, {"Do", K::Double}});
    p("Fl").alsoAnswers = {K::Int32, K::Bool, K::Double, K::String};
    p("In").alsoAnswers = {K::Bool, K::Double, K::String};
    p("Bo").alsoAnswers = {K::Double, K::String};
    p("Do").alsoAnswers = {K::String};
    const auto record = Save();
    const Bytes expected =
        PayloadBuilder().marker().d("Fl", 0.75).l("In", -7).l("Bo", 1).d("Do", 440.125).bytes();
    EXPECT_EQ(hexText(expected), hexText(record->payload(record->allocated())));
}

TEST_F(ChunkOperations, BypassIsNeverWrittenNorRestored)
{
    DeclaredChunk record(DefaultPayload().l("MasterBypassID", 0).d("MasterBypassID", 0.0).bytes());
    EXPECT_EQ(0, host().SetChunk(kElck, record.get()));
    EXPECT_TRUE(p("MasterBypassID").sets.empty());
    EXPECT_TRUE(p("MasterBypassID").boolValue);
    EXPECT_TRUE(Equal(record)); // the bypass entry is not compared either
}

TEST_F(ChunkOperations, AnyNonZeroIntegerRestoresTrue)
{
    p("On").boolValue = false;
    DeclaredChunk record(PayloadBuilder().marker().l("On", -5).bytes());
    EXPECT_EQ(0, host().SetChunk(kElck, record.get()));
    EXPECT_EQ(std::vector<std::string>{"bool 1"}, p("On").sets);
}

TEST_F(ChunkOperations, MissingEntryKeepsItsParameterAndComparesDifferent)
{
    DeclaredChunk record(
        PayloadBuilder().marker().d("Gain", 0.5).l("On", 0).d("Freq", 1.5).r("Label", "x").bytes());
    EXPECT_EQ(0, host().SetChunk(kElck, record.get()));
    EXPECT_TRUE(p("Count").sets.empty());
    EXPECT_EQ(-7, p("Count").intValue);
    EXPECT_EQ(0.5f, p("Gain").floatValue);
    EXPECT_FALSE(p("On").boolValue);
    EXPECT_EQ(1.5, p("Freq").doubleValue);
    EXPECT_STREQ("x", p("Label").stringValue.Get());
    EXPECT_FALSE(Equal(record));
}

TEST_F(ChunkOperations, EntryOfTheWrongTypeIsNotApplied)
{
    DeclaredChunk record(PayloadBuilder()
                             .marker()
                             .l("Gain", 1)
                             .l("Count", -7)
                             .l("On", 1)
                             .d("Freq", 440.125)
                             .r("Label", "Hi")
                             .bytes());
    EXPECT_EQ(0, host().SetChunk(kElck, record.get()));
    EXPECT_TRUE(p("Gain").sets.empty());
    EXPECT_EQ(0.75f, p("Gain").floatValue);
    EXPECT_FALSE(Equal(record));
}

TEST_F(ChunkOperations, DoublesCompareInSinglePrecision)
{
    auto saved = Save();
    p("Freq").doubleValue = 440.125 + 1e-9; // the same float
    EXPECT_TRUE(Equal(*saved));
    p("Freq").doubleValue = 440.15625; // another float
    EXPECT_FALSE(Equal(*saved));
}

TEST_F(ChunkOperations, EachKindComparesItsOwnWay)
{
    auto saved = Save();
    ASSERT_TRUE(Equal(*saved));
    const auto differs = [&](auto change, auto restore, const char* what)
    {
        change();
        EXPECT_FALSE(Equal(*saved)) << what;
        restore();
        EXPECT_TRUE(Equal(*saved)) << what;
    };
    differs([&] { p("Gain").floatValue = std::nextafter(0.75f, 1.0f); },
            [&] { p("Gain").floatValue = 0.75f; }, "float");
    differs([&] { p("Count").intValue = -8; }, [&] { p("Count").intValue = -7; }, "int32");
    differs([&] { p("On").boolValue = false; }, [&] { p("On").boolValue = true; }, "bool");
    differs([&] { p("Label").stringValue.Set("hi"); }, [&] { p("Label").stringValue.Set("Hi"); }, "string");
    // The bypass and a parameter without a value kind are not looked at.
    p("MasterBypassID").boolValue = false;
    EXPECT_TRUE(Equal(*saved));

    // A NaN float never equals, not even a saved NaN.
    p("Gain").floatValue = std::numeric_limits<float>::quiet_NaN();
    auto nanSaved = Save();
    EXPECT_FALSE(Equal(*nanSaved));
}

TEST_F(ChunkOperations, NoUnfilteredParametersGiveTheBareMarker)
{
    Start({{"MasterBypassID", KindParameter::Kind::Bool}, {"None", KindParameter::Kind::None}});
    auto saved = Save();
    EXPECT_EQ(4, saved->get()->fSize);
    EXPECT_EQ("01 01 01 01", hexText(saved->payload(4)));
    EXPECT_TRUE(Equal(*saved));
}

TEST_F(ChunkOperations, NoParametersAtAllCompareEqual)
{
    Start({});
    DeclaredChunk garbage(PayloadBuilder().raw({9, 9, 9, 9}).bytes());
    EXPECT_TRUE(Equal(garbage));
}

TEST_F(ChunkOperations, ParameterMissingAtAnIndexIsReportedAndSkipped)
{
    effect_->extra = 1;
    host_.services().clear();
    auto saved = Save();
    EXPECT_EQ(hexText(DefaultPayload().bytes()), hexText(saved->payload(DefaultPayload().bytes().size())));
    EXPECT_TRUE(Equal(*saved));
    ASSERT_EQ(0, host().SetChunk(kElck, saved->get()));

    const auto assertions = host_.services().assertions();
    // GetChunkSize and GetChunk build the entries (line 816), CompareActiveChunk reads them
    // (line 668); SetChunk says nothing.
    ASSERT_EQ(3u, assertions.size());
    for (std::size_t i = 0; i < 3; ++i)
    {
        EXPECT_EQ("AAX_CEffectParameters", assertions[i].file);
        EXPECT_EQ("NULL != parameter", assertions[i].condition);
        EXPECT_EQ(1, assertions[i].flags);
        EXPECT_EQ(i < 2 ? 816 : 668, assertions[i].line);
    }
}

TEST_F(ChunkOperations, NullPointersAreRefusedAndNothingIsWritten)
{
    EXPECT_EQ(-20044, host().GetNumberOfChunks(nullptr));
    EXPECT_EQ(-20044, host().GetChunkIDFromIndex(0, nullptr));
    EXPECT_EQ(-20044, host().GetChunkSize(kElck, nullptr));
    EXPECT_EQ(-20044, host().GetChunk(kElck, nullptr));
    EXPECT_EQ(-20044, host().SetChunk(kElck, nullptr));
    uint8_t equal = 9;
    EXPECT_EQ(-20044, host().CompareActiveChunk(nullptr, &equal));
    EXPECT_EQ(9, equal);
    DeclaredChunk record(DefaultPayload().bytes());
    EXPECT_EQ(-20044, host().CompareActiveChunk(record.get(), nullptr));
    EXPECT_TRUE(effect_->allSets().empty());
}

TEST_F(ChunkOperations, DamagedChunksChangeNoParameter)
{
    for (const auto& c : tambrix::test::malformedCases())
    {
        effect_->clearSets();
        DeclaredChunk record(c.declaredSize, c.payload, kElck, -1);
        EXPECT_EQ(0, host().SetChunk(kElck, record.get())) << c.name;
        EXPECT_EQ(std::vector<std::string>{}, effect_->allSets()) << c.name;
        EXPECT_FALSE(Equal(record)) << c.name;
    }
    EXPECT_EQ(0.75f, p("Gain").floatValue);
    EXPECT_EQ(-7, p("Count").intValue);
    EXPECT_EQ(440.125, p("Freq").doubleValue);
    EXPECT_STREQ("Hi", p("Label").stringValue.Get());
}

TEST_F(ChunkOperations, DoubleParameterTakesValuesBeyondTheFloatRange)
{
    DeclaredChunk record(PayloadBuilder().marker().d("Freq", 1e300).bytes());
    EXPECT_EQ(0, host().SetChunk(kElck, record.get()));
    EXPECT_EQ(1e300, p("Freq").doubleValue);
    Start({{"Freq", KindParameter::Kind::Double}});
    p("Freq").doubleValue = 1e300;
    EXPECT_TRUE(Equal(record));
    p("Freq").doubleValue = 1e299;
    EXPECT_FALSE(Equal(record));
}

} // namespace

namespace
{

// Does with its own chunk what the framework's wrapper does: takes the base class's
// chunk count as its chunk's index at construction and hands every other index and
// identifier to the base operations.
class StateChunkEffect final : public TestEffect
{
public:
    StateChunkEffect() { AAX_CEffectParameters::GetNumberOfChunks(&mStateIndex); }

    AAX_Result GetNumberOfChunks(int32_t* count) const override
    {
        *count = mStateIndex + 1;
        return AAX_SUCCESS;
    }
    AAX_Result GetChunkIDFromIndex(int32_t index, AAX_CTypeID* id) const override
    {
        if (index != mStateIndex)
            return AAX_CEffectParameters::GetChunkIDFromIndex(index, id);
        *id = kJuce;
        return AAX_SUCCESS;
    }
    AAX_Result GetChunkSize(AAX_CTypeID id, uint32_t* size) const override
    {
        if (id != kJuce)
            return AAX_CEffectParameters::GetChunkSize(id, size);
        *size = 2;
        return AAX_SUCCESS;
    }
    AAX_Result GetChunk(AAX_CTypeID id, AAX_SPlugInChunk* chunk) const override
    {
        if (id != kJuce)
            return AAX_CEffectParameters::GetChunk(id, chunk);
        chunk->fSize = 2;
        chunk->fData[0] = static_cast<char>(mState);
        chunk->fData[1] = 0;
        return AAX_SUCCESS;
    }
    AAX_Result SetChunk(AAX_CTypeID id, const AAX_SPlugInChunk* chunk) override
    {
        if (id != kJuce)
            return AAX_CEffectParameters::SetChunk(id, chunk);
        mState = static_cast<uint8_t>(chunk->fData[0]);
        return AAX_SUCCESS;
    }

    int32_t mStateIndex = -1;
    uint8_t mState = 6;
};

StateChunkEffect* gStateMade = nullptr;

void* MakeStateChunkEffect()
{
    gStateMade = new StateChunkEffect();
    return static_cast<AAX_IACFEffectParameters_V4*>(gStateMade);
}

TEST(ChunkOperationsWithADerivedChunk, TheDerivedChunkFollowsTheControlsChunk)
{
    aaxhost::Host host;
    aaxhost::EffectDriver driver(host);
    ASSERT_EQ(0, driver.create(&MakeStateChunkEffect));
    ASSERT_EQ(0, driver.initialize());
    aaxhost::IEffectParameters& effect = *driver.effect();
    EXPECT_EQ(1, gStateMade->mStateIndex);

    // What a host does to save: every chunk by index, its size, then its contents.
    int32_t count = 0;
    ASSERT_EQ(0, effect.GetNumberOfChunks(&count));
    ASSERT_EQ(2, count);
    std::vector<uint32_t> ids;
    std::vector<std::unique_ptr<DeclaredChunk>> records;
    for (int32_t index = 0; index < count; ++index)
    {
        uint32_t id = 0;
        ASSERT_EQ(0, effect.GetChunkIDFromIndex(index, &id));
        uint32_t size = 0;
        ASSERT_EQ(0, effect.GetChunkSize(id, &size));
        records.push_back(std::make_unique<DeclaredChunk>(static_cast<int32_t>(size), Bytes{}, id, 0));
        ASSERT_EQ(0, effect.GetChunk(id, records.back()->get()));
        ids.push_back(id);
    }
    EXPECT_EQ((std::vector<uint32_t>{kElck, kJuce}), ids);
    uint32_t id = 1;
    EXPECT_EQ(-20006, effect.GetChunkIDFromIndex(2, &id));
    EXPECT_EQ(0u, id);
    EXPECT_EQ(-20007, effect.GetChunkSize(0x41424344u, &id));

    // Both chunks compare equal with the state they came from; the derived one unread.
    for (const auto& record : records)
    {
        uint8_t equal = 0;
        ASSERT_EQ(0, effect.CompareActiveChunk(record->get(), &equal));
        EXPECT_EQ(1, equal);
    }

    // Restoring both.
    gStateMade->parameter("Count")->intValue = 3;
    gStateMade->mState = 9;
    ASSERT_EQ(0, effect.SetChunk(kElck, records[0]->get()));
    ASSERT_EQ(0, effect.SetChunk(kJuce, records[1]->get()));
    EXPECT_EQ(-7, gStateMade->parameter("Count")->intValue);
    EXPECT_EQ(6, gStateMade->mState);
    EXPECT_EQ(-20007, effect.SetChunk(0x41424344u, records[0]->get()));
}

} // namespace
