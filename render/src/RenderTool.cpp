#include "tambrix/render/RenderTool.h"

#include "tambrix/render/WavWriter.h"
#include "tambrix/text/Json.h"

#include <ostream>

namespace tambrix::render
{

std::string summaryJson(const RenderSummary& summary, const std::string& out)
{
    const text::Json json{{"out", out},
                          {"samples", summary.samples},
                          {"channels", summary.channels},
                          {"rate", summary.rate},
                          {"pulses", summary.pulses}};
    return text::jsonText(json);
}

int runRenderTool(const std::string& name, const std::string& usage, const std::string& parseError,
                  const RenderOptions& options, const RenderSteps& steps, std::ostream& out,
                  std::ostream& err)
{
    const std::string prefix = name + ": ";
    if (!parseError.empty())
    {
        err << prefix << parseError << "\n" << usage;
        return 2;
    }
    if (options.help)
    {
        out << usage;
        return 0;
    }
    const std::int64_t total = options.totalSamples();
    if (total > WavWriter::maxFrames(options.channels))
    {
        err << prefix << total << " samples of " << options.channels
            << " channels do not fit a WAV file; render fewer seconds\n";
        return 2;
    }

    std::string error;
    if (!steps.prepare(error))
    {
        err << prefix << error << "\n";
        return 1;
    }
    WavWriter writer;
    if (!writer.open(options.out, options.channels, options.rate, total))
    {
        err << prefix << writer.error() << "\n";
        return 1;
    }
    RenderSummary summary;
    const bool rendered = steps.play(
        [&writer](const float* frames, int count) { return writer.write(frames, count); }, summary, error);
    if (!rendered || !writer.finish())
    {
        err << prefix << (writer.error().empty() ? error : writer.error()) << "\n";
        return 1;
    }
    if (steps.finished)
        steps.finished();
    out << summaryJson(summary, options.out) << std::endl;
    return 0;
}

} // namespace tambrix::render
