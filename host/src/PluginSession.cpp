#include "aaxhost/PluginSession.h"

#include "aaxhost/Failure.h"

namespace aaxhost
{

std::unique_ptr<PluginSession> PluginSession::load(const std::string& path, std::string* error,
                                                   PluginModule::Options module)
{
    std::unique_ptr<PluginSession> session(new PluginSession());
    session->module_ = PluginModule::open(path, error, module);
    if (!session->module_)
        return nullptr;
    session->host_ = std::make_unique<Host>();
    session->host_->recorder().setEnabled(false);
    installDescriptionComponents(*session->host_);
    session->descriptionHost_ = installDescriptionHost(*session->host_);
    return session;
}

std::unique_ptr<PluginSession> PluginSession::open(const std::string& path, std::string* error)
{
    std::unique_ptr<PluginSession> session = load(path, error);
    if (!session || !session->start(error))
        return nullptr;
    return session;
}

bool PluginSession::start(std::string* error, bool registerAnyway)
{
    if (!started_ && !closed_)
    {
        const EntryPoints& acf = module_->entryPoints();
        started_ = true;
        startResult_ = acf.startup(host_->unknownInterface());
        if (startResult_ == kResultOk || registerAnyway)
            registerResult_ = acf.registerPlugin(host_->unknownInterface(),
                                                 reinterpret_cast<IACFPluginDefinition**>(definition_.put()));
        if (registerResult_ == kResultOk)
            collection_ = HostCollection::fromUnknown(definition_.get());
    }
    if (startResult_ != kResultOk)
        return Failure(error, "ACFStartup failed with " + std::to_string(startResult_));
    if (registerResult_ != kResultOk)
        return Failure(error, "ACFRegisterPlugin failed with " + std::to_string(registerResult_));
    if (!definition_)
        return Failure(error, "ACFRegisterPlugin succeeded but gave no plug-in definition");
    if (collection_ == nullptr)
        return Failure(error, "the plug-in definition is not the host's collection");
    if (effect() == nullptr)
        return Failure(error, "the plug-in describes no effect");
    return true;
}

PluginSession::~PluginSession()
{
    close();
}

HostEffectDescriptor* PluginSession::effect() const
{
    if (collection_ == nullptr)
        return nullptr;
    const auto effects = collection_->effects();
    return effects.empty() ? nullptr : effects.front().descriptor.get();
}

int64_t PluginSession::stemFormat(const HostComponentDescriptor& component, int32_t id)
{
    for (const ProcessProcRecord& proc : component.processProcs())
        if (proc.properties)
            if (auto v = proc.properties->value(id))
                return static_cast<int64_t>(*v);
    return 0;
}

HostRef<HostComponentDescriptor> PluginSession::componentFor(int32_t inputChannels,
                                                             int32_t outputChannels) const
{
    HostEffectDescriptor* descriptor = effect();
    if (descriptor == nullptr)
        return {};
    HostRef<HostComponentDescriptor> fallback;
    for (const HostRef<HostComponentDescriptor>& component : descriptor->components())
    {
        const int64_t in = stemFormat(*component, property::InputStemFormat);
        const int64_t out = stemFormat(*component, property::OutputStemFormat);
        if (stemChannelCount(in) != inputChannels || stemChannelCount(out) != outputChannels)
            continue;
        if (in == out)
            return component;
        if (!fallback)
            fallback = component;
    }
    return fallback;
}

Result PluginSession::canUnloadNow()
{
    if (!module_ || !host_)
        return kResultOk;
    return module_->entryPoints().canUnloadNow(host_->unknownInterface());
}

Result PluginSession::close()
{
    if (closed_)
        return *closed_;
    definition_.reset();
    collection_ = nullptr;
    Result live = kResultOk;
    if (started_)
    {
        live = canUnloadNow();
        module_->entryPoints().shutdown(host_->unknownInterface());
        started_ = false;
    }
    closed_ = live;
    return live;
}

} // namespace aaxhost
