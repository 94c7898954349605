// The library functions behind the bundle's exported entry points: registration,
// start-up, shut-down and the queries the host makes of the bundle itself.
#include "AAX_Init.h"

#include "AAX_CHostServices.h"
#include "AAX_Errors.h"
#include "AAX_Exception.h"
#include "AAX_UIDs.h"
#include "AAX_VCollection.h"
#include "CACFUnknown.h"

#include <exception>

namespace
{
// Interface library version 2.3 in the high half, its build number in the low half.
constexpr uint64_t kSDKVersion = 0x0000020300C96BF5ull;

constexpr const char* kRegisterCaught = "AAXRegisterPlugin exception caught: %s";

// Describes the plug-in into a collection over the host and hands the host its
// plug-in definition. Throws on every failure; the caller turns that into a result.
void RegisterPlugin(IACFUnknown* pUnkHost, IACFPluginDefinition** ppPluginDefinition)
{
    AAX_VCollection collection(pUnkHost);
    AAX_CheckedResult result;

    // Without a host collection there is nothing to describe into, and no object to
    // give the host as the plug-in definition. The describer is not run then: it
    // relies on the description objects it is handed.
    IACFUnknown* const hostCollection = collection.GetIUnknown();
    if (hostCollection == nullptr)
        result = AAX_ERROR_NULL_OBJECT;

    result = GetEffectDescriptions(&collection);

    *ppPluginDefinition = nullptr;
    const ACFRESULT queried = hostCollection->QueryInterface(IID_IACFPluginDefinition,
                                                             reinterpret_cast<void**>(ppPluginDefinition));
    if (queried != ACF_OK || *ppPluginDefinition == nullptr)
    {
        // Whatever a failed query left behind is not a definition the host may use.
        *ppPluginDefinition = nullptr;
        result = AAX_ERROR_NULL_OBJECT;
    }
}
} // namespace

AAX_Result AAXRegisterPlugin(IACFUnknown* pUnkHost, IACFPluginDefinition** ppPluginDefinition)
{
    if (ppPluginDefinition == nullptr)
        return AAX_ERROR_NULL_ARGUMENT;

    // The collection lives inside RegisterPlugin, so it and everything it made are
    // gone before any of these clauses traces.
    try
    {
        RegisterPlugin(pUnkHost, ppPluginDefinition);
        return AAX_SUCCESS;
    }
    catch (const AAX::Exception::ResultError& error)
    {
        AAX_CHostServices::Trace(AAX_eTracePriorityHost_High, kRegisterCaught, error.what());
        return error.Result();
    }
    catch (const AAX::Exception::Any& error)
    {
        AAX_CHostServices::Trace(AAX_eTracePriorityHost_High, kRegisterCaught, error.what());
        return AAX_ERROR_UNKNOWN_EXCEPTION;
    }
    catch (const std::exception& error)
    {
        AAX_CHostServices::Trace(AAX_eTracePriorityHost_High, kRegisterCaught, error.what());
        return AAX_ERROR_UNKNOWN_EXCEPTION;
    }
    catch (...)
    {
        AAX_CHostServices::Trace(AAX_eTracePriorityHost_High, kRegisterCaught, "unknown");
        return AAX_ERROR_UNKNOWN_EXCEPTION;
    }
}

AAX_Result AAXRegisterComponent(IACFUnknown* /*pUnkHost*/, uint32_t /*index*/,
                                IACFComponentDefinition** ppComponentDefinition)
{
    // The bundle offers no further components.
    if (ppComponentDefinition != nullptr)
        *ppComponentDefinition = nullptr;
    return AAX_SUCCESS;
}

AAX_Result AAXGetClassFactory(IACFUnknown* /*pUnkHost*/, const acfCLSID& /*clsid*/, const acfIID& /*iid*/,
                              void** ppOut)
{
    // No class factory is offered.
    if (ppOut != nullptr)
        *ppOut = nullptr;
    return AAX_ERROR_UNIMPLEMENTED;
}

AAX_Result AAXCanUnloadNow(IACFUnknown* /*pUnkHost*/)
{
    // 0 when no plug-in object is alive, else the number of live objects.
    return CACFUnknown::GetActiveObjectCount();
}

AAX_Result AAXStartup(IACFUnknown* pUnkHost)
{
    AAX_CHostServices::Set(pUnkHost);
    return AAX_SUCCESS;
}

AAX_Result AAXShutdown(IACFUnknown* /*pUnkHost*/)
{
    AAX_CHostServices::Set(nullptr);
    return AAX_SUCCESS;
}

AAX_Result AAXGetSDKVersion(uint64_t* oSDKVersion)
{
    if (oSDKVersion == nullptr)
        return AAX_ERROR_NULL_ARGUMENT;
    *oSDKVersion = kSDKVersion;
    return AAX_SUCCESS;
}
