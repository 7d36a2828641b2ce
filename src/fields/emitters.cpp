#include "fields/field_list.hpp"
#include "qvmclient.h"

#include <cstring>

namespace
{

// Room for a tag, two colons and the terminating zero.
constexpr std::size_t kFrame = 4;
// Room for a signed 64-bit number in decimal.
constexpr std::size_t kDecimal = 21;

} // namespace

extern "C" void AddJSONString(const char* value, const char* key,
                              FieldList* list)
{
    if (value == nullptr)
        return;
    const std::size_t size =
        kFrame + std::strlen(value) + (key ? std::strlen(key) : 0);
    if (key != nullptr)
        qvm::appendField(list, size, "%s:%s:%s", "s", key, value);
    else
        qvm::appendField(list, size, "%s:%s", "s", value);
}

extern "C" void AddJSONintValue(int64_t value, const char* key, FieldList* list)
{
    const std::size_t size = kFrame + kDecimal + (key ? std::strlen(key) : 0);
    const auto number = static_cast<long long>(value);
    if (key != nullptr)
        qvm::appendField(list, size, "%s:%s:%lld", "d", key, number);
    else
        qvm::appendField(list, size, "%s:%lld", "d", number);
}
