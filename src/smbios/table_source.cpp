#include "smbios/table_source.hpp"

#include "qvmclient.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace qvm::smbios
{
namespace
{

constexpr char kService[] = "xyz.openbmc_project.invd";
constexpr char kObject[] = "/xyz/openbmc_project/invd/oem";
constexpr char kPropertiesInterface[] = "org.freedesktop.DBus.Properties";
constexpr char kOemInterface[] = "xyz.openbmc_project.Inventory.Item.Oem";
constexpr char kTablePathProperty[] = "FullSMBIOSTablePath";

} // namespace

FilePtr openTableFile(const char* path) noexcept
{
    const int fd = open(path, O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return nullptr;
    struct stat status
    {
    };
    FilePtr file;
    if (fstat(fd, &status) == 0 && S_ISREG(status.st_mode))
        file.reset(fdopen(fd, "r"));
    if (!file)
        close(fd);
    return file;
}

int64_t openInventoryTableFile(FilePtr& file) noexcept
{
    sd_bus* raw = nullptr;
    int r = sd_bus_default(&raw);
    BusPtr bus(raw);
    if (r < 0)
    {
        std::fprintf(stderr, "Failed to connect to system bus: %s\n",
                     std::strerror(-r));
        return QVM_RC_FAILED;
    }

    BusError error;
    sd_bus_message* rawReply = nullptr;
    r = sd_bus_call_method(bus.get(), kService, kObject, kPropertiesInterface,
                           "Get", error.get(), &rawReply, "ss", kOemInterface,
                           kTablePathProperty);
    MessagePtr reply(rawReply);
    if (r < 0)
        return QVM_RC_FAILED;

    // The name is borrowed from the reply: open the file while it lives.
    const char* name = nullptr;
    r = sd_bus_message_read(reply.get(), "v", "s", &name);
    if (r <= 0 || name == nullptr)
    {
        bus.reset();
        std::fprintf(stderr, "opening error : %s\n",
                     std::strerror(r < 0 ? -r : ENXIO));
        return QVM_RC_NOT_FOUND;
    }
    file = openTableFile(name);
    return QVM_RC_SUCCESS;
}

} // namespace qvm::smbios
