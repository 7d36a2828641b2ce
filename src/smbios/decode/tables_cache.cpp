// Tables of the cache structure.
#include "qvmclient.h"
#include "smbios/decode/value_table.hpp"

using qvm::decode::isCompleteTable;

extern "C" constexpr ValueTextEntry CacheSRAMTypeTable[] = {
    {0, "Other"},        {1, "Unknown"},        {2, "Non-Burst"},
    {3, "Burst"},        {4, "Pipeline Burst"}, {5, "Synchronous"},
    {6, "Asynchronous"},
};
static_assert(isCompleteTable(CacheSRAMTypeTable, 7));

extern "C" constexpr ValueTextEntry CacheErrCorrectingTypeTable[] = {
    {1, "Other"},  {2, "Unknown"},        {3, "None"},
    {4, "Parity"}, {5, "Single-bit ECC"}, {6, "Multi-bit ECC"},
};
static_assert(isCompleteTable(CacheErrCorrectingTypeTable, 6));

extern "C" constexpr ValueTextEntry CacheSystemCacheTypeTable[] = {
    {1, "Other"}, {2, "Unknown"}, {3, "Instruction"},
    {4, "Data"},  {5, "Unified"},
};
static_assert(isCompleteTable(CacheSystemCacheTypeTable, 5));

extern "C" constexpr ValueTextEntry CacheAssociativityTable[] = {
    {1, "Other"},
    {2, "Unknown"},
    {3, "Direct Mapped"},
    {4, "2-way Set-Associative"},
    {5, "4-way Set-Associative"},
    {6, "Fully Associative"},
    {7, "8-way Set-Associative"},
    {8, "16-way Set-Associative"},
    {9, "12-way Set-Associative"},
    {10, "24-way Set-Associative"},
    {11, "32-way Set-Associative"},
    {12, "48-way Set-Associative"},
    {13, "64-way Set-Associative"},
    {14, "20-way Set-Associative"},
};
static_assert(isCompleteTable(CacheAssociativityTable, 14));
