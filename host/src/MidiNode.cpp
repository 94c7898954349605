#include "aaxhost/MidiNode.h"

namespace aaxhost
{

MidiNode::MidiNode(int32_t nodeType, std::size_t capacity) : nodeType_(nodeType), capacity_(capacity)
{
    queued_.reserve(capacity_);
    input_.reserve(capacity_);
    posted_.reserve(capacity_);
}

bool MidiNode::queue(const MidiPacket& packet) noexcept
{
    if (queued_.size() >= capacity_)
        return false;
    queued_.push_back(packet);
    return true;
}

void MidiNode::beginBlock() noexcept
{
    // Swapping keeps both vectors' reserved storage.
    input_.swap(queued_);
    queued_.clear();
    posted_.clear();
    dropped_ = 0;
}

MidiStream* MidiNode::GetNodeBuffer() noexcept
{
    stream_.bufferSize = static_cast<uint32_t>(input_.size());
    stream_.buffer = input_.empty() ? nullptr : input_.data();
    return &stream_;
}

Result MidiNode::PostMIDIPacket(MidiPacket* packet) noexcept
{
    if (packet == nullptr)
        return hostresult::NullArgument;
    if (posted_.size() >= capacity_)
    {
        ++dropped_;
        return kResultOk;
    }
    posted_.push_back(*packet);
    return kResultOk;
}

} // namespace aaxhost
