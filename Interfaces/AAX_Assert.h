// Assertion reports through the host's services. A report never stops the caller.
#pragma once

#include "AAX_CHostServices.h"

/// Reports `condition` as failed (file name, line, condition text, flags 1) when it is false.
#define AAX_ASSERT(condition)                                                                                \
    do                                                                                                       \
    {                                                                                                        \
        if (!(condition))                                                                                    \
            AAX_CHostServices::HandleAssertFailure(__FILE__, __LINE__, #condition,                           \
                                                   kAAX_AssertFlags_Default);                                \
    } while (false)

/// Traces a message at a priority.
#define AAX_TRACE(priority, ...) AAX_CHostServices::Trace(priority, __VA_ARGS__)
