#pragma once

#include "aaxhost/AutomationDelegate.h"
#include "aaxhost/Controller.h"
#include "aaxhost/ControllerUnknown.h"
#include "aaxhost/EffectParameters.h"
#include "aaxhost/Host.h"
#include "aaxhost/HostUnknown.h"
#include "aaxhost/Transport.h"
#include "aaxhost/UnknownPtr.h"

#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <vector>

namespace aaxhost
{

// Drives one effect object the way a host does:
//   create()              creator procedure 0, then QueryInterface for every
//                         effect-parameters version (the host keeps one reference);
//   initialize()          Initialize with the controller unknown, which answers the
//                         controller, transport, automation delegate and factory
//                         (the transport is the driver's own unless the host
//                         hands it the one it sets before every block);
//   deliverRequests()     the plug-in's set requests (queued by the automation
//                         delegate) come back as UpdateParameterNormalizedValue;
//   generateCoefficients() GenerateCoefficients; every packet the effect posts is
//                         delivered into the algorithm's data port of its number;
//   uninitialize(), release().
// The effect is called only through the host's own declaration of its interface.
class EffectDriver
{
public:
    // With a Transport of its own.
    explicit EffectDriver(Host& host);
    // With `transport` as the transport the controller unknown answers.
    EffectDriver(Host& host, HostRef<Transport> transport);
    // Uninitializes (if still initialized) and releases what the driver still holds.
    ~EffectDriver();

    EffectDriver(const EffectDriver&) = delete;
    EffectDriver& operator=(const EffectDriver&) = delete;

    // The controller unknown and the host objects it answers with.
    HostUnknown& controllerUnknown() noexcept { return *controllerUnknown_; }
    IACFUnknown* controllerUnknownInterface() noexcept { return controllerUnknown_->primaryInterface(); }
    Controller& controller() noexcept { return *controller_; }
    Transport& transport() noexcept { return *transport_; }
    AutomationDelegate& automation() noexcept { return *automation_; }

    // Creates the effect through `creator` and queries IID_IAAXEffectParametersV1 .. V4.
    // 0 when every version answered with the same pointer; otherwise the first failed
    // query's result, or kResultFail when the creator made nothing or the versions
    // differ. The reference of the first successful query is kept.
    Result create(EffectCreator creator);
    // The effect, or null before create() / after release().
    IEffectParameters* effect() const noexcept { return effect_.get(); }

    Result initialize() { return initializeObject(effect_, controllerUnknownInterface(), initialized_); }
    bool initialized() const noexcept { return initialized_; }
    Result uninitialize() { return uninitializeObject(effect_, initialized_); }
    // Releases the host's reference; returns what Release returned (0 = destroyed).
    uint32_t release() { return releaseObject(effect_); }

    // Delivers the queued set requests as host updates (source 0); how many.
    std::size_t deliverRequests();
    // Results of the updates delivered so far, in order (kept while the host's
    // recorder is on).
    std::vector<Result> updateResults() const;
    // A host update of its own (UpdateParameterNormalizedValue, source 0).
    Result update(const char* parameterId, double normalized);

    // GenerateCoefficients; what it posted is in the data ports afterwards.
    Result generateCoefficients();
    // Packets posted since the last takePosted(), in order.
    std::vector<PostedPacket> takePosted();
    // The data last delivered into each port.
    std::map<int32_t, std::vector<uint8_t>> dataPorts() const;
    // Runs after each delivered packet, on the thread that posted it (inside the
    // effect's GenerateCoefficients): lets a test act as a host that re-enters the
    // effect meanwhile.
    void setPacketHook(std::function<void(const PostedPacket&)> hook);

private:
    Host& host_;
    HostRef<Controller> controller_;
    HostRef<Transport> transport_;
    HostRef<AutomationDelegate> automation_;
    HostRef<HostUnknown> controllerUnknown_;
    UnknownPtr<IEffectParameters> effect_;
    bool initialized_ = false;

    mutable std::mutex mutex_;
    std::vector<PostedPacket> posted_;
    std::map<int32_t, std::vector<uint8_t>> ports_;
    std::vector<Result> updateResults_;
    std::function<void(const PostedPacket&)> packetHook_;
};

} // namespace aaxhost
