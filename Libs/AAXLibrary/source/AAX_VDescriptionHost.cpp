#include "AAX_VDescriptionHost.h"

#include "AAX_Errors.h"
#include "AAX_UIDs.h"
#include "AAX_VFeatureInfo.h"

#include <new>

AAX_VDescriptionHost::AAX_VDescriptionHost(IACFUnknown* pUnknown)
{
    if (pUnknown == nullptr)
        return;
    // A failed query hands over nothing.
    if (pUnknown->QueryInterface(IID_IAAXDescriptionHostV1, mDescriptionHost.outputVoid()) != ACF_OK)
        mDescriptionHost.detach();
    if (pUnknown->QueryInterface(IID_IACFDefinition, mHostInformation.outputVoid()) != ACF_OK)
        mHostInformation.detach();
}

// The members release the definition, then the description-host interface.
AAX_VDescriptionHost::~AAX_VDescriptionHost() = default;

const AAX_IFeatureInfo*
AAX_VDescriptionHost::AcquireFeatureProperties(const AAX_Feature_UID& inFeatureID) const
{
    if (mDescriptionHost.isNull())
        return nullptr;
    // The host lends the feature's unknown; the feature info takes its own reference.
    IACFUnknown* feature = nullptr;
    if (mDescriptionHost.get()->AcquireFeatureProperties(inFeatureID, &feature) != AAX_SUCCESS ||
        feature == nullptr)
        return nullptr;
    return new (std::nothrow) AAX_VFeatureInfo(feature, inFeatureID);
}
