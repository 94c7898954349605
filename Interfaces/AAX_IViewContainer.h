// The host's native view into which the plug-in draws.
#pragma once

#include "AAX.h"
#include "AAX_Enums.h"

class AAX_IViewContainer
{
public:
    virtual ~AAX_IViewContainer() {}

    /// An AAX_EViewContainer_Type value.
    virtual int32_t GetType() = 0;
    virtual void* GetPtr() = 0;
    virtual AAX_Result GetModifiers(uint32_t* outModifiers) = 0;
    virtual AAX_Result SetViewSize(AAX_Point& inSize) = 0;
    virtual AAX_Result HandleParameterMouseDown(AAX_CParamID inParamID, uint32_t inModifiers) = 0;
    virtual AAX_Result HandleParameterMouseDrag(AAX_CParamID inParamID, uint32_t inModifiers) = 0;
    virtual AAX_Result HandleParameterMouseUp(AAX_CParamID inParamID, uint32_t inModifiers) = 0;
    virtual AAX_Result HandleMultipleParametersMouseDown(const AAX_CParamID* inParamIDs,
                                                         uint32_t inNumOfParams, uint32_t inModifiers) = 0;
    virtual AAX_Result HandleMultipleParametersMouseDrag(const AAX_CParamID* inParamIDs,
                                                         uint32_t inNumOfParams, uint32_t inModifiers) = 0;
    virtual AAX_Result HandleMultipleParametersMouseUp(const AAX_CParamID* inParamIDs, uint32_t inNumOfParams,
                                                       uint32_t inModifiers) = 0;
};
