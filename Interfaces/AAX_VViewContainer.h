// Wrapper of the host's view container.
#pragma once

#include "AAX_IViewContainer.h"
#include "AAX_IACFViewContainer.h"
#include "ACFPtr.h"

class AAX_VViewContainer : public AAX_IViewContainer
{
public:
    explicit AAX_VViewContainer(IACFUnknown* pUnknown);
    ~AAX_VViewContainer() override;

    AAX_VViewContainer(const AAX_VViewContainer&) = delete;
    AAX_VViewContainer& operator=(const AAX_VViewContainer&) = delete;

    int32_t GetType() override;
    void* GetPtr() override;
    AAX_Result GetModifiers(uint32_t* outModifiers) override;
    AAX_Result SetViewSize(AAX_Point& inSize) override;
    AAX_Result HandleParameterMouseDown(AAX_CParamID inParamID, uint32_t inModifiers) override;
    AAX_Result HandleParameterMouseDrag(AAX_CParamID inParamID, uint32_t inModifiers) override;
    AAX_Result HandleParameterMouseUp(AAX_CParamID inParamID, uint32_t inModifiers) override;
    AAX_Result HandleMultipleParametersMouseDown(const AAX_CParamID* inParamIDs, uint32_t inNumOfParams,
                                                 uint32_t inModifiers) override;
    AAX_Result HandleMultipleParametersMouseDrag(const AAX_CParamID* inParamIDs, uint32_t inNumOfParams,
                                                 uint32_t inModifiers) override;
    AAX_Result HandleMultipleParametersMouseUp(const AAX_CParamID* inParamIDs, uint32_t inNumOfParams,
                                               uint32_t inModifiers) override;

private:
    ACFPtr<AAX_IACFViewContainer> mIViewContainer;
    ACFPtr<AAX_IACFViewContainer_V2> mIViewContainerV2;
};
