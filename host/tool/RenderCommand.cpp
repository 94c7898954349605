#include "RenderCommand.h"

#include "tambrix/render/RenderTool.h"

#include <ostream>

namespace aaxhost::render
{

tambrix::render::Parsed<RenderCommandLine> parseRenderCommand(const std::vector<std::string>& args)
{
    tambrix::render::Parsed<RenderCommandLine> parsed;
    std::vector<std::string> rest;
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
    auto options = tambrix::render::parseCommandLine(rest);
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
    return "usage: aaxhost render BUNDLE [--bypass] [options]\n"
           "Plays the host transport through the bundle's effect and writes what its outputs carry to a WAV "
           "file.\n"
           "--bypass turns the master bypass on. The options are those of tambrix-render:\n" +
           tambrix::render::optionsUsage();
}

int runRenderCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    const auto parsed = parseRenderCommand(args);
    const RenderCommandLine& command = parsed.result;
    std::unique_ptr<PluginSession> session;
    std::unique_ptr<EffectInstance> instance;
    Result live = kResultOk;
    tambrix::render::RenderSteps steps;
    steps.inputs.push_back({"the plug-in's binary", PluginModule::binaryPathFor(command.bundle)});
    steps.prepare = [&](std::string& error)
    {
        session = PluginSession::load(command.bundle, &error);
        if (!session)
            return tambrix::io::exitUsage; // the bundle cannot be loaded
        if (!session->start(&error))
            return tambrix::io::exitFailure;
        instance = makeRenderInstance(*session, command.options, &error);
        return instance ? tambrix::io::exitSuccess : tambrix::io::exitFailure;
    };
    steps.play = [&](const tambrix::render::FrameSink& sink, tambrix::render::RenderSummary& summary,
                     std::string& error)
    {
        const bool rendered = renderThroughInstance(*instance, command.options, sink, summary, error);
        instance.reset();
        live = session->close();
        return rendered;
    };
    steps.finished = [&]
    {
        if (live != kResultOk)
            err << "aaxhost render: warning: " << live << " plug-in objects still live at unload\n";
    };
    return tambrix::render::runRenderTool("aaxhost render", renderUsage(), parsed.error,
                                          command.options.render, steps, out, err);
}

} // namespace aaxhost::render
