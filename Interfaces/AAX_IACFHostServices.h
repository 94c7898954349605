// The host's services interface, versions 1 to 3 (each extends the one before).
#pragma once

#include "AAX.h"
#include "acfunknown.h"

/// Version 1 (IID_IAAXHostServicesV1).
class AAX_IACFHostServices : public IACFUnknown
{
public:
    /// Position 3: an operation of the host that the library never calls.
    virtual AAX_Result UnusedPosition3() = 0;
    /// Position 4: a trace message at a priority.
    virtual AAX_Result Trace(int32_t iPriority, const char* iMessage) = 0;

protected:
    ~AAX_IACFHostServices() = default;
};

/// Version 2 (IID_IAAXHostServicesV2).
class AAX_IACFHostServices_V2 : public AAX_IACFHostServices
{
public:
    /// Position 5: a trace message with a stack trace.
    virtual AAX_Result StackTrace(int32_t iTracePriority, int32_t iStackTracePriority,
                                  const char* iMessage) = 0;

protected:
    ~AAX_IACFHostServices_V2() = default;
};

/// Version 3 (IID_IAAXHostServicesV3).
class AAX_IACFHostServices_V3 : public AAX_IACFHostServices_V2
{
public:
    /// Position 6: an assertion report (source file, line, condition text, flags).
    virtual AAX_Result HandleAssertFailure(const char* iFile, int32_t iLine, const char* iNote,
                                           int32_t iFlags) = 0;

protected:
    ~AAX_IACFHostServices_V3() = default;
};
