#include "common/log.hpp"
#include "fields/json_document.hpp"
#include "qvmclient.h"

#include <cstddef>

namespace
{

using qvm::facility::kDaemon;
using qvm::priority::kDebug;

bool isContainer(json_type type)
{
    return type == json_type_object || type == json_type_array;
}

int32_t teardown(json_object* doc);

// Scalar members are removed outright; a nested container is emptied first
// and removed only when that worked, so a container that could not be taken
// apart stays visible in its parent.
int32_t teardownObject(json_object* object)
{
    qvm::log(kDaemon, kDebug, "Object processing\n");
    lh_entry* entry = lh_table_head(json_object_get_object(object));
    while (entry != nullptr)
    {
        lh_entry* next = lh_entry_next(entry);
        const char* key = static_cast<const char*>(lh_entry_k(entry));
        auto* value = static_cast<json_object*>(lh_entry_v(entry));
        const json_type type = json_object_get_type(value);
        if (isContainer(type))
        {
            qvm::log(kDaemon, kDebug, "Recursive call for job type %d\n",
                     static_cast<int>(type));
            if (teardown(value) == 0)
            {
                qvm::log(kDaemon, kDebug, "delete after nested return %s\n",
                         key);
                json_object_object_del(object, key);
            }
        }
        else
        {
            qvm::log(kDaemon, kDebug, "Object type %d delete %s\n",
                     static_cast<int>(type), key);
            json_object_object_del(object, key);
        }
        entry = next;
    }
    return 0;
}

// Every element is taken apart, last first, but only the last one is
// removed from the array; an empty array cannot give one up and reports -1.
int32_t teardownArray(json_object* array)
{
    const auto length = static_cast<int>(json_object_array_length(array));
    qvm::log(kDaemon, kDebug, "Array delete %d\n", length);
    for (int index = length - 1; index >= 0; --index)
    {
        qvm::log(kDaemon, kDebug, "Array delete index %d\n", index);
        const int32_t rc = teardown(
            json_object_array_get_idx(array, static_cast<std::size_t>(index)));
        if (rc != 0)
            qvm::log(kDaemon, kDebug, "nested delete return %d\n", rc);
    }
    qvm::log(kDaemon, kDebug, "Array delete save idx %d\n", length - 1);
    // With an empty array the index wraps to SIZE_MAX, which json-c refuses.
    return json_object_array_del_idx(array,
                                     static_cast<std::size_t>(length - 1), 1);
}

int32_t teardown(json_object* doc)
{
    if (doc == nullptr)
        return QVM_RC_INVALID_REQUEST;
    const json_type type = json_object_get_type(doc);
    qvm::log(kDaemon, kDebug, "Free Jobtype %d\n", static_cast<int>(type));
    int32_t rc = 0;
    if (type == json_type_object)
        rc = teardownObject(doc);
    else if (type == json_type_array)
        rc = teardownArray(doc);
    else
        qvm::log(kDaemon, kDebug, "Delete thing - %d\n",
                 static_cast<int>(type));
    qvm::log(kDaemon, kDebug, "Exit  return %d \n", rc);
    return rc;
}

} // namespace

int32_t qvm::takeApartJson(json_object* doc)
{
    return teardown(doc);
}
