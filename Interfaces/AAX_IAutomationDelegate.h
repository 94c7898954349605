// Parameter automation traffic to the host.
#pragma once

#include "AAX.h"

class AAX_IAutomationDelegate
{
public:
    virtual ~AAX_IAutomationDelegate() {}

    virtual AAX_Result RegisterParameter(AAX_CParamID iParameterID) = 0;
    virtual AAX_Result UnregisterParameter(AAX_CParamID iParameterID) = 0;
    virtual AAX_Result PostSetValueRequest(AAX_CParamID iParameterID, double normalizedValue) const = 0;
    virtual AAX_Result PostCurrentValue(AAX_CParamID iParameterID, double normalizedValue) const = 0;
    virtual AAX_Result PostTouchRequest(AAX_CParamID iParameterID) = 0;
    virtual AAX_Result PostReleaseRequest(AAX_CParamID iParameterID) = 0;
    virtual AAX_Result GetTouchState(AAX_CParamID iParameterID, AAX_CBoolean* outTouched) = 0;
};
