#pragma once

// `aaxhost script BUNDLE SCRIPT|-`: replays a host's conversation with the plug-in,
// one action a line, each answered by one line of JSON (see README, "aaxhost script").

#include <iosfwd>
#include <string>

namespace aaxhost::script
{

// Runs the script read from `in` against the bundle; every answer goes to `out`.
// Returns the exit code: 0 when every line was answered without error, 1 when
// some line was answered with an error, 2 when the bundle could not be used.
int runScript(const std::string& bundle, std::istream& in, std::ostream& out, std::ostream& err);

// The same with the script read from the file `script` ("-": standard input); 2
// when it cannot be read.
int runScriptFile(const std::string& bundle, const std::string& script, std::ostream& out, std::ostream& err);

} // namespace aaxhost::script
