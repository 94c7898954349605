// Wrapper of the host's feature info.
#pragma once

#include "AAX_IFeatureInfo.h"
#include "AAX_IACFFeatureInfo.h"
#include "ACFPtr.h"

class AAX_VFeatureInfo : public AAX_IFeatureInfo
{
public:
    AAX_VFeatureInfo(IACFUnknown* pUnknown, const AAX_Feature_UID& inFeatureID);
    ~AAX_VFeatureInfo() override;

    AAX_VFeatureInfo(const AAX_VFeatureInfo&) = delete;
    AAX_VFeatureInfo& operator=(const AAX_VFeatureInfo&) = delete;

    AAX_Result SupportLevel(AAX_ESupportLevel& oSupportLevel) const override;
    const AAX_IPropertyMap* AcquireProperties() const override;
    const AAX_Feature_UID& ID() const override;

private:
    AAX_Feature_UID mFeatureID;
    ACFPtr<AAX_IACFFeatureInfo> mIFeature;
};
