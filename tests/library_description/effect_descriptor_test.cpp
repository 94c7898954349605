#include "description_test_support.h"

#include "AAX_Errors.h"
#include "AAX_VComponentDescriptor.h"
#include "AAX_VEffectDescriptor.h"

#include <functional>
#include <string>
#include <vector>

namespace
{

using aaxhost::HostComponentDescriptor;
using aaxhost::HostEffectDescriptor;
using aaxhost::Value;
using tambrix::test::hostMapOf;

// A component descriptor that this library did not make.
class ForeignComponent final : public AAX_IComponentDescriptor
{
public:
    AAX_Result Clear() override { return 0; }
    AAX_Result AddAudioIn(AAX_CFieldIndex) override { return 0; }
    AAX_Result AddAudioOut(AAX_CFieldIndex) override { return 0; }
    AAX_Result AddAudioBufferLength(AAX_CFieldIndex) override { return 0; }
    AAX_Result AddSampleRate(AAX_CFieldIndex) override { return 0; }
    AAX_Result AddClock(AAX_CFieldIndex) override { return 0; }
    AAX_Result AddSideChainIn(AAX_CFieldIndex) override { return 0; }
    AAX_Result AddDataInPort(AAX_CFieldIndex, uint32_t, AAX_EDataInPortType) override { return 0; }
    AAX_Result AddAuxOutputStem(AAX_CFieldIndex, int32_t, const char[]) override { return 0; }
    AAX_Result AddPrivateData(AAX_CFieldIndex, int32_t, uint32_t) override { return 0; }
    AAX_Result AddTemporaryData(AAX_CFieldIndex, uint32_t) override { return 0; }
    AAX_Result AddDmaInstance(AAX_CFieldIndex, AAX_IDma::EMode) override { return 0; }
    AAX_Result AddMeters(AAX_CFieldIndex, const AAX_CTypeID*, uint32_t) override { return 0; }
    AAX_Result AddMIDINode(AAX_CFieldIndex, AAX_EMIDINodeType, const char[], uint32_t) override { return 0; }
    AAX_Result AddReservedField(AAX_CFieldIndex, uint32_t) override { return 0; }
    AAX_IPropertyMap* NewPropertyMap() const override { return nullptr; }
    AAX_IPropertyMap* DuplicatePropertyMap(AAX_IPropertyMap*) const override { return nullptr; }
    AAX_Result AddProcessProc_Native(AAX_CProcessProc, AAX_IPropertyMap*, AAX_CInstanceInitProc,
                                     AAX_CBackgroundProc, AAX_CSelector*) override
    {
        return 0;
    }
    AAX_Result AddProcessProc_TI(const char[], const char[], AAX_IPropertyMap*, const char[], const char[],
                                 AAX_CSelector*) override
    {
        return 0;
    }
    AAX_Result AddProcessProc(AAX_IPropertyMap*, AAX_CSelector*, int32_t) override { return 0; }
};

int32_t creatorA()
{
    return 0;
}

class EffectDescriptorTest : public tambrix::test::DescriptionTest
{
protected:
    void SetUp() override
    {
        DescriptionTest::SetUp();
        descriptor = std::make_unique<AAX_VEffectDescriptor>(hostUnknown());
    }
    void TearDown() override
    {
        descriptor.reset();
        DescriptionTest::TearDown();
    }
    HostEffectDescriptor* hostDescriptor()
    {
        return HostEffectDescriptor::fromUnknown(tambrix::test::asHost(descriptor->GetIUnknown()));
    }

    std::unique_ptr<AAX_VEffectDescriptor> descriptor;
};

TEST_F(EffectDescriptorTest, OperationsReachTheHostPositions)
{
    AAX_IPropertyMap* map = descriptor->NewPropertyMap();
    ASSERT_NE(map, nullptr);
    const void* mapUnknown = map->GetIUnknown();
    AAX_IComponentDescriptor* component = descriptor->NewComponentDescriptor();
    const void* componentUnknown = static_cast<AAX_VComponentDescriptor*>(component)->GetIUnknown();
    auto* creator = reinterpret_cast<void*>(&creatorA);

    struct Case
    {
        const char* operation;
        std::function<AAX_Result()> call;
        std::vector<Value> args;
    };
    const std::vector<Case> cases = {
        {"AddComponent", [&] { return descriptor->AddComponent(component); }, {componentUnknown}},
        {"AddName", [&] { return descriptor->AddName("tambrix"); }, {std::string("tambrix")}},
        {"AddCategory", [&] { return descriptor->AddCategory(0x80000001u); }, {uint64_t{0x80000001u}}},
        {"AddCategoryBypassParameter",
         [&] { return descriptor->AddCategoryBypassParameter(4, "MasterBypassID"); },
         {uint64_t{4}, std::string("MasterBypassID")}},
        {"AddProcPtr",
         [&] { return descriptor->AddProcPtr(creator, 1); },
         {static_cast<const void*>(creator), uint64_t{1}}},
        {"SetProperties", [&] { return descriptor->SetProperties(map); }, {mapUnknown}},
        {"AddResourceInfo",
         [&] { return descriptor->AddResourceInfo(AAX_eResourceType_PageTable, "pages.xml"); },
         {int64_t{1}, std::string("pages.xml")}},
        {"AddMeterDescription",
         [&] { return descriptor->AddMeterDescription(0x4D657472, "Level", map); },
         {uint64_t{0x4D657472}, std::string("Level"), mapUnknown}},
        {"AddControlMIDINode",
         [&] { return descriptor->AddControlMIDINode(3, AAX_eMIDINodeType_Global, "ctl", 0x0F); },
         {uint64_t{3}, int64_t{2}, std::string("ctl"), uint64_t{0x0F}}},
    };
    for (const Case& c : cases)
    {
        host->recorder().clear();
        EXPECT_EQ(c.call(), AAX_SUCCESS) << c.operation;
        const auto calls = host->recorder().calls();
        ASSERT_EQ(calls.size(), 1u) << c.operation << "\n" << host->recorder().dump();
        EXPECT_EQ(calls[0].object, "EffectDescriptor");
        EXPECT_EQ(calls[0].operation, c.operation);
        EXPECT_EQ(calls[0].args, c.args) << calls[0].toString();
    }

    // The host's view: the component and the map are the library's objects.
    HostEffectDescriptor* hostView = hostDescriptor();
    ASSERT_EQ(hostView->components().size(), 1u);
    EXPECT_EQ(hostView->components()[0].get(),
              HostComponentDescriptor::fromUnknown(
                  tambrix::test::asHost(static_cast<AAX_VComponentDescriptor*>(component)->GetIUnknown())));
    EXPECT_EQ(hostView->properties().get(), hostMapOf(map));
    EXPECT_EQ(hostView->names(), std::vector<std::string>{"tambrix"});
    hostView->setResult("AddName", -20037);
    EXPECT_EQ(descriptor->AddName(""), -20037);
}

TEST_F(EffectDescriptorTest, NullAndForeignArguments)
{
    host->recorder().clear();
    EXPECT_EQ(descriptor->AddComponent(nullptr), aaxhost::kResultInvalidPointer) << "the host's own answer";
    EXPECT_EQ(descriptor->SetProperties(nullptr), aaxhost::kResultInvalidPointer);
    EXPECT_EQ(descriptor->AddMeterDescription(1, "m", nullptr), aaxhost::kAaxErrorNullArgument);
    const auto calls = host->recorder().calls();
    ASSERT_EQ(calls.size(), 3u);
    for (const auto& call : calls)
        EXPECT_EQ(call.args.back(), Value(static_cast<const void*>(nullptr))) << call.toString();

    // A descriptor that the library did not make is refused before the host sees it.
    ForeignComponent foreign;
    host->recorder().clear();
    EXPECT_EQ(descriptor->AddComponent(&foreign), AAX_ERROR_INVALID_ARGUMENT);
    EXPECT_EQ(host->recorder().size(), 0u);
}

TEST_F(EffectDescriptorTest, MissingVersions)
{
    AAX_VEffectDescriptor orphan(nullptr);
    EXPECT_EQ(orphan.GetIUnknown(), nullptr);
    EXPECT_EQ(orphan.AddName("x"), AAX_ERROR_NULL_OBJECT);
    EXPECT_EQ(orphan.AddCategory(0), AAX_ERROR_NULL_OBJECT);
    EXPECT_EQ(orphan.AddCategoryBypassParameter(0, "b"), AAX_ERROR_NULL_OBJECT);
    EXPECT_EQ(orphan.AddProcPtr(nullptr, 0), AAX_ERROR_NULL_OBJECT);
    EXPECT_EQ(orphan.SetProperties(nullptr), AAX_ERROR_NULL_OBJECT);
    EXPECT_EQ(orphan.AddResourceInfo(AAX_eResourceType_None, "r"), AAX_ERROR_NULL_OBJECT);
    EXPECT_EQ(orphan.AddMeterDescription(0, "m", nullptr), AAX_ERROR_NULL_OBJECT);
    EXPECT_EQ(orphan.AddControlMIDINode(0, AAX_eMIDINodeType_LocalInput, "n", 1), AAX_ERROR_UNIMPLEMENTED);
    EXPECT_EQ(orphan.NewPropertyMap(), nullptr);
    AAX_IComponentDescriptor* component = orphan.NewComponentDescriptor();
    ASSERT_NE(component, nullptr);
    EXPECT_EQ(component->AddAudioIn(0), AAX_ERROR_NULL_OBJECT);
    EXPECT_EQ(orphan.AddComponent(component), AAX_ERROR_NULL_OBJECT);

    // Version 1 only: the MIDI control node answers without calling the host.
    setup->refusedVersions = {aaxhost::IID_IAAXEffectDescriptorV2};
    AAX_VEffectDescriptor first(hostUnknown());
    host->recorder().clear();
    EXPECT_EQ(first.AddControlMIDINode(0, AAX_eMIDINodeType_LocalInput, "n", 1), AAX_ERROR_UNIMPLEMENTED);
    EXPECT_EQ(host->recorder().size(), 0u);
    EXPECT_EQ(first.AddName("x"), AAX_SUCCESS);

    // A factory that cannot make the descriptor: -20004, but components still work.
    host->factory().failComponent(aaxhost::AAXCompID_AAXEffectDescriptor);
    AAX_VEffectDescriptor failed(hostUnknown());
    EXPECT_EQ(failed.AddName("x"), AAX_ERROR_NULL_OBJECT);
    EXPECT_EQ(failed.NewComponentDescriptor()->AddAudioIn(0), AAX_SUCCESS);
    EXPECT_NE(failed.NewPropertyMap(), nullptr);
}

TEST_F(EffectDescriptorTest, DestructionDeletesWhatItMadeAndReleasesTheHost)
{
    const int64_t live = aaxhost::HostObject::liveCount();
    const uint32_t unknownRefs = host->unknown().refCount();
    {
        AAX_VEffectDescriptor effect(hostUnknown());
        AAX_IComponentDescriptor* first = effect.NewComponentDescriptor();
        AAX_IComponentDescriptor* second = effect.NewComponentDescriptor();
        EXPECT_NE(first, second);
        first->NewPropertyMap();
        effect.NewPropertyMap();
        host->factory().failComponent(aaxhost::AAXCompID_AAXPropertyMap);
        effect.NewPropertyMap(); // a map without a host object is kept and deleted too
        host->factory().clearFailures();
        EXPECT_EQ(host->unknown().refCount(), unknownRefs + 3) << "the effect and its two components";
    }
    EXPECT_EQ(host->unknown().refCount(), unknownRefs);
    EXPECT_EQ(aaxhost::HostObject::liveCount(), live);
    EXPECT_EQ(host->unknown().overReleases(), 0u);
}

} // namespace
