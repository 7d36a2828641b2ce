// What one object of the stand-in serves, and its D-Bus introspection XML,
// so that busctl tree / introspect and other generic tools can explore it.
#pragma once

#include <map>
#include <set>
#include <string>
#include <utility>

namespace standin
{

struct InterfaceDescription
{
    // member -> (argument signature, reply signature)
    std::map<std::string, std::pair<std::string, std::string>> methods;
    std::map<std::string, std::string> signals;    // member -> signature
    std::map<std::string, std::string> properties; // name -> type (read-only)
};

struct ObjectDescription
{
    std::map<std::string, InterfaceDescription> interfaces;
    std::set<std::string> children; // names of the nodes one level down
};

// The introspection document of object; the Introspectable and Peer
// interfaces that every object answers are added to it.
std::string introspectionXml(const ObjectDescription& object);

} // namespace standin
