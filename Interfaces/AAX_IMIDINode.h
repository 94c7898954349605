// A MIDI node of the host, handed to the algorithm in its context.
#pragma once

#include "AAX.h"

/// Provided by the host; never deleted by the plug-in.
class AAX_IMIDINode
{
public:
    /// The packets of the current block.
    virtual AAX_CMidiStream* GetNodeBuffer() = 0;
    /// Sends one packet out through the node.
    virtual AAX_Result PostMIDIPacket(AAX_CMidiPacket* packet) = 0;

protected:
    ~AAX_IMIDINode() = default;
};
