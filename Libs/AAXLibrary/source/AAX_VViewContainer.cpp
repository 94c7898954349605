#include "AAX_VViewContainer.h"

#include "AAX_Errors.h"
#include "AAX_UIDs.h"

// Without the host's view container, the type reads 0, the native view null,
// and a resize is let stand (0); every other operation answers "unimplemented"
// and writes nothing.

AAX_VViewContainer::AAX_VViewContainer(IACFUnknown* pUnknown)
{
    if (pUnknown == nullptr)
        return;
    // A version the host lacks leaves its member empty; the results are not needed.
    pUnknown->QueryInterface(IID_IAAXViewContainerV1, mIViewContainer.outputVoid());
    pUnknown->QueryInterface(IID_IAAXViewContainerV2, mIViewContainerV2.outputVoid());
}

// The members release in reverse order: version 2, then version 1.
AAX_VViewContainer::~AAX_VViewContainer() = default;

int32_t AAX_VViewContainer::GetType()
{
    if (AAX_IACFViewContainer* host = mIViewContainer.get())
        return host->GetType();
    return 0;
}

void* AAX_VViewContainer::GetPtr()
{
    if (AAX_IACFViewContainer* host = mIViewContainer.get())
        return host->GetPtr();
    return nullptr;
}

AAX_Result AAX_VViewContainer::GetModifiers(uint32_t* outModifiers)
{
    if (AAX_IACFViewContainer* host = mIViewContainer.get())
        return host->GetModifiers(outModifiers);
    return AAX_ERROR_UNIMPLEMENTED;
}

AAX_Result AAX_VViewContainer::SetViewSize(AAX_Point& inSize)
{
    if (AAX_IACFViewContainer* host = mIViewContainer.get())
        return host->SetViewSize(inSize);
    return AAX_SUCCESS;
}

AAX_Result AAX_VViewContainer::HandleParameterMouseDown(AAX_CParamID inParamID, uint32_t inModifiers)
{
    if (AAX_IACFViewContainer* host = mIViewContainer.get())
        return host->HandleParameterMouseDown(inParamID, inModifiers);
    return AAX_ERROR_UNIMPLEMENTED;
}

AAX_Result AAX_VViewContainer::HandleParameterMouseDrag(AAX_CParamID inParamID, uint32_t inModifiers)
{
    if (AAX_IACFViewContainer* host = mIViewContainer.get())
        return host->HandleParameterMouseDrag(inParamID, inModifiers);
    return AAX_ERROR_UNIMPLEMENTED;
}

AAX_Result AAX_VViewContainer::HandleParameterMouseUp(AAX_CParamID inParamID, uint32_t inModifiers)
{
    if (AAX_IACFViewContainer* host = mIViewContainer.get())
        return host->HandleParameterMouseUp(inParamID, inModifiers);
    return AAX_ERROR_UNIMPLEMENTED;
}

AAX_Result AAX_VViewContainer::HandleMultipleParametersMouseDown(const AAX_CParamID* inParamIDs,
                                                                 uint32_t inNumOfParams, uint32_t inModifiers)
{
    if (AAX_IACFViewContainer_V2* host = mIViewContainerV2.get())
        return host->HandleMultipleParametersMouseDown(inParamIDs, inNumOfParams, inModifiers);
    return AAX_ERROR_UNIMPLEMENTED;
}

AAX_Result AAX_VViewContainer::HandleMultipleParametersMouseDrag(const AAX_CParamID* inParamIDs,
                                                                 uint32_t inNumOfParams, uint32_t inModifiers)
{
    if (AAX_IACFViewContainer_V2* host = mIViewContainerV2.get())
        return host->HandleMultipleParametersMouseDrag(inParamIDs, inNumOfParams, inModifiers);
    return AAX_ERROR_UNIMPLEMENTED;
}

AAX_Result AAX_VViewContainer::HandleMultipleParametersMouseUp(const AAX_CParamID* inParamIDs,
                                                               uint32_t inNumOfParams, uint32_t inModifiers)
{
    if (AAX_IACFViewContainer_V2* host = mIViewContainerV2.get())
        return host->HandleMultipleParametersMouseUp(inParamIDs, inNumOfParams, inModifiers);
    return AAX_ERROR_UNIMPLEMENTED;
}
