// The host's property map interface, versions 1 to 3.
#pragma once

#include "AAX.h"
#include "AAX_Properties.h"
#include "acfunknown.h"

#include <cstdint>

/// A property value as the host's map holds it: pointer-wide, so that one slot
/// carries an integer (sign-extended from AAX_CPropertyValue) or a whole pointer.
typedef intptr_t AAX_CPointerPropertyValue;
static_assert(sizeof(AAX_CPointerPropertyValue) == sizeof(void*), "property values are pointer-wide");

/// Version 1 (IID_IAAXPropertyMapV1).
class AAX_IACFPropertyMap : public IACFUnknown
{
public:
    /// Position 3: reads a property (integer or pointer); non-zero when it is present.
    virtual AAX_CBoolean GetProperty(AAX_EProperty inProperty, AAX_CPointerPropertyValue* outValue) const = 0;
    /// Position 4: adds or replaces a property (integer or pointer).
    virtual AAX_Result AddProperty(AAX_EProperty inProperty, AAX_CPointerPropertyValue inValue) = 0;
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

/// Version 3 (IID_IAAXPropertyMapV3). The library calls none of its own
/// operations; it only hands the newest version to the host.
class AAX_IACFPropertyMap_V3 : public AAX_IACFPropertyMap_V2
{
protected:
    ~AAX_IACFPropertyMap_V3() = default;
};
