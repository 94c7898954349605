// The host's view container, versions 1 and 2.
#pragma once

#include "AAX.h"
#include "acfunknown.h"

/// Version 1 (IID_IAAXViewContainerV1).
class AAX_IACFViewContainer : public IACFUnknown
{
public:
    virtual int32_t GetType() = 0;                                                                 // 3
    virtual void* GetPtr() = 0;                                                                    // 4
    virtual AAX_Result GetModifiers(uint32_t* outModifiers) = 0;                                   // 5
    virtual AAX_Result SetViewSize(AAX_Point& inSize) = 0;                                         // 6
    virtual AAX_Result HandleParameterMouseDown(AAX_CParamID inParamID, uint32_t inModifiers) = 0; // 7
    virtual AAX_Result HandleParameterMouseDrag(AAX_CParamID inParamID, uint32_t inModifiers) = 0; // 8
    virtual AAX_Result HandleParameterMouseUp(AAX_CParamID inParamID, uint32_t inModifiers) = 0;   // 9

protected:
    ~AAX_IACFViewContainer() = default;
};

/// Version 2 (IID_IAAXViewContainerV2).
class AAX_IACFViewContainer_V2 : public AAX_IACFViewContainer
{
public:
    virtual AAX_Result HandleMultipleParametersMouseDown(const AAX_CParamID* inParamIDs,
                                                         uint32_t inNumOfParams,
                                                         uint32_t inModifiers) = 0; // 10
    virtual AAX_Result HandleMultipleParametersMouseDrag(const AAX_CParamID* inParamIDs,
                                                         uint32_t inNumOfParams,
                                                         uint32_t inModifiers) = 0; // 11
    virtual AAX_Result HandleMultipleParametersMouseUp(const AAX_CParamID* inParamIDs, uint32_t inNumOfParams,
                                                       uint32_t inModifiers) = 0; // 12

protected:
    ~AAX_IACFViewContainer_V2() = default;
};
