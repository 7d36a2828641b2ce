// SMBIOS tables for tests: the builder (tools/tablegen) under the tests'
// namespace, temporary table files, and tables loaded as the library's.
//
//     auto table = qvmtest::TableBuilder()
//         .add(qvmtest::StructureBuilder(0, 0x18, 0x0000)
//                  .string(4, "Vendor")
//                  .string(5, "1.2.3")
//                  .u8(20, 2).u8(21, 8))
//         .add(qvmtest::StructureBuilder(127, 4, 0xFEFF));
//     qvmtest::LoadedTable loaded(table);
//     ASSERT_EQ(loaded.status(), QVM_RC_SUCCESS);
#pragma once

#include "tablegen/table_builder.hpp"

#include <cstddef>
#include <cstdint>
#include <string>

namespace qvmtest
{

using tablegen::Bytes;
using tablegen::StructureBuilder;
using tablegen::TableBuilder;

// A temporary file with the given bytes, removed on destruction.
class TempFile
{
  public:
    explicit TempFile(const Bytes& bytes);
    ~TempFile();
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;

    const std::string& path() const { return path_; }

  private:
    std::string path_;
};

// Loads bytes through SmbiosInit (from a temporary file) for the lifetime
// of the object and calls SmbiosCleanup at its end.
class LoadedTable
{
  public:
    explicit LoadedTable(const Bytes& bytes);
    explicit LoadedTable(const TableBuilder& table) : LoadedTable(table.build())
    {
    }
    ~LoadedTable();
    LoadedTable(const LoadedTable&) = delete;
    LoadedTable& operator=(const LoadedTable&) = delete;

    std::int64_t status() const { return status_; }

  private:
    std::int64_t status_;
};

} // namespace qvmtest
