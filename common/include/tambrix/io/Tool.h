#pragma once

// How every tool starts and ends: one exit-status rule, standard streams checked
// before any work, one-line messages named after the tool, and a checked
// standard output at the end.

#include <iosfwd>
#include <string>

namespace tambrix::io
{

// The exit status of every tool and command.
enum ExitStatus : int
{
    exitSuccess = 0,
    exitFailure = 1, // it failed while running (a write error, a plug-in that misbehaved, no memory left)
    exitUsage = 2,   // bad usage, or an input or output named on the command line cannot be used
};

// The name messages begin with: the tool's ("tambrix-render"), or the tool's and
// its command's ("aaxhost render") once the command is known.
const std::string& toolName();
void setToolName(std::string name);

// Whether standard input was closed as the tool started: whatever then stands in
// its place (also as /dev/stdin) is no input.
bool standardInputWasClosed();

// Throws std::bad_alloc when an allocation failed since runTool began (its
// new-handler notes every one, the plug-in's too, which may have answered an error
// of its own for it): what fails or is made after that is not kept or told as if
// memory had not run out.
void endIfMemoryRanOut();

// Throws std::bad_alloc unless 16 MB of address space are left (asked of the
// system, not of the allocator): the room the framework's font and image code needs
// as the plug-in's editor opens and paints, which does not survive running out (it
// uses a font or picture it could not load, or aborts in the PNG encoder).
void requireRoomForTheEditor();

// Whether `arg` asks for the usage (-h, --help).
bool isHelp(const std::string& arg);

// A usage error on `err`: "NAME: REASON" and a line that says how to get the
// usage ("try 'NAME --help'"). Returns exitUsage.
int usageError(std::ostream& err, const std::string& name, const std::string& reason);

// Runs a tool named `tool`. Standard output closed or open only for reading is
// refused at once (exitUsage); a closed standard input or error is held on the
// root folder, read-only, so that no file the tool opens takes its place. Then
// `run`; running out of memory ends it with "NAME: out of memory" (any other
// exception with "NAME: WHAT") and exitFailure, once everything `run` made is
// undone (an output file's temporary removed), also where no exception can pass
// (then without unwinding). Then standard output is flushed and
// closed: when that fails, "NAME: cannot write standard output: REASON", and a
// success becomes exitFailure. Returns the exit status to end with.
int runTool(const std::string& tool, int argc, char** argv, int (*run)(int argc, char** argv));

} // namespace tambrix::io
