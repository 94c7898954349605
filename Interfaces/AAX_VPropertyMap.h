// Wrapper of a host property map.
#pragma once

#include "AAX_IPropertyMap.h"
#include "AAX_IACFPropertyMap.h"
#include "AAX_IACFDescriptionHost.h"
#include "ACFPtr.h"
#include "acfbaseapi.h"

/// Made only through Create (a new, empty host map) or Acquire (a map the host holds).
class AAX_VPropertyMap : public AAX_IPropertyMap
{
public:
    /// Null for a null unknown or one without a component factory.
    static AAX_VPropertyMap* Create(IACFUnknown* inComponentFactory);
    /// Always a new wrapper (without interfaces for a null unknown).
    static AAX_VPropertyMap* Acquire(IACFUnknown* inPropertyMapUnknown);

    ~AAX_VPropertyMap() override;

    AAX_VPropertyMap(const AAX_VPropertyMap&) = delete;
    AAX_VPropertyMap& operator=(const AAX_VPropertyMap&) = delete;

    bool GetProperty(AAX_EProperty inProperty, AAX_CPropertyValue* outValue) const override;
    bool GetPointerProperty(AAX_EProperty inProperty, const void** outValue) const override;
    /// Without the host's description services only known stem formats pass for 51 and 52.
    AAX_Result AddProperty(AAX_EProperty inProperty, AAX_CPropertyValue inValue) override;
    AAX_Result AddPointerProperty(AAX_EProperty inProperty, const void* inValue) override;
    AAX_Result AddPointerProperty(AAX_EProperty inProperty, const char* inValue) override;
    AAX_Result RemoveProperty(AAX_EProperty inProperty) override;
    AAX_Result AddPropertyWithIDArray(AAX_EProperty inProperty, const AAX_SPlugInIdentifierTriad* inPluginIDs,
                                      uint32_t inNumPluginIDs) override;
    bool GetPropertyWithIDArray(AAX_EProperty inProperty, const AAX_SPlugInIdentifierTriad** outPluginIDs,
                                uint32_t* outNumPluginIDs) const override;
    IACFUnknown* GetIUnknown() override;

private:
    AAX_VPropertyMap();
    void InitWithFactory(IACFComponentFactory* inFactory, IACFUnknown* inHostUnknown);
    void InitWithPropertyMap(IACFUnknown* inPropertyMapUnknown, IACFUnknown* inHostUnknown);

    ACFPtr<AAX_IACFPropertyMap> mIACFPropertyMap;
    ACFPtr<AAX_IACFPropertyMap_V2> mIACFPropertyMapV2;
    ACFPtr<AAX_IACFPropertyMap_V3> mIACFPropertyMapV3;
    ACFPtr<AAX_IACFDescriptionHost> mIACFDescriptionHost;
};
