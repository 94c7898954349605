// The library's fixed identifiers, byte for byte, against their published text forms,
// and their place in the constant data.
#include "AAX_UIDs.h"

#include "aaxhost/Uid.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <set>
#include <string>

namespace
{
struct NamedIdentifier
{
    const char* name;
    const acfUID* value;
    const char* text;
};

const NamedIdentifier kIdentifiers[] = {
    {"IID_IACFUnknown", &IID_IACFUnknown, "00000000-0000-0000-C000-000000000046"},
    {"IID_IACFDefinition", &IID_IACFDefinition, "E51741F1-7FCF-11D6-AAC3-00306542A024"},
    {"IID_IACFPluginDefinition", &IID_IACFPluginDefinition, "00EEF015-7FD0-11D6-8485-00306542A024"},
    {"IID_IACFComponentFactory", &IID_IACFComponentFactory, "382B6A96-7FD0-11D6-BCFE-00306542A024"},
    {"AAXCompID_HostServices", &AAXCompID_HostServices, "88882C2D-EBBC-42EF-C0AB-8981B0BD0CCA"},
    {"IID_IAAXHostServicesV1", &IID_IAAXHostServicesV1, "96D42C2D-EBBC-41EF-B0AB-9991A0ED0CCA"},
    {"IID_IAAXHostServicesV2", &IID_IAAXHostServicesV2, "A207EE9E-B442-11E4-A71E-12E3F512A338"},
    {"IID_IAAXHostServicesV3", &IID_IAAXHostServicesV3, "12BEA399-9A4F-4353-8098-3916FA71898D"},
    {"AAXCompID_AAXCollection", &AAXCompID_AAXCollection, "89882C2D-77BC-42EF-707B-7981B7BD0CCA"},
    {"IID_IAAXCollectionV1", &IID_IAAXCollectionV1, "96D42C2D-EBBC-41DF-B1AB-9991A2EE0CCA"},
    {"AAXCompID_AAXEffectDescriptor", &AAXCompID_AAXEffectDescriptor, "89872C2D-75BC-423F-401B-F9A1BAAD0CCA"},
    {"IID_IAAXEffectDescriptorV1", &IID_IAAXEffectDescriptorV1, "96D42C2D-EBBC-41EF-D1CB-499442E40FDA"},
    {"IID_IAAXEffectDescriptorV2", &IID_IAAXEffectDescriptorV2, "41ECCC52-416B-4072-84BD-40B05210A74C"},
    {"AAXCompID_AAXComponentDescriptor", &AAXCompID_AAXComponentDescriptor,
     "94872C3D-95BC-413D-D0DB-D9B12AAD0CCA"},
    {"IID_IAAXComponentDescriptorV1", &IID_IAAXComponentDescriptorV1, "96E42C2D-E2BC-51EF-61C7-48994AEB0CDA"},
    {"IID_IAAXComponentDescriptorV2", &IID_IAAXComponentDescriptorV2, "1895259E-AAA9-4F0F-A985-149837B76F89"},
    {"IID_IAAXComponentDescriptorV3", &IID_IAAXComponentDescriptorV3, "979CFCD4-2BCB-43AE-9CD0-2D0ECD2ADCD5"},
    {"AAXCompID_AAXPropertyMap", &AAXCompID_AAXPropertyMap, "A587AD3D-D53C-4ADC-D0DD-D9D12DDDDCDA"},
    {"IID_IAAXPropertyMapV1", &IID_IAAXPropertyMapV1, "96EE2C2D-EECC-5EFF-E2D7-E849E3E2EEEE"},
    {"IID_IAAXPropertyMapV2", &IID_IAAXPropertyMapV2, "7177DF80-7C9C-11E2-B92A-0800200C9A66"},
    {"IID_IAAXPropertyMapV3", &IID_IAAXPropertyMapV3, "6D4AB208-D34B-4368-B4F1-58BC243F45C9"},
    {"IID_IAAXAutomationDelegateV1", &IID_IAAXAutomationDelegateV1, "9D5E3D3D-42DC-5EFA-2217-EEE2E8E53E2E"},
    {"IID_IAAXControllerV1", &IID_IAAXControllerV1, "9D5E3E3D-52DC-5EFB-2018-DE1DE2E63F4E"},
    {"IID_IAAXControllerV2", &IID_IAAXControllerV2, "4C59AA0E-D7C0-4205-8B6C-32468D42D202"},
    {"IID_IAAXControllerV3", &IID_IAAXControllerV3, "DD6F168C-DA86-44F8-B864-D6CD221926E7"},
    {"IID_IAAXPageTableController", &IID_IAAXPageTableController, "2E9D35FB-BACC-4B2C-B5D7-C6E851F569BD"},
    {"IID_IAAXPageTableControllerV2", &IID_IAAXPageTableControllerV2, "06C6B83E-9D87-4938-8A38-F8E45B10A24A"},
    {"IID_IAAXViewContainerV1", &IID_IAAXViewContainerV1, "22DA0BBC-D550-4D5E-8CC6-734483B8837F"},
    {"IID_IAAXViewContainerV2", &IID_IAAXViewContainerV2, "9143A0BE-7A79-4D02-AE25-AADBA76A50B2"},
    {"IID_IAAXTransportV1", &IID_IAAXTransportV1, "5CEE4EF4-6337-4359-B63B-FE58DC36543A"},
    {"IID_IAAXTransportV2", &IID_IAAXTransportV2, "203CBD9F-982C-4FE6-A827-07480257AEC3"},
    {"AAXCompID_PageTable", &AAXCompID_PageTable, "DBC22879-A24E-4AC6-9721-938B72D8E81B"},
    {"IID_IAAXPageTableV1", &IID_IAAXPageTableV1, "33C9E5BE-1CE3-4085-91A7-09D6F8EE4B64"},
    {"IID_IAAXPageTableV2", &IID_IAAXPageTableV2, "D0F25D1B-9C5B-4D2E-8F1F-45BC934732F7"},
    {"IID_IAAXDescriptionHostV1", &IID_IAAXDescriptionHostV1, "E5BC71DF-4C1F-4CC4-814A-5A7DD0E70EF5"},
    {"IID_IAAXFeatureInfoV1", &IID_IAAXFeatureInfoV1, "24545609-A7C4-44D4-ABB8-CF13EA9D0BDF"},
    {"IID_IAAXEffectParametersV1", &IID_IAAXEffectParametersV1, "964E333D-334C-533F-C2C7-3834C3C23E3E"},
    {"IID_IAAXEffectParametersV2", &IID_IAAXEffectParametersV2, "F1F47D06-308F-4CC5-9C7C-50A83F8AB813"},
    {"IID_IAAXEffectParametersV3", &IID_IAAXEffectParametersV3, "D2540E9D-9163-42BB-A6FD-81E10EA32498"},
    {"IID_IAAXEffectParametersV4", &IID_IAAXEffectParametersV4, "2E485536-31A3-4697-9C16-E59BF6B28A41"},
    {"IID_IAAXEffectGUIV1", &IID_IAAXEffectGUIV1, "964E323D-424C-5E1A-2227-282423222E1E"},
    {"AAXATTR_ClientFeature_StemFormat", &AAXATTR_ClientFeature_StemFormat,
     "729DD3E6-D3DC-484C-9169-F064A012601D"},
};

TEST(Identifiers, EveryIdentifierMatchesItsTextForm)
{
    ASSERT_EQ(sizeof(kIdentifiers) / sizeof(kIdentifiers[0]), static_cast<size_t>(kAAX_NumFixedUIDs));
    for (const NamedIdentifier& id : kIdentifiers)
    {
        const auto parsed = aaxhost::Uid::parse(id.text);
        ASSERT_TRUE(parsed.has_value()) << id.name;
        static_assert(sizeof(aaxhost::Uid) == sizeof(acfUID), "both sides use 16 bytes");
        EXPECT_EQ(0, std::memcmp(&*parsed, id.value, sizeof(acfUID)))
            << id.name << " differs from " << id.text;
    }
}

TEST(Identifiers, LieOneAfterTheOtherInTheirOrder)
{
    // The table above is in the published order; each identifier starts 16 bytes after
    // the one before it.
    const auto address = [](const acfUID* id)
    {
        return reinterpret_cast<std::intptr_t>(id);
    };
    for (std::size_t i = 0; i < sizeof(kIdentifiers) / sizeof(kIdentifiers[0]); ++i)
        EXPECT_EQ(address(kIdentifiers[i].value) - address(kIdentifiers[0].value),
                  static_cast<std::intptr_t>(i * sizeof(acfUID)))
            << kIdentifiers[i].name;
}

TEST(Identifiers, AllFortyTwoAreDistinct)
{
    std::set<std::string> seen;
    for (const NamedIdentifier& id : kIdentifiers)
        seen.insert(std::string(reinterpret_cast<const char*>(id.value), sizeof(acfUID)));
    EXPECT_EQ(seen.size(), static_cast<size_t>(kAAX_NumFixedUIDs));
}

TEST(Identifiers, FieldsLieInGuidLayoutInPlatformByteOrder)
{
    // IID_IACFUnknown 00000000-0000-0000-C000-000000000046 and
    // IID_IAAXEffectGUIV1 964E323D-424C-5E1A-2227-282423222E1E, written out by hand for
    // a little-endian machine: 32-bit and 16-bit groups reversed, the last eight in order.
    const unsigned char unknownBytes[16] = {0, 0, 0, 0, 0, 0, 0, 0, 0xC0, 0, 0, 0, 0, 0, 0, 0x46};
    const unsigned char guiBytes[16] = {0x3D, 0x32, 0x4E, 0x96, 0x4C, 0x42, 0x1A, 0x5E,
                                        0x22, 0x27, 0x28, 0x24, 0x23, 0x22, 0x2E, 0x1E};
    EXPECT_EQ(0, std::memcmp(&IID_IACFUnknown, unknownBytes, 16));
    EXPECT_EQ(0, std::memcmp(&IID_IAAXEffectGUIV1, guiBytes, 16));
}

TEST(Identifiers, EqualityNeedsAllSixteenBytes)
{
    acfUID almost = IID_IAAXEffectParametersV1;
    EXPECT_TRUE(almost == IID_IAAXEffectParametersV1);
    almost.Data4[7] ^= 0x01;
    EXPECT_FALSE(almost == IID_IAAXEffectParametersV1);
    EXPECT_TRUE(almost != IID_IAAXEffectParametersV1);

    acfUID firstField = IID_IAAXEffectParametersV1;
    firstField.Data1 += 1;
    EXPECT_FALSE(firstField == IID_IAAXEffectParametersV1);
}
} // namespace
