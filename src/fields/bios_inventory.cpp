#include "fields/bios_inventory.hpp"

#include "common/handles.hpp"
#include "fields/json_document.hpp"
#include "qvmclient.h"

#include <array>
#include <cstring>

namespace
{

constexpr int32_t kNoConfiguration = -1; // also: attributes ran out
constexpr int32_t kBadPath = -2;
// Four matches end the walk, whichever names they were.
constexpr int kWanted = 4;

enum class Section
{
    None,
    Hardware,
    Software,
};

struct Wanted
{
    const char* name;
    Section section;
};

constexpr std::array<Wanted, kWanted> kWantedNames = {{
    {"SystemModelName", Section::Hardware},
    {"SystemServiceTag", Section::Hardware},
    {"SystemBiosVersion", Section::Software},
    {"SystemCpldVersion", Section::Software},
}};

Section sectionOf(const char* name)
{
    if (name == nullptr)
        return Section::None;
    for (const auto& wanted : kWantedNames)
        if (std::strcmp(wanted.name, name) == 0)
            return wanted.section;
    return Section::None;
}

json_object* member(json_object* object, const char* key)
{
    json_object* value = nullptr;
    json_object_object_get_ex(object, key, &value);
    return value;
}

// "SystemConfiguration" / "Components"[0] / "Attributes". A level that is
// there but of the wrong type counts as broken, like a missing one, so no
// json-c accessor is ever used on a type it does not take.
int32_t findAttributes(json_object* doc, json_object*& attributes)
{
    json_object* config = nullptr;
    if (!json_object_object_get_ex(doc, "SystemConfiguration", &config))
        return kNoConfiguration;
    if (!json_object_is_type(config, json_type_object))
        return kBadPath;
    json_object* components = member(config, "Components");
    if (!json_object_is_type(components, json_type_array))
        return kBadPath;
    json_object* first = json_object_array_get_idx(components, 0);
    attributes = member(first, "Attributes");
    if (!json_object_is_type(attributes, json_type_array))
        return kBadPath;
    return QVM_RC_SUCCESS;
}

// A matching attribute without a "Value" (or with a null one) still counts
// and is recorded as the empty text.
json_object* valueText(json_object* attribute)
{
    const char* text = json_object_get_string(member(attribute, "Value"));
    return json_object_new_string(text ? text : "");
}

bool collect(json_object* attributes, json_object* hardware,
             json_object* software)
{
    const std::size_t count = json_object_array_length(attributes);
    int remaining = kWanted;
    for (std::size_t i = 0; remaining > 0; ++i)
    {
        if (i >= count)
            return false;
        json_object* attribute = json_object_array_get_idx(attributes, i);
        const char* name = json_object_get_string(member(attribute, "Name"));
        const Section section = sectionOf(name);
        if (section == Section::None)
            continue;
        qvm::addMember(section == Section::Hardware ? hardware : software, name,
                       valueText(attribute));
        --remaining;
    }
    return true;
}

} // namespace

int32_t qvm::biosDataFromJson(json_object* doc, json_object** out)
{
    if (doc == nullptr || out == nullptr)
        return QVM_RC_INVALID_REQUEST;
    json_object* attributes = nullptr;
    if (const int32_t rc = findAttributes(doc, attributes); rc != 0)
        return rc;
    qvm::JsonPtr result(json_object_new_object());
    qvm::JsonPtr inventory(json_object_new_object());
    qvm::JsonPtr hardware(json_object_new_object());
    qvm::JsonPtr software(json_object_new_object());
    if (!result || !inventory || !hardware || !software)
        return QVM_RC_NO_RESOURCES;
    if (!collect(attributes, hardware.get(), software.get()))
    {
        qvm::takeApartJson(hardware.get());
        qvm::takeApartJson(software.get());
        return kNoConfiguration;
    }
    if (!qvm::addMember(inventory.get(), "HARDWARE", hardware.release()) ||
        !qvm::addMember(inventory.get(), "SOFTWARE", software.release()) ||
        !qvm::addMember(result.get(), "Inventory", inventory.release()))
        return QVM_RC_NO_RESOURCES;
    *out = result.release();
    return QVM_RC_SUCCESS;
}
