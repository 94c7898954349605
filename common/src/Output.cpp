#include "tambrix/io/Output.h"

#include "tambrix/text/Words.h"

#include <fcntl.h>
#include <pthread.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <random>

namespace tambrix::io
{
namespace
{

constexpr std::size_t kBufferBytes = std::size_t{1} << 16;

// The temporary file a signal must not leave behind: a process writes one output
// at a time, and the handler reads only these.
int signalFolder = -1;
char signalTemporary[NAME_MAX + 1];
volatile std::sig_atomic_t signalTemporaryLive = 0;

constexpr int kCleanedSignals[] = {SIGINT, SIGTERM, SIGHUP};
struct sigaction previousActions[std::size(kCleanedSignals)];

extern "C" void removeTemporaryAndEnd(int signal)
{
    if (signalTemporaryLive != 0)
        ::unlinkat(signalFolder, signalTemporary, 0);
    // End as the signal would have ended the process without us.
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

void watchTemporary(int folder, const std::string& name)
{
    signalFolder = folder;
    std::memcpy(signalTemporary, name.c_str(), name.size() + 1);
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
}

void unwatchTemporary()
{
    for (std::size_t i = 0; i < std::size(kCleanedSignals); ++i)
        sigaction(kCleanedSignals[i], &previousActions[i], nullptr);
    signalTemporaryLive = 0;
}

// Holds SIGINT, SIGTERM and SIGHUP back while it lives.
class HeldSignals
{
public:
    HeldSignals()
    {
        sigset_t held;
        sigemptyset(&held);
        for (const int signal : kCleanedSignals)
            sigaddset(&held, signal);
        pthread_sigmask(SIG_BLOCK, &held, &before_);
    }
    ~HeldSignals() { pthread_sigmask(SIG_SETMASK, &before_, nullptr); }

private:
    sigset_t before_;
};

std::string quoted(const std::string& path)
{
    return path == "-" ? "standard output" : "'" + text::printablePath(path) + "'";
}

bool writeAll(int fd, const char* data, std::size_t size)
{
    while (size > 0)
    {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
        {
            errno = n == 0 ? EIO : errno;
            return false;
        }
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
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
    return fail(what + ": " + std::strerror(errno));
}

bool OutputFile::open(const std::string& path, const std::vector<Input>& inputs)
{
    discard();
    error_.clear();
    path_ = path;
    standardOutput_ = path == "-";
    if (standardOutput_)
    {
        fd_ = STDOUT_FILENO;
        return true;
    }
    if (path.empty())
        return fail("an output needs a file name");
    if (path.back() == '/')
        return fail(quoted(path) + " names a folder, not a file");

    // What the path names: itself, or the file a symbolic link there leads to, which
    // the system finds as an open() would (with its protections against planted links).
    struct Probe
    {
        int fd = -1;
        ~Probe()
        {
            if (fd >= 0)
                ::close(fd);
        }
    } probe;
    std::string target = path;
    struct stat existing = {};
    const bool exists = ::lstat(path.c_str(), &existing) == 0;
    if (!exists && errno != ENOENT)
        return failWithErrno("cannot write " + quoted(path));
    if (exists)
    {
        const bool link = S_ISLNK(existing.st_mode);
        probe.fd = ::open(path.c_str(), O_PATH | O_CLOEXEC | (link ? 0 : O_NOFOLLOW));
        if (probe.fd < 0 || ::fstat(probe.fd, &existing) != 0)
            return link && errno == ENOENT ? fail(quoted(path) + " is a symbolic link to nothing")
                                           : failWithErrno("cannot write " + quoted(path));
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
        const std::string named = "/proc/self/fd/" + std::to_string(probe.fd);
        if (::faccessat(AT_FDCWD, named.c_str(), W_OK, AT_EACCESS) != 0)
            return failWithErrno("cannot write " + quoted(path));
        if (!S_ISREG(
                existing.st_mode)) // a character device or a FIFO (a pipe too): that one, straight through
        {
            fd_ = ::open(named.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
            return fd_ >= 0 || failWithErrno("cannot write " + quoted(path));
        }
        char resolved[PATH_MAX];
        const ssize_t length = link ? ::readlink(named.c_str(), resolved, sizeof resolved) : 0;
        if (length < 0)
            return failWithErrno("cannot follow " + quoted(path));
        if (link && (static_cast<std::size_t>(length) >= sizeof resolved || resolved[0] != '/'))
            return fail("cannot follow " + quoted(path) + ": it leads to no file a path names");
        if (link)
            target.assign(resolved, static_cast<std::size_t>(length));
    }
    if (!openTemporary(target))
        return false;
    // The new file keeps what the one it replaces had: its permissions and, for root, its owner.
    if (exists && (::fchmod(fd_, existing.st_mode & 0777) != 0 ||
                   (::geteuid() == 0 && ::fchown(fd_, existing.st_uid, existing.st_gid) != 0)))
        return failWithErrno("cannot give " + quoted(path) + " the permissions it had");
    return true;
}

bool OutputFile::openTemporary(const std::string& target)
{
    const std::size_t slash = target.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : slash == 0 ? "/" : target.substr(0, slash);
    name_ = slash == std::string::npos ? target : target.substr(slash + 1);
    folder_ = ::open(folder.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    if (folder_ < 0)
        return errno == ENOENT ? fail("cannot write " + quoted(path_) + ": its folder does not exist")
                               : failWithErrno("cannot write " + quoted(path_));
    if (signalTemporaryLive != 0)
        return fail("cannot write " + quoted(path_) + ": another output is being written");

    static std::mt19937_64 engine{std::random_device{}()};
    const char* const letters = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    const HeldSignals held; // the temporary is watched from the moment it exists
    for (int attempt = 0; attempt < 100 && fd_ < 0; ++attempt)
    {
        std::string name = "." + name_.substr(0, 64) + ".";
        for (int i = 0; i < 8; ++i)
            name += letters[engine() % 62];
        fd_ = ::openat(folder_, name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd_ >= 0)
        {
            temporary_ = name;
            watchTemporary(folder_, temporary_);
        }
        else if (errno != EEXIST)
            break;
    }
    return fd_ >= 0 || failWithErrno("cannot write " + quoted(path_));
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
        const HeldSignals held;
        if (::fstatat(folder_, name_.c_str(), &now, AT_SYMLINK_NOFOLLOW) == 0)
        {
            if (!S_ISREG(now.st_mode))
                return fail(quoted(path_) + " is no longer a regular file; it was left alone");
            if (::faccessat(folder_, name_.c_str(), W_OK, AT_EACCESS | AT_SYMLINK_NOFOLLOW) != 0)
                return failWithErrno("cannot write " + quoted(path_));
            moved = ::renameat(folder_, temporary_.c_str(), folder_, name_.c_str());
        }
        else if (errno == ENOENT)
        {
            moved = ::renameat2(folder_, temporary_.c_str(), folder_, name_.c_str(), RENAME_NOREPLACE);
            if (moved != 0 && (errno == EINVAL || errno == ENOSYS)) // a file system without it
                moved = ::linkat(folder_, temporary_.c_str(), folder_, name_.c_str(), 0) == 0
                            ? (::unlinkat(folder_, temporary_.c_str(), 0), 0) // in place either way
                            : -1;
            if (moved != 0 && errno == EEXIST)
                continue;
        }
        if (moved != 0)
            return failWithErrno("cannot put " + quoted(path_) + " in place");
        unwatchTemporary(); // signals are held: the name is no longer ours
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
    {
        const HeldSignals held; // the handler never removes a name that is no longer ours
        ::unlinkat(folder_, temporary_.c_str(), 0);
        unwatchTemporary();
        temporary_.clear();
    }
    if (folder_ >= 0)
        ::close(folder_);
    folder_ = -1;
    buffer_.clear();
}

int runTool(const std::string& tool, int argc, char** argv, int (*run)(int argc, char** argv))
{
    for (int fd = STDIN_FILENO; fd <= STDERR_FILENO; ++fd)
        if (::fcntl(fd, F_GETFD) < 0 && ::open("/dev/null", O_RDONLY) != fd) // writes to it still fail
            return exitFailure;
    // A closed pipe and a file-size limit fail the write (EPIPE, EFBIG), which is
    // reported, instead of ending the tool without a word.
    std::signal(SIGPIPE, SIG_IGN);
    std::signal(SIGXFSZ, SIG_IGN);
    const int status = run(argc, argv);
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
