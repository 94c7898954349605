// tambrix-render: plays a simulated host transport through the clock processor and
// writes the clock signal to a 32-bit float WAV file.

#include "ClockRender.h"
#include "MetronaAudioProcessor.h"

#include "tambrix/render/RenderTool.h"

#include <iostream>
#include <memory>

namespace
{

int run(int argc, char** argv)
{
    using namespace tambrix::render;

    auto parsed = parseArguments({argv + 1, argv + argc});
    std::unique_ptr<juce::ScopedJuceInitialiser_GUI> juce;
    std::unique_ptr<MetronaAudioProcessor> processor;
    RenderSteps steps;
    RenderOptions& options = parsed.result;
    steps.prepare = [&](std::string& error)
    {
        juce = std::make_unique<juce::ScopedJuceInitialiser_GUI>();
        processor = std::make_unique<MetronaAudioProcessor>();
        return prepareClock(*processor, options, error) ? tambrix::io::exitSuccess : tambrix::io::exitUsage;
    };
    steps.play = [&](const FrameSink& sink, RenderSummary& summary, std::string& error)
    {
        return playClock(*processor, options, sink, summary, error);
    };
    const std::string usage =
        "usage: tambrix-render [options]\n"
        "Plays a host transport through the clock processor and writes what its outputs "
        "carry to a WAV file.\n" +
        optionsUsage();
    return runRenderTool("tambrix-render", usage, parsed.error, options, steps, std::cout, std::cerr);
}

} // namespace

int main(int argc, char** argv)
{
    return tambrix::io::runTool("tambrix-render", argc, argv, run);
}
