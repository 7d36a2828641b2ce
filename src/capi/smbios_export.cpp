// The exported JSON export of the loaded table and of one structure.
#include "capi/loaded_table.hpp"
#include "common/handles.hpp"
#include "qvmclient.h"
#include "smbios/json_export.hpp"
#include "smbios/structure_json.hpp"

#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace
{

// "a+" as fopen opens it: the file is appended to, never truncated.
int openForAppend(const char* path)
{
    return ::open(path, O_RDWR | O_CREAT | O_APPEND | O_CLOEXEC, 0666);
}

} // namespace

extern "C" int64_t SmBiosDataToJSON(const char* path)
{
    if (path == nullptr)
        return QVM_RC_INVALID_REQUEST;
    const int fd = openForAppend(path);
    if (fd < 0)
        return QVM_RC_SUCCESS;
    {
        qvm::FdWriter out(fd);
        qvm::smbios::exportJson(qvm::capi::loadedContext(), out);
    }
    ::close(fd);
    return QVM_RC_SUCCESS;
}

extern "C" int64_t qvmSmbiosAddStructure(uint8_t** slot, uint32_t size,
                                         const char* path)
{
    if (slot == nullptr || path == nullptr)
        return QVM_RC_INVALID_REQUEST;
    const auto context = qvm::capi::loadedContext();
    // Only structures of the loaded table are read.
    const auto view = context.table.viewAt(*slot);
    if (!view.valid())
        return QVM_RC_INVALID_REQUEST;
    const auto json = qvm::smbios::structureJson(view, size, context.decode);
    if (json.status != QVM_RC_SUCCESS)
        return json.status;
    const qvm::FilePtr file(std::fopen(path, "a+"));
    if (!file)
        return QVM_RC_FAILED;
    std::fwrite(json.text.data(), 1, json.text.size(), file.get());
    return QVM_RC_SUCCESS;
}
