#include "AAX_VAutomationDelegate.h"

#include "AAX_Errors.h"
#include "AAX_UIDs.h"

AAX_VAutomationDelegate::AAX_VAutomationDelegate(IACFUnknown* pUnknown)
{
    // A host without the interface leaves the pointer empty; every operation then
    // answers AAX_ERROR_NULL_OBJECT.
    if (pUnknown != nullptr)
        pUnknown->QueryInterface(IID_IAAXAutomationDelegateV1, mIAutomationDelegate.outputVoid());
}

AAX_VAutomationDelegate::~AAX_VAutomationDelegate() = default;

AAX_Result AAX_VAutomationDelegate::RegisterParameter(AAX_CParamID iParameterID)
{
    if (!mIAutomationDelegate)
        return AAX_ERROR_NULL_OBJECT;
    return mIAutomationDelegate->RegisterParameter(iParameterID);
}

AAX_Result AAX_VAutomationDelegate::UnregisterParameter(AAX_CParamID iParameterID)
{
    if (!mIAutomationDelegate)
        return AAX_ERROR_NULL_OBJECT;
    return mIAutomationDelegate->UnregisterParameter(iParameterID);
}

AAX_Result AAX_VAutomationDelegate::PostSetValueRequest(AAX_CParamID iParameterID,
                                                        double normalizedValue) const
{
    if (!mIAutomationDelegate)
        return AAX_ERROR_NULL_OBJECT;
    return mIAutomationDelegate->PostSetValueRequest(iParameterID, normalizedValue);
}

AAX_Result AAX_VAutomationDelegate::PostCurrentValue(AAX_CParamID iParameterID, double normalizedValue) const
{
    if (!mIAutomationDelegate)
        return AAX_ERROR_NULL_OBJECT;
    return mIAutomationDelegate->PostCurrentValue(iParameterID, normalizedValue);
}

AAX_Result AAX_VAutomationDelegate::PostTouchRequest(AAX_CParamID iParameterID)
{
    if (!mIAutomationDelegate)
        return AAX_ERROR_NULL_OBJECT;
    return mIAutomationDelegate->PostTouchRequest(iParameterID);
}

AAX_Result AAX_VAutomationDelegate::PostReleaseRequest(AAX_CParamID iParameterID)
{
    if (!mIAutomationDelegate)
        return AAX_ERROR_NULL_OBJECT;
    return mIAutomationDelegate->PostReleaseRequest(iParameterID);
}

AAX_Result AAX_VAutomationDelegate::GetTouchState(AAX_CParamID iParameterID, AAX_CBoolean* outTouched)
{
    if (!mIAutomationDelegate)
        return AAX_ERROR_NULL_OBJECT;
    // Nowhere to write the answer: the host is not asked.
    if (outTouched == nullptr)
        return AAX_ERROR_NULL_ARGUMENT;
    return mIAutomationDelegate->GetTouchState(iParameterID, outTouched);
}
