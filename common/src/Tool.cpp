#include "tambrix/io/Tool.h"

#include "Internal.h"
#include "tambrix/text/Words.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <exception>
#include <iostream>
#include <new>
#include <streambuf>

namespace tambrix::io
{
namespace
{

std::string nameOfTool;

bool inputWasClosed = false;

// "NAME: out of memory", made before memory runs out.
char outOfMemoryLine[256];
std::size_t outOfMemoryLength = 0;
std::terminate_handler previousTerminate = nullptr;
std::atomic<bool> ranOut{false};

// The new-handler: notes that memory ran out (in the plug-in too, which shares the
// process's operator new), then fails the allocation as it would fail without one.
void noteOutOfMemory()
{
    ranOut = true;
    throw std::bad_alloc();
}

// Running out of memory where an exception cannot pass (a callback that must not
// throw into the plug-in, a thread of the framework's) ends the run as running
// out of memory anywhere else does, but without unwinding: one line, exitFailure,
// no temporary file left. The exception may be gone by then (a noexcept frame ends
// the process as it is thrown), so the new-handler's note counts too.
[[noreturn]] void endOnUncaughtException()
{
    bool outOfMemory = ranOut;
    try
    {
        if (std::current_exception() != nullptr)
            throw;
    }
    catch (const std::bad_alloc&)
    {
        outOfMemory = true;
    }
    catch (...)
    {
    }
    if (outOfMemory)
    {
        removeTemporaryNow();
        [[maybe_unused]] const ssize_t told = ::write(STDERR_FILENO, outOfMemoryLine, outOfMemoryLength);
        ::_exit(exitFailure);
    }
    if (previousTerminate != nullptr)
        previousTerminate();
    std::abort();
}

// Standard output as the tools write it: through a buffer of its own straight to
// the descriptor, so that the first failed write keeps its reason.
class StandardOutput : public std::streambuf
{
public:
    StandardOutput() { setp(data_, data_ + sizeof data_); }
    // The errno of the first write that failed, or 0.
    int failure() const noexcept { return failure_; }

protected:
    int_type overflow(int_type c) override
    {
        if (sync() != 0)
            return traits_type::eof();
        if (!traits_type::eq_int_type(c, traits_type::eof()))
            sputc(traits_type::to_char_type(c));
        return traits_type::not_eof(c);
    }

    int sync() override
    {
        if (failure_ == 0 && !writeAll(STDOUT_FILENO, pbase(), static_cast<std::size_t>(pptr() - pbase())))
            failure_ = errno;
        setp(data_, data_ + sizeof data_);
        return failure_ == 0 ? 0 : -1;
    }

private:
    char data_[1 << 16];
    int failure_ = 0;
};

} // namespace

const std::string& toolName()
{
    return nameOfTool;
}

void setToolName(std::string name)
{
    const std::string line = name.substr(0, sizeof outOfMemoryLine - 32) + ": out of memory\n";
    std::memcpy(outOfMemoryLine, line.data(), line.size());
    outOfMemoryLength = line.size();
    nameOfTool = std::move(name);
}

void endIfMemoryRanOut()
{
    if (ranOut)
        throw std::bad_alloc();
}

void requireRoomForTheEditor()
{
    constexpr std::size_t room = std::size_t{16} << 20;
    void* probe = ::mmap(nullptr, room, PROT_NONE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
    if (probe == MAP_FAILED)
        throw std::bad_alloc();
    ::munmap(probe, room);
}

bool standardInputWasClosed()
{
    return inputWasClosed;
}

bool isHelp(const std::string& arg)
{
    return arg == "-h" || arg == "--help";
}

int usageError(std::ostream& err, const std::string& name, const std::string& reason)
{
    err << name << ": " << reason << "\ntry '" << name << " --help'\n";
    return exitUsage;
}

int runTool(const std::string& tool, int argc, char** argv, int (*run)(int argc, char** argv))
{
    setToolName(tool);
    bool outputClosed = false;
    for (int fd = STDIN_FILENO; fd <= STDERR_FILENO; ++fd)
    {
        if (::fcntl(fd, F_GETFD) >= 0)
            continue;
        inputWasClosed = inputWasClosed || fd == STDIN_FILENO;
        outputClosed = outputClosed || fd == STDOUT_FILENO;
        // Held on the root folder, read-only: every read and write fails, and no file
        // the tool opens takes the stream's place.
        if (::open("/", O_RDONLY | O_DIRECTORY) != fd)
            return exitUsage;
    }
    if (outputClosed || (::fcntl(STDOUT_FILENO, F_GETFL) & O_ACCMODE) == O_RDONLY)
    {
        std::cerr << tool << ": standard output is " << (outputClosed ? "closed" : "not open for writing")
                  << "\n";
        return exitUsage;
    }
    // A closed pipe and a file-size limit fail the write (EPIPE, EFBIG), which is
    // reported, instead of ending the tool without a word.
    std::signal(SIGPIPE, SIG_IGN);
    std::signal(SIGXFSZ, SIG_IGN);
    // The framework asks gsettings for the desktop's theme as it starts: from memory,
    // so that the child writes no settings file where the environment points it.
    ::setenv("GSETTINGS_BACKEND", "memory", 1);
    previousTerminate = std::set_terminate(endOnUncaughtException);
    std::set_new_handler(noteOutOfMemory);
    StandardOutput output;
    std::streambuf* const before = std::cout.rdbuf(&output);
    int status = exitFailure;
    try
    {
        status = run(argc, argv);
        endIfMemoryRanOut();
    }
    catch (const std::bad_alloc&)
    {
        status = exitFailure;
        std::cerr.write(outOfMemoryLine, static_cast<std::streamsize>(outOfMemoryLength));
    }
    catch (const std::exception& e)
    {
        std::cerr << toolName() << ": " << text::printable(e.what(), 256) << "\n";
    }
    std::cout.flush();
    std::cout.rdbuf(before);
    int reason = output.failure();
    errno = 0;
    if (reason == 0 && (std::fflush(stdout) != 0 || std::ferror(stdout)))
        reason = errno != 0 ? errno : EIO;
    if (::close(STDOUT_FILENO) != 0 && reason == 0)
        reason = errno;
    if (reason != 0)
        std::cerr << toolName() << ": cannot write standard output: " << std::strerror(reason) << "\n";
    // What a tool says on standard error (a render's summary, when the data went to
    // standard output) is part of its result too, though nothing can tell why it was lost.
    const bool told = std::fflush(stderr) == 0 && !std::ferror(stderr) && static_cast<bool>(std::cerr);
    return status == exitSuccess && (reason != 0 || !told) ? exitFailure : status;
}

} // namespace tambrix::io
