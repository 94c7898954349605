// Identity queries of effect-parameters objects.
#include "AAX_IEffectParameters.h"
#include "AAX_UIDs.h"

ACFRESULT AAX_IEffectParameters::InternalQueryInterface(const acfIID& riid, void** ppvObjOut)
{
    if (ppvObjOut == nullptr)
        return ACF_E_NULLUNKNOWN;

    if (riid == IID_IAAXEffectParametersV1 || riid == IID_IAAXEffectParametersV2 ||
        riid == IID_IAAXEffectParametersV3 || riid == IID_IAAXEffectParametersV4)
    {
        AAX_IACFEffectParameters_V4* const primary = this;
        *ppvObjOut = primary;
        primary->AddRef();
        return ACF_OK;
    }
    return CACFUnknown::InternalQueryInterface(riid, ppvObjOut);
}
