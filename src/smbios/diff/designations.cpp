#include "smbios/diff/designations.hpp"

#include <array>

namespace qvm::smbios
{
namespace
{

// String bytes that designate a structure of type, most telling first.
struct Designation
{
    std::uint8_t type;
    std::array<std::uint8_t, 2> offsets; // 0: none
};

constexpr Designation kDesignations[] = {
    {4, {0x04, 0}},     // socket designation
    {7, {0x04, 0}},     // socket designation
    {8, {0x04, 0x06}},  // internal, external reference designator
    {9, {0x04, 0}},     // slot designation
    {17, {0x10, 0x11}}, // device locator, bank locator
    {22, {0x04, 0x06}}, // location, device name
    {26, {0x04, 0}},    // description
    {27, {0x0E, 0}},    // description
    {28, {0x04, 0}},    // description
    {29, {0x04, 0}},    // description
    {39, {0x05, 0x06}}, // location, device name
    {41, {0x04, 0}},    // reference designation
};

} // namespace

std::vector<std::string> designations(const StructureView& view)
{
    std::vector<std::string> names;
    for (const auto& row : kDesignations)
    {
        if (row.type != view.type())
            continue;
        for (const std::uint8_t offset : row.offsets)
        {
            if (offset == 0 || offset >= view.length())
                continue;
            const char* text = view.stringAt(offset);
            names.emplace_back(text != nullptr ? text : "");
        }
    }
    return names;
}

} // namespace qvm::smbios
