// The readers under a heap that runs out: each json-c allocation fails in
// turn. A reader must then fail (or finish without the value), hand out a
// document that still serialises, leak nothing and leave every container
// of the reply it could leave.
#include "json_dbus.hpp"
#include "qvmclient.h"
#include "support/local_bus.hpp"

#include <dlfcn.h>
#include <gtest/gtest.h>

namespace
{

// Allocations still to succeed before one fails; negative: none fails.
int allocationsLeft = -1;
bool failed = false;

bool failThisOne()
{
    if (allocationsLeft < 0)
        return false;
    if (allocationsLeft-- > 0)
        return false;
    failed = true;
    return true;
}

template <typename F> F* next(const char* name)
{
    return reinterpret_cast<F*>(dlsym(RTLD_NEXT, name));
}

} // namespace

// The constructors the library calls, failing on demand; everything else
// goes to json-c.
#define QVM_FAILING(name, parameter)                                           \
    extern "C" json_object* name(parameter value)                              \
    {                                                                          \
        static auto* const real = next<json_object*(parameter)>(#name);        \
        return failThisOne() ? nullptr : real(value);                          \
    }
QVM_FAILING(json_object_new_string, const char*)
QVM_FAILING(json_object_new_int64, int64_t)
QVM_FAILING(json_object_new_double, double)
QVM_FAILING(json_object_new_boolean, json_bool)
#undef QVM_FAILING

extern "C" json_object* json_object_new_object()
{
    static auto* const real = next<json_object*()>("json_object_new_object");
    return failThisOne() ? nullptr : real();
}

extern "C" json_object* json_object_new_array()
{
    static auto* const real = next<json_object*()>("json_object_new_array");
    return failThisOne() ? nullptr : real();
}

namespace
{

using Reader = int32_t (*)(sd_bus_message*, json_object**);

struct Shape
{
    Reader reader;
    const char* signature;
    const char* values;
};

// Every kind of allocation of each reader, the last one on the reply's
// last item.
const Shape kShapes[] = {
    {make_JSON_object_from_GetAllReply, "a{sv}",
     R"([{"B": {"type": "b", "value": true}, "D": {"type": "d", "value": 1.5},
          "A": {"type": "aas", "value": [["x"], []]},
          "S": {"type": "s", "value": "text"}}])"},
    {make_JSON_object_from_GetAllReply, "a{sv}",
     R"([{"E": {"type": "ai", "value": []}}])"},
    {make_JSON_object_from_GetSubTreeReply, "a{sa{sas}}",
     R"([{"/q": {"T": []}, "/p": {"S": ["I0", "I1"]}}])"},
};

TEST(ReaderAllocation, EveryFailedAllocationEndsTheReadCleanly)
{
    qvmtest::LocalBus bus;
    for (const Shape& shape : kShapes)
    {
        for (int at = 0;; ++at)
        {
            qvm::MessagePtr m = bus.methodReturn();
            const qvm::JsonPtr values(json_tokener_parse(shape.values));
            ASSERT_GE(
                standin::appendJsonArgs(m.get(), shape.signature, values.get()),
                0);
            m = bus.seal(std::move(m));
            ASSERT_NE(m, nullptr);

            json_object* out = nullptr;
            failed = false;
            allocationsLeft = at;
            const int32_t result = shape.reader(m.get(), &out);
            allocationsLeft = -1;
            const qvm::JsonPtr document(out);
            if (!failed)
            {
                EXPECT_EQ(result, 0) << shape.values;
                break;
            }
            EXPECT_EQ(result, -1) << shape.values << " allocation " << at;
            if (document)
            {
                EXPECT_NE(json_object_to_json_string(document.get()), nullptr);
            }
            // Nothing the reader entered is still open for the caller.
            EXPECT_LT(sd_bus_message_exit_container(m.get()), 0)
                << shape.values << " allocation " << at;
        }
    }
}

} // namespace
