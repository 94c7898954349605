#include "tambrix/io/Output.h"

#include "Internal.h"
#include "tambrix/text/Words.h"

#include <fcntl.h>
#include <pthread.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <random>
#include <utility>

namespace tambrix::io
{
namespace
{

constexpr std::size_t kBufferBytes = std::size_t{1} << 16;

// The named temporary file a signal must not leave behind: a process writes one
// output at a time, and the handler reads only these.
int signalFolder = -1;
char signalTemporary[NAME_MAX + 1];
volatile std::sig_atomic_t signalTemporaryLive = 0;

constexpr int kMaxSignal = NSIG;
struct sigaction previousActions[kMaxSignal];
bool watched[kMaxSignal];

// Every signal whose default ends the process and that can be caught, but the two
// the tools ignore (SIGPIPE and SIGXFSZ: a closed pipe and a file-size limit are
// write errors).
sigset_t endingSignals()
{
    sigset_t set;
    sigfillset(&set);
    for (const int other :
         {SIGCHLD, SIGCONT, SIGSTOP, SIGTSTP, SIGTTIN, SIGTTOU, SIGURG, SIGWINCH, SIGKILL, SIGPIPE, SIGXFSZ})
        sigdelset(&set, other);
    return set;
}

// Removes the temporary, then lets the signal end the process as it would have
// without us: raised again with its own action back, it is delivered as the
// handler returns (a fault too, before the faulting instruction runs again).
extern "C" void removeTemporaryAndEnd(int signal)
{
    const int savedErrno = errno;
    removeTemporaryNow();
    if (signal > 0 && signal < kMaxSignal)
        sigaction(signal, &previousActions[signal], nullptr);
    ::raise(signal);
    errno = savedErrno;
}

// Only a signal that ends the process as things stand is watched: what is
// ignored (nohup and the like) stays ignored, and a handler of someone else's
// stays theirs.
void watchTemporary(int folder, const std::string& name)
{
    signalFolder = folder;
    std::memcpy(signalTemporary, name.c_str(), name.size() + 1);
    signalTemporaryLive = 1;
    const sigset_t set = endingSignals();
    for (int signal = 1; signal < kMaxSignal; ++signal)
    {
        struct sigaction now = {};
        watched[signal] = sigismember(&set, signal) == 1 && sigaction(signal, nullptr, &now) == 0 &&
                          (now.sa_flags & SA_SIGINFO) == 0 && now.sa_handler == SIG_DFL;
        if (!watched[signal])
            continue;
        previousActions[signal] = now;
        std::signal(signal, removeTemporaryAndEnd);
    }
}

void unwatchTemporary()
{
    for (int signal = 1; signal < kMaxSignal; ++signal)
        if (std::exchange(watched[signal], false))
            sigaction(signal, &previousActions[signal], nullptr);
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

} // namespace

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

void removeTemporaryNow() noexcept
{
    if (signalTemporaryLive != 0)
        ::unlinkat(signalFolder, signalTemporary, 0);
    signalTemporaryLive = 0;
}

std::string standardOutputRefusal(const std::vector<Input>& inputs)
{
    for (const Input& input : inputs)
        if (const std::optional<FileId> id = input.id(); id && id == fileIdOf(STDOUT_FILENO))
            return "standard output is " + input.named() + ": writing it would destroy it";
    return {};
}

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

bool OutputFile::cannotWrite()
{
    return failWithErrno("cannot write " + quoted(path_));
}

bool OutputFile::inspect(const std::string& path, const std::vector<Input>& inputs)
{
    discard();
    error_.clear();
    path_ = path;
    const auto asStandardOutput = [&]
    {
        standardOutput_ = true;
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
    // the system finds (with its protections against planted links).
    std::string file = path;
    struct stat named = {};
    exists_ = ::lstat(path.c_str(), &named) == 0;
    if (!exists_ && errno != ENOENT)
        return cannotWrite();
    const bool link = exists_ && S_ISLNK(named.st_mode);
    if (exists_ && ::stat(path.c_str(), &existing_) != 0)
        return link && errno == ENOENT ? fail(quoted(path) + " is a symbolic link to nothing")
                                       : cannotWrite();
    if (exists_)
    {
        const FileId id = FileId::of(existing_);
        // Another name for standard output (/dev/stdout, /proc/self/fd/1, the file the
        // shell opened, whatever it is): that stream, as it is open.
        if (fileIdOf(STDOUT_FILENO) == id)
            return asStandardOutput();
        if (standardInputWasClosed() && fileIdOf(STDIN_FILENO) == id)
            return fail(quoted(path) + " is standard input, which was closed");
        if (S_ISDIR(existing_.st_mode))
            return fail(quoted(path) + " is a directory");
        if (S_ISSOCK(existing_.st_mode) || S_ISBLK(existing_.st_mode))
            return fail(quoted(path) + (S_ISSOCK(existing_.st_mode) ? " is a socket" : " is a block device"));
        for (const Input& input : inputs)
            if (input.id() == id)
                return fail(quoted(path) + " is " + input.named() + ": writing it would destroy it");
        if (struct stat self = {}; ::stat("/proc/self/exe", &self) == 0 && FileId::of(self) == id)
            return fail(quoted(path) + " is this tool's own program");
        if (!S_ISREG(existing_.st_mode)) // a character device or a FIFO: that one, straight through
        {
            stream_ = true;
            return ::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) == 0 || cannotWrite();
        }
        // A link's text (a /proc link's too) is the file's path only while it names
        // that same file: a file that has no name left is not written.
        if (link)
        {
            char* resolved = ::realpath(path.c_str(), nullptr);
            struct stat there = {};
            const bool same = resolved != nullptr && ::stat(resolved, &there) == 0 && FileId::of(there) == id;
            if (resolved != nullptr)
                file = resolved;
            std::free(resolved);
            if (resolved == nullptr && errno != ENOENT)
                return failWithErrno("cannot follow " + quoted(path));
            if (!same)
                return fail(quoted(path) + " leads to a file that has no name left");
        }
    }

    // The folder the file is written in, held open: every name below is relative to it.
    const std::size_t slash = file.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : slash == 0 ? "/" : file.substr(0, slash);
    name_ = file.substr(slash + 1);
    folder_ = ::open(folder.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    struct stat place = {};
    if (folder_ < 0 || ::fstat(folder_, &place) != 0)
        return errno == ENOENT ? fail("cannot write " + quoted(path) + ": its folder does not exist")
                               : cannotWrite();
    if (place.st_nlink == 0)
        return fail("cannot write " + quoted(path) + ": " +
                    (slash == std::string::npos ? "the current folder is gone" : "its folder is gone"));
    if (::faccessat(folder_, ".", W_OK | X_OK, AT_EACCESS) != 0 ||
        (exists_ && ::faccessat(folder_, name_.c_str(), W_OK, AT_EACCESS) != 0))
        return cannotWrite();
    // In a sticky folder only the file's owner, the folder's owner and root may replace it.
    const uid_t user = ::geteuid();
    if (exists_ && (place.st_mode & S_ISVTX) != 0 && user != 0 && user != existing_.st_uid &&
        user != place.st_uid)
    {
        errno = EPERM;
        return failWithErrno("cannot replace " + quoted(path));
    }
    return true;
}

bool OutputFile::check(const std::string& path, const std::vector<Input>& inputs)
{
    const bool usable = inspect(path, inputs);
    discard();
    return usable;
}

bool OutputFile::open(const std::string& path, const std::vector<Input>& inputs)
{
    if (!inspect(path, inputs))
        return false;
    if (standardOutput_)
    {
        fd_ = STDOUT_FILENO;
        return true;
    }
    if (stream_)
    {
        // The one the check found: a file that took its place meanwhile is not written.
        struct stat now = {};
        fd_ = ::open(path.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
        if (fd_ >= 0 && (::fstat(fd_, &now) != 0 || !(FileId::of(now) == FileId::of(existing_))))
            return fail(quoted(path) + " changed while it was opened; it was left alone");
        return fd_ >= 0 || cannotWrite();
    }
    // A file that replaces one is only its caller's until it is complete.
    return openTemporary(exists_ ? 0600 : 0666);
}

bool OutputFile::openTemporary(mode_t mode)
{
    // A file without a name, given one by its descriptor only once it is complete:
    // nothing to leave behind, however the run ends. The system lets root do that,
    // and since Linux 6.10 whoever opened the file; it tells by answering a link to
    // "." with EEXIST. Elsewhere the temporary has a name from the start.
    mode_ = mode;
    fd_ = ::openat(folder_, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, mode);
    unnamed_ = fd_ >= 0 && ::linkat(fd_, "", folder_, ".", AT_EMPTY_PATH) != 0 && errno == EEXIST;
    if (fd_ >= 0 && !unnamed_)
    {
        ::close(fd_);
        fd_ = -1;
    }
    return unnamed_ || nameTemporary() || cannotWrite();
}

// Gives the temporary a unique name in the target's folder: links the unnamed one
// there (its caller holds the signals until the name is gone again), or creates a
// named one, watched from the moment its name exists.
bool OutputFile::nameTemporary()
{
    static std::mt19937_64 engine{std::random_device{}()};
    const char* const letters = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    const HeldSignals held;
    for (int attempt = 0; attempt < 100; ++attempt)
    {
        std::string name = "." + name_.substr(0, 64) + ".";
        for (int i = 0; i < 8; ++i)
            name += letters[engine() % 62];
        const bool made =
            unnamed_ ? ::linkat(fd_, "", folder_, name.c_str(), AT_EMPTY_PATH) == 0
                     : (fd_ = ::openat(folder_, name.c_str(),
                                       O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode_)) >= 0;
        if (made)
        {
            temporary_ = name;
            if (!unnamed_)
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
    return written || cannotWrite();
}

bool OutputFile::write(const void* data, std::size_t size)
{
    if (fd_ < 0)
        return fail("no output is open");
    const char* bytes = static_cast<const char*>(data);
    if (buffer_.size() + size > kBufferBytes && !flushBuffer())
        return false;
    if (size >= kBufferBytes)
        return writeAll(fd_, bytes, size) || cannotWrite();
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
    // Complete, a file that replaces one takes what that one had: its permissions (but
    // for set-user-ID and set-group-ID) and, for root, its owner.
    if (!stream_ && exists_ &&
        (::fchmod(fd_, existing_.st_mode & 01777) != 0 ||
         (::geteuid() == 0 && ::fchown(fd_, existing_.st_uid, existing_.st_gid) != 0)))
        return failWithErrno("cannot give " + quoted(path_) + " the permissions it had");
    if (!stream_ && ::fsync(fd_) != 0)
        return cannotWrite();
    // A device or a named temporary is closed, and its errors heard, before anything
    // is replaced; an unnamed one needs its descriptor to be given a name (and,
    // synced, has nothing left for a close to lose).
    if (!unnamed_ && ::close(std::exchange(fd_, -1)) != 0)
        return cannotWrite();
    if (!stream_ && !putInPlace())
        return false;
    discard();
    return true;
}

bool OutputFile::putInPlace()
{
    // Where nothing is, the new file must not replace whatever appears meanwhile; a
    // regular file there (from the start or since) is replaced as a whole, if it may be.
    const HeldSignals held;
    bool placed = temporary_.empty() ? ::linkat(fd_, "", folder_, name_.c_str(), AT_EMPTY_PATH) == 0
                                     : ::renameat2(folder_, temporary_.c_str(), folder_, name_.c_str(),
                                                   RENAME_NOREPLACE) == 0;
    // A file system without RENAME_NOREPLACE: a link never replaces anything either.
    if (!placed && errno == EINVAL && !temporary_.empty() &&
        ::linkat(folder_, temporary_.c_str(), folder_, name_.c_str(), 0) == 0)
    {
        ::unlinkat(folder_, temporary_.c_str(), 0); // in place either way
        placed = true;
    }
    if (!placed && errno == EEXIST)
    {
        struct stat now = {};
        if (::fstatat(folder_, name_.c_str(), &now, AT_SYMLINK_NOFOLLOW) == 0 && !S_ISREG(now.st_mode))
            return fail(quoted(path_) + " is no longer a regular file; it was left alone");
        if (::faccessat(folder_, name_.c_str(), W_OK, AT_EACCESS | AT_SYMLINK_NOFOLLOW) != 0)
            return cannotWrite();
        placed = (!temporary_.empty() || nameTemporary()) &&
                 ::renameat(folder_, temporary_.c_str(), folder_, name_.c_str()) == 0;
    }
    if (!placed)
        return failWithErrno("cannot put " + quoted(path_) + " in place");
    unwatchTemporary(); // signals are held: the name is no longer ours
    temporary_.clear();
    unnamed_ = false;
    return true;
}

void OutputFile::discard()
{
    if (fd_ >= 0 && !standardOutput_)
        ::close(fd_);
    fd_ = -1;
    standardOutput_ = false;
    stream_ = false;
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
