#include "AAX_VFeatureInfo.h"

#include "AAX_Errors.h"
#include "AAX_UIDs.h"
#include "AAX_VPropertyMap.h"

AAX_VFeatureInfo::AAX_VFeatureInfo(IACFUnknown* pUnknown, const AAX_Feature_UID& inFeatureID)
    : mFeatureID(inFeatureID)
{
    if (pUnknown != nullptr &&
        pUnknown->QueryInterface(IID_IAAXFeatureInfoV1, mIFeature.outputVoid()) != ACF_OK)
        mIFeature.detach(); // a failed query hands over nothing
}

AAX_VFeatureInfo::~AAX_VFeatureInfo() = default;

AAX_Result AAX_VFeatureInfo::SupportLevel(AAX_ESupportLevel& oSupportLevel) const
{
    if (mIFeature.isNull())
        return AAX_ERROR_NULL_OBJECT;
    return mIFeature.get()->SupportLevel(oSupportLevel);
}

const AAX_IPropertyMap* AAX_VFeatureInfo::AcquireProperties() const
{
    if (mIFeature.isNull())
        return nullptr;
    // The host lends the map's unknown; the wrapper takes its own references.
    IACFUnknown* properties = nullptr;
    if (mIFeature.get()->AcquireProperties(&properties) != AAX_SUCCESS || properties == nullptr)
        return nullptr;
    return AAX_VPropertyMap::Acquire(properties);
}

const AAX_Feature_UID& AAX_VFeatureInfo::ID() const
{
    return mFeatureID;
}
