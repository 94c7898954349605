#pragma once

// How the tools write what they make (a WAV file, a PNG image): an output file
// that never replaces, deletes or follows anything but the regular file it was
// asked to write, and that is never one of the run's inputs.

#include "tambrix/io/Input.h"
#include "tambrix/io/Tool.h"

#include <sys/stat.h>
#include <sys/types.h>

#include <cstddef>
#include <string>
#include <vector>

namespace tambrix::io
{

// Why standard output cannot be written by a run that reads `inputs`: it is one
// of them (the refusal names which), or empty when it can.
std::string standardOutputRefusal(const std::vector<Input>& inputs);

// One output, checked before any work is done:
// - "-", or any name for the file open as standard output (/dev/stdout,
//   /proc/self/fd/1, the file the shell opened), is standard output, written as
//   it is open (appended to where the shell appends);
// - a regular file, new or replaced, is written to a temporary file in the same
//   folder (one without a name where the system allows it, so that nothing is
//   left behind whatever ends the run; otherwise one of a unique name, created
//   exclusively and removed on a failure or a terminating signal) that replaces
//   it only once everything is written and synced; a file the caller may not
//   write or replace is not replaced, and what was there stays untouched on a
//   failure;
// - a character device or a FIFO (/dev/null, a pipe) is written straight through;
// - a symbolic link is never replaced: these rules apply to the file it names,
//   which the system finds (with its own protections against planted links), as
//   long as the link's text still names that file;
// - a directory, socket or block device, a missing or deleted folder, a link to
//   nothing or to a file that has no name left, and one of the run's inputs are
//   refused.
// A process writes one output at a time: a signal finds one named temporary only.
class OutputFile
{
public:
    OutputFile() = default;
    ~OutputFile(); // discards what was not committed
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    // Whether `path` can be written by a run that reads `inputs` (false, with
    // error(), when not), without opening it (only a handle on its folder): a FIFO
    // nobody reads yet does not hold the run up here.
    bool check(const std::string& path, const std::vector<Input>& inputs = {});
    // check(), then opens it (a FIFO waits for its reader here).
    bool open(const std::string& path, const std::vector<Input>& inputs = {});
    // Appends `size` bytes.
    bool write(const void* data, std::size_t size);
    // Writes out what is buffered and puts the file in place.
    bool commit();
    // Removes the temporary file, if any; what was at the path stays as it was.
    void discard();

    // Whether the output is standard output (by any name): a tool's summary then
    // goes to standard error.
    bool isStandardOutput() const noexcept { return standardOutput_; }
    // What went wrong, as one line naming the path.
    const std::string& error() const noexcept { return error_; }

private:
    bool inspect(const std::string& path, const std::vector<Input>& inputs);
    bool fail(const std::string& text);
    bool failWithErrno(const std::string& what);
    bool cannotWrite(); // "cannot write PATH: REASON" of errno
    bool openTemporary(mode_t mode);
    bool nameTemporary();
    bool flushBuffer();
    bool putInPlace();

    std::string path_;    // as given, for messages
    bool exists_ = false; // the path names a file already (where a link leads)
    struct stat existing_
    {
    }; // that file, as inspect() found it
    bool standardOutput_ = false;
    bool stream_ = false;   // a character device or a FIFO, written straight through
    int folder_ = -1;       // a regular file's folder, which names below are relative to
    std::string name_;      // the file's name in it
    bool unnamed_ = false;  // the temporary has no name (until it is put in place)
    mode_t mode_ = 0666;    // the temporary's permissions until it has those it keeps
    std::string temporary_; // the temporary's name, while it has one
    int fd_ = -1;
    std::vector<char> buffer_;
    std::string error_;
};

} // namespace tambrix::io
