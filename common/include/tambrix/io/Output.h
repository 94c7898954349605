#pragma once

// How the tools write what they make (a WAV file, a PNG image) and end: one
// exit-status rule, an output file that never replaces, deletes or follows
// anything but the regular file it was asked to write, and a checked standard
// output.

#include <cstddef>
#include <string>
#include <vector>

namespace tambrix::io
{

// The exit status of every tool and command.
enum ExitStatus : int
{
    exitSuccess = 0,
    exitFailure = 1, // it failed while running (a write error, a plug-in that misbehaved)
    exitUsage = 2,   // bad usage, or an input or output named on the command line cannot be used
};

// A file the run reads, which its output must not be.
struct Input
{
    std::string what; // e.g. "the timeline file"
    std::string path;
};

// One output, chosen and checked before any work is done:
// - "-" is standard output;
// - a regular file, new or replaced, is written to a temporary file of a unique
//   name in the same folder (created exclusively, never through a link) that
//   replaces it only once everything is written and synced; a failure, or SIGINT,
//   SIGTERM or SIGHUP, removes the temporary file and leaves what was there
//   untouched; a file the caller may not write is not replaced;
// - a character device or a FIFO (/dev/null, a pipe) is written straight through;
// - a symbolic link is never replaced: these rules apply to the file it names,
//   which the system finds (with its own protections against planted links);
// - a directory, socket or block device, a missing folder, a link to nothing and
//   one of the run's inputs are refused.
class OutputFile
{
public:
    OutputFile() = default;
    ~OutputFile(); // discards what was not committed
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    // False, with error(), when `path` cannot be written.
    bool open(const std::string& path, const std::vector<Input>& inputs = {});
    // Appends `size` bytes.
    bool write(const void* data, std::size_t size);
    // Writes out what is buffered and puts the file in place.
    bool commit();
    // Removes the temporary file, if any; what was at the path stays as it was.
    void discard();

    bool isStandardOutput() const noexcept { return standardOutput_; }
    // What went wrong, as one line naming the path.
    const std::string& error() const noexcept { return error_; }

private:
    bool fail(const std::string& text);
    bool failWithErrno(const std::string& what);
    bool openTemporary(const std::string& target);
    bool flushBuffer();
    bool putInPlace();

    std::string path_;      // as given, for messages
    int folder_ = -1;       // the target's folder, which names below are relative to
    std::string name_;      // the target's name in it
    std::string temporary_; // empty when writing straight through
    bool standardOutput_ = false;
    int fd_ = -1;
    std::vector<char> buffer_;
    std::string error_;
};

// Runs a tool: `run` with standard input, output and error open (where one was
// closed, on /dev/null for reading only: no file the tool opens takes its place,
// and a write to it still fails),
// then standard output flushed and closed. When that fails, says so on standard
// error as "TOOL: cannot write standard output[: REASON]" and turns a success into
// exitFailure. Returns the exit status to end with.
int runTool(const std::string& tool, int argc, char** argv, int (*run)(int argc, char** argv));

} // namespace tambrix::io
