// tambrix-render: plays a simulated host transport through the clock processor and
// writes the clock signal to a 32-bit float WAV file.

#include "ClockRender.h"
#include "MetronaAudioProcessor.h"
#include "RenderOptions.h"
#include "WavWriter.h"

#include <iostream>
#include <memory>

int main(int argc, char** argv)
{
    using namespace tambrix::render;

    const auto parsed = parseCommandLine(argc, argv);
    if (!parsed.ok())
    {
        std::cerr << "tambrix-render: " << parsed.error << "\n" << usage();
        return 2;
    }
    const RenderOptions& options = parsed.result;
    if (options.help)
    {
        std::cout << usage();
        return 0;
    }

    const std::int64_t total = options.totalSamples();
    if (total > WavWriter::maxFrames(options.channels))
    {
        std::cerr << "tambrix-render: " << total << " samples of " << options.channels
                  << " channels do not fit a WAV file; render fewer seconds\n";
        return 2;
    }

    juce::ScopedJuceInitialiser_GUI juce;
    auto processor = std::make_unique<MetronaAudioProcessor>();

    WavWriter writer;
    if (!writer.open(options.out, options.channels, options.rate, total))
    {
        std::cerr << "tambrix-render: " << writer.error() << "\n";
        return 1;
    }

    RenderSummary summary;
    std::string error;
    const bool rendered = renderClock(
        *processor, options,
        [&writer](const float* frames, int count) { return writer.write(frames, count); }, summary, error);
    if (!rendered)
    {
        std::cerr << "tambrix-render: " << (writer.error().empty() ? error : writer.error()) << "\n";
        return 1;
    }
    if (!writer.finish())
    {
        std::cerr << "tambrix-render: " << writer.error() << "\n";
        return 1;
    }

    std::cout << summaryJson(summary, options.out) << std::endl;
    return 0;
}
