#include "tambrix/io/Output.h"

#include "tambrix/text/Words.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>

namespace tambrix::io
{
namespace
{

constexpr std::size_t kBufferBytes = std::size_t{1} << 16;

// The temporary file a signal must not leave behind. A process writes one output
// at a time; the handler reads only these two.
char signalTemporary[PATH_MAX];
volatile std::sig_atomic_t signalTemporaryLive = 0;

constexpr int kCleanedSignals[] = {SIGINT, SIGTERM, SIGHUP};
struct sigaction previousActions[std::size(kCleanedSignals)];

extern "C" void removeTemporaryAndEnd(int signal)
{
    if (signalTemporaryLive != 0)
        ::unlink(signalTemporary);
    // End as the signal would have ended the process without us.
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

bool watchTemporary(const std::string& path)
{
    if (signalTemporaryLive != 0 || path.size() >= sizeof signalTemporary)
        return false;
    std::memcpy(signalTemporary, path.c_str(), path.size() + 1);
    signalTemporaryLive = 1;
    for (std::size_t i = 0; i < std::size(kCleanedSignals); ++i)
    {
        struct sigaction action = {};
        action.sa_handler = removeTemporaryAndEnd;
        sigemptyset(&action.sa_mask);
        sigaction(kCleanedSignals[i], nullptr, &previousActions[i]);
        if (previousActions[i].sa_handler != SIG_IGN) // nohup and the like stay in force
            sigaction(kCleanedSignals[i], &action, nullptr);
    }
    return true;
}

void unwatchTemporary()
{
    for (std::size_t i = 0; i < std::size(kCleanedSignals); ++i)
        sigaction(kCleanedSignals[i], &previousActions[i], nullptr);
    signalTemporaryLive = 0;
}

std::string quoted(const std::string& path)
{
    return "'" + text::printablePath(path) + "'";
}

bool writeAll(int fd, const char* data, std::size_t size)
{
    while (size > 0)
    {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

mode_t newFileMode()
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

} // namespace

OutputFile::~OutputFile()
{
    discard();
}

bool OutputFile::fail(const std::string& text)
{
    error_ = text;
    discard();
    return false;
}

bool OutputFile::failWithErrno(const std::string& what)
{
    const int code = errno;
    return fail(what + ": " + (code == ENOENT ? "its folder does not exist" : std::strerror(code)));
}

bool OutputFile::open(const std::string& path, const std::vector<Input>& inputs)
{
    discard();
    error_.clear();
    path_ = path;
    if (path == "-")
    {
        standardOutput_ = true;
        fd_ = STDOUT_FILENO;
        return true;
    }
    standardOutput_ = false;
    if (path.empty())
        return fail("an output needs a file name");
    if (path.back() == '/')
        return fail(quoted(path) + " names a folder, not a file");

    target_ = path;
    struct stat existing = {};
    bool exists = ::lstat(path.c_str(), &existing) == 0;
    if (!exists && errno != ENOENT)
        return failWithErrno("cannot write " + quoted(path));
    if (exists && S_ISLNK(existing.st_mode))
    {
        char* named = ::realpath(path.c_str(), nullptr);
        if (named == nullptr)
            return errno == ENOENT ? fail(quoted(path) + " is a symbolic link to nothing")
                                   : failWithErrno("cannot follow " + quoted(path));
        target_ = named;
        std::free(named);
        if (::stat(target_.c_str(), &existing) != 0)
            return failWithErrno("cannot write " + quoted(path));
    }
    if (exists)
    {
        if (S_ISDIR(existing.st_mode))
            return fail(quoted(path) + " is a directory");
        if (S_ISSOCK(existing.st_mode) || S_ISBLK(existing.st_mode))
            return fail(quoted(path) + (S_ISSOCK(existing.st_mode) ? " is a socket" : " is a block device"));
        for (const Input& input : inputs)
        {
            struct stat read = {};
            if (!S_ISCHR(existing.st_mode) && ::stat(input.path.c_str(), &read) == 0 &&
                read.st_dev == existing.st_dev && read.st_ino == existing.st_ino)
                return fail(quoted(path) + " is " + input.what + ": writing it would destroy it");
        }
    }

    if (exists && !S_ISREG(existing.st_mode)) // a character device or a FIFO: straight through
    {
        fd_ = ::open(target_.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
        if (fd_ < 0)
            return failWithErrno("cannot write " + quoted(path));
        struct stat opened = {};
        if (::fstat(fd_, &opened) != 0 || opened.st_dev != existing.st_dev ||
            opened.st_ino != existing.st_ino)
            return fail(quoted(path) + " changed while it was opened");
        return true;
    }

    // A new or replaced regular file: a temporary file beside it first.
    const std::size_t slash = target_.rfind('/');
    const std::string folder = slash == std::string::npos ? "" : target_.substr(0, slash + 1);
    const std::string name = slash == std::string::npos ? target_ : target_.substr(slash + 1);
    temporary_ = folder + "." + name.substr(0, 64) + ".XXXXXX";
    fd_ = ::mkostemp(temporary_.data(), O_CLOEXEC);
    if (fd_ < 0)
    {
        temporary_.clear();
        return failWithErrno("cannot write " + quoted(path));
    }
    watched_ = watchTemporary(temporary_);
    if (!watched_)
        return fail("cannot write " + quoted(path) + ": another output is being written");
    // The new file keeps what the one it replaces had: its permissions and, for root, its owner.
    ::fchmod(fd_, exists ? existing.st_mode & 0777 : newFileMode());
    if (exists && ::geteuid() == 0 && ::fchown(fd_, existing.st_uid, existing.st_gid) != 0)
        return failWithErrno("cannot give " + quoted(path) + " its owner");
    return true;
}

bool OutputFile::flushBuffer()
{
    const bool written = writeAll(fd_, buffer_.data(), buffer_.size());
    buffer_.clear();
    return written || failWithErrno("cannot write " + quoted(path_));
}

bool OutputFile::write(const void* data, std::size_t size)
{
    if (fd_ < 0)
        return fail("no output is open");
    const char* bytes = static_cast<const char*>(data);
    if (buffer_.size() + size > kBufferBytes && !flushBuffer())
        return false;
    if (size >= kBufferBytes)
        return writeAll(fd_, bytes, size) || failWithErrno("cannot write " + quoted(path_));
    buffer_.insert(buffer_.end(), bytes, bytes + size);
    return true;
}

bool OutputFile::commit()
{
    if (fd_ < 0)
        return fail("no output is open");
    if (!flushBuffer())
        return false;
    if (standardOutput_)
    {
        fd_ = -1; // closed with the rest of standard output
        return true;
    }
    const bool synced = temporary_.empty() || ::fsync(fd_) == 0;
    const int closed = ::close(fd_);
    fd_ = -1;
    if (!synced || closed != 0)
        return failWithErrno("cannot write " + quoted(path_));
    return temporary_.empty() || putInPlace();
}

bool OutputFile::putInPlace()
{
    // What is at the target now decides: nothing (the new file must not replace
    // whatever appears there meanwhile) or a regular file (replaced as a whole).
    for (int attempt = 0; attempt < 8; ++attempt)
    {
        struct stat now = {};
        int moved = -1;
        if (::lstat(target_.c_str(), &now) == 0)
        {
            if (!S_ISREG(now.st_mode))
                return fail(quoted(path_) + " is no longer a regular file; it was left alone");
            moved = ::rename(temporary_.c_str(), target_.c_str());
        }
        else if (errno == ENOENT)
        {
            moved = ::renameat2(AT_FDCWD, temporary_.c_str(), AT_FDCWD, target_.c_str(), RENAME_NOREPLACE);
            if (moved != 0 && (errno == EINVAL || errno == ENOSYS)) // a file system without it
                moved = ::link(temporary_.c_str(), target_.c_str()) == 0 ? ::unlink(temporary_.c_str()) : -1;
            if (moved != 0 && errno == EEXIST)
                continue;
        }
        if (moved != 0)
            return failWithErrno("cannot put " + quoted(path_) + " in place");
        temporary_.clear();
        discard();
        return true;
    }
    return fail(quoted(path_) + " keeps changing while it is put in place");
}

void OutputFile::discard()
{
    if (fd_ >= 0 && !standardOutput_)
        ::close(fd_);
    fd_ = -1;
    if (!temporary_.empty())
        ::unlink(temporary_.c_str());
    temporary_.clear();
    if (watched_)
        unwatchTemporary();
    watched_ = false;
    buffer_.clear();
}

int finishStandardOutput(const std::string& tool, int status)
{
    errno = 0;
    bool written = static_cast<bool>(std::cout.flush());
    written = std::fflush(stdout) == 0 && written;
    int reason = errno;
    written = !std::ferror(stdout) && written;
    if (std::fclose(stdout) != 0)
    {
        written = false;
        reason = reason != 0 ? reason : errno;
    }
    if (written)
        return status;
    std::cerr << tool << ": cannot write standard output"
              << (reason != 0 ? std::string(": ") + std::strerror(reason) : std::string()) << "\n";
    return status == exitSuccess ? exitFailure : status;
}

} // namespace tambrix::io
