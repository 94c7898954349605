// A host feature as the library describes it.
#pragma once

#include "AAX.h"
#include "AAX_Enums.h"

class AAX_IPropertyMap;

class AAX_IFeatureInfo
{
public:
    virtual ~AAX_IFeatureInfo() {}

    virtual AAX_Result SupportLevel(AAX_ESupportLevel& oSupportLevel) const = 0;
    /// A new map owned by the caller, or null.
    virtual const AAX_IPropertyMap* AcquireProperties() const = 0;
    virtual const AAX_Feature_UID& ID() const = 0;
};
