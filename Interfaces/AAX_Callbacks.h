// Procedure types registered with a component.
#pragma once

#include "AAX.h"
#include "AAX_Enums.h"

/// Native process procedure: an array of context pointers and the end of that array.
typedef void(AAX_CALLBACK* AAX_CProcessProc)(void* const inInstancesBegin[], const void* inInstancesEnd);
/// Native instance-initialisation procedure.
typedef int32_t(AAX_CALLBACK* AAX_CInstanceInitProc)(const void* inInstanceContextPtr,
                                                     AAX_EComponentInstanceInitAction inAction);
/// Native background procedure.
typedef int32_t(AAX_CALLBACK* AAX_CBackgroundProc)();
