#include "files.hpp"

#include <cerrno>
#include <climits>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace qvmcli
{
namespace
{

namespace fs = std::filesystem;

// Larger than any table an entry point can describe; refused unread.
constexpr std::uint64_t kMaxFileSize = UINT32_MAX;

// The unfinished output, for the signal handler: a plain buffer, since
// only async-signal-safe calls may touch it there.
char pendingOutput[PATH_MAX + 1];

void removePendingAndDie(int signal)
{
    if (pendingOutput[0] != '\0')
        unlink(pendingOutput);
    std::signal(signal, SIG_DFL);
    raise(signal);
}

constexpr int kCleanupSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGPIPE};

// Holds the cleanup signals back while the unfinished output and its
// record in pendingOutput change together.
class SignalsHeld
{
  public:
    SignalsHeld()
    {
        sigset_t held;
        sigemptyset(&held);
        for (const int signal : kCleanupSignals)
            sigaddset(&held, signal);
        sigprocmask(SIG_BLOCK, &held, &before_);
    }
    ~SignalsHeld() { sigprocmask(SIG_SETMASK, &before_, nullptr); }
    SignalsHeld(const SignalsHeld&) = delete;
    SignalsHeld& operator=(const SignalsHeld&) = delete;

  private:
    sigset_t before_{};
};

void setPending(const std::string& path)
{
    if (path.size() < sizeof pendingOutput)
        std::memcpy(pendingOutput, path.c_str(), path.size() + 1);
}

std::string kindOf(mode_t mode)
{
    if (S_ISDIR(mode))
        return "a directory";
    if (S_ISFIFO(mode))
        return "a FIFO";
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return "a device";
    if (S_ISSOCK(mode))
        return "a socket";
    return "not a regular file";
}

} // namespace

FileBytes readWholeFile(const std::string& path)
{
    FileBytes out;
    const int fd =
        open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
    {
        out.cause = std::strerror(errno);
        return out;
    }
    struct stat st
    {
    };
    if (fstat(fd, &st) != 0)
        out.cause = std::strerror(errno);
    else if (!S_ISREG(st.st_mode))
        out.cause = kindOf(st.st_mode);
    else if (static_cast<std::uint64_t>(st.st_size) > kMaxFileSize ||
             static_cast<std::uint64_t>(st.st_size) > SIZE_MAX)
        out.cause = "larger than any SMBIOS table";
    if (!out.cause.empty())
    {
        close(fd);
        return out;
    }
    out.bytes.resize(static_cast<std::size_t>(st.st_size));
    std::size_t done = 0;
    while (done < out.bytes.size())
    {
        const ssize_t n =
            read(fd, out.bytes.data() + done, out.bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            out.cause = std::strerror(errno);
        if (n <= 0)
            break;
        done += static_cast<std::size_t>(n);
    }
    // A file that shrank while read holds what was there.
    out.bytes.resize(done);
    close(fd);
    return out;
}

OutputFile::OutputFile(const std::string& destination)
    : destination_(destination)
{
    struct stat st
    {
    };
    if (lstat(destination.c_str(), &st) == 0 && !S_ISREG(st.st_mode) &&
        !S_ISLNK(st.st_mode))
    {
        problem_ = "cannot write " + destination_ + ": " + kindOf(st.st_mode);
        return;
    }
    const fs::path target(destination);
    const fs::path folder =
        target.has_parent_path() ? target.parent_path() : fs::path(".");
    temporary_ =
        (folder / ("." + target.filename().string() + ".XXXXXX")).string();
    const SignalsHeld held;
    const int fd = mkostemp(temporary_.data(), O_CLOEXEC);
    if (fd < 0)
    {
        const int error = errno;
        temporary_.clear();
        failed("cannot make a new file in " + folder.string(), error);
        return;
    }
    setPending(temporary_);
    // A new file gets the mode any new file would get.
    const mode_t mask = umask(0);
    umask(mask);
    fchmod(fd, 0666 & ~mask);
    file_ = fdopen(fd, "w");
    if (file_ == nullptr)
    {
        const int error = errno;
        close(fd);
        failed("cannot write", error);
        return;
    }
    // The C library takes a size only together with a buffer.
    buffer_.resize(kWriteBuffer);
    std::setvbuf(file_, buffer_.data(), _IOFBF, buffer_.size());
}

OutputFile::~OutputFile()
{
    if (file_ != nullptr)
        std::fclose(file_);
    if (!temporary_.empty())
    {
        const SignalsHeld held;
        unlink(temporary_.c_str());
        pendingOutput[0] = '\0';
    }
}

bool OutputFile::failed(const std::string& doing, int error)
{
    if (problem_.empty())
        problem_ = "cannot write " + destination_ + ": " + doing + ": " +
                   std::strerror(error);
    if (file_ != nullptr)
        std::fclose(file_);
    file_ = nullptr;
    return false;
}

bool OutputFile::write(std::string_view text)
{
    if (file_ == nullptr)
        return false;
    if (std::fwrite(text.data(), 1, text.size(), file_) != text.size())
        return failed("writing", errno);
    return true;
}

bool OutputFile::commit()
{
    if (file_ == nullptr)
        return false;
    errno = 0;
    if (std::fflush(file_) != 0 || std::ferror(file_))
        return failed("writing", errno != 0 ? errno : EIO);
    // No fsync before the rename. The rename already guarantees what the
    // manual promises: a failure, a full disk or a signal leaves the old
    // file whole. fsync would add only durability across a power loss, for
    // an output that can be made again from its source, at the price of a
    // wait for the device on every run (on a BMC's flash, also its wear);
    // operators' tools that write files (cp, sort -o, dmidecode
    // --dump-bin) do not sync either.
    const int closed = std::fclose(file_);
    const int closeError = errno;
    file_ = nullptr;
    if (closed != 0)
        return failed("closing", closeError);
    const SignalsHeld held;
    if (rename(temporary_.c_str(), destination_.c_str()) != 0)
        return failed("renaming " + temporary_ + " into place", errno);
    temporary_.clear();
    pendingOutput[0] = '\0';
    return true;
}

bool sameFile(const std::string& path, const std::string& other)
{
    struct stat a
    {
    };
    struct stat b
    {
    };
    return stat(path.c_str(), &a) == 0 && stat(other.c_str(), &b) == 0 &&
           a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

void removeOutputsOnSignals()
{
    for (const int signal : kCleanupSignals)
        std::signal(signal, removePendingAndDie);
}

} // namespace qvmcli
