#include "inventory/table_source.hpp"

#include "inventory/invd.hpp"
#include "qvmclient.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace qvm
{

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

    // The name is borrowed from the reply: open the file while it lives.
    const invd::PathReply answer = invd::getPath(bus.get(), invd::kTablePath);
    if (!answer.reply)
        return QVM_RC_FAILED;
    if (answer.result <= 0 || answer.text == nullptr)
    {
        bus.reset();
        std::fprintf(stderr, "opening error : %s\n",
                     std::strerror(answer.result < 0 ? -answer.result : ENXIO));
        return QVM_RC_NOT_FOUND;
    }
    file = openTableFile(answer.text);
    return QVM_RC_SUCCESS;
}

} // namespace qvm
