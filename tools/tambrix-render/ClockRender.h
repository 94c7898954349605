#pragma once

// Plays a JUCE processor through the render core's block loop: prepares it with
// the options' rate and block size, reports the simulated transport's position to
// it through a play head before every block, and sends value changes through the
// framework's index-based parameter call, as a host's wrapper does.

#include "tambrix/render/BlockLoop.h"

#include <juce_audio_processors/juce_audio_processors.h>

#include <string>

namespace tambrix::render
{

// Gives the processor the options' channel layout: false, with `error` set, when
// it does not take it.
bool prepareClock(juce::AudioProcessor& processor, const RenderOptions& options, std::string& error);

// Plays the options through a processor prepareClock() readied; false with
// `error` set if the sink fails.
bool playClock(juce::AudioProcessor& processor, const RenderOptions& options, const FrameSink& sink,
               RenderSummary& summary, std::string& error);

// prepareClock(), then playClock().
bool renderClock(juce::AudioProcessor& processor, const RenderOptions& options, const FrameSink& sink,
                 RenderSummary& summary, std::string& error);

} // namespace tambrix::render
