// The host's description-time services.
#pragma once

#include "AAX.h"
#include "acfunknown.h"

/// IID_IAAXDescriptionHostV1.
class AAX_IACFDescriptionHost : public IACFUnknown
{
public:
    /// Position 3: looks a host feature up; stores its unknown in *outFeatureInfo.
    virtual AAX_Result AcquireFeatureProperties(const AAX_Feature_UID& inFeatureID,
                                                IACFUnknown** outFeatureInfo) = 0;

protected:
    ~AAX_IACFDescriptionHost() = default;
};
