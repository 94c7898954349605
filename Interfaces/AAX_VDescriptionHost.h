// Wrapper of the host's description-time services.
#pragma once

#include "AAX_IDescriptionHost.h"
#include "AAX_IACFDescriptionHost.h"
#include "ACFPtr.h"
#include "acfbaseapi.h"

class AAX_VDescriptionHost : public AAX_IDescriptionHost
{
public:
    explicit AAX_VDescriptionHost(IACFUnknown* pUnknown);
    ~AAX_VDescriptionHost() override;

    AAX_VDescriptionHost(const AAX_VDescriptionHost&) = delete;
    AAX_VDescriptionHost& operator=(const AAX_VDescriptionHost&) = delete;

    const AAX_IFeatureInfo* AcquireFeatureProperties(const AAX_Feature_UID& inFeatureID) const override;

    /// Raw host pointers, no reference added; null when the host lacks them.
    AAX_IACFDescriptionHost* DescriptionHost() const noexcept { return mDescriptionHost.get(); }
    IACFDefinition* HostDefinition() const noexcept { return mHostInformation.get(); }

private:
    ACFPtr<AAX_IACFDescriptionHost> mDescriptionHost;
    ACFPtr<IACFDefinition> mHostInformation;
};
