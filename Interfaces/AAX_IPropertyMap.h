// A set of numbered properties travelling with a description object.
#pragma once

#include "AAX.h"
#include "AAX_Properties.h"

class IACFUnknown;

class AAX_IPropertyMap
{
public:
    virtual ~AAX_IPropertyMap() {}

    /// True when the integer property is present (its value written to *outValue).
    virtual bool GetProperty(AAX_EProperty inProperty, AAX_CPropertyValue* outValue) const = 0;
    /// True when the pointer property is present.
    virtual bool GetPointerProperty(AAX_EProperty inProperty, const void** outValue) const = 0;
    virtual AAX_Result AddProperty(AAX_EProperty inProperty, AAX_CPropertyValue inValue) = 0;
    virtual AAX_Result AddPointerProperty(AAX_EProperty inProperty, const void* inValue) = 0;
    virtual AAX_Result AddPointerProperty(AAX_EProperty inProperty, const char* inValue) = 0;
    virtual AAX_Result RemoveProperty(AAX_EProperty inProperty) = 0;
    virtual AAX_Result AddPropertyWithIDArray(AAX_EProperty inProperty,
                                              const AAX_SPlugInIdentifierTriad* inPluginIDs,
                                              uint32_t inNumPluginIDs) = 0;
    virtual bool GetPropertyWithIDArray(AAX_EProperty inProperty,
                                        const AAX_SPlugInIdentifierTriad** outPluginIDs,
                                        uint32_t* outNumPluginIDs) const = 0;
    /// The host object of the map (newest version present), no reference added.
    virtual IACFUnknown* GetIUnknown() = 0;
};
