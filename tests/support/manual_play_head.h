#pragma once

// A play head whose answers a test sets freely; by default it plays at 120 bpm
// from the start of the first bar. Only targets that link JUCE include it.

#include <juce_audio_basics/juce_audio_basics.h>

namespace tambrix::test
{

class ManualPlayHead : public juce::AudioPlayHead
{
public:
    bool hasPosition = true;
    bool playing = true;
    bool recording = false;
    juce::Optional<double> bpm = 120.0;
    juce::Optional<double> ppq = 0.0;
    juce::Optional<double> barStart = 0.0;

    juce::Optional<PositionInfo> getPosition() const override
    {
        if (!hasPosition)
            return {};
        PositionInfo info;
        info.setIsPlaying(playing);
        info.setIsRecording(recording);
        info.setBpm(bpm);
        info.setPpqPosition(ppq);
        info.setPpqPositionOfLastBarStart(barStart);
        return info;
    }
};

} // namespace tambrix::test
