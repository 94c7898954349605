// DMA instance modes of a component field.
#pragma once

#include "AAX.h"

class AAX_IDma
{
public:
    enum EMode : int32_t
    {
        eMode_Error = 0,
        eMode_Burst = 1,
        eMode_Gather = 2,
        eMode_Scatter = 3
    };

protected:
    ~AAX_IDma() = default;
};
