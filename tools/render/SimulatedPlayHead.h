#pragma once

// A JUCE play head that reports a simulated transport position, as a host does:
// playing flag, tempo, position in quarter notes, and bar start 0.

#include "tambrix/render/TransportSimulation.h"

#include <juce_audio_processors/juce_audio_processors.h>

namespace tambrix::render
{

class SimulatedPlayHead : public juce::AudioPlayHead
{
public:
    void setPosition(const TransportPosition& newPosition) { position = newPosition; }

    juce::Optional<PositionInfo> getPosition() const override
    {
        PositionInfo info;
        info.setIsPlaying(position.playing);
        info.setIsRecording(false);
        info.setBpm(position.bpm);
        info.setPpqPosition(position.ppqPosition);
        info.setPpqPositionOfLastBarStart(0.0);
        info.setTimeInSamples(position.sample);
        return info;
    }

private:
    TransportPosition position;
};

} // namespace tambrix::render
