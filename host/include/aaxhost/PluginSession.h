#pragma once

#include "aaxhost/Description.h"
#include "aaxhost/Host.h"
#include "aaxhost/Loader.h"
#include "aaxhost/UnknownPtr.h"

#include <memory>
#include <optional>
#include <string>

namespace aaxhost
{

// A plug-in binary as a host session holds it: loaded, started up
// (ACFStartup) and registered (ACFRegisterPlugin, with the host's description
// objects), so that its description can be read and its effects created.
// Nothing reads the plug-in's calls to a session's host, so its recorder is off
// (and with it the host objects' own records): a long session keeps no growing
// record of them.
// close() - also run by the destructor - drops the plug-in definition, asks
// ACFCanUnloadNow and calls ACFShutdown.
class PluginSession
{
public:
    // Null with *error when the binary does not load, start or register.
    static std::unique_ptr<PluginSession> open(const std::string& path, std::string* error);
    ~PluginSession();
    PluginSession(const PluginSession&) = delete;
    PluginSession& operator=(const PluginSession&) = delete;

    Host& host() noexcept { return *host_; }
    const EntryPoints& entryPoints() const noexcept { return module_->entryPoints(); }
    HostCollection& collection() const noexcept { return *collection_; }
    // The first effect of the collection, or null.
    HostEffectDescriptor* effect() const;
    // The component whose input and output stem formats carry these channel
    // counts (a component with the same format on both sides first), or null.
    HostRef<HostComponentDescriptor> componentFor(int32_t inputChannels, int32_t outputChannels) const;
    // The stem format a component names under property `id`
    // (property::InputStemFormat or OutputStemFormat), or 0.
    static int64_t stemFormat(const HostComponentDescriptor& component, int32_t id);

    // ACFCanUnloadNow: 0 when no plug-in object lives.
    Result canUnloadNow();
    // Drops the definition, asks ACFCanUnloadNow (its answer is returned) and shuts down.
    // Further calls return the first answer.
    Result close();

private:
    PluginSession() = default;

    std::unique_ptr<PluginModule> module_;
    std::unique_ptr<Host> host_;
    HostRef<HostDescriptionHost> descriptionHost_;
    UnknownPtr<IACFPluginDefinition> definition_;
    HostCollection* collection_ = nullptr;
    bool started_ = false;
    std::optional<Result> closed_;
};

} // namespace aaxhost
