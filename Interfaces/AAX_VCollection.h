// Wrapper of the host's collection.
#pragma once

#include "AAX_ICollection.h"
#include "AAX_IACFCollection.h"
#include "AAX_VDescriptionHost.h"
#include "ACFPtr.h"

#include <set>

class AAX_IEffectDescriptor;
class AAX_IPropertyMap;

/// Owns the effect descriptors and property maps it hands out.
class AAX_VCollection : public AAX_ICollection
{
public:
    explicit AAX_VCollection(IACFUnknown* pUnkHost);
    ~AAX_VCollection() override;

    AAX_VCollection(const AAX_VCollection&) = delete;
    AAX_VCollection& operator=(const AAX_VCollection&) = delete;

    AAX_IEffectDescriptor* NewDescriptor() override;
    AAX_Result AddEffect(const char* inEffectID, AAX_IEffectDescriptor* inEffectDescriptor) override;
    AAX_Result SetManufacturerName(const char* inPackageName) override;
    AAX_Result AddPackageName(const char* inPackageName) override;
    AAX_Result SetPackageVersion(uint32_t inVersion) override;
    AAX_IPropertyMap* NewPropertyMap() override;
    AAX_Result SetProperties(AAX_IPropertyMap* inProperties) override;
    AAX_IDescriptionHost* DescriptionHost() override;
    const AAX_IDescriptionHost* DescriptionHost() const override;
    IACFDefinition* HostDefinition() const override;

    /// The host collection, no reference added; null when it could not be created.
    IACFUnknown* GetIUnknown() const;

private:
    ACFPtr<IACFUnknown> mUnkHost;
    ACFPtr<AAX_IACFCollection> mIACFCollection;
    AAX_VDescriptionHost mDescriptionHost;
    std::set<AAX_IEffectDescriptor*> mEffectDescriptors;
    std::set<AAX_IPropertyMap*> mPropertyMaps;
};
