#include "aaxhost/EffectDriver.h"

#include <utility>

namespace aaxhost
{

EffectDriver::EffectDriver(Host& host) : EffectDriver(host, makeHost<Transport>(host.sharedRecorder())) {}

EffectDriver::EffectDriver(Host& host, HostRef<Transport> transport)
    : host_(host), controller_(makeHost<Controller>(host.sharedRecorder())), transport_(std::move(transport)),
      automation_(makeHost<AutomationDelegate>(host.sharedRecorder())),
      controllerUnknown_(makeControllerUnknown(host, controller_, transport_))
{
    controllerUnknown_->provide(IID_IAAXAutomationDelegateV1, HostRef<HostObject>(automation_));

    controller_->setPacketSink(
        [this](const PostedPacket& packet)
        {
            std::function<void(const PostedPacket&)> hook;
            {
                std::lock_guard<std::mutex> lock(mutex_);
                posted_.push_back(packet);
                ports_[packet.port] = packet.data;
                hook = packetHook_;
            }
            if (hook)
                hook(packet);
        });
    automation_->setUpdateHandler(
        [this](const std::string& parameterId, double normalized)
        {
            const Result result = update(parameterId.c_str(), normalized);
            if (!host_.recorder().enabled())
                return;
            std::lock_guard<std::mutex> lock(mutex_);
            updateResults_.push_back(result);
        });
}

EffectDriver::~EffectDriver()
{
    if (initialized_)
        uninitialize();
    effect_.reset();
    // The host objects may outlive the driver (the plug-in may still hold them):
    // nothing of theirs may call back into it.
    controller_->setPacketSink({});
    automation_->setUpdateHandler({});
}

Result EffectDriver::create(EffectCreator creator)
{
    effect_.reset();
    void* made = creator != nullptr ? creator() : nullptr;
    if (made == nullptr)
        return kResultFail;

    auto* object = static_cast<IEffectParameters*>(made);
    Result first = kResultOk;
    IEffectParameters* answered = nullptr;
    bool same = true;
    for (const Uid* iid : {&IID_IAAXEffectParametersV1, &IID_IAAXEffectParametersV2,
                           &IID_IAAXEffectParametersV3, &IID_IAAXEffectParametersV4})
    {
        Result result = kResultOk;
        UnknownPtr<IEffectParameters> version = UnknownPtr<IEffectParameters>::query(object, *iid, &result);
        if (result != kResultOk)
        {
            if (first == kResultOk)
                first = result;
            continue;
        }
        if (answered == nullptr)
        {
            answered = version.get();
            effect_ = version; // the host's reference
        }
        else if (version.get() != answered)
        {
            same = false;
        }
    }
    if (!effect_)
    {
        destroyUnheld(object);
        return first != kResultOk ? first : kResultFail;
    }
    if (first != kResultOk)
        return first;
    return same ? kResultOk : kResultFail;
}

std::size_t EffectDriver::deliverRequests()
{
    return automation_->deliverPending();
}

std::vector<Result> EffectDriver::updateResults() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return updateResults_;
}

Result EffectDriver::update(const char* parameterId, double normalized)
{
    IEffectParameters* object = effect_.get();
    if (object == nullptr)
        return kAaxErrorNullObject;
    return object->UpdateParameterNormalizedValue(parameterId, normalized, 0);
}

Result EffectDriver::generateCoefficients()
{
    IEffectParameters* object = effect_.get();
    if (object == nullptr)
        return kAaxErrorNullObject;
    return object->GenerateCoefficients();
}

std::vector<PostedPacket> EffectDriver::takePosted()
{
    std::lock_guard<std::mutex> lock(mutex_);
    return std::exchange(posted_, {});
}

std::map<int32_t, std::vector<uint8_t>> EffectDriver::dataPorts() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return ports_;
}

void EffectDriver::setPacketHook(std::function<void(const PostedPacket&)> hook)
{
    std::lock_guard<std::mutex> lock(mutex_);
    packetHook_ = std::move(hook);
}

} // namespace aaxhost
