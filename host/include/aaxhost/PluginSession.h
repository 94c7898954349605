#pragma once

#include "aaxhost/Description.h"
#include "aaxhost/Host.h"
#include "aaxhost/PluginModule.h"
#include "aaxhost/UnknownPtr.h"

#include <memory>
#include <optional>
#include <string>

namespace aaxhost
{

// A plug-in binary as a host session holds it: loaded, started up
// (ACFStartup) and registered (ACFRegisterPlugin, with the host's description
// objects), so that its description can be read and its effects created.
// close() - also run by the destructor - drops the plug-in definition, asks
// ACFCanUnloadNow and calls ACFShutdown.
// Nothing reads the plug-in's calls to a session's host unless told to, so its
// recorder is off (and with it the host objects' own records): a long session
// keeps no growing record of them.
class PluginSession
{
public:
    // Loads the binary (kept mapped by default: the framework leaves exit handlers
    // behind) and readies the host with the description components and the
    // description host; null with *error when the binary does not load.
    static std::unique_ptr<PluginSession> load(const std::string& path, std::string* error,
                                               PluginModule::Options module = {true});
    // load(), then start(); null with *error when either fails.
    static std::unique_ptr<PluginSession> open(const std::string& path, std::string* error);
    ~PluginSession();
    PluginSession(const PluginSession&) = delete;
    PluginSession& operator=(const PluginSession&) = delete;

    // ACFStartup, then ACFRegisterPlugin: only once ACFStartup succeeded, unless
    // `registerAnyway` (describe reports what each step answered); close() shuts
    // down after either. Their results are kept; a second call calls nothing again.
    // True when both succeeded and the registration describes an effect; otherwise
    // false with *error naming the step that failed.
    bool start(std::string* error = nullptr, bool registerAnyway = false);
    Result startResult() const noexcept { return startResult_; }
    Result registerResult() const noexcept { return registerResult_; }

    Host& host() noexcept { return *host_; }
    HostDescriptionHost& descriptionHost() noexcept { return *descriptionHost_; }
    const PluginModule& module() const noexcept { return *module_; }
    const EntryPoints& entryPoints() const noexcept { return module_->entryPoints(); }
    // The host's collection the registration gave, or null.
    HostCollection* collection() const noexcept { return collection_; }
    // The first effect of the collection, or null.
    HostEffectDescriptor* effect() const;
    // The component whose input and output stem formats carry these channel
    // counts (a component with the same format on both sides first), or null.
    HostRef<HostComponentDescriptor> componentFor(int32_t inputChannels, int32_t outputChannels) const;
    // The stem format a component names under property `id`
    // (property::InputStemFormat or OutputStemFormat), or 0.
    static int64_t stemFormat(const HostComponentDescriptor& component, int32_t id);
    // The channel count of a stem format (its low 16 bits).
    static int32_t stemChannelCount(int64_t stemFormat) noexcept
    {
        return static_cast<int32_t>(static_cast<uint64_t>(stemFormat) & 0xFFFFu);
    }

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
    Result startResult_ = kResultOk;
    Result registerResult_ = kResultOk;
    bool started_ = false;
    std::optional<Result> closed_;
};

} // namespace aaxhost
