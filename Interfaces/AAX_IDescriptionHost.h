// The host's description-time services as the library offers them.
#pragma once

#include "AAX.h"

class AAX_IFeatureInfo;

class AAX_IDescriptionHost
{
public:
    virtual ~AAX_IDescriptionHost() {}

    /// A new feature info owned by the caller, or null.
    virtual const AAX_IFeatureInfo* AcquireFeatureProperties(const AAX_Feature_UID& inFeatureID) const = 0;
};
