// The loaded table's structures as the library hands them out, and each
// one's JSON object as the library's export writes it.
#pragma once

#include "files.hpp"

#include <cstdint>
#include <string>
#include <vector>

namespace qvmcli
{

// The highest handle a structure can have; 0xFFFF means "none".
inline constexpr uint16_t kLastHandle = 0xFFFE;

struct Structure
{
    uint8_t* at;
    uint16_t size; // whole size, strings included

    uint8_t type() const { return at[0]; }
    uint8_t length() const { return at[1]; }
    uint16_t handle() const
    {
        return static_cast<uint16_t>(at[2] | at[3] << 8);
    }
};

// The structures of types (every type when empty), in table order; the
// library's status when it cannot select them.
int64_t structuresOf(const std::vector<uint8_t>& types,
                     std::vector<Structure>& out);

// The name of a structure type, as the library's type table has it.
std::string typeName(uint8_t type);

// One structure's JSON object, made by the library's export of a single
// structure.
class Converter
{
  public:
    struct Result
    {
        int64_t status;
        std::string text;
    };
    Result operator()(Structure structure) const;

  private:
    ScratchFile scratch_;
};

// Says on stderr that the export leaves structure out: the library's
// conversion ended with status.
void reportLeftOut(Structure structure, int64_t status);
// The same for each of structures that the library cannot convert; returns
// how many.
std::size_t reportLeftOut(const std::vector<Structure>& structures);

// "structure 0x0400 (type 4, Processor Information)"
std::string nameOf(Structure structure);

} // namespace qvmcli
