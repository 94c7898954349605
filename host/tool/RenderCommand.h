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

// Runs the command; returns the exit code (0, 1 on failure, 2 on bad arguments).
int runRenderCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

} // namespace aaxhost::render
