#include "services.hpp"

namespace standin
{
namespace
{

constexpr char kManagerService[] = "xyz.openbmc_project.QuorvaneManager1";
constexpr char kManagerPath[] = "/xyz/openbmc_project/QuorvaneManager1";
constexpr char kManagerInterface[] = "xyz.openbmc_project.QuorvaneManager1.QV0";

struct MemberRow
{
    const char* member;
    const char* args;
    const char* reply;
    const char* defaultReply;
};

// Members, argument and reply signatures of the manager, and what it answers
// until a script says otherwise.
constexpr MemberRow kManagerMembers[] = {
    {"Package", "sqq", "x", "[0]"},
    {"Save", "sst(uuuss)", "x", "[0]"},
    {"Collect", "s(ussssss)qq", "xts", "[0, 0, \"\"]"},
    {"Export", "s(ussssss)q", "xts", "[0, 0, \"\"]"},
    {"GetVersion", "", "s", "[\"1.0.0-standin\"]"},
    {"Ticket", "(uuyyyyyysss)", "(uuttyyyyyysss)as",
     "[[0, 0, 0, 0, 0, 0, 0, 0, 0, 0, \"\", \"\", \"\"], []]"},
};

} // namespace

void addManager(Standin& standin)
{
    for (const auto& row : kManagerMembers)
        standin.addEndpoint({kManagerService, kManagerPath, kManagerInterface,
                             row.member, row.args, row.reply, row.defaultReply,
                             nullptr});
    // The manager's state reaches clients only through this signal (sent
    // with the control interface's Emit); it has no readable properties.
    standin
        .declare(kManagerService, kManagerPath,
                 "org.freedesktop.DBus.Properties")
        .signals["PropertiesChanged"] = "sa{sv}as";
}

void addEventLogging(Standin& standin)
{
    standin.addEndpoint({"xyz.openbmc_project.EventLogging",
                         "/xyz/openbmc_project/EventLogging",
                         "xyz.openbmc_project.EventLogging", "AddEventLog",
                         "yssas", "", "[]", nullptr});
}

bool loadFixture(Standin& standin, json_object* fixture)
{
    json_object* scripts = nullptr;
    if (!json_object_object_get_ex(fixture, "scripts", &scripts))
        return true;
    if (!json_object_is_type(scripts, json_type_object))
        return false;
    json_object_object_foreach(scripts, key, value)
    {
        standin.script(
            key, json_object_to_json_string_ext(value, JSON_C_TO_STRING_PLAIN));
    }
    return true;
}

} // namespace standin
