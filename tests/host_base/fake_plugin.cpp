// A tiny stand-in plug-in binary that exports the seven entry points, for the
// loader's tests and the tools' (one that runs the process out of memory).
// Built from the host's own declarations.
#include "aaxhost/Identifiers.h"
#include "aaxhost/Interfaces.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <utility>

using namespace aaxhost;

namespace
{
AAX_IACFHostServices* gServices = nullptr;
} // namespace

#define FAKE_EXPORT extern "C" __attribute__((visibility("default")))

#ifdef FAKE_PLUGIN_RUNS_OUT_OF_MEMORY
// Takes all the memory it can get, blocks of every size down to the smallest,
// then calls back the host where it must allocate: with FAKE_QUERY set its unknown
// (to record the question), then its factory (to make an object). Gives the memory
// back, says on standard error what the factory answered and answers that.
FAKE_EXPORT Result ACFRegisterPlugin(IACFUnknown* host, IACFPluginDefinition**)
{
    void* factory = nullptr;
    if (host == nullptr || host->QueryInterface(IID_IACFComponentFactory, &factory) != kResultOk)
        return kAaxErrorNullObject;
    const bool query = std::getenv("FAKE_QUERY") != nullptr;
    void* hoard = nullptr;
    for (std::size_t size = std::size_t{1} << 40; size > 0; size = size > 1024 ? size / 2 : size - 8)
        while (void* block = std::malloc(size))
        {
            *static_cast<void**>(block) = hoard;
            hoard = block;
        }
    void* services = nullptr;
    if (query)
        host->QueryInterface(IID_IACFComponentFactory, &services);
    const Result created = static_cast<IACFComponentFactory*>(factory)->Create(
        AAXCompID_HostServices, nullptr, IID_IAAXHostServicesV1, &services);
    while (hoard != nullptr)
        std::free(std::exchange(hoard, *static_cast<void**>(hoard)));
    std::fprintf(stderr, "the factory answered %d\n", static_cast<int>(created));
    if (services != nullptr)
        static_cast<IACFUnknown*>(services)->Release();
    static_cast<IACFUnknown*>(factory)->Release();
    return created;
}
#else
// Asks the host unknown for the plug-in definition and returns the query's result.
FAKE_EXPORT Result ACFRegisterPlugin(IACFUnknown* host, IACFPluginDefinition** definition)
{
    if (host == nullptr || definition == nullptr)
        return kAaxErrorNullObject;
    return host->QueryInterface(IID_IACFPluginDefinition, reinterpret_cast<void**>(definition));
}
#endif

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
