#include "support/loaded_table.hpp"

#include "qvmclient.h"

#include <filesystem>
#include <stdexcept>
#include <unistd.h>

namespace qvmtest
{

TempFile::TempFile(const Bytes& bytes)
{
    const auto dir = std::filesystem::temp_directory_path();
    std::string name = (dir / "qvmtest-table-XXXXXX").string();
    const int fd = ::mkstemp(name.data());
    if (fd < 0)
        throw std::runtime_error("mkstemp failed");
    path_ = name;
    const bool written = ::write(fd, bytes.data(), bytes.size()) ==
                         static_cast<ssize_t>(bytes.size());
    ::close(fd);
    if (!written)
        throw std::runtime_error("writing the table file failed");
}

TempFile::~TempFile()
{
    std::error_code ignored;
    std::filesystem::remove(path_, ignored);
}

LoadedTable::LoadedTable(const Bytes& bytes)
{
    const TempFile file(bytes);
    status_ = SmbiosInit(file.path().c_str());
}

LoadedTable::~LoadedTable()
{
    SmbiosCleanup();
}

} // namespace qvmtest
