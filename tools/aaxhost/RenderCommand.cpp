#include "RenderCommand.h"

#include "BundleArgument.h"

#include "tambrix/render/RenderTool.h"

#include <ostream>

namespace aaxhost::tool
{

tambrix::render::Parsed<RenderCommandLine> parseRenderCommand(const std::vector<std::string>& args)
{
    tambrix::render::Parsed<RenderCommandLine> parsed;
    std::vector<std::string> rest;
    bool haveBundle = false;
    for (std::size_t i = 0; i < args.size(); ++i)
    {
        const std::string& arg = args[i];
        if (arg == "--bypass")
            parsed.result.options.bypass = true;
        else if (!haveBundle && (arg.empty() || arg[0] != '-'))
        {
            parsed.result.bundle = arg; // the first argument that is no option nor an option's value
            haveBundle = true;
        }
        else
        {
            rest.push_back(arg);
            if (tambrix::render::takesNextArgument(arg) && i + 1 < args.size())
                rest.push_back(args[++i]);
        }
    }
    auto options = tambrix::render::parseArguments(rest);
    parsed.error = options.error;
    parsed.result.options.render = std::move(options.result);
    if (parsed.ok() && parsed.result.bundle.empty() && !parsed.result.options.render.help)
        parsed.error = haveBundle ? "BUNDLE needs a file name"
                                  : "missing BUNDLE (the tambrix.aaxplugin folder or its binary)";
    return parsed;
}

std::string renderUsage()
{
    return "usage: aaxhost render BUNDLE [--bypass] [options]\n"
           "Plays the host transport through the bundle's effect and writes what its outputs carry to a WAV "
           "file.\n"
           "--bypass turns the master bypass on. The options are those of tambrix-render:\n" +
           tambrix::render::optionsUsage() + bundleNote;
}

int runRenderCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    auto parsed = parseRenderCommand(args);
    RenderCommandLine& command = parsed.result;
    play::PlayOptions& options = command.options;
    std::unique_ptr<PluginSession> session;
    std::unique_ptr<EffectInstance> instance;
    Result live = kResultOk;
    tambrix::render::RenderSteps steps;
    steps.inputs.push_back(bundleInput(command.bundle));
    steps.prepare = [&](std::string& error)
    {
        session = PluginSession::load(command.bundle, &error);
        if (!session)
            return tambrix::io::exitUsage; // the bundle cannot be loaded
        if (!session->start(&error))
            return tambrix::io::exitFailure;
        instance = play::makePlayInstance(*session, options, &error);
        if (instance)
            return tambrix::io::exitSuccess;
        // A channel count the bundle has no component for is a bad option, not a failure.
        const int channels = options.render.channels;
        return session->componentFor(channels, channels) ? tambrix::io::exitFailure : tambrix::io::exitUsage;
    };
    steps.play = [&](const tambrix::render::FrameSink& sink, tambrix::render::RenderSummary& summary,
                     std::string& error)
    {
        const bool rendered = play::playThroughInstance(*instance, options, sink, summary, error);
        instance.reset();
        live = session->close();
        return rendered;
    };
    steps.finished = [&]
    {
        if (live != kResultOk)
            err << "aaxhost render: warning: " << live << " plug-in objects still live at unload\n";
    };
    return tambrix::render::runRenderTool("aaxhost render", renderUsage(), parsed.error, options.render,
                                          steps, out, err);
}

} // namespace aaxhost::tool
