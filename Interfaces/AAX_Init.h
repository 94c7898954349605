// The library functions behind the bundle's exported entry points, and the describer
// that the plug-in supplies.
#pragma once

#include "AAX.h"
#include "acfbaseapi.h"

class AAX_ICollection;

/// Supplied by the plug-in: describes its effects into the collection; 0 on success.
AAX_Result GetEffectDescriptions(AAX_ICollection* inCollection);

AAX_Result AAXRegisterPlugin(IACFUnknown* pUnkHost, IACFPluginDefinition** ppPluginDefinition);
AAX_Result AAXRegisterComponent(IACFUnknown* pUnkHost, uint32_t index,
                                IACFComponentDefinition** ppComponentDefinition);
AAX_Result AAXGetClassFactory(IACFUnknown* pUnkHost, const acfCLSID& clsid, const acfIID& iid, void** ppOut);
AAX_Result AAXCanUnloadNow(IACFUnknown* pUnkHost);
AAX_Result AAXStartup(IACFUnknown* pUnkHost);
AAX_Result AAXShutdown(IACFUnknown* pUnkHost);
AAX_Result AAXGetSDKVersion(uint64_t* oSDKVersion);

// The exported entry points (plain names, default visibility).
extern "C"
{
    ACF_EXPORT ACFRESULT ACFRegisterPlugin(IACFUnknown* pUnkHost, IACFPluginDefinition** ppPluginDefinition);
    ACF_EXPORT ACFRESULT ACFRegisterComponent(IACFUnknown* pUnkHost, uint32_t index,
                                              IACFComponentDefinition** ppComponentDefinition);
    ACF_EXPORT ACFRESULT ACFGetClassFactory(IACFUnknown* pUnkHost, const acfCLSID& clsid, const acfIID& iid,
                                            void** ppOut);
    ACF_EXPORT ACFRESULT ACFCanUnloadNow(IACFUnknown* pUnkHost);
    ACF_EXPORT ACFRESULT ACFStartup(IACFUnknown* pUnkHost);
    ACF_EXPORT ACFRESULT ACFShutdown(IACFUnknown* pUnkHost);
    ACF_EXPORT ACFRESULT ACFGetSDKVersion(uint64_t* oSDKVersion);
}
