#include "inventory/basic_value.hpp"

#include <cmath>
#include <cstdint>
#include <string_view>

namespace qvm
{

bool isConvertedBasic(char type) noexcept
{
    return type != 0 && std::string_view("bynqiuxtdsog").find(type) !=
                            std::string_view::npos;
}

bool readBasicValue(sd_bus_message* m, char type, JsonPtr& value) noexcept
{
    union
    {
        int b;
        uint8_t y;
        int16_t n;
        uint16_t q;
        int32_t i;
        uint32_t u;
        int64_t x;
        uint64_t t;
        double d;
        const char* s;
    } v{};
    if (!isConvertedBasic(type) || sd_bus_message_read_basic(m, type, &v) <= 0)
        return false;
    switch (type)
    {
        case SD_BUS_TYPE_BOOLEAN:
            value.reset(json_object_new_boolean((v.b & 1) != 0));
            break;
        case SD_BUS_TYPE_BYTE:
            value.reset(json_object_new_int64(v.y));
            break;
        case SD_BUS_TYPE_INT16:
            value.reset(json_object_new_int64(v.n));
            break;
        case SD_BUS_TYPE_UINT16:
            value.reset(json_object_new_int64(v.q));
            break;
        case SD_BUS_TYPE_INT32:
            value.reset(json_object_new_int64(v.i));
            break;
        case SD_BUS_TYPE_UINT32:
            value.reset(json_object_new_int64(v.u));
            break;
        case SD_BUS_TYPE_INT64:
            value.reset(json_object_new_int64(v.x));
            break;
        case SD_BUS_TYPE_UINT64:
            value.reset(json_object_new_int64(static_cast<int64_t>(v.t)));
            break;
        case SD_BUS_TYPE_DOUBLE:
            if (!std::isfinite(v.d))
            {
                value.reset();
                return true;
            }
            value.reset(json_object_new_double(v.d));
            break;
        default: // s, o, g
            value.reset(json_object_new_string(v.s));
    }
    return value != nullptr;
}

} // namespace qvm
