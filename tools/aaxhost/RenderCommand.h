#pragma once

// `aaxhost render BUNDLE [options]`: the options of tambrix-render plus --bypass.

#include "BundlePlay.h"

#include <iosfwd>
#include <string>
#include <vector>

namespace aaxhost::tool
{

struct RenderCommandLine
{
    std::string bundle;
    play::PlayOptions options;
};

// Parses the arguments after the command name (BUNDLE first; the timeline file
// is read as the command runs); `error` is empty on success.
tambrix::render::Parsed<RenderCommandLine> parseRenderCommand(const std::vector<std::string>& args);

// The command's usage text, its options' lines included.
std::string renderUsage();

// Runs the command (see tambrix::render::runRenderTool: the bundle is loaded and
// its component for the channel count found before the output is opened);
// returns the exit status (tambrix::io::ExitStatus).
int runRenderCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

} // namespace aaxhost::tool
