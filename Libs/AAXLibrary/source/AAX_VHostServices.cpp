// Wrapper of the host's services interfaces.
#include "AAX_VHostServices.h"
#include "AAX_Errors.h"
#include "AAX_UIDs.h"
#include "acfbaseapi.h"

AAX_VHostServices::AAX_VHostServices(IACFUnknown* pUnkHost)
{
    if (pUnkHost == nullptr)
        return;

    ACFPtr<IACFComponentFactory> factory;
    if (pUnkHost->QueryInterface(IID_IACFComponentFactory, factory.outputVoid()) != ACF_OK ||
        factory.isNull())
        return;

    // A version the host lacks leaves its member empty; the results are not needed.
    factory.get()->CreateComponent(AAXCompID_HostServices, nullptr, IID_IAAXHostServicesV1,
                                   mIACFHostServices.outputVoid());
    factory.get()->CreateComponent(AAXCompID_HostServices, nullptr, IID_IAAXHostServicesV2,
                                   mIACFHostServices2.outputVoid());
    factory.get()->CreateComponent(AAXCompID_HostServices, nullptr, IID_IAAXHostServicesV3,
                                   mIACFHostServices3.outputVoid());
}

AAX_VHostServices::~AAX_VHostServices()
{
    mIACFHostServices3.clear();
    mIACFHostServices2.clear();
    mIACFHostServices.clear();
}

AAX_Result AAX_VHostServices::HandleAssertFailure(const char* iFile, int32_t iLine, const char* iNote,
                                                  int32_t iFlags) const
{
    if (mIACFHostServices3.isNull())
        return AAX_ERROR_NULL_OBJECT;
    return mIACFHostServices3.get()->HandleAssertFailure(iFile, iLine, iNote, iFlags);
}

AAX_Result AAX_VHostServices::Trace(int32_t iPriority, const char* iMessage) const
{
    if (mIACFHostServices.isNull())
        return AAX_ERROR_NULL_OBJECT;
    return mIACFHostServices.get()->Trace(iPriority, iMessage);
}

AAX_Result AAX_VHostServices::StackTrace(int32_t iTracePriority, int32_t iStackTracePriority,
                                         const char* iMessage) const
{
    if (mIACFHostServices2.isNull())
        return AAX_ERROR_UNIMPLEMENTED;
    return mIACFHostServices2.get()->StackTrace(iTracePriority, iStackTracePriority, iMessage);
}
