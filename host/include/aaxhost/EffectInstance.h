#pragma once

#include "aaxhost/AlgorithmInstance.h"
#include "aaxhost/EffectDriver.h"
#include "aaxhost/GuiDriver.h"
#include "aaxhost/NewestRecords.h"
#include "aaxhost/PluginSession.h"
#include "aaxhost/Transport.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace aaxhost
{

// One instance of a session's effect as a host plays it: the effect object
// (creator procedure 0) initialised with a controller whose sample rate and stem
// formats are those of the chosen component, a transport the host sets before every block, and an
// algorithm instance laid out from that component with its private data reset
// by the effect. The instance must not outlive its session. runBlock() is one audio cycle: the plug-in's
// pending set requests come back as host updates, GenerateCoefficients posts the dirty packets into the
// algorithm's data ports, the transport is put at the block's position, and the native process procedure runs
// once.
class EffectInstance
{
public:
    // By default stereo at 48 kHz: the instance `aaxhost describe` and a script play.
    struct Setup
    {
        int32_t channels = 2; // input and output channels of the component
        double sampleRate = 48000.0;
        int32_t maxBlock = 1024; // the longest block runBlock() will be given
    };

    // Null with *error when no component carries the channel count, the effect
    // cannot be created or initialised, or the component cannot be run.
    static std::unique_ptr<EffectInstance> create(PluginSession& session, const Setup& setup,
                                                  std::string* error);
    // The GUI of this instance, created (creator procedure 1) and initialised: its
    // controller unknown answers the effect's controller and transport and, for
    // IID_IAAXEffectParametersV1, the effect. Release it before the instance. Null
    // with *error when the plug-in has no GUI creator or the GUI fails to come up.
    std::unique_ptr<GuiDriver> openGui(std::string* error);
    // Uninitialises and releases the effect.
    ~EffectInstance();
    EffectInstance(const EffectInstance&) = delete;
    EffectInstance& operator=(const EffectInstance&) = delete;

    EffectDriver& driver() noexcept { return *driver_; }
    IEffectParameters& effect() noexcept { return *driver_->effect(); }
    Transport& transport() noexcept { return *transport_; }
    AlgorithmInstance& algorithm() noexcept { return *algorithm_; }
    // The stem format of the component's output.
    int64_t outputStemFormat() const noexcept { return outputStemFormat_; }

    // A host update of a parameter, then the requests the plug-in made meanwhile.
    Result update(const char* parameterId, double normalized);
    // The plug-in's pending set requests delivered as host updates; how many.
    std::size_t deliverRequests();
    // GenerateCoefficients and the delivery of what it posted into the data ports.
    Result generateCoefficients();
    // What the host does before the process procedure of a block: the requests
    // delivered, the coefficients generated and posted, the transport put at the
    // block's first sample `sample`, playing from `anchor`.
    void prepareBlock(const tambrix::render::TransportAnchor& anchor, int64_t sample);
    // One audio cycle of `frames` samples from `sample`, the transport playing from
    // `anchor`: prepareBlock, then the process procedure. False when frames is out
    // of range.
    bool runBlock(const tambrix::render::TransportAnchor& anchor, int64_t sample, int32_t frames);

    // How many of the newest posted packets the log keeps for takePacketLog().
    static constexpr std::size_t kPacketLogSize = 1024;
    // Packets posted since the last call, in order: the newest kPacketLogSize of
    // them, with how many older ones were dropped in *dropped (when given).
    std::vector<PostedPacket> takePacketLog(std::size_t* dropped = nullptr)
    {
        return packetLog_.take(dropped);
    }
    // Posted packets that found no data-in port or did not fit it.
    std::size_t undeliveredPackets() const noexcept { return undelivered_; }

    // Uninitialize and release now; the answer of the final Release (0 = destroyed).
    uint32_t close();

private:
    explicit EffectInstance(PluginSession& session) : session_(session) {}

    PluginSession& session_;
    std::unique_ptr<EffectDriver> driver_;
    HostRef<Transport> transport_;
    HostRef<HostComponentDescriptor> component_; // the algorithm is laid out from it
    std::unique_ptr<AlgorithmInstance> algorithm_;
    int64_t outputStemFormat_ = 0;
    NewestRecords<PostedPacket, kPacketLogSize> packetLog_;
    std::size_t undelivered_ = 0;
    bool closed_ = false;
};

} // namespace aaxhost
