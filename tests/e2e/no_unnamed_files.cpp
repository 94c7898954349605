// Preloaded into a tool, makes the system look like a file system without unnamed
// files: an open with O_TMPFILE fails as such a file system fails it, so that the
// tool falls back to a temporary file with a name.
#include <dlfcn.h>
#include <fcntl.h>

#include <cerrno>
#include <cstdarg>

extern "C" int openat(int folder, const char* path, int flags, ...)
{
    using Open = int (*)(int, const char*, int, ...);
    static const auto next = reinterpret_cast<Open>(dlsym(RTLD_NEXT, "openat"));
    va_list rest;
    va_start(rest, flags);
    const mode_t mode = va_arg(rest, mode_t);
    va_end(rest);
    if ((flags & O_TMPFILE) == O_TMPFILE)
    {
        errno = EOPNOTSUPP;
        return -1;
    }
    return next(folder, path, flags, mode);
}
