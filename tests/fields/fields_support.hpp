// Helpers for the field-string and JSON tests.
#pragma once

#include "fields/field_list.hpp"
#include "qvmclient.h"
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
// one member. Gives back that member's name, quoted, and its value written
// plain.
inline std::string unwrapStamped(const std::string& text, const char* stamp,
                                 std::time_t before, std::time_t after)
{
    json_object* doc = json_tokener_parse(text.c_str());
    if (doc == nullptr)
        return "<not JSON: " + text + ">";
    const auto names = memberNames(doc);
    EXPECT_EQ(names.size(), 2U);
    EXPECT_EQ(names.front(), stamp);
    const char* when =
        json_object_get_string(json_object_object_get(doc, stamp));
    const std::string stamped = when ? when : "<none>";
    EXPECT_TRUE(stamped == ctimeText(before) || stamped == ctimeText(after))
        << stamped;
    std::string out = qvmtest::transcript::quoted(names.back()) + " " +
                      plain(json_object_object_get(doc, names.back().c_str()));
    json_object_put(doc);
    return out;
}

// The list's texts in order; releases nodes and texts and leaves the list
// empty.
inline std::vector<std::string> drain(FieldList& list)
{
    std::vector<std::string> texts;
    for (const FieldNode* node = list.head; node != nullptr; node = node->next)
        texts.emplace_back(node->text);
    qvm::freeFieldNodes(list);
    return texts;
}

} // namespace fieldstest
