// A tiny stand-in plug-in binary that exports the seven entry points, for the
// loader's tests. Built from the host's own declarations.
#include "aaxhost/Identifiers.h"
#include "aaxhost/Interfaces.h"

#include <cstdint>

using namespace aaxhost;

namespace
{
AAX_IACFHostServices* gServices = nullptr;
} // namespace

#define FAKE_EXPORT extern "C" __attribute__((visibility("default")))

// Asks the host unknown for the plug-in definition and returns the query's result.
FAKE_EXPORT Result ACFRegisterPlugin(IACFUnknown* host, IACFPluginDefinition** definition)
{
    if (host == nullptr || definition == nullptr)
        return kAaxErrorNullObject;
    return host->QueryInterface(IID_IACFPluginDefinition, reinterpret_cast<void**>(definition));
}

// Echoes the index, so a test sees the number arrive unchanged.
FAKE_EXPORT Result ACFRegisterComponent(IACFUnknown*, uint32_t index, IACFComponentDefinition** definition)
{
    if (definition != nullptr)
        *definition = nullptr;
    return static_cast<Result>(index);
}

#ifndef FAKE_PLUGIN_WITHOUT_CLASS_FACTORY
// 0 for (host services component, services V1), -20009 otherwise: both
// identifiers must arrive by reference intact.
FAKE_EXPORT Result ACFGetClassFactory(IACFUnknown*, const Uid& componentId, const Uid& interfaceId,
                                      void** factory)
{
    if (factory != nullptr)
        *factory = nullptr;
    return componentId == AAXCompID_HostServices && interfaceId == IID_IAAXHostServicesV1
               ? kResultOk
               : kAaxErrorUnimplemented;
}
#endif

// The number of host references the fake holds.
FAKE_EXPORT Result ACFCanUnloadNow(IACFUnknown*)
{
    return gServices != nullptr ? 1 : 0;
}

// Creates the host services (version 1) through the host's factory and traces;
// fails as that creation fails.
FAKE_EXPORT Result ACFStartup(IACFUnknown* host)
{
    if (host == nullptr || gServices != nullptr)
        return kResultOk;
    void* factory = nullptr;
    if (host->QueryInterface(IID_IACFComponentFactory, &factory) != kResultOk)
        return kResultOk;
    auto* componentFactory = static_cast<IACFComponentFactory*>(factory);
    void* services = nullptr;
    const Result created =
        componentFactory->Create(AAXCompID_HostServices, nullptr, IID_IAAXHostServicesV1, &services);
    componentFactory->Release();
    if (created != kResultOk)
        return created;
    gServices = static_cast<AAX_IACFHostServices*>(services);
    gServices->Trace(0x08000000, "fake plug-in started");
    return kResultOk;
}

FAKE_EXPORT Result ACFShutdown(IACFUnknown*)
{
    if (gServices != nullptr)
    {
        gServices->Trace(0x08000000, "fake plug-in stopping");
        gServices->Release();
        gServices = nullptr;
    }
    return kResultOk;
}

FAKE_EXPORT Result ACFGetSDKVersion(uint64_t* version)
{
    if (version == nullptr)
        return kAaxErrorNullObject;
    *version = 0x0000020300C96BF5ull;
    return kResultOk;
}
