#pragma once

// The command-line steps both render tools (tambrix-render, aaxhost render) take
// once their arguments are read, and the summary line they print.

#include "tambrix/render/BlockLoop.h"
#include "tambrix/render/RenderOptions.h"
#include "tambrix/io/Output.h"

#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

namespace tambrix::render
{

// The one-line JSON summary of a render written to the file `out`.
std::string summaryJson(const RenderSummary& summary, const std::string& out);

// The tool's own part of a render.
struct RenderSteps
{
    // The tool's input files besides the timeline; the output must be none of them.
    std::vector<io::Input> inputs;
    // Readies the processor: io::exitSuccess, or the exit status with `error` set.
    std::function<int(std::string& error)> prepare;
    // Renders the options into `sink` (see renderBlocks).
    std::function<bool(const FrameSink& sink, RenderSummary& summary, std::string& error)> play;
    // Runs once the WAV file is in place, before the summary line (may be empty).
    std::function<void()> finished;
};

// A usage error (`parseError`) or --help (the usage on `out`), the WAV size
// check and the output file (see io::OutputFile), `prepare`, `play`, the file put
// in place, `finished` and the summary line: on `out`, or on `err` when the WAV
// data goes to standard output. Returns the exit status (io::ExitStatus);
// messages go to `err`, as "NAME: ...".
int runRenderTool(const std::string& name, const std::string& usage, const std::string& parseError,
                  const RenderOptions& options, const RenderSteps& steps, std::ostream& out,
                  std::ostream& err);

} // namespace tambrix::render
