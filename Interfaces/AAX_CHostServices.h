// Static access point for traces and assertion reports to the host.
#pragma once

#include "AAX.h"
#include "AAX_Enums.h"

#include <atomic>

class IACFUnknown;
class AAX_IHostServices;

/// Never instantiated. Between start-up and shut-down it keeps one wrapper of the host's
/// services; without one every report is dropped and returns 0.
class AAX_CHostServices
{
public:
    AAX_CHostServices() = delete;

    /// Non-null with no wrapper yet: creates one. Null with a wrapper: destroys it.
    /// Otherwise nothing changes (the first host keeps receiving reports).
    static void Set(IACFUnknown* pUnkHost);

    /// Reports a failed assertion; callers pass the flags value 1 and go on.
    static AAX_Result HandleAssertFailure(const char* iFile, int32_t iLine, const char* iNote,
                                          int32_t iFlags = kAAX_AssertFlags_Default);

    /// Formats into a 512-byte buffer (at most 511 characters, longer text is cut)
    /// and hands the message to the host.
    static AAX_Result Trace(AAX_ETracePriorityHost iPriority, const char* iFormat, ...)
#if defined(__GNUC__)
        __attribute__((format(printf, 2, 3)))
#endif
        ;

    /// The current wrapper, or null.
    static AAX_IHostServices* GetAAXHostServices() noexcept;

    /// Size of the formatting buffer of Trace, terminating zero included.
    static constexpr int kTraceBufferSize = 512;

private:
    static std::atomic<AAX_IHostServices*> sHostServices;
};
