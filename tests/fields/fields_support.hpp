// Helpers for the field-string and JSON tests.
#pragma once

#include "common/handles.hpp"
#include "fields/field_list.hpp"
#include "qvmclient.h"
#include "support/field_strings.hpp"
#include "support/transcript.hpp"

#include <cstdlib>
#include <ctime>
#include <gtest/gtest.h>
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

// Checks a text wrapped with a time stamp: the stamp member comes first and
// holds the time of a clock reading between before and after, then comes
// one member. Gives back that member's name, quoted, and its value written
// plain.
inline std::string unwrapStamped(const std::string& text, const char* stamp,
                                 std::time_t before, std::time_t after)
{
    const qvm::JsonPtr doc(json_tokener_parse(text.c_str()));
    std::vector<std::pair<std::string, json_object*>> members;
    if (json_object_is_type(doc.get(), json_type_object))
    {
        json_object_object_foreach(doc.get(), key, value)
            members.emplace_back(key, value);
    }
    if (members.size() != 2 || members[0].first != stamp)
        return "<not a stamp and one member: " + text + ">";
    char times[2][64];
    const std::string when = json_object_get_string(members[0].second);
    EXPECT_TRUE(when == ctime_r(&before, times[0]) ||
                when == ctime_r(&after, times[1]))
        << when;
    return qvmtest::transcript::quoted(members[1].first) + " " +
           plain(members[1].second);
}

using qvmtest::takeFieldStrings;

} // namespace fieldstest
