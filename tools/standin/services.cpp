#include "services.hpp"

#include <string>

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

constexpr char kInvdService[] = "xyz.openbmc_project.invd";
constexpr char kInvdPath[] = "/xyz/openbmc_project/invd/oem";
constexpr char kPropertiesInterface[] = "org.freedesktop.DBus.Properties";
constexpr char kOemInterface[] = "xyz.openbmc_project.Inventory.Item.Oem";

// The OEM object's properties as JSON variants, defaults first; the
// fixture may replace them.
json_object* invdProperties()
{
    static const qvm::JsonPtr properties(json_tokener_parse(R"({
        "FullSMBIOSTablePath":
            {"type": "s", "value": "/var/lib/qvm-standin/smbios.bin"},
        "BiosConfigurationFilePath":
            {"type": "s", "value": "/var/lib/qvm-standin/bios-config.json"}
    })"));
    return properties.get();
}

int sent(int r)
{
    return r < 0 ? r : 1;
}

int answerGet(Standin&, sd_bus_message* call)
{
    const char* interface = nullptr;
    const char* name = nullptr;
    int r = sd_bus_message_read(call, "ss", &interface, &name);
    if (r < 0)
        return r;
    json_object* value = nullptr;
    if (std::string(interface) != kOemInterface ||
        !json_object_object_get_ex(invdProperties(), name, &value))
        return sent(sd_bus_reply_method_errorf(
            call, SD_BUS_ERROR_UNKNOWN_PROPERTY, "no property %s on %s", name,
            interface));
    const qvm::JsonPtr values(json_object_new_array());
    json_object_array_add(values.get(), json_object_get(value));
    return sent(replyWithJson(call, "v", values.get()));
}

int answerGetAll(Standin&, sd_bus_message* call)
{
    const char* interface = nullptr;
    int r = sd_bus_message_read(call, "s", &interface);
    if (r < 0)
        return r;
    const qvm::JsonPtr values(json_object_new_array());
    json_object_array_add(values.get(), std::string(interface) == kOemInterface
                                            ? json_object_get(invdProperties())
                                            : json_object_new_object());
    return sent(replyWithJson(call, "a{sv}", values.get()));
}

bool loadInvd(json_object* section)
{
    if (!json_object_is_type(section, json_type_object))
        return false;
    json_object_object_foreach(section, name, value)
    {
        json_object_object_add(invdProperties(), name, json_object_get(value));
    }
    return true;
}

} // namespace

void addManager(Standin& standin)
{
    for (const auto& row : kManagerMembers)
        standin.addEndpoint({kManagerService, kManagerPath, kManagerInterface,
                             row.member, row.args, row.reply, row.defaultReply,
                             nullptr});
}

void addEventLogging(Standin& standin)
{
    standin.addEndpoint({"xyz.openbmc_project.EventLogging",
                         "/xyz/openbmc_project/EventLogging",
                         "xyz.openbmc_project.EventLogging", "AddEventLog",
                         "yssas", "", "[]", nullptr});
}

void addInventoryDaemon(Standin& standin)
{
    standin.addEndpoint({kInvdService, kInvdPath, kPropertiesInterface, "Get",
                         "ss", "v", "", answerGet});
    standin.addEndpoint({kInvdService, kInvdPath, kPropertiesInterface,
                         "GetAll", "s", "a{sv}", "", answerGetAll});
}

bool loadFixture(Standin& standin, json_object* fixture)
{
    json_object* invd = nullptr;
    if (json_object_object_get_ex(fixture, "invd", &invd) && !loadInvd(invd))
        return false;
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
