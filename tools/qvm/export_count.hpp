// Reading back an export text: whether it is one complete JSON text, and
// how many structure objects it holds, per structure type.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string_view>

namespace qvmcli
{

// The objects of each group (the arrays inside the outer array); a group's
// type is the "Table Type" of its first object.
struct ExportCount
{
    std::size_t total = 0;
    std::array<std::size_t, 256> byType{};
};

// Nothing when text is not exactly one JSON array in strict JSON. One pass,
// nothing built: an export of thousands of structures is checked in about
// the time it takes to read it.
std::optional<ExportCount> countExport(std::string_view text);

} // namespace qvmcli
