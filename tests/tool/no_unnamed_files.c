/* Preloaded into qvm by the signal test: opens as on a file system without
 * unnamed files, so that qvm writes its output under a name, and a stop at
 * the first write to a file, so that a signal lands while it has one. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <errno.h>
#include <fcntl.h>
#include <signal.h>
#include <stdarg.h>
#include <unistd.h>

int open64(const char *path, int flags, ...)
{
    int (*real)(const char *, int, ...);
    *(void **)&real = dlsym(RTLD_NEXT, "open64");
    va_list args;
    va_start(args, flags);
    const int mode = flags & (O_CREAT | O_TMPFILE) ? va_arg(args, int) : 0;
    va_end(args);
    if ((flags & O_TMPFILE) == O_TMPFILE)
    {
        errno = EOPNOTSUPP;
        return -1;
    }
    return real(path, flags, mode);
}

ssize_t write(int fd, const void *data, size_t size)
{
    static int written;
    ssize_t (*real)(int, const void *, size_t);
    *(void **)&real = dlsym(RTLD_NEXT, "write");
    if (fd > 2 && !written++)
        raise(SIGSTOP);
    return real(fd, data, size);
}
