// The field strings a test's list holds, taken out of it.
#pragma once

#include "common/handles.hpp"
#include "fields/field_list.hpp"
#include "qvmclient.h"

#include <cstdint>
#include <string>
#include <vector>

namespace qvmtest
{

// The list's texts from head to tail, each as show gives it, leaving the
// list empty; a last "<count N>" entry when the list's count disagrees
// with its nodes.
template <typename Show = std::string (*)(const char*)>
std::vector<std::string> takeFieldStrings(
    FieldList& list,
    Show show = [](const char* text) { return std::string(text); })
{
    const std::uint32_t count = list.count;
    std::vector<std::string> out;
    while (list.head != nullptr)
    {
        const qvm::HeapString text(qvm::takeFirstText(list));
        out.push_back(show(text.get()));
    }
    if (out.size() != count)
        out.push_back("<count " + std::to_string(count) + ">");
    return out;
}

} // namespace qvmtest
