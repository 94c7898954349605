#pragma once

#include "aaxhost/ControllerInterfaces.h"

#include <cstdint>
#include <vector>

namespace aaxhost
{

// The packets a MIDI node holds for one block: count, then their address.
struct MidiStream
{
    uint32_t bufferSize = 0;
    MidiPacket* buffer = nullptr;
};
static_assert(sizeof(MidiStream) == 2 * sizeof(void*), "MIDI stream layout");

// Node types of the description (AddMIDINode) that this host plays.
constexpr int32_t kMidiNodeLocalInput = 0;
constexpr int32_t kMidiNodeLocalOutput = 1;

// Host side of a MIDI node of the algorithm's context: a plain interface (no
// reference counting), position 0 hands out the block's packets, position 1
// takes one packet the algorithm sends.
class IMidiNode
{
public:
    virtual MidiStream* GetNodeBuffer() = 0;               // 0
    virtual Result PostMIDIPacket(MidiPacket* packet) = 0; // 1

protected:
    ~IMidiNode() = default;
};

// One MIDI node of an algorithm instance. Its storage is reserved up front, so
// the audio thread never allocates: an input node hands out, in the next block
// only, up to `capacity` packets queued before it; an output node keeps up to
// `capacity` posted packets per block and counts the ones beyond.
class MidiNode final : public IMidiNode
{
public:
    explicit MidiNode(int32_t nodeType, std::size_t capacity = 1024);

    int32_t nodeType() const noexcept { return nodeType_; }
    std::size_t capacity() const noexcept { return capacity_; }
    // Queues a packet for the next block (input nodes); false when it already holds `capacity`.
    bool queue(const MidiPacket& packet) noexcept;
    std::size_t queued() const noexcept { return queued_.size(); }
    // Starts a block: the queued packets become the block's, the last block's
    // packets and posted packets are dropped.
    void beginBlock() noexcept;
    const std::vector<MidiPacket>& posted() const noexcept { return posted_; }
    std::size_t dropped() const noexcept { return dropped_; }

    MidiStream* GetNodeBuffer() noexcept override;
    Result PostMIDIPacket(MidiPacket* packet) noexcept override;

private:
    int32_t nodeType_;
    std::size_t capacity_;
    std::vector<MidiPacket> queued_;
    std::vector<MidiPacket> input_;
    std::vector<MidiPacket> posted_;
    std::size_t dropped_ = 0;
    MidiStream stream_;
};

} // namespace aaxhost
