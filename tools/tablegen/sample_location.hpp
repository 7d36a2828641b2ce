// Where the bundled sample table lies for the programs that name it (qvm
// and qvm-standin): beside qvm in the build tree, or in the data directory
// of the installation the running program belongs to.
#pragma once

#include <string>

namespace tablegen
{

// The sample table's path; empty when it is in none of those places.
std::string sampleTablePath();

// The folders looked in, for messages.
std::string sampleTablePlaces();

} // namespace tablegen
