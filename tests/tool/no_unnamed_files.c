/* Preloaded into qvm by the signal test: open() as on a file system
 * without unnamed files, so that qvm writes its output under a name, and
 * a stop at the first write to a file, so that a signal lands while it has one.
 */
#define _GNU_SOURCE
/* open and open64 apart, whatever the build says of file offsets. */
#undef _FILE_OFFSET_BITS
#include <dlfcn.h>
#include <errno.h>
#include <fcntl.h>
#include <signal.h>
#include <stdarg.h>
#include <unistd.h>

static int refuseUnnamed(const char* name, const char* path, int flags,
                         va_list args)
{
    int (*real)(const char*, int, ...);
    *(void**)&real = dlsym(RTLD_NEXT, name);
    if ((flags & O_TMPFILE) == O_TMPFILE)
    {
        errno = EOPNOTSUPP;
        return -1;
    }
    return real(path, flags, va_arg(args, int));
}

int open(const char* path, int flags, ...)
{
    va_list args;
    va_start(args, flags);
    const int fd = refuseUnnamed("open", path, flags, args);
    va_end(args);
    return fd;
}

int open64(const char* path, int flags, ...)
{
    va_list args;
    va_start(args, flags);
    const int fd = refuseUnnamed("open64", path, flags, args);
    va_end(args);
    return fd;
}

ssize_t write(int fd, const void* data, size_t size)
{
    static int written;
    ssize_t (*real)(int, const void*, size_t);
    *(void**)&real = dlsym(RTLD_NEXT, "write");
    if (fd > 2 && !written++)
        raise(SIGSTOP);
    return real(fd, data, size);
}
