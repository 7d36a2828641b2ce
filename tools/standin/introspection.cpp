#include "introspection.hpp"

#include "json_dbus.hpp"

#include <string_view>

namespace standin
{
namespace
{

constexpr char kDoctype[] =
    "<!DOCTYPE node PUBLIC \"-//freedesktop//DTD D-BUS Object Introspection "
    "1.0//EN\"\n"
    " \"http://www.freedesktop.org/standards/dbus/1.0/introspect.dtd\">\n";

// Names come from fixtures, so they are escaped like any attribute text.
std::string escaped(std::string_view text)
{
    std::string out;
    for (const char c : text)
    {
        switch (c)
        {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            default:
                out += c;
        }
    }
    return out;
}

// One <arg> per complete type of signature; direction is empty for signals.
void appendArgs(std::string& xml, std::string_view signature,
                const char* direction)
{
    while (!signature.empty())
    {
        std::size_t n = completeTypeLength(signature);
        if (n == 0)
            n = signature.size(); // malformed: shown whole rather than lost
        xml += "   <arg type=\"" + escaped(signature.substr(0, n)) + "\"";
        if (*direction != '\0')
            xml += std::string(" direction=\"") + direction + "\"";
        xml += "/>\n";
        signature.remove_prefix(n);
    }
}

void appendInterface(std::string& xml, const std::string& name,
                     const InterfaceDescription& interface)
{
    xml += " <interface name=\"" + escaped(name) + "\">\n";
    for (const auto& [member, signatures] : interface.methods)
    {
        xml += "  <method name=\"" + escaped(member) + "\">\n";
        appendArgs(xml, signatures.first, "in");
        appendArgs(xml, signatures.second, "out");
        xml += "  </method>\n";
    }
    for (const auto& [member, signature] : interface.signals)
    {
        xml += "  <signal name=\"" + escaped(member) + "\">\n";
        appendArgs(xml, signature, "");
        xml += "  </signal>\n";
    }
    for (const auto& [property, type] : interface.properties)
        xml += "  <property name=\"" + escaped(property) + "\" type=\"" +
               escaped(type) + "\" access=\"read\"/>\n";
    xml += " </interface>\n";
}

} // namespace

std::string introspectionXml(const ObjectDescription& object)
{
    ObjectDescription whole = object;
    whole.interfaces["org.freedesktop.DBus.Introspectable"]
        .methods["Introspect"] = {"", "s"};
    auto& peer = whole.interfaces["org.freedesktop.DBus.Peer"].methods;
    peer["Ping"] = {"", ""};
    peer["GetMachineId"] = {"", "s"};

    std::string xml = kDoctype;
    xml += "<node>\n";
    for (const auto& [name, interface] : whole.interfaces)
        appendInterface(xml, name, interface);
    for (const auto& child : whole.children)
        xml += " <node name=\"" + escaped(child) + "\"/>\n";
    xml += "</node>\n";
    return xml;
}

} // namespace standin
