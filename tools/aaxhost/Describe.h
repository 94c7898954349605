#pragma once

// `aaxhost describe`: loads a plug-in bundle, lets it register, reads back the
// description the host received, makes one effect instance to list its
// parameters and chunks, releases everything and unloads the bundle.

#include "tambrix/text/Json.h"

#include <iosfwd>
#include <string>
#include <vector>

namespace aaxhost::tool
{

using tambrix::text::Json;

struct DescribeResult
{
    // False when the bundle could not be loaded (reason in `error`); the report
    // is then empty.
    bool loaded = false;
    std::string error;
    // The whole report (keys: docs/describe-json.md).
    Json report;
    // Everything went as a plug-in should: registration and every instance call
    // succeeded, no traces or assertion reports, no live objects at the end, and
    // no host object still held.
    bool clean = false;
};

DescribeResult describeBundle(const std::string& path);

// The command line form: `args` are BUNDLE and --json (or -h, --help); returns
// the exit status (tambrix::io::ExitStatus).
int runDescribeCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

} // namespace aaxhost::tool
