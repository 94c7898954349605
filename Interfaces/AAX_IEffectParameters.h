// An effect's data-model object as the host sees it: the host-facing interface chain
// first (its pointer is the one handed to the host), then the reference-counted base.
#pragma once

#include "AAX_IACFEffectParameters.h"
#include "CACFUnknown.h"

class AAX_IEffectParameters : public AAX_IACFEffectParameters_V4, public CACFUnknown
{
public:
    /// Forward to the outer unknown (the object's own inner unknown).
    ACFRESULT QueryInterface(const acfIID& iid, void** ppOut) override
    {
        return GetOuterUnknown()->QueryInterface(iid, ppOut);
    }
    uint32_t AddRef() override { return GetOuterUnknown()->AddRef(); }
    uint32_t Release() override { return GetOuterUnknown()->Release(); }

    /// IID_IAAXEffectParametersV1 to V4 yield this object's primary interface; anything
    /// else is answered by CACFUnknown.
    ACFRESULT InternalQueryInterface(const acfIID& riid, void** ppvObjOut) override;

    ~AAX_IEffectParameters() override {}
};
