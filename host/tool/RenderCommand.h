#pragma once

// `aaxhost render BUNDLE [options]`: the options of tambrix-render plus --bypass.

#include "BundleRender.h"

#include <iosfwd>
#include <string>
#include <vector>

namespace aaxhost::render
{

struct RenderCommandLine
{
    std::string bundle;
    BundleRenderOptions options;
};

// Parses the arguments after the command name (BUNDLE first) and reads the
// timeline file; `error` is empty on success.
tambrix::render::Parsed<RenderCommandLine> parseRenderCommand(const std::vector<std::string>& args);

// The command's usage text, its options' lines included.
std::string renderUsage();

// Runs the command; returns the exit status (tambrix::io::ExitStatus).
int runRenderCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

} // namespace aaxhost::render
