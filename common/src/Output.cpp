#include "tambrix/io/Output.h"

#include "tambrix/text/Words.h"

#include <fcntl.h>
#include <pthread.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <csignal>
#include <cstring>
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

// Every signal whose default ends the process and that can be caught, but the two
// the tools ignore (SIGPIPE and SIGXFSZ: a closed pipe and a file-size limit are
// write errors); the real-time signals are added where they are known.
constexpr int kEndingSignals[] = {SIGHUP,  SIGINT,    SIGQUIT, SIGILL,  SIGTRAP, SIGABRT, SIGBUS,
                                  SIGFPE,  SIGUSR1,   SIGSEGV, SIGUSR2, SIGALRM, SIGTERM, SIGSTKFLT,
                                  SIGXCPU, SIGVTALRM, SIGPROF, SIGIO,   SIGPWR,  SIGSYS};
constexpr int kMaxSignal = 65;
struct sigaction previousActions[kMaxSignal];
bool watched[kMaxSignal];

sigset_t endingSignals()
{
    sigset_t set;
    sigemptyset(&set);
    for (const int signal : kEndingSignals)
        sigaddset(&set, signal);
    for (int signal = SIGRTMIN; signal <= SIGRTMAX && signal < kMaxSignal; ++signal)
        sigaddset(&set, signal);
    return set;
}

// Whether the signal is a fault the processor raises again as the faulting
// instruction runs again (a trap, a system call refused, an asynchronous
// machine-check error are not).
bool faultsAgain(int signal, const siginfo_t* info)
{
    if (info == nullptr || info->si_code <= 0) // sent by a process
        return false;
    return signal == SIGSEGV || signal == SIGILL || signal == SIGFPE ||
           (signal == SIGBUS && info->si_code != BUS_MCEERR_AO);
}

extern "C" void removeTemporaryAndEnd(int signal, siginfo_t* info, void*)
{
    const int savedErrno = errno;
    removeTemporaryNow();
    // The signal ends the process as it would have without us: a fault comes
    // again as the faulting instruction runs again; any other signal is raised
    // again, to be delivered as this handler returns.
    if (signal > 0 && signal < kMaxSignal)
        sigaction(signal, &previousActions[signal], nullptr);
    if (!faultsAgain(signal, info))
        ::raise(signal);
    errno = savedErrno;
}

void watchTemporary(int folder, const std::string& name)
{
    signalFolder = folder;
    std::memcpy(signalTemporary, name.c_str(), name.size() + 1);
    signalTemporaryLive = 1;
    const sigset_t set = endingSignals();
    for (int signal = 1; signal < kMaxSignal; ++signal)
    {
        if (sigismember(&set, signal) != 1 || sigaction(signal, nullptr, &previousActions[signal]) != 0)
            continue;
        // Only a signal that ends the process as things stand: what is ignored (nohup
        // and the like) stays ignored, and a handler of someone else's stays theirs.
        watched[signal] = (previousActions[signal].sa_flags & SA_SIGINFO) == 0 &&
                          previousActions[signal].sa_handler == SIG_DFL;
        if (!watched[signal])
            continue;
        struct sigaction action = {};
        action.sa_sigaction = removeTemporaryAndEnd;
        action.sa_flags = SA_SIGINFO;
        sigemptyset(&action.sa_mask);
        sigaction(signal, &action, nullptr);
    }
}

void unwatchTemporary()
{
    for (int signal = 1; signal < kMaxSignal; ++signal)
        if (watched[signal])
        {
            sigaction(signal, &previousActions[signal], nullptr);
            watched[signal] = false;
        }
    signalTemporaryLive = 0;
}

// Holds the ending signals back while it lives.
class HeldSignals
{
public:
    HeldSignals()
    {
        const sigset_t held = endingSignals();
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

std::string procPath(int fd)
{
    return "/proc/self/fd/" + std::to_string(fd);
}

} // namespace

void removeTemporaryNow() noexcept
{
    if (signalTemporaryLive != 0)
        ::unlinkat(signalFolder, signalTemporary, 0);
    signalTemporaryLive = 0;
}

// What a path names, as inspect() finds it.
struct OutputFile::Target
{
    bool standardOutput = false;
    int stream = -1;  // a character device or FIFO, written straight through: an O_PATH handle on it
    std::string file; // otherwise the regular file to write (where a link leads)
    bool exists = false;
    struct stat existing = {};

    Target() = default;
    Target(const Target&) = delete;
    Target& operator=(const Target&) = delete;
    ~Target()
    {
        if (stream >= 0)
            ::close(stream);
    }
};

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

bool OutputFile::inspect(const std::string& path, const std::vector<Input>& inputs, Target& target)
{
    discard();
    error_.clear();
    path_ = path;
    const auto asStandardOutput = [&]
    {
        target.standardOutput = true;
        const std::string refusal = standardOutputRefusal(inputs);
        return refusal.empty() || fail(refusal);
    };
    if (path == "-")
        return asStandardOutput();
    if (path.empty())
        return fail("an output needs a file name");
    if (path.back() == '/')
        return fail(quoted(path) + " names a folder, not a file");

    // What the path names: itself, or the file a symbolic link there leads to, which
    // the system finds as an open() would (with its protections against planted links).
    target.file = path;
    struct stat& existing = target.existing;
    target.exists = ::lstat(path.c_str(), &existing) == 0;
    if (!target.exists)
        return errno == ENOENT || failWithErrno("cannot write " + quoted(path));

    const bool link = S_ISLNK(existing.st_mode);
    const int probe = ::open(path.c_str(), O_PATH | O_CLOEXEC | (link ? 0 : O_NOFOLLOW));
    if (probe < 0)
        return link && errno == ENOENT ? fail(quoted(path) + " is a symbolic link to nothing")
                                       : failWithErrno("cannot write " + quoted(path));
    target.stream = probe; // closed with the target
    if (::fstat(probe, &existing) != 0)
        return failWithErrno("cannot write " + quoted(path));
    const FileId id{existing.st_dev, existing.st_ino};
    // Another name for standard output (/dev/stdout, /proc/self/fd/1, the file the
    // shell opened, whatever it is): that stream, as it is open.
    if (fileIdOf(STDOUT_FILENO) == id)
        return asStandardOutput();
    if (standardInputWasClosed() && fileIdOf(STDIN_FILENO) == id)
        return fail(quoted(path) + " is standard input, which was closed");
    if (S_ISDIR(existing.st_mode))
        return fail(quoted(path) + " is a directory");
    if (S_ISSOCK(existing.st_mode) || S_ISBLK(existing.st_mode))
        return fail(quoted(path) + (S_ISSOCK(existing.st_mode) ? " is a socket" : " is a block device"));
    for (const Input& input : inputs)
        if (input.id() == id)
            return fail(quoted(path) + " is " + input.named() + ": writing it would destroy it");
    if (::faccessat(AT_FDCWD, procPath(probe).c_str(), W_OK, AT_EACCESS) != 0)
        return failWithErrno("cannot write " + quoted(path));
    if (!S_ISREG(existing.st_mode)) // a character device or a FIFO (a pipe too): that one, straight through
        return true;
    target.stream = -1;
    char resolved[PATH_MAX];
    const ssize_t length = link ? ::readlink(procPath(probe).c_str(), resolved, sizeof resolved) : 0;
    const int reason = errno;
    ::close(probe);
    errno = reason;
    if (length < 0)
        return failWithErrno("cannot follow " + quoted(path));
    if (link && (static_cast<std::size_t>(length) >= sizeof resolved || resolved[0] != '/'))
        return fail("cannot follow " + quoted(path) + ": it leads to no file a path names");
    if (link)
        target.file.assign(resolved, static_cast<std::size_t>(length));
    return true;
}

bool OutputFile::check(const std::string& path, const std::vector<Input>& inputs)
{
    Target target;
    return inspect(path, inputs, target);
}

bool OutputFile::open(const std::string& path, const std::vector<Input>& inputs)
{
    Target target;
    if (!inspect(path, inputs, target))
        return false;
    if (target.standardOutput)
    {
        standardOutput_ = true;
        fd_ = STDOUT_FILENO;
        return true;
    }
    if (target.stream >= 0)
    {
        fd_ = ::open(procPath(target.stream).c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
        return fd_ >= 0 || failWithErrno("cannot write " + quoted(path));
    }
    // A file that replaces one is only its caller's until it has the permissions of
    // the one it replaces.
    if (!openTemporary(target.file, target.exists ? 0600 : 0666))
        return false;
    // The new file keeps what the one it replaces had: its permissions (but for
    // set-user-ID and set-group-ID) and, for root, its owner.
    if (target.exists &&
        (::fchmod(fd_, target.existing.st_mode & 01777) != 0 ||
         (::geteuid() == 0 && ::fchown(fd_, target.existing.st_uid, target.existing.st_gid) != 0)))
        return failWithErrno("cannot give " + quoted(path) + " the permissions it had");
    return true;
}

bool OutputFile::openTemporary(const std::string& target, mode_t mode)
{
    const std::size_t slash = target.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : slash == 0 ? "/" : target.substr(0, slash);
    name_ = slash == std::string::npos ? target : target.substr(slash + 1);
    folder_ = ::open(folder.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    if (folder_ < 0)
        return errno == ENOENT ? fail("cannot write " + quoted(path_) + ": its folder does not exist")
                               : failWithErrno("cannot write " + quoted(path_));
    // A file without a name, given one only once it is complete: nothing to leave
    // behind, however the run ends. (Only root may link it by its descriptor alone;
    // anyone else does through /proc.)
    mode_ = mode;
    fd_ = ::openat(folder_, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, mode);
    if (fd_ >= 0 && ::geteuid() != 0 && ::access(procPath(fd_).c_str(), F_OK) != 0)
    {
        ::close(fd_);
        fd_ = -1;
    }
    unnamed_ = fd_ >= 0;
    return unnamed_ || nameTemporary() || failWithErrno("cannot write " + quoted(path_));
}

// Gives the unnamed temporary the name `name` in the target's folder; never
// replaces anything there.
bool OutputFile::linkUnnamed(const char* name)
{
    return ::linkat(fd_, "", folder_, name, AT_EMPTY_PATH) == 0 ||
           ::linkat(AT_FDCWD, procPath(fd_).c_str(), folder_, name, AT_SYMLINK_FOLLOW) == 0;
}

// Gives the temporary a unique name in the target's folder: creates it, or links
// the unnamed one there. Signals are held meanwhile: the temporary is watched from
// the moment its name exists.
bool OutputFile::nameTemporary()
{
    if (signalTemporaryLive != 0)
    {
        errno = EBUSY; // another output of this process is being written
        return false;
    }
    static std::mt19937_64 engine{std::random_device{}()};
    const char* const letters = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    const HeldSignals held;
    for (int attempt = 0; attempt < 100; ++attempt)
    {
        std::string name = "." + name_.substr(0, 64) + ".";
        for (int i = 0; i < 8; ++i)
            name += letters[engine() % 62];
        bool made = false;
        if (unnamed_)
            made = linkUnnamed(name.c_str());
        else if ((fd_ = ::openat(folder_, name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                                 mode_)) >= 0)
            made = true;
        if (made)
        {
            temporary_ = name;
            watchTemporary(folder_, temporary_);
            return true;
        }
        if (errno != EEXIST)
            return false;
    }
    return false;
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
    if (!unnamed_ && temporary_.empty()) // a device or a FIFO
    {
        const int closed = ::close(fd_);
        fd_ = -1;
        return closed == 0 || failWithErrno("cannot write " + quoted(path_));
    }
    if (::fsync(fd_) != 0)
        return failWithErrno("cannot write " + quoted(path_));
    // A named temporary is closed, and its errors heard, before it replaces anything;
    // an unnamed one needs its descriptor to be given a name (and, synced, has
    // nothing left for a close to lose).
    if (!unnamed_)
    {
        const int closed = ::close(fd_);
        fd_ = -1;
        if (closed != 0)
            return failWithErrno("cannot write " + quoted(path_));
    }
    if (!putInPlace())
        return false;
    discard();
    return true;
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
            // A rename replaces a file as a whole; it needs a name to move.
            if (temporary_.empty() && !nameTemporary())
                return failWithErrno("cannot put " + quoted(path_) + " in place");
            moved = ::renameat(folder_, temporary_.c_str(), folder_, name_.c_str());
        }
        else if (errno == ENOENT && temporary_.empty())
        {
            // A link never replaces what appears meanwhile.
            moved = linkUnnamed(name_.c_str()) ? 0 : -1;
            if (moved != 0 && errno == EEXIST)
                continue;
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
        if (!temporary_.empty())
            unwatchTemporary(); // signals are held: the name is no longer ours
        temporary_.clear();
        unnamed_ = false;
        return true;
    }
    return fail(quoted(path_) + " keeps changing while it is put in place");
}

void OutputFile::discard()
{
    if (fd_ >= 0 && !standardOutput_)
        ::close(fd_);
    fd_ = -1;
    standardOutput_ = false;
    unnamed_ = false; // an unnamed file is gone with its last descriptor
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

} // namespace tambrix::io
