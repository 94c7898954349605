#include "aaxhost/EffectInstance.h"

#include "aaxhost/Creators.h"
#include "aaxhost/Failure.h"

#include <utility>

namespace aaxhost
{

std::unique_ptr<EffectInstance> EffectInstance::create(PluginSession& session, const Setup& setup,
                                                       std::string* error)
{
    HostEffectDescriptor* descriptor = session.effect();
    if (descriptor == nullptr)
        return Failure(error, "the plug-in describes no effect");
    HostRef<HostComponentDescriptor> component = session.componentFor(setup.channels, setup.channels);
    if (!component)
        return Failure(error,
                       "the plug-in has no component for " + std::to_string(setup.channels) + " channels");
    const EffectCreator creator = effectCreatorOf(*descriptor);
    if (creator == nullptr)
        return Failure(error, "the plug-in registered no effect creator (procedure 0)");

    std::unique_ptr<EffectInstance> instance(new EffectInstance(session));
    EffectInstance& e = *instance;
    e.component_ = component;
    const int64_t inputFormat = PluginSession::stemFormat(*component, property::InputStemFormat);
    e.outputStemFormat_ = PluginSession::stemFormat(*component, property::OutputStemFormat);
    e.transport_ = makeHost<Transport>(session.host().sharedRecorder(), setup.sampleRate);
    e.driver_ = std::make_unique<EffectDriver>(session.host(), e.transport_);
    e.driver_->controller().setSampleRate(static_cast<float>(setup.sampleRate));
    e.driver_->controller().setStemFormats(static_cast<int32_t>(inputFormat),
                                           static_cast<int32_t>(e.outputStemFormat_));

    Result r = e.driver_->create(creator);
    if (r != kResultOk)
        return Failure(error, "creating the effect failed with " + std::to_string(r));
    r = e.driver_->initialize();
    if (r != kResultOk)
        return Failure(error, "Initialize failed with " + std::to_string(r));

    AlgorithmInstance::Layout layout;
    layout.inputChannels = PluginSession::stemChannelCount(inputFormat);
    layout.outputChannels = PluginSession::stemChannelCount(e.outputStemFormat_);
    layout.maxBlock = setup.maxBlock;
    layout.sampleRate = static_cast<float>(setup.sampleRate);
    std::string layoutError;
    e.algorithm_ = AlgorithmInstance::create(*component, layout, &layoutError);
    if (!e.algorithm_)
        return Failure(error, layoutError);
    r = e.algorithm_->resetPrivateData(e.effect());
    if (r != kResultOk)
        return Failure(error, "ResetFieldData failed with " + std::to_string(r));
    return instance;
}

std::unique_ptr<GuiDriver> EffectInstance::openGui(std::string* error)
{
    HostEffectDescriptor* descriptor = session_.effect();
    const GuiCreator creator = descriptor != nullptr ? guiCreatorOf(*descriptor) : nullptr;
    if (creator == nullptr)
        return Failure(error, "the plug-in registered no GUI creator (procedure 1)");
    auto gui = std::make_unique<GuiDriver>(session_.host(), *driver_);
    Result r = gui->create(creator);
    if (r != kResultOk)
        return Failure(error, "creating the GUI failed with " + std::to_string(r));
    r = gui->initialize();
    if (r != kResultOk)
        return Failure(error, "the GUI's Initialize failed with " + std::to_string(r));
    return gui;
}

EffectInstance::~EffectInstance()
{
    close();
}

uint32_t EffectInstance::close()
{
    if (closed_ || !driver_)
        return 0;
    closed_ = true;
    if (driver_->initialized())
        driver_->uninitialize();
    const uint32_t count = driver_->release();
    return count;
}

Result EffectInstance::update(const char* parameterId, double normalized)
{
    const Result r = driver_->update(parameterId, normalized);
    deliverRequests();
    return r;
}

std::size_t EffectInstance::deliverRequests()
{
    return driver_->deliverRequests();
}

Result EffectInstance::generateCoefficients()
{
    const Result r = driver_->generateCoefficients();
    for (PostedPacket& packet : driver_->takePosted())
    {
        if (algorithm_->deliver(packet.port, packet.data.data(), packet.data.size()) !=
            AlgorithmInstance::Delivery::delivered)
            ++undelivered_;
        packetLog_.add(std::move(packet));
    }
    return r;
}

void EffectInstance::prepareBlock(const tambrix::render::TransportAnchor& anchor, int64_t sample)
{
    deliverRequests();
    generateCoefficients();
    transport_->setPosition(anchor, sample);
}

bool EffectInstance::runBlock(const tambrix::render::TransportAnchor& anchor, int64_t sample, int32_t frames)
{
    if (frames < 0 || frames > algorithm_->layout().maxBlock)
        return false;
    prepareBlock(anchor, sample);
    return algorithm_->process(frames);
}

} // namespace aaxhost
