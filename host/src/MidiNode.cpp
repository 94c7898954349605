#include "aaxhost/MidiNode.h"

namespace aaxhost
{

MidiNode::MidiNode(int32_t nodeType, std::size_t capacity) : nodeType_(nodeType), capacity_(capacity)
{
    input_.reserve(capacity_);
    posted_.reserve(capacity_);
}

bool MidiNode::setInput(const std::vector<MidiPacket>& packets)
{
    if (packets.size() > capacity_)
        return false;
    input_.assign(packets.begin(), packets.end());
    return true;
}

void MidiNode::clear() noexcept
{
    input_.clear();
    posted_.clear();
    dropped_ = 0;
}

void MidiNode::beginBlock() noexcept
{
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
