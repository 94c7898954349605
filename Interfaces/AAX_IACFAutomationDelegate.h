// The host's automation delegate.
#pragma once

#include "AAX.h"
#include "acfunknown.h"

/// IID_IAAXAutomationDelegateV1.
class AAX_IACFAutomationDelegate : public IACFUnknown
{
public:
    virtual AAX_Result RegisterParameter(AAX_CParamID iParameterID) = 0;                                 // 3
    virtual AAX_Result UnregisterParameter(AAX_CParamID iParameterID) = 0;                               // 4
    virtual AAX_Result PostSetValueRequest(AAX_CParamID iParameterID, double normalizedValue) const = 0; // 5
    virtual AAX_Result PostCurrentValue(AAX_CParamID iParameterID, double normalizedValue) const = 0;    // 6
    virtual AAX_Result PostTouchRequest(AAX_CParamID iParameterID) = 0;                                  // 7
    virtual AAX_Result PostReleaseRequest(AAX_CParamID iParameterID) = 0;                                // 8
    virtual AAX_Result GetTouchState(AAX_CParamID iParameterID, AAX_CBoolean* outTouched) = 0;           // 9

protected:
    ~AAX_IACFAutomationDelegate() = default;
};
