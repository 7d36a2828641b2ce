// The strings that name a structure among others of its type (a socket, a
// locator, a slot), which stay when firmware renumbers the handles.
#pragma once

#include "smbios/structure_view.hpp"

#include <cstdint>
#include <string>
#include <vector>

namespace qvm::smbios
{

// The structure's designation strings in the order its type lists them;
// none for a type without any, or a structure too short to hold them.
std::vector<std::string> designations(const StructureView& view);

} // namespace qvm::smbios
