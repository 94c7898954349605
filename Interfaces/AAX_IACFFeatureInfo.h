// The host's answer about one feature.
#pragma once

#include "AAX.h"
#include "AAX_Enums.h"
#include "acfunknown.h"

/// IID_IAAXFeatureInfoV1.
class AAX_IACFFeatureInfo : public IACFUnknown
{
public:
    /// Position 3.
    virtual AAX_Result SupportLevel(AAX_ESupportLevel& oSupportLevel) const = 0;
    /// Position 4: stores the unknown of a property map with the feature's details.
    virtual AAX_Result AcquireProperties(IACFUnknown** outProperties) = 0;

protected:
    ~AAX_IACFFeatureInfo() = default;
};
