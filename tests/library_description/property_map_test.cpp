#include "description_test_support.h"

#include "AAX_Errors.h"
#include "AAX_VPropertyMap.h"

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace
{

using tambrix::test::hostMapOf;
using MapPtr = std::unique_ptr<AAX_VPropertyMap>;

class PropertyMapTest : public tambrix::test::DescriptionTest
{
protected:
    MapPtr create() { return MapPtr(AAX_VPropertyMap::Create(hostUnknown())); }
};

// One version of a host property map as a host object of its own, so that the
// host's record shows which version was asked. It answers its own identifier and
// passes the identifiers in `others` on to their objects. The plug-in may only
// query and release it.
class MapVersion final : public aaxhost::HostObjectOf<aaxhost::IACFUnknown>
{
public:
    MapVersion(std::shared_ptr<aaxhost::CallRecorder> recorder, std::string name, const aaxhost::Uid& own)
        : HostObjectOf(std::move(name), std::move(recorder)), own_(own)
    {
    }

    std::vector<std::pair<aaxhost::Uid, aaxhost::HostRef<aaxhost::HostObject>>> others;

protected:
    void* findInterface(const aaxhost::Uid& iid) noexcept override
    {
        return iid == own_ ? primaryInterface() : nullptr;
    }
    aaxhost::Result answerQuery(const aaxhost::Uid& iid, void** out) noexcept override
    {
        for (const auto& other : others)
            if (other.first == iid)
                return other.second->query(iid, out);
        return HostObjectOf::answerQuery(iid, out);
    }

private:
    aaxhost::Uid own_;
};

// A 32-bit pattern as the signed value the interface carries.
AAX_CPropertyValue bits(uint32_t pattern)
{
    return static_cast<AAX_CPropertyValue>(pattern);
}

TEST_F(PropertyMapTest, StemFormatsWithoutDescriptionHost)
{
    MapPtr map = create();
    ASSERT_NE(map, nullptr);
    aaxhost::HostPropertyMap* hostMap = hostMapOf(map.get());
    ASSERT_NE(hostMap, nullptr);

    // Index 0..12 in the high half (any channel count), "any" and "none" pass.
    const uint32_t accepted[] = {0x00000001u, 0x00010002u, 0x000C0008u,
                                 0x000CFFFFu, 0xFFFF0000u, 0xFF9C0000u};
    // Indices 13 and 20, and high halves that are negative when read with their
    // sign (0x8000 = -32768, 0xFFFE = -2, 0xFFFF and 0xFF9C with channels), fail.
    const uint32_t rejected[] = {0x000D000Au, 0x00140009u, 0x80000000u, 0xFFFE0000u,
                                 0xFFFE0001u, 0xFFFF0001u, 0xFF9C0002u, 0x7FFF0000u};

    for (const AAX_EProperty id : {AAX_eProperty_InputStemFormat, AAX_eProperty_OutputStemFormat})
    {
        for (const uint32_t value : accepted)
        {
            EXPECT_EQ(map->AddProperty(id, bits(value)), AAX_SUCCESS) << std::hex << value;
            // Sign-extended into the host's pointer-wide slot.
            EXPECT_EQ(hostMap->value(id), static_cast<intptr_t>(static_cast<int32_t>(value)))
                << std::hex << value;
        }
        hostMap->remove(id);
        const std::size_t addsBefore = count("PropertyMap", "AddProperty");
        for (const uint32_t value : rejected)
            EXPECT_EQ(map->AddProperty(id, bits(value)), AAX_ERROR_PROPERTY_UNDEFINED) << std::hex << value;
        EXPECT_EQ(count("PropertyMap", "AddProperty"), addsBefore) << "a rejected format reached the host";
        EXPECT_FALSE(hostMap->value(id).has_value());
    }

    // Other properties and the pointer form are never checked.
    EXPECT_EQ(map->AddProperty(AAX_eProperty_ManufacturerID, bits(0x000D000Au)), AAX_SUCCESS);
    EXPECT_EQ(
        map->AddPointerProperty(AAX_eProperty_InputStemFormat, reinterpret_cast<const void*>(0x00140009)),
        AAX_SUCCESS);
    EXPECT_EQ(hostMap->value(AAX_eProperty_InputStemFormat), 0x00140009);
}

TEST_F(PropertyMapTest, StemFormatsWithDescriptionHostAreAllForwarded)
{
    addDescriptionHost();
    MapPtr map = create();
    aaxhost::HostPropertyMap* hostMap = hostMapOf(map.get());
    ASSERT_NE(hostMap, nullptr);
    for (const uint32_t value : {0x000D000Au, 0x00140009u, 0x80000000u, 0xFFFE0001u})
    {
        EXPECT_EQ(map->AddProperty(AAX_eProperty_OutputStemFormat, bits(value)), AAX_SUCCESS);
        EXPECT_EQ(hostMap->value(AAX_eProperty_OutputStemFormat),
                  static_cast<intptr_t>(static_cast<int32_t>(value)));
    }
}

TEST_F(PropertyMapTest, RejectionComesBeforeTheMissingMap)
{
    host->factory().failComponent(aaxhost::AAXCompID_AAXPropertyMap);
    MapPtr map = create();
    ASSERT_NE(map, nullptr) << "a factory exists, so a wrapper is made";
    EXPECT_EQ(map->GetIUnknown(), nullptr);
    EXPECT_EQ(map->AddProperty(AAX_eProperty_InputStemFormat, bits(0x000D000Au)),
              AAX_ERROR_PROPERTY_UNDEFINED);
    EXPECT_EQ(map->AddProperty(AAX_eProperty_InputStemFormat, bits(0x00010002u)), AAX_ERROR_NULL_OBJECT);
    EXPECT_EQ(map->AddPointerProperty(AAX_eProperty_NativeProcessProc, "x"), AAX_ERROR_NULL_OBJECT);
    EXPECT_EQ(map->RemoveProperty(AAX_eProperty_ManufacturerID), AAX_ERROR_NULL_OBJECT);
    EXPECT_EQ(map->AddPropertyWithIDArray(AAX_eProperty_ManufacturerID, nullptr, 0), AAX_ERROR_UNIMPLEMENTED);
    AAX_CPropertyValue value = 99;
    const void* pointer = &value;
    EXPECT_FALSE(map->GetProperty(AAX_eProperty_ManufacturerID, &value));
    EXPECT_FALSE(map->GetPointerProperty(AAX_eProperty_ManufacturerID, &pointer));
    EXPECT_EQ(value, 99);
    EXPECT_EQ(pointer, &value);
}

TEST_F(PropertyMapTest, IntegersAreSignExtendedAndPointersKeepTheirWidth)
{
    MapPtr map = create();
    aaxhost::HostPropertyMap* hostMap = hostMapOf(map.get());
    ASSERT_NE(hostMap, nullptr);

    EXPECT_EQ(map->AddProperty(AAX_eProperty_ManufacturerID, -5), AAX_SUCCESS);
    EXPECT_EQ(hostMap->value(AAX_eProperty_ManufacturerID), intptr_t{-5});

    const auto* wide = reinterpret_cast<const void*>(uintptr_t{0x00007FFF12345678u});
    EXPECT_EQ(map->AddPointerProperty(AAX_eProperty_NativeProcessProc, wide), AAX_SUCCESS);
    EXPECT_EQ(hostMap->value(AAX_eProperty_NativeProcessProc), intptr_t{0x00007FFF12345678});
    const void* back = nullptr;
    EXPECT_TRUE(map->GetPointerProperty(AAX_eProperty_NativeProcessProc, &back));
    EXPECT_EQ(back, wide);

    // Read as an integer, a wide value keeps its low 32 bits.
    AAX_CPropertyValue low = 0;
    EXPECT_TRUE(map->GetProperty(AAX_eProperty_NativeProcessProc, &low));
    EXPECT_EQ(low, 0x12345678);
    hostMap->set(AAX_eProperty_ProductID, static_cast<intptr_t>(0x00000001FFFFFFF9));
    EXPECT_TRUE(map->GetProperty(AAX_eProperty_ProductID, &low));
    EXPECT_EQ(low, -7);

    // The text form is the same pointer property.
    static const char text[] = "dll";
    EXPECT_EQ(map->AddPointerProperty(AAX_eProperty_TIDLLFileName, text), AAX_SUCCESS);
    EXPECT_EQ(hostMap->value(AAX_eProperty_TIDLLFileName), reinterpret_cast<intptr_t>(text));

    EXPECT_EQ(map->RemoveProperty(AAX_eProperty_ProductID), AAX_SUCCESS);
    EXPECT_FALSE(map->GetProperty(AAX_eProperty_ProductID, &low));
}

TEST_F(PropertyMapTest, NullOutPointersAnswerFalseWithoutCallingTheHost)
{
    MapPtr map = create();
    hostMapOf(map.get())->set(AAX_eProperty_ManufacturerID, 1);
    EXPECT_FALSE(map->GetProperty(AAX_eProperty_ManufacturerID, nullptr));
    EXPECT_FALSE(map->GetPointerProperty(AAX_eProperty_ManufacturerID, nullptr));
    uint32_t n = 0;
    const AAX_SPlugInIdentifierTriad* records = nullptr;
    EXPECT_FALSE(map->GetPropertyWithIDArray(AAX_eProperty_ManufacturerID, nullptr, &n));
    EXPECT_FALSE(map->GetPropertyWithIDArray(AAX_eProperty_ManufacturerID, &records, nullptr));
    EXPECT_EQ(count("PropertyMap", "GetProperty"), 0u);
    EXPECT_EQ(count("PropertyMap", "GetPropertyWithIDArray"), 0u);
}

TEST_F(PropertyMapTest, IdentifierUnknownIsTheNewestVersion)
{
    MapPtr newest = create();
    aaxhost::HostPropertyMap* hostMap = hostMapOf(newest.get());
    ASSERT_NE(hostMap, nullptr);
    EXPECT_EQ(tambrix::test::asHost(newest->GetIUnknown()), hostMap->v3Interface());

    setup->refusedVersions = {aaxhost::IID_IAAXPropertyMapV3};
    MapPtr second = create();
    EXPECT_EQ(tambrix::test::asHost(second->GetIUnknown()), hostMapOf(second.get())->v2Interface());

    setup->refusedVersions = {aaxhost::IID_IAAXPropertyMapV2, aaxhost::IID_IAAXPropertyMapV3};
    MapPtr first = create();
    EXPECT_EQ(tambrix::test::asHost(first->GetIUnknown()), hostMapOf(first.get())->v1Interface());

    // Without version 2 the identifier arrays are missing.
    uint32_t n = 7;
    const AAX_SPlugInIdentifierTriad* records = nullptr;
    EXPECT_EQ(first->AddPropertyWithIDArray(AAX_eProperty_PlugInID_Native, nullptr, 0),
              AAX_ERROR_UNIMPLEMENTED);
    EXPECT_FALSE(first->GetPropertyWithIDArray(AAX_eProperty_PlugInID_Native, &records, &n));
    EXPECT_EQ(count("PropertyMap", "AddPropertyWithIDArray"), 0u);
    EXPECT_EQ(n, 7u);

    // With it, pointer and count pass through unchanged.
    const auto* fake = reinterpret_cast<const AAX_SPlugInIdentifierTriad*>(&n);
    EXPECT_EQ(second->AddPropertyWithIDArray(AAX_eProperty_PlugInID_Native, fake, 3), AAX_SUCCESS);
    EXPECT_TRUE(second->GetPropertyWithIDArray(AAX_eProperty_PlugInID_Native, &records, &n));
    EXPECT_EQ(records, fake);
    EXPECT_EQ(n, 3u);
    EXPECT_EQ(count("PropertyMap", "UnusedPosition8"), 0u);
}

TEST_F(PropertyMapTest, TheDescriptionHostIsSoughtFromTheHostUnknownToTheFirstVersion)
{
    using aaxhost::HostObject;
    using aaxhost::HostRef;
    const auto recorder = host->sharedRecorder();
    auto v1 = aaxhost::makeHost<MapVersion>(recorder, "MapV1", aaxhost::IID_IAAXPropertyMapV1);
    auto v2 = aaxhost::makeHost<MapVersion>(recorder, "MapV2", aaxhost::IID_IAAXPropertyMapV2);
    auto v3 = aaxhost::makeHost<MapVersion>(recorder, "MapV3", aaxhost::IID_IAAXPropertyMapV3);
    v1->others = {{aaxhost::IID_IAAXPropertyMapV2, v2}, {aaxhost::IID_IAAXPropertyMapV3, v3}};
    host->factory().registerComponent(aaxhost::AAXCompID_AAXPropertyMap, [v1](const aaxhost::CreateRequest&)
                                      { return HostRef<HostObject>(v1); });
    host->recorder().setRecordReferenceCalls(true);

    // The host objects asked for the description host while a map is made.
    const auto asked = [this]
    {
        host->recorder().clear();
        create();
        std::vector<std::string> objects;
        for (const aaxhost::Call& call : host->recorder().calls("QueryInterface"))
            if (call.arg<aaxhost::Uid>(0) == aaxhost::IID_IAAXDescriptionHostV1)
                objects.push_back(call.object);
        return objects;
    };
    EXPECT_EQ(asked(),
              (std::vector<std::string>{"HostUnknown", "ComponentFactory", "MapV2", "MapV3", "MapV1"}));

    v3->others = {
        {aaxhost::IID_IAAXDescriptionHostV1, aaxhost::makeHost<aaxhost::HostDescriptionHost>(recorder)}};
    EXPECT_EQ(asked(), (std::vector<std::string>{"HostUnknown", "ComponentFactory", "MapV2", "MapV3"}));

    addDescriptionHost();
    EXPECT_EQ(asked(), std::vector<std::string>{"HostUnknown"});
}

TEST_F(PropertyMapTest, CreateNeedsAUnknownWithAFactory)
{
    EXPECT_EQ(AAX_VPropertyMap::Create(nullptr), nullptr);
    host->unknown().refuse(aaxhost::IID_IACFComponentFactory);
    EXPECT_EQ(AAX_VPropertyMap::Create(hostUnknown()), nullptr);
}

TEST_F(PropertyMapTest, AcquireBorrowsTheUnknownAndReleasesOnlyItsOwnReferences)
{
    MapPtr empty(AAX_VPropertyMap::Acquire(nullptr));
    ASSERT_NE(empty, nullptr);
    AAX_CPropertyValue value = 0;
    EXPECT_EQ(empty->GetIUnknown(), nullptr);
    EXPECT_FALSE(empty->GetProperty(AAX_eProperty_ManufacturerID, &value));
    EXPECT_EQ(empty->AddProperty(AAX_eProperty_ManufacturerID, 1), AAX_ERROR_NULL_OBJECT);
    EXPECT_EQ(empty->AddPropertyWithIDArray(AAX_eProperty_ManufacturerID, nullptr, 0),
              AAX_ERROR_UNIMPLEMENTED);

    auto held = aaxhost::makeHost<aaxhost::HostPropertyMap>(host->sharedRecorder());
    held->set(0x00010002, 2);
    const uint32_t before = held->refCount();
    {
        MapPtr acquired(AAX_VPropertyMap::Acquire(tambrix::test::asLibrary(held->v1Interface())));
        EXPECT_EQ(tambrix::test::asHost(acquired->GetIUnknown()), held->v3Interface());
        EXPECT_TRUE(acquired->GetProperty(static_cast<AAX_EProperty>(0x00010002), &value));
        EXPECT_EQ(value, 2);
        // The map answers no description host, so stem formats are checked.
        EXPECT_EQ(acquired->AddProperty(AAX_eProperty_InputStemFormat, bits(0x000D000Au)),
                  AAX_ERROR_PROPERTY_UNDEFINED);
    }
    EXPECT_EQ(held->refCount(), before);
    EXPECT_EQ(held->overReleases(), 0u);
}

TEST_F(PropertyMapTest, DestroyingACreatedMapReleasesTheHostMap)
{
    const int64_t live = aaxhost::HostObject::liveCount();
    MapPtr map = create();
    EXPECT_EQ(aaxhost::HostObject::liveCount(), live + 1);
    EXPECT_EQ(hostMapOf(map.get())->refCount(), 3u) << "versions 1, 2 and 3";
    map.reset();
    EXPECT_EQ(aaxhost::HostObject::liveCount(), live);
}

} // namespace
