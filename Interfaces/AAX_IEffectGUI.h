// A GUI object as the host sees it: the host-facing interface first, then the
// reference-counted base.
#pragma once

#include "AAX_IACFEffectGUI.h"
#include "CACFUnknown.h"

class AAX_IEffectGUI : public AAX_IACFEffectGUI, public CACFUnknown
{
public:
    ACFRESULT QueryInterface(const acfIID& iid, void** ppOut) override
    {
        return GetOuterUnknown()->QueryInterface(iid, ppOut);
    }
    uint32_t AddRef() override { return GetOuterUnknown()->AddRef(); }
    uint32_t Release() override { return GetOuterUnknown()->Release(); }

    /// IID_IAAXEffectGUIV1 yields this object's primary interface; anything else is
    /// answered by CACFUnknown.
    ACFRESULT InternalQueryInterface(const acfIID& riid, void** ppvObjOut) override;

    ~AAX_IEffectGUI() override {}
};
