#include "description_test_support.h"

#include "AAX_Errors.h"
#include "AAX_IComponentDescriptor.h"
#include "AAX_IFeatureInfo.h"
#include "AAX_UIDs.h"
#include "AAX_VCollection.h"
#include "AAX_VComponentDescriptor.h"
#include "AAX_VDescriptionHost.h"
#include "AAX_VEffectDescriptor.h"
#include "AAX_VFeatureInfo.h"

#include <memory>
#include <string>
#include <vector>

namespace
{

using aaxhost::HostCollection;
using aaxhost::HostFeatureInfo;
using aaxhost::Value;

// An effect descriptor that this library did not make.
class ForeignEffect final : public AAX_IEffectDescriptor
{
public:
    AAX_IComponentDescriptor* NewComponentDescriptor() override { return nullptr; }
    AAX_Result AddComponent(AAX_IComponentDescriptor*) override { return 0; }
    AAX_Result AddName(const char*) override { return 0; }
    AAX_Result AddCategory(uint32_t) override { return 0; }
    AAX_Result AddCategoryBypassParameter(uint32_t, AAX_CParamID) override { return 0; }
    AAX_Result AddProcPtr(void*, AAX_CProcPtrID) override { return 0; }
    AAX_IPropertyMap* NewPropertyMap() override { return nullptr; }
    AAX_Result SetProperties(AAX_IPropertyMap*) override { return 0; }
    AAX_Result AddResourceInfo(AAX_EResourceType, const char*) override { return 0; }
    AAX_Result AddMeterDescription(AAX_CTypeID, const char*, AAX_IPropertyMap*) override { return 0; }
    AAX_Result AddControlMIDINode(AAX_CTypeID, AAX_EMIDINodeType, const char[], uint32_t) override
    {
        return 0;
    }
};

void processB(void* const*, const void*) {}
int32_t createEffect()
{
    return 0;
}
int32_t createGUI()
{
    return 0;
}

constexpr int32_t kMono = 0x00000001;
constexpr int32_t kStereo = 0x00010002;
constexpr int32_t kIndex13 = 0x000D000A;

// The framework's rule for a stem format: the host's per-format answer when it
// gives one by property, otherwise format indices up to 12.
bool hostSupports(int32_t format, const AAX_IFeatureInfo* feature)
{
    if (feature != nullptr)
    {
        AAX_ESupportLevel level = AAX_eSupportLevel_Uninitialized;
        if (feature->SupportLevel(level) == AAX_SUCCESS && level == AAX_eSupportLevel_ByProperty)
        {
            std::unique_ptr<const AAX_IPropertyMap> properties(feature->AcquireProperties());
            AAX_CPropertyValue answer = 0;
            if (properties != nullptr && properties->GetProperty(static_cast<AAX_EProperty>(format), &answer))
                return answer == AAX_eSupportLevel_Supported;
        }
    }
    return AAX_STEM_FORMAT_INDEX(format) <= 12;
}

// One description pass as the framework makes it.
void describe(AAX_ICollection& collection)
{
    std::unique_ptr<const AAX_IFeatureInfo> feature;
    if (const AAX_IDescriptionHost* descriptionHost = collection.DescriptionHost())
        feature.reset(descriptionHost->AcquireFeatureProperties(AAXATTR_ClientFeature_StemFormat));
    AAX_IEffectDescriptor* effect = collection.NewDescriptor();
    ASSERT_NE(effect, nullptr);
    effect->AddName("tambrix");
    effect->AddName("Jelv - tambrix");
    effect->AddCategory(0);
    effect->AddProcPtr(reinterpret_cast<void*>(&createGUI), 1);
    effect->AddProcPtr(reinterpret_cast<void*>(&createEffect), 0);
    for (const int32_t in : {kMono, kStereo, kIndex13})
        for (const int32_t out : {kMono, kStereo, kIndex13})
        {
            if (!hostSupports(in, feature.get()) || !hostSupports(out, feature.get()))
                continue;
            AAX_IComponentDescriptor* component = effect->NewComponentDescriptor();
            component->AddAudioIn(0);
            component->AddAudioOut(1);
            component->AddAudioBufferLength(2);
            AAX_IPropertyMap* properties = component->NewPropertyMap();
            properties->AddProperty(AAX_eProperty_ManufacturerID, 0x4A656C76);
            properties->AddProperty(AAX_eProperty_ProductID, 0x74627278);
            properties->AddProperty(AAX_eProperty_InputStemFormat, in);
            properties->AddProperty(AAX_eProperty_OutputStemFormat, out);
            component->AddProcessProc_Native(&processB, properties);
            effect->AddComponent(component);
        }
    collection.AddEffect("com.jelv.tambrix", effect);
    collection.SetManufacturerName("Jelv");
    collection.AddPackageName("Jelv - tambrix");
    collection.AddPackageName("tambrix");
    collection.SetPackageVersion(0x00010007);
}

class CollectionTest : public tambrix::test::DescriptionTest
{
};

TEST_F(CollectionTest, NullHostUnknown)
{
    auto collection = std::make_unique<AAX_VCollection>(nullptr);
    EXPECT_EQ(collection->GetIUnknown(), nullptr);
    EXPECT_EQ(collection->DescriptionHost(), nullptr);
    EXPECT_EQ(static_cast<const AAX_VCollection&>(*collection).DescriptionHost(), nullptr);
    EXPECT_EQ(collection->HostDefinition(), nullptr);
    AAX_IEffectDescriptor* effect = collection->NewDescriptor();
    ASSERT_NE(effect, nullptr);
    EXPECT_EQ(effect->AddName("x"), AAX_ERROR_NULL_OBJECT);
    EXPECT_EQ(collection->AddEffect("id", effect), AAX_ERROR_NULL_OBJECT);
    EXPECT_EQ(collection->SetManufacturerName("m"), AAX_ERROR_NULL_OBJECT);
    EXPECT_EQ(collection->AddPackageName("p"), AAX_ERROR_NULL_OBJECT);
    EXPECT_EQ(collection->SetPackageVersion(1), AAX_ERROR_NULL_OBJECT);
    EXPECT_EQ(collection->SetProperties(nullptr), AAX_ERROR_NULL_OBJECT);
    EXPECT_EQ(collection->NewPropertyMap(), nullptr);
    collection.reset();
}

TEST_F(CollectionTest, DescriptionHostWithoutFactory)
{
    addDescriptionHost();
    host->unknown().refuse(aaxhost::IID_IACFComponentFactory);
    AAX_VCollection collection(hostUnknown());
    EXPECT_NE(collection.DescriptionHost(), nullptr);
    EXPECT_EQ(tambrix::test::asHost(reinterpret_cast<IACFUnknown*>(collection.HostDefinition())),
              host->unknown().provider(aaxhost::IID_IACFDefinition)->primaryInterface());
    EXPECT_EQ(collection.GetIUnknown(), nullptr);
    EXPECT_EQ(collection.SetManufacturerName("m"), AAX_ERROR_NULL_OBJECT);
    EXPECT_EQ(collection.NewPropertyMap(), nullptr);
    host->unknown().allowAll();
}

TEST_F(CollectionTest, OperationsReachTheHostPositions)
{
    AAX_VCollection collection(hostUnknown());
    ASSERT_NE(collection.GetIUnknown(), nullptr);
    EXPECT_EQ(collection.DescriptionHost(), nullptr) << "no description host offered";
    AAX_IEffectDescriptor* effect = collection.NewDescriptor();
    AAX_IPropertyMap* map = collection.NewPropertyMap();
    const void* effectUnknown = static_cast<AAX_VEffectDescriptor*>(effect)->GetIUnknown();
    host->recorder().clear();

    EXPECT_EQ(collection.AddEffect("com.jelv.tambrix", effect), AAX_SUCCESS);
    EXPECT_EQ(collection.SetManufacturerName("Jelv"), AAX_SUCCESS);
    EXPECT_EQ(collection.AddPackageName("tambrix"), AAX_SUCCESS);
    EXPECT_EQ(collection.SetPackageVersion(0x00010007), AAX_SUCCESS);
    EXPECT_EQ(collection.SetProperties(map), AAX_SUCCESS);
    EXPECT_EQ(collection.SetProperties(nullptr), aaxhost::kResultInvalidPointer)
        << "the host's answer to null";

    const auto calls = host->recorder().calls();
    std::vector<std::string> operations;
    for (const auto& call : calls)
    {
        EXPECT_EQ(call.object, "Collection");
        operations.push_back(call.operation);
    }
    EXPECT_EQ(operations, (std::vector<std::string>{"AddEffect", "SetManufacturerName", "AddPackageName",
                                                    "SetPackageVersion", "SetProperties", "SetProperties"}));
    EXPECT_EQ(calls[0].args, (std::vector<Value>{std::string("com.jelv.tambrix"), effectUnknown}));
    EXPECT_EQ(calls[3].args, (std::vector<Value>{uint64_t{0x00010007}}));
    EXPECT_EQ(calls[4].args, (std::vector<Value>{static_cast<const void*>(map->GetIUnknown())}));
    EXPECT_EQ(calls[5].args, (std::vector<Value>{static_cast<const void*>(nullptr)}));

    // Null and foreign descriptors never reach the host.
    ForeignEffect foreign;
    host->recorder().clear();
    EXPECT_EQ(collection.AddEffect("x", nullptr), AAX_ERROR_NULL_OBJECT);
    EXPECT_EQ(collection.AddEffect("x", &foreign), AAX_ERROR_INVALID_ARGUMENT);
    EXPECT_EQ(host->recorder().size(), 0u);

    HostCollection* hostView = HostCollection::fromUnknown(tambrix::test::asHost(collection.GetIUnknown()));
    hostView->setResult("AddPackageName", -20040);
    EXPECT_EQ(collection.AddPackageName("p"), -20040);
    EXPECT_NE(collection.NewDescriptor(), effect) << "each call makes a new descriptor";
}

TEST_F(CollectionTest, FeatureInfoThroughTheDescriptionHost)
{
    addDescriptionHost();
    HostFeatureInfo& stem = descriptionHost->stemFormatFeature();
    stem.setSupportLevel(AAX_eSupportLevel_ByProperty);
    stem.setPropertyLevel(kStereo, AAX_eSupportLevel_Supported);
    const uint32_t featureRefs = stem.refCount();
    const uint32_t mapRefs = stem.properties().refCount();

    AAX_VCollection collection(hostUnknown());
    const AAX_IDescriptionHost* libraryHost = collection.DescriptionHost();
    ASSERT_NE(libraryHost, nullptr);
    EXPECT_EQ(libraryHost, static_cast<const AAX_VCollection&>(collection).DescriptionHost());
    {
        std::unique_ptr<const AAX_IFeatureInfo> feature(
            libraryHost->AcquireFeatureProperties(AAXATTR_ClientFeature_StemFormat));
        ASSERT_NE(feature, nullptr);
        EXPECT_EQ(feature->ID(), AAXATTR_ClientFeature_StemFormat);
        AAX_ESupportLevel level = AAX_eSupportLevel_Uninitialized;
        EXPECT_EQ(feature->SupportLevel(level), AAX_SUCCESS);
        EXPECT_EQ(level, AAX_eSupportLevel_ByProperty);
        std::unique_ptr<const AAX_IPropertyMap> properties(feature->AcquireProperties());
        ASSERT_NE(properties, nullptr);
        AAX_CPropertyValue answer = 0;
        EXPECT_TRUE(properties->GetProperty(static_cast<AAX_EProperty>(kStereo), &answer));
        EXPECT_EQ(answer, AAX_eSupportLevel_Supported);
        EXPECT_FALSE(properties->GetProperty(static_cast<AAX_EProperty>(kMono), &answer));

        stem.setResult("SupportLevel", -20009);
        EXPECT_EQ(feature->SupportLevel(level), -20009);
        stem.setResult("AcquireProperties", -20009);
        EXPECT_EQ(feature->AcquireProperties(), nullptr) << "a failed host call, though a map was handed out";
        stem.clearResults();
        stem.setHasProperties(false);
        EXPECT_EQ(feature->AcquireProperties(), nullptr);
    }
    // Lent objects: the library released exactly the references it took.
    EXPECT_EQ(stem.refCount(), featureRefs);
    EXPECT_EQ(stem.properties().refCount(), mapRefs);
    EXPECT_EQ(stem.overReleases() + stem.properties().overReleases(), 0u);

    // An unknown feature, an answer without an object, and a failed answer that
    // hands out an object anyway: no feature info, and nothing released.
    const AAX_Feature_UID other = IID_IACFUnknown;
    EXPECT_EQ(libraryHost->AcquireFeatureProperties(other), nullptr);
    descriptionHost->setAnswerWithoutObject(true);
    EXPECT_EQ(libraryHost->AcquireFeatureProperties(AAXATTR_ClientFeature_StemFormat), nullptr);
    descriptionHost->setAnswerWithoutObject(false);
    descriptionHost->setResult("AcquireFeatureProperties", -20041);
    EXPECT_EQ(libraryHost->AcquireFeatureProperties(AAXATTR_ClientFeature_StemFormat), nullptr);
    EXPECT_EQ(stem.refCount(), featureRefs);
    EXPECT_EQ(stem.overReleases(), 0u);

    // A feature object without the feature interface.
    descriptionHost->clearResults();
    stem.refuse(aaxhost::IID_IAAXFeatureInfoV1);
    std::unique_ptr<const AAX_IFeatureInfo> bare(
        libraryHost->AcquireFeatureProperties(AAXATTR_ClientFeature_StemFormat));
    ASSERT_NE(bare, nullptr);
    AAX_ESupportLevel level = AAX_eSupportLevel_Uninitialized;
    EXPECT_EQ(bare->SupportLevel(level), AAX_ERROR_NULL_OBJECT);
    EXPECT_EQ(bare->AcquireProperties(), nullptr);
    EXPECT_EQ(bare->ID(), AAXATTR_ClientFeature_StemFormat);
}

TEST_F(CollectionTest, FullDescriptionPassBalancesEveryReference)
{
    addDescriptionHost();
    HostFeatureInfo& stem = descriptionHost->stemFormatFeature();
    stem.setSupportLevel(AAX_eSupportLevel_ByProperty);
    stem.setPropertyLevel(kMono, AAX_eSupportLevel_Supported);
    stem.setPropertyLevel(kStereo, AAX_eSupportLevel_Unsupported);
    stem.setPropertyLevel(kIndex13, AAX_eSupportLevel_Supported);

    const int64_t live = aaxhost::HostObject::liveCount();
    aaxhost::HostObject* factory = host->unknown().provider(aaxhost::IID_IACFComponentFactory);
    const uint32_t unknownRefs = host->unknown().refCount();
    const uint32_t factoryRefs = factory->refCount();
    const uint32_t descriptionHostRefs = descriptionHost->refCount();
    const uint32_t stemRefs = stem.refCount();

    void* definition = nullptr;
    {
        AAX_VCollection collection(hostUnknown());
        describe(collection);
        ASSERT_NE(collection.GetIUnknown(), nullptr);
        ASSERT_EQ(collection.GetIUnknown()->QueryInterface(IID_IACFPluginDefinition, &definition), ACF_OK);
    }
    EXPECT_EQ(host->unknown().refCount(), unknownRefs);
    EXPECT_EQ(factory->refCount(), factoryRefs);
    EXPECT_EQ(descriptionHost->refCount(), descriptionHostRefs);
    EXPECT_EQ(stem.refCount(), stemRefs);
    EXPECT_EQ(host->recorder().count("UnusedPosition3") + host->recorder().count("UnusedPosition8"), 0u);

    // The host's view of the plug-in, read from the definition it was handed.
    auto* definitionUnknown = static_cast<aaxhost::IACFUnknown*>(definition);
    HostCollection* view = HostCollection::fromUnknown(definitionUnknown);
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->refCount(), 1u) << "only the definition's reference is left";
    EXPECT_EQ(view->manufacturerName(), "Jelv");
    EXPECT_EQ(view->packageNames(), (std::vector<std::string>{"Jelv - tambrix", "tambrix"}));
    EXPECT_EQ(view->packageVersion(), 0x00010007u);
    auto effects = view->effects();
    ASSERT_EQ(effects.size(), 1u);
    EXPECT_EQ(effects[0].effectId, "com.jelv.tambrix");
    const aaxhost::HostEffectDescriptor& effect = *effects[0].descriptor;
    EXPECT_EQ(effect.names(), (std::vector<std::string>{"tambrix", "Jelv - tambrix"}));
    ASSERT_EQ(effect.procPtrs().size(), 2u);
    EXPECT_EQ(effect.procPtrs()[1].procPtr, reinterpret_cast<void*>(&createEffect));
    EXPECT_EQ(effect.procPtrs()[1].procId, 0u);

    // Mono and the index-13 format are accepted by property, stereo refused: four pairs.
    auto components = effect.components();
    ASSERT_EQ(components.size(), 4u);
    const std::vector<std::pair<intptr_t, intptr_t>> pairs = {
        {kMono, kMono}, {kMono, kIndex13}, {kIndex13, kMono}, {kIndex13, kIndex13}};
    for (std::size_t i = 0; i < components.size(); ++i)
    {
        const auto procs = components[i]->processProcs();
        ASSERT_EQ(procs.size(), 1u);
        EXPECT_EQ(reinterpret_cast<const void*>(procs[0].processProc),
                  reinterpret_cast<const void*>(&processB));
        const aaxhost::HostPropertyMap& properties = *procs[0].properties;
        EXPECT_EQ(properties.value(AAX_eProperty_ManufacturerID), 0x4A656C76);
        EXPECT_EQ(properties.value(AAX_eProperty_InputStemFormat), pairs[i].first);
        EXPECT_EQ(properties.value(AAX_eProperty_OutputStemFormat), pairs[i].second);
        EXPECT_EQ(components[i]->fields().size(), 3u);
    }

    // The plug-in definition can be switched off.
    view->refuse(aaxhost::IID_IACFPluginDefinition);
    void* none = nullptr;
    EXPECT_EQ(definitionUnknown->QueryInterface(aaxhost::IID_IACFPluginDefinition, &none),
              aaxhost::kResultNoInterface);
    EXPECT_EQ(none, nullptr);

    components.clear();
    effects.clear();
    definitionUnknown->Release();
    EXPECT_EQ(aaxhost::HostObject::liveCount(), live);
}

TEST_F(CollectionTest, WithoutFeatureInfoOnlyKnownIndicesAreDescribed)
{
    AAX_VCollection collection(hostUnknown());
    describe(collection);
    HostCollection* view = HostCollection::fromUnknown(tambrix::test::asHost(collection.GetIUnknown()));
    ASSERT_EQ(view->effects().size(), 1u);
    EXPECT_EQ(view->effects()[0].descriptor->components().size(), 4u) << "mono and stereo, in and out";
}

} // namespace
