// Wrapper of the host's services interfaces.
#pragma once

#include "AAX_IHostServices.h"
#include "AAX_IACFHostServices.h"
#include "ACFPtr.h"

class IACFUnknown;

/// Created over the host unknown: creates the services component through the host's
/// factory once per version. A missing version leaves its member empty.
class AAX_VHostServices : public AAX_IHostServices
{
public:
    explicit AAX_VHostServices(IACFUnknown* pUnkHost);
    ~AAX_VHostServices() override;

    AAX_VHostServices(const AAX_VHostServices&) = delete;
    AAX_VHostServices& operator=(const AAX_VHostServices&) = delete;

    /// -20004 without version 3.
    AAX_Result HandleAssertFailure(const char* iFile, int32_t iLine, const char* iNote,
                                   int32_t iFlags) const override;
    /// -20004 without version 1.
    AAX_Result Trace(int32_t iPriority, const char* iMessage) const override;
    /// -20009 without version 2.
    AAX_Result StackTrace(int32_t iTracePriority, int32_t iStackTracePriority,
                          const char* iMessage) const override;

private:
    ACFPtr<AAX_IACFHostServices> mIACFHostServices;
    ACFPtr<AAX_IACFHostServices_V2> mIACFHostServices2;
    ACFPtr<AAX_IACFHostServices_V3> mIACFHostServices3;
};
