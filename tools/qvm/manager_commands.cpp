// qvm manager ...: the manager's requests.
#include "cli.hpp"

#include <qvmclient.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace qvmcli
{
namespace
{

int version(const Args&)
{
    char* text = nullptr;
    const int32_t rc = QVM_GetVersionRequest(&text);
    if (rc != QVM_RC_SUCCESS)
        return fail("manager version", rc);
    std::printf("%s\n", text);
    std::free(text);
    return 0;
}

int package(const Args& args)
{
    const std::string ticket = args.get("ticket", "");
    const auto n1 = static_cast<uint16_t>(args.number("number1", 0, UINT16_MAX));
    const auto n2 = static_cast<uint16_t>(args.number("number2", 0, UINT16_MAX));
    const int32_t rc = QVM_PackageRequest(ticket.c_str(), n1, n2);
    std::printf("status %d\n", rc);
    return rc == QVM_RC_SUCCESS ? 0 : fail("manager package", rc);
}

} // namespace

const std::vector<Command>& managerCommands()
{
    static const std::vector<Command> commands{
        {"manager", "version", "", "the manager's version text", version},
        {"manager", "package", "[--ticket T] [--number1 N] [--number2 N]",
         "send a Package request", package},
    };
    return commands;
}

} // namespace qvmcli
