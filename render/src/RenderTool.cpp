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
                  RenderOptions& options, const RenderSteps& steps, std::ostream& out, std::ostream& err)
{
    const auto failed = [&err, &name](const std::string& reason, int status)
    {
        err << name << ": " << reason << "\n";
        return status;
    };
    if (!parseError.empty())
        return io::usageError(err, name, parseError);
    if (options.help)
    {
        out << usage;
        return io::exitSuccess;
    }
    const std::int64_t total = options.totalSamples();
    if (total > WavWriter::maxFrames(options.channels))
        return io::usageError(err, name,
                              std::to_string(total) + " samples of " + std::to_string(options.channels) +
                                  " channels do not fit a WAV file; render fewer seconds");

    std::vector<io::Input> inputs = steps.inputs;
    if (!options.timelineFile.empty())
        inputs.push_back({"the timeline file", options.timelineFile});
    if (const std::string refusal = io::standardOutputRefusal(inputs); !refusal.empty())
        return failed(refusal, io::exitUsage);
    if (io::OutputFile output; !output.check(options.out, inputs))
        return failed(output.error(), io::exitUsage);
    if (const std::string unread = readTimeline(options); !unread.empty())
        return failed(unread, io::exitUsage);
    std::string error;
    if (const int prepared = steps.prepare(error); prepared != io::exitSuccess)
        return failed(error, prepared);

    WavWriter writer;
    // Checked already: what fails now fails while running.
    if (!writer.open(options.out, inputs, options.channels, options.rate, total))
        return failed(writer.error(), io::exitFailure);
    RenderSummary summary;
    const bool rendered = steps.play(
        [&writer](const float* frames, int count) { return writer.write(frames, count); }, summary, error);
    if (rendered)
        io::endIfMemoryRanOut(); // the file is not kept
    if (!rendered || !writer.finish())
        return failed(writer.error().empty() ? error : writer.error(), io::exitFailure);
    if (steps.finished)
        steps.finished();
    // Written out with the rest of standard output as the tool ends, where a failure is reported.
    (writer.toStandardOutput() ? err : out) << summaryJson(summary, options.out) << '\n';
    return io::exitSuccess;
}

} // namespace tambrix::render
