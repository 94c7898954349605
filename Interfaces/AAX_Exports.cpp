// The bundle's seven exported entry points. This file is compiled as part of the
// plug-in's describer (it is included by the translation unit that defines
// GetEffectDescriptions), so that the exports land in the bundle itself.
// Each forwards unchanged to its library function; no exception crosses into the host.

#include "AAX_Init.h"

extern "C" ACF_EXPORT ACFRESULT ACFRegisterPlugin(IACFUnknown* pUnkHost,
                                                  IACFPluginDefinition** ppPluginDefinition)
{
    try
    {
        return AAXRegisterPlugin(pUnkHost, ppPluginDefinition);
    }
    catch (...)
    {
        return ACF_E_UNEXPECTED;
    }
}

extern "C" ACF_EXPORT ACFRESULT ACFRegisterComponent(IACFUnknown* pUnkHost, uint32_t index,
                                                     IACFComponentDefinition** ppComponentDefinition)
{
    try
    {
        return AAXRegisterComponent(pUnkHost, index, ppComponentDefinition);
    }
    catch (...)
    {
        return ACF_E_UNEXPECTED;
    }
}

extern "C" ACF_EXPORT ACFRESULT ACFGetClassFactory(IACFUnknown* pUnkHost, const acfCLSID& clsid,
                                                   const acfIID& iid, void** ppOut)
{
    try
    {
        return AAXGetClassFactory(pUnkHost, clsid, iid, ppOut);
    }
    catch (...)
    {
        return ACF_E_UNEXPECTED;
    }
}

extern "C" ACF_EXPORT ACFRESULT ACFCanUnloadNow(IACFUnknown* pUnkHost)
{
    try
    {
        return AAXCanUnloadNow(pUnkHost);
    }
    catch (...)
    {
        return ACF_E_UNEXPECTED;
    }
}

extern "C" ACF_EXPORT ACFRESULT ACFStartup(IACFUnknown* pUnkHost)
{
    try
    {
        return AAXStartup(pUnkHost);
    }
    catch (...)
    {
        return ACF_E_UNEXPECTED;
    }
}

extern "C" ACF_EXPORT ACFRESULT ACFShutdown(IACFUnknown* pUnkHost)
{
    try
    {
        return AAXShutdown(pUnkHost);
    }
    catch (...)
    {
        return ACF_E_UNEXPECTED;
    }
}

extern "C" ACF_EXPORT ACFRESULT ACFGetSDKVersion(uint64_t* oSDKVersion)
{
    try
    {
        return AAXGetSDKVersion(oSDKVersion);
    }
    catch (...)
    {
        return ACF_E_UNEXPECTED;
    }
}
