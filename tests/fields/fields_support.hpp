// Helpers for the field-string and JSON tests.
#pragma once

#include "fields/field_list.hpp"
#include "qvmclient.h"
#include "support/field_strings.hpp"

#include <cstdlib>
#include <ctime>
#include <gmock/gmock.h>
#include <json-c/json.h>
#include <string>
#include <vector>

namespace fieldstest
{

// A JSON text re-read and written back plain: two texts compare equal
// exactly when they hold the same members in the same order with the same
// JSON types. An unparsable text comes back marked as such.
inline std::string plain(const std::string& text)
{
    json_object* doc = json_tokener_parse(text.c_str());
    if (doc == nullptr)
        return "<not JSON: " + text + ">";
    std::string out =
        json_object_to_json_string_ext(doc, JSON_C_TO_STRING_PLAIN);
    json_object_put(doc);
    return out;
}

inline std::string plain(json_object* doc)
{
    return json_object_to_json_string_ext(doc, JSON_C_TO_STRING_PLAIN);
}

// Member names of an object, in order.
inline std::vector<std::string> memberNames(json_object* doc)
{
    std::vector<std::string> names;
    json_object_object_foreach(doc, key, value)
    {
        (void)value;
        names.emplace_back(key);
    }
    return names;
}

// The time stamp text that the library writes for when.
inline std::string ctimeText(std::time_t when)
{
    char text[64];
    return ctime_r(&when, text);
}

// Checks a text wrapped with a time stamp: the stamp member comes first and
// holds the time of a clock reading between before and after, then comes
// member. Gives back the member written plain.
inline std::string unwrapStamped(const std::string& text, const char* stamp,
                                 const char* member, std::time_t before,
                                 std::time_t after)
{
    json_object* doc = json_tokener_parse(text.c_str());
    if (doc == nullptr)
        return "<not JSON: " + text + ">";
    EXPECT_THAT(memberNames(doc), testing::ElementsAre(stamp, member));
    const char* when =
        json_object_get_string(json_object_object_get(doc, stamp));
    const std::string stamped = when ? when : "<none>";
    EXPECT_TRUE(stamped == ctimeText(before) || stamped == ctimeText(after))
        << stamped;
    std::string out = plain(json_object_object_get(doc, member));
    json_object_put(doc);
    return out;
}

using qvmtest::takeFieldStrings;

} // namespace fieldstest
