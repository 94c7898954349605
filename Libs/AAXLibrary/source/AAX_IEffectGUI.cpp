// Identity queries of GUI objects.
#include "AAX_IEffectGUI.h"
#include "AAX_UIDs.h"

ACFRESULT AAX_IEffectGUI::InternalQueryInterface(const acfIID& riid, void** ppvObjOut)
{
    if (ppvObjOut == nullptr)
        return ACF_E_NULLUNKNOWN;

    if (riid == IID_IAAXEffectGUIV1)
    {
        AAX_IACFEffectGUI* const primary = this;
        *ppvObjOut = primary;
        primary->AddRef();
        return ACF_OK;
    }
    return CACFUnknown::InternalQueryInterface(riid, ppvObjOut);
}
