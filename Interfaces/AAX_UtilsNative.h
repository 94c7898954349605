// Helpers for native (host-processor) algorithms.
#pragma once

#include "AAX.h"
#include "AAX_Enums.h"

/// Largest block the host hands a native process procedure, in samples.
constexpr int32_t kAAX_MaxNativeBlockSize = 1 << AAX_eAudioBufferLength_Max;
