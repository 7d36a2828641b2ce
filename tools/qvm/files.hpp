// Files the commands write: scratch files for what the library reads or
// writes only by file name, and outputs that appear whole or not at all.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace qvmcli
{

// A file name in a new folder of mode 0700, so that nobody else can put
// anything there between the tool and the library opening it by name. The
// file is made by whoever writes first; file and folder are removed on
// destruction.
class ScratchFile
{
  public:
    // In folder (default: the temporary folder).
    explicit ScratchFile(const std::string& folder = {});
    ~ScratchFile();
    ScratchFile(const ScratchFile&) = delete;
    ScratchFile& operator=(const ScratchFile&) = delete;

    // Empty (errno set) when the folder could not be made.
    const std::string& path() const { return path_; }
    // Writes text to a fresh file; false (errno set) on failure.
    bool write(std::string_view text) const;
    std::string text() const;

  private:
    std::string folder_;
    std::string path_;
};

// An output written beside its destination and renamed into place once it
// is checked: never a partial file at the destination, and a symbolic link
// left there is replaced, not followed.
class OutputFile
{
  public:
    explicit OutputFile(const std::string& destination);

    // Why the output cannot be written; empty while it can.
    const std::string& problem() const { return problem_; }
    // Where to write it meanwhile.
    const std::string& path() const { return scratch_.path(); }
    // Writes text there; false with problem() set.
    bool write(std::string_view text);
    // Syncs the file and renames it into place; false with problem() set.
    bool commit();

  private:
    bool failed();

    std::string destination_;
    ScratchFile scratch_;
    std::string problem_;
};

// The whole content of a file; empty when it cannot be read.
std::string fileText(const std::string& path);

// Whether path names the same file as other (both existing).
bool sameFile(const std::string& path, const std::string& other);

// Why a file that a write cut short ended at size bytes, as far as can be
// told: a file-size limit, or a full file system.
std::string whyCutShort(const std::string& path, uint64_t size);

} // namespace qvmcli
