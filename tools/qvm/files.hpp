// Files qvm reads and writes: table files read without ever waiting, and
// outputs that appear whole or not at all.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace qvmcli
{

// A whole file read into memory, or why not ("No such file or directory",
// "a FIFO").
// Only a regular file is read: a FIFO, a device or a directory is refused
// before any read, and the open never waits for a writer.
struct FileBytes
{
    std::vector<std::uint8_t> bytes;
    std::string cause;
};
FileBytes readWholeFile(const std::string& path);

// An output written to a new file beside its destination and renamed into
// place once complete: the destination holds the old file or the whole new
// one, never a part. A symbolic link at the destination is replaced, not
// followed. Until commit, the new file is removed when the object goes and
// when qvm is ended by SIGINT, SIGTERM, SIGHUP or SIGPIPE.
class OutputFile
{
  public:
    explicit OutputFile(const std::string& destination);
    ~OutputFile();
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    // Why the output cannot be written; empty while it can.
    const std::string& problem() const { return problem_; }
    // The stream to write to; null once problem() is set.
    std::FILE* stream() const { return file_; }
    bool write(std::string_view text);
    // Flushes and renames the file into place; false with problem()
    // set, the destination untouched and the new file gone.
    bool commit();
    // Gives the output up after a write made past stream() failed with
    // error: problem() says so and the new file goes.
    void abandon(int error) { failed("writing", error); }

  private:
    bool failed(const std::string& doing, int error);

    std::string destination_;
    std::string temporary_;
    std::vector<char> buffer_; // the stream's; outlives it
    std::FILE* file_ = nullptr;
    std::string problem_;
};

// Whether path names the same file as other (both existing).
bool sameFile(const std::string& path, const std::string& other);

// The size of the output buffers: exports run to megabytes, and fewer,
// larger writes are cheaper.
inline constexpr std::size_t kWriteBuffer = 64 * 1024;

// Makes SIGINT, SIGTERM, SIGHUP and SIGPIPE remove an unfinished output
// before they end qvm as they would have; called once at the start.
void removeOutputsOnSignals();

} // namespace qvmcli
