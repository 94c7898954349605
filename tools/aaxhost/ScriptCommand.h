#pragma once

// `aaxhost script BUNDLE SCRIPT|-`: replays a host's conversation with the plug-in,
// one action a line, each answered by one line of JSON (see README, "aaxhost script").

#include <cstdint>
#include <iosfwd>
#include <string>
#include <vector>

namespace aaxhost
{
class PluginSession;
}

namespace aaxhost::script
{

// The usage of every action a script takes, from the one table they are
// dispatched from ("param text ID VALUE [MAXLEN]": the action's words, then its
// arguments).
std::vector<std::string> actionUsages();

// Runs the script read from `in` against a new effect instance of the loaded
// `plugin`; every answer goes to `out`. The instance is created by the first
// action that needs it and released at the end, the session stays open. Each line
// is answered (and `out` flushed) before the next one is read; a failed write to
// `out` ends the script. Returns 0 when every line was answered without error, 1
// otherwise, 2 when a line is longer than tambrix::io::maxLineBytes (its number in
// *tooLongLine): nothing after it is read.
int runScript(PluginSession& plugin, std::istream& in, std::ostream& out, int64_t* tooLongLine = nullptr);

// Runs the script read from `in` against the bundle; every answer goes to `out`,
// messages to `err` (a line too long named as SCRIPTNAME:LINE). Returns the exit
// code: 0 when every line was answered without error, 1 when some line was
// answered with an error or the plug-in did not start, register or describe an
// effect, 2 when the bundle could not be loaded or a line is too long.
int runScript(const std::string& bundle, std::istream& in, std::ostream& out, std::ostream& err,
              const std::string& scriptName = "the script");

// The command line form: `args` are BUNDLE and SCRIPT (a file, or "-" for standard
// input), or ask for the usage (-h, --help); 2 when the script cannot be read (also
// when a read error cuts it short, or standard input was closed) or standard
// output is one of the run's inputs.
int runScriptCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

} // namespace aaxhost::script
