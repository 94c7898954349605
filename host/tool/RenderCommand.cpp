#include "RenderCommand.h"

#include "WavWriter.h"

#include <ostream>

namespace aaxhost::render
{

tambrix::render::Parsed<RenderCommandLine> parseRenderCommand(const std::vector<std::string>& args)
{
    tambrix::render::Parsed<RenderCommandLine> parsed;
    std::vector<std::string> rest{"aaxhost render"};
    bool first = true;
    for (const std::string& arg : args)
    {
        if (arg == "--bypass")
        {
            parsed.result.options.bypass = true;
            continue;
        }
        if (first && !arg.empty() && arg[0] != '-')
            parsed.result.bundle = arg; // BUNDLE comes first (--bypass may stand before it)
        else
            rest.push_back(arg);
        first = false;
    }
    std::vector<const char*> argv;
    for (const std::string& arg : rest)
        argv.push_back(arg.c_str());
    auto options = tambrix::render::parseCommandLine(static_cast<int>(argv.size()), argv.data());
    if (!options.ok())
    {
        parsed.error = options.error;
        return parsed;
    }
    parsed.result.options.render = std::move(options.result);
    if (parsed.result.bundle.empty() && !parsed.result.options.render.help)
        parsed.error = "missing BUNDLE (the tambrix.aaxplugin folder or its binary)";
    return parsed;
}

std::string renderUsage()
{
    std::string text =
        "usage: aaxhost render BUNDLE [--bypass] [options]\n"
        "Plays the host transport through the bundle's effect and writes what its outputs carry.\n"
        "--bypass turns the master bypass on. The options are those of tambrix-render:\n";
    return text + tambrix::render::usage();
}

int runRenderCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    const auto parsed = parseRenderCommand(args);
    if (!parsed.ok())
    {
        err << "aaxhost render: " << parsed.error << "\n" << renderUsage();
        return 2;
    }
    const RenderCommandLine& command = parsed.result;
    const tambrix::render::RenderOptions& o = command.options.render;
    if (o.help)
    {
        out << renderUsage();
        return 0;
    }
    const std::int64_t total = o.totalSamples();
    if (total > tambrix::render::WavWriter::maxFrames(o.channels))
    {
        err << "aaxhost render: " << total << " samples of " << o.channels
            << " channels do not fit a WAV file; render fewer seconds\n";
        return 2;
    }

    std::string error;
    auto session = PluginSession::open(command.bundle, &error);
    if (!session)
    {
        err << "aaxhost render: " << error << "\n";
        return 1;
    }
    auto instance = makeRenderInstance(*session, command.options, &error);
    if (!instance)
    {
        err << "aaxhost render: " << error << "\n";
        return 1;
    }

    tambrix::render::WavWriter writer;
    if (!writer.open(o.out, o.channels, o.rate, total))
    {
        err << "aaxhost render: " << writer.error() << "\n";
        return 1;
    }
    BundleRenderSummary summary;
    const bool rendered = renderThroughInstance(
        *instance, command.options,
        [&writer](const float* frames, int count) { return writer.write(frames, count); }, summary, error);
    instance.reset();
    const Result live = session->close();
    if (!rendered)
    {
        err << "aaxhost render: " << (writer.error().empty() ? error : writer.error()) << "\n";
        return 1;
    }
    if (!writer.finish())
    {
        err << "aaxhost render: " << writer.error() << "\n";
        return 1;
    }
    if (live != kResultOk)
        err << "aaxhost render: warning: " << live << " plug-in objects still live at unload\n";
    out << summaryJson(summary, o.out) << std::endl;
    return 0;
}

} // namespace aaxhost::render
