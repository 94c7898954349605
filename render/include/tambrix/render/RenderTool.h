#pragma once

// The command-line steps both render tools (tambrix-render, aaxhost render) take
// once their arguments are read, and the summary line they print.

#include "tambrix/render/BlockLoop.h"
#include "tambrix/render/RenderOptions.h"

#include <functional>
#include <iosfwd>
#include <string>

namespace tambrix::render
{

// The one-line JSON summary of a render written to the file `out`.
std::string summaryJson(const RenderSummary& summary, const std::string& out);

// The tool's own part of a render.
struct RenderSteps
{
    // Readies the processor; false with `error` set.
    std::function<bool(std::string& error)> prepare;
    // Renders the options into `sink` (see renderBlocks).
    std::function<bool(const FrameSink& sink, RenderSummary& summary, std::string& error)> play;
    // Runs once the WAV file is in place, before the summary line (may be empty).
    std::function<void()> finished;
};

// A usage error (`parseError`, exit code 2) or --help, the WAV size check (2),
// `prepare`, the WAV file, `play`, `finished` and the summary line on `out` (0);
// any failure is exit code 1. Messages go to `err`, as "NAME: ...".
int runRenderTool(const std::string& name, const std::string& usage, const std::string& parseError,
                  const RenderOptions& options, const RenderSteps& steps, std::ostream& out,
                  std::ostream& err);

} // namespace tambrix::render
