// Static access point for traces and assertion reports.
#include "AAX_CHostServices.h"
#include "AAX_VHostServices.h"
#include "AAX_Errors.h"

#include <cstdarg>
#include <cstdio>

std::atomic<AAX_IHostServices*> AAX_CHostServices::sHostServices{nullptr};

void AAX_CHostServices::Set(IACFUnknown* pUnkHost)
{
    if (pUnkHost != nullptr)
    {
        if (sHostServices.load() != nullptr)
            return; // the first host keeps receiving reports

        AAX_IHostServices* const created = new AAX_VHostServices(pUnkHost);
        AAX_IHostServices* expected = nullptr;
        if (!sHostServices.compare_exchange_strong(expected, created))
            delete created; // another start-up came first
    }
    else
    {
        delete sHostServices.exchange(nullptr);
    }
}

AAX_IHostServices* AAX_CHostServices::GetAAXHostServices() noexcept
{
    return sHostServices.load();
}

AAX_Result AAX_CHostServices::HandleAssertFailure(const char* iFile, int32_t iLine, const char* iNote,
                                                  int32_t iFlags)
{
    const AAX_IHostServices* const services = sHostServices.load();
    if (services == nullptr)
        return AAX_SUCCESS;
    return services->HandleAssertFailure(iFile, iLine, iNote, iFlags);
}

AAX_Result AAX_CHostServices::Trace(AAX_ETracePriorityHost iPriority, const char* iFormat, ...)
{
    const AAX_IHostServices* const services = sHostServices.load();
    if (services == nullptr)
        return AAX_SUCCESS;

    // vsnprintf cuts the text at 511 characters and always writes the terminating zero.
    char message[kTraceBufferSize];
    message[0] = '\0';
    if (iFormat != nullptr)
    {
        va_list args;
        va_start(args, iFormat);
        std::vsnprintf(message, sizeof(message), iFormat, args);
        va_end(args);
    }
    return services->Trace(static_cast<int32_t>(iPriority), message);
}
