// Files the commands write: scratch files for text the library only writes
// to a file, and fresh output files.
#pragma once

#include <string>

namespace qvmcli
{

// An empty temporary file, removed on destruction.
class ScratchFile
{
  public:
    ScratchFile();
    ~ScratchFile();
    ScratchFile(const ScratchFile&) = delete;
    ScratchFile& operator=(const ScratchFile&) = delete;

    // Empty when the file could not be made.
    const std::string& path() const { return path_; }
    std::string text() const;

  private:
    std::string path_;
};

// Replaces path by an empty file that the library can append to; false
// (errno set) when it cannot.
bool startFresh(const std::string& path);

// Writes text to a fresh file at path; false (errno set) on failure.
bool writeFresh(const std::string& path, const std::string& text);

} // namespace qvmcli
