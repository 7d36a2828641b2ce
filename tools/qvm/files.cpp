#include "files.hpp"

#include <cerrno>
#include <climits>
#include <csignal>
#include <cstring>
#include <ctime>
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

// The unfinished output's name, for the signal handler: a plain buffer,
// since only async-signal-safe calls may touch it there. Set only while a
// named unfinished output exists.
char pendingOutput[PATH_MAX + 1];

void removePendingAndDie(int signal)
{
    if (pendingOutput[0] != '\0')
        unlink(pendingOutput);
    std::signal(signal, SIG_DFL);
    // Held until this handler returns, then acted on as by default.
    raise(signal);
}

// The signals whose default action ends the process. SIGKILL, which no
// process can catch, is why the output has no name while it is written.
std::vector<int> terminatingSignals()
{
    std::vector<int> out = {
        SIGHUP,  SIGINT,  SIGQUIT,   SIGILL,  SIGTRAP, SIGABRT, SIGBUS,
        SIGFPE,  SIGUSR1, SIGSEGV,   SIGUSR2, SIGPIPE, SIGALRM, SIGTERM,
        SIGXCPU, SIGXFSZ, SIGVTALRM, SIGPROF, SIGIO,   SIGPWR,  SIGSYS};
#ifdef SIGSTKFLT
    out.push_back(SIGSTKFLT);
#endif
    for (int signal = SIGRTMIN; signal <= SIGRTMAX; ++signal)
        out.push_back(signal);
    return out;
}

// Holds every signal back while the unfinished output and its record in
// pendingOutput change together, and while its name exists for the two
// calls that give it the destination's name.
class SignalsHeld
{
  public:
    SignalsHeld()
    {
        sigset_t held;
        sigfillset(&held);
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

namespace
{

// The mode any new file gets: what open(2) would give, set again since a
// file made by mkostemp starts at 0600.
mode_t newFileMode()
{
    const mode_t mask = umask(0);
    umask(mask);
    return 0666 & ~mask;
}

// Six letters for a name no other run picks at the same moment; a clash
// is noticed by link(2) and another is drawn.
std::string nameSuffix(unsigned attempt)
{
    static constexpr char kLetters[] =
        "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    // Knuth's multiplicative hash spreads the nanoseconds over the letters.
    auto value = (static_cast<std::uint64_t>(now.tv_nsec) * 2654435761U) ^
                 (static_cast<std::uint64_t>(getpid()) << 20) ^ attempt;
    std::string out;
    for (int i = 0; i < 6; ++i, value /= sizeof kLetters - 1)
        out += kLetters[value % (sizeof kLetters - 1)];
    return out;
}

// Gives the unnamed file open as fd the name stem + six letters. Linking
// by the descriptor itself needs CAP_DAC_READ_SEARCH; without it the
// kernel says ENOENT, and its /proc link does the same.
int nameUnnamed(int fd, const std::string& stem, std::string& name)
{
    const std::string self = "/proc/self/fd/" + std::to_string(fd);
    bool byDescriptor = true;
    for (unsigned attempt = 0; attempt < 100;)
    {
        name = stem + nameSuffix(attempt);
        const int linked =
            byDescriptor ? linkat(fd, "", AT_FDCWD, name.c_str(), AT_EMPTY_PATH)
                         : linkat(AT_FDCWD, self.c_str(), AT_FDCWD,
                                  name.c_str(), AT_SYMLINK_FOLLOW);
        if (linked == 0)
            return 0;
        if (errno == ENOENT && byDescriptor)
            byDescriptor = false;
        else if (errno == EEXIST)
            ++attempt;
        else
            break;
    }
    const int error = errno;
    name.clear();
    return error;
}

} // namespace

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
    stem_ = (folder / ("." + target.filename().string() + ".")).string();
    const mode_t mode = newFileMode();
    // Unnamed until complete, the new file vanishes with qvm however it
    // ends, SIGKILL included.
    int fd = open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, mode);
    // File systems without unnamed files: a named one, removed on the
    // signals that can be caught.
    if (fd < 0 && (errno == EOPNOTSUPP || errno == EISDIR || errno == EINVAL))
    {
        const SignalsHeld held;
        temporary_ = stem_ + "XXXXXX";
        fd = mkostemp(temporary_.data(), O_CLOEXEC);
        if (fd >= 0)
            setPending(temporary_);
    }
    if (fd < 0)
    {
        const int error = errno;
        temporary_.clear();
        failed("cannot make a new file in " + folder.string(), error);
        return;
    }
    fchmod(fd, mode);
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
    //
    // From the link to the rename the new file has a name of its own; no
    // signal but SIGKILL can land between those two calls.
    const SignalsHeld held;
    if (temporary_.empty())
    {
        const int error = nameUnnamed(fileno(file_), stem_, temporary_);
        if (error != 0)
            return failed("naming the new file", error);
        setPending(temporary_);
    }
    const int closed = std::fclose(file_);
    const int closeError = errno;
    file_ = nullptr;
    if (closed != 0)
        return failed("closing", closeError);
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
    struct sigaction cleanup
    {
    };
    cleanup.sa_handler = removePendingAndDie;
    sigemptyset(&cleanup.sa_mask);
    cleanup.sa_flags = SA_RESTART;
    for (const int signal : terminatingSignals())
    {
        // A signal ignored from the start (nohup's SIGHUP) stays ignored,
        // and one handled already (a sanitizer's SIGSEGV) stays so.
        struct sigaction before
        {
        };
        if (sigaction(signal, nullptr, &before) == 0 &&
            before.sa_handler == SIG_DFL)
            sigaction(signal, &cleanup, nullptr);
    }
}

} // namespace qvmcli
