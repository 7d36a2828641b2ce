// Replays walk.transcript against the stand-in (walk_fixture.json) on a
// private bus. A call line is one of
//     walk | lists | node SERVICE PATH INTERFACE | invd NAME | object NAME
//         the call on the test's bus; "nobus" as the last word gives it no
//         bus, "noout" no out-parameter
//     script KEY JSON | reset | timeout USEC | calls KEY
//     getall-timeout USEC   the time-out of a GetAll on a bus whose own
//                           method-call time-out is USEC (0: its default)
// and under it come its status, what it handed out (a walk's triples one a
// line), every syslog line, or the calls the stand-in received for KEY.
#include "inventory/inventory.hpp"
#include "qvmclient.h"
#include "support/log_capture.hpp"
#include "support/standin_bus.hpp"
#include "support/transcript.hpp"

#include <gtest/gtest.h>
#include <sstream>
#include <string>

namespace
{

const auto* bus = qvmtest::useStandinBus(QVM_INVENTORY_TEST_FIXTURE);
namespace standin = qvmtest::standin;
namespace transcript = qvmtest::transcript;
using Results = std::vector<std::string>;

constexpr int kPlain = JSON_C_TO_STRING_PLAIN | JSON_C_TO_STRING_NOSLASHESCAPE;

std::string text(json_object* o)
{
    return json_object_to_json_string_ext(o, kPlain);
}

// "rc N", then the document handed out, a walk's array one element a line.
Results handedOut(int32_t rc, json_object* out)
{
    Results results{"rc " + std::to_string(rc)};
    const qvm::JsonPtr owned(out);
    if (out == nullptr)
        results.emplace_back("unset");
    else if (json_object_is_type(out, json_type_array) &&
             json_object_array_length(out) > 0)
        for (std::size_t i = 0; i < json_object_array_length(out); ++i)
            results.push_back(text(json_object_array_get_idx(out, i)));
    else
        results.push_back(text(out));
    return results;
}

Results call(sd_bus* testBus, const transcript::Args& a, const std::string& op)
{
    const std::string last =
        a.size() > 1 && a.text(a.size() - 1) ? a.text(a.size() - 1) : "";
    sd_bus* b = last == "nobus" ? nullptr : testBus;
    json_object* json = nullptr;
    json_object** out = last == "noout" ? nullptr : &json;
    int32_t rc = 0;
    if (op == "walk")
        rc = retrieveSystemObjectProperties(b, out);
    else if (op == "lists")
        rc = get_object_lists(b, out);
    else if (op == "node")
        rc = get_properties_from_node(b, a.text(1), a.text(2), a.text(3), out);
    else
    {
        char* value = nullptr;
        char** text = last == "noout" ? nullptr : &value;
        rc = op == "invd" ? get_property_from_invd(b, a.text(1), text)
                          : make_object_from_servicename(a.text(1), text);
        return {"rc " + std::to_string(rc),
                value ? transcript::quoted(qvm::HeapString(value).get())
                      : "unset"};
    }
    return handedOut(rc, json);
}

Results replay(sd_bus* testBus, const std::string& line)
{
    std::istringstream in(line);
    const transcript::Args a(in);
    const std::string op = a.text(0);
    Results results;
    if (op == "reset")
        standin::reset();
    else if (op == "script")
        standin::script(a.text(1), a.text(2));
    else if (op == "timeout")
        sd_bus_set_method_call_timeout(testBus, a.unsignedNumber(1));
    else if (op == "getall-timeout")
    {
        sd_bus* raw = nullptr;
        sd_bus_new(&raw);
        const qvm::BusPtr unstarted(raw);
        if (a.unsignedNumber(1) != 0)
            sd_bus_set_method_call_timeout(raw, a.unsignedNumber(1));
        results.push_back(std::to_string(qvm::getAllTimeout(raw)));
    }
    else if (op == "calls")
        for (const auto& args : standin::calls(a.text(1)))
            results.push_back(args);
    else
    {
        qvmtest::LogCapture log;
        results = call(testBus, a, op);
        for (const auto& l : log.transcriptLines())
            results.push_back(l);
    }
    return results;
}

} // namespace

TEST(InventoryWalk, Transcript)
{
    standin::reset();
    sd_bus* raw = nullptr;
    ASSERT_GE(sd_bus_open_system(&raw), 0);
    const qvm::BusPtr testBus(raw);
    EXPECT_EQ(transcript::check(QVM_INVENTORY_WALK, [&](const std::string& line)
                                { return replay(testBus.get(), line); }),
              0);
}
