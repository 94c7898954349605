// The host's property map interface, versions 1 to 3.
#pragma once

#include "AAX.h"
#include "AAX_Properties.h"
#include "acfunknown.h"

/// Version 1 (IID_IAAXPropertyMapV1).
class AAX_IACFPropertyMap : public IACFUnknown
{
public:
    /// Position 3: reads an integer property; non-zero when it is present.
    virtual AAX_CBoolean GetProperty(AAX_EProperty inProperty, AAX_CPropertyValue* outValue) const = 0;
    /// Position 4: adds or replaces an integer property.
    virtual AAX_Result AddProperty(AAX_EProperty inProperty, AAX_CPropertyValue inValue) = 0;
    /// Position 5.
    virtual AAX_Result RemoveProperty(AAX_EProperty inProperty) = 0;

protected:
    ~AAX_IACFPropertyMap() = default;
};

/// Version 2 (IID_IAAXPropertyMapV2): properties holding arrays of plug-in identifiers.
class AAX_IACFPropertyMap_V2 : public AAX_IACFPropertyMap
{
public:
    /// Position 6.
    virtual AAX_Result AddPropertyWithIDArray(AAX_EProperty inProperty,
                                              const AAX_SPlugInIdentifierTriad* inPluginIDs,
                                              uint32_t inNumPluginIDs) = 0;
    /// Position 7: non-zero when present.
    virtual AAX_CBoolean GetPropertyWithIDArray(AAX_EProperty inProperty,
                                                const AAX_SPlugInIdentifierTriad** outPluginIDs,
                                                uint32_t* outNumPluginIDs) const = 0;

protected:
    ~AAX_IACFPropertyMap_V2() = default;
};

/// Version 3 (IID_IAAXPropertyMapV3): pointer-width property values. A pointer does not
/// fit the 32-bit value slot of positions 3 and 4 on a 64-bit platform, so pointer
/// properties travel through these operations.
class AAX_IACFPropertyMap_V3 : public AAX_IACFPropertyMap_V2
{
public:
    /// Position 8: reads a pointer property; non-zero when it is present.
    virtual AAX_CBoolean GetPointerProperty(AAX_EProperty inProperty, const void** outValue) const = 0;
    /// Position 9: adds or replaces a pointer property.
    virtual AAX_Result AddPointerProperty(AAX_EProperty inProperty, const void* inValue) = 0;

protected:
    ~AAX_IACFPropertyMap_V3() = default;
};
