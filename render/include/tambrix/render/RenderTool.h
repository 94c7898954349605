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
    // The tool's input files besides the timeline; no output may be one of them.
    std::vector<io::Input> inputs;
    // Readies the processor (loads and checks what it plays): io::exitSuccess, or
    // the exit status with `error` set.
    std::function<int(std::string& error)> prepare;
    // Renders the options into `sink` (see renderBlocks).
    std::function<bool(const FrameSink& sink, RenderSummary& summary, std::string& error)> play;
    // Runs once the WAV file is in place, before the summary line (may be empty).
    std::function<void()> finished;
};

// A render of `options` from the command line, in this order: a usage error
// (`parseError`) or the usage (`usage` on `out`, for --help); the WAV size,
// standard output and the output file checked; the timeline read into
// `options.timeline`; `prepare`; the output opened;
// `play`; the file put in place; `finished`; the summary line, on `out` or, when
// the WAV data goes to standard output, on `err`. So every input is read and
// checked before any output is opened. Returns the exit status (io::ExitStatus);
// messages go to `err`, as "NAME: ...".
int runRenderTool(const std::string& name, const std::string& usage, const std::string& parseError,
                  RenderOptions& options, const RenderSteps& steps, std::ostream& out, std::ostream& err);

} // namespace tambrix::render
