// The helper-program functions of the C interface. Each child starts with
// the exported environment, read afresh at every start.
#include "common/log.hpp"
#include "process/child_launch.hpp"
#include "qvmclient.h"

#include <cstdio>

// The environment every helper program starts with. The array is exported
// and writable, and it is read afresh at each start, so a caller that
// changes an entry changes what the next child sees. The caller's own
// environment is never passed on.
namespace
{

char home[] = "HOME=/";
char path[] = "PATH=/bin:/usr/bin:/usr/bin/quorvane";
char user[] = "USER=root";
char libraryPath[] = "LD_LIBRARY_PATH=/usr/lib";

} // namespace

char* envp[5] = {home, path, user, libraryPath, nullptr};

extern "C" int32_t QVM_system_call_wait(const char* path, char* const argv[])
{
    return qvm::process::runToEnd({"QVM_system_call_wait", path, argv, envp});
}

// The parent leaves the stream alone: the child reads from the descriptor's
// current position, so data already buffered inside the stream is not seen.
extern "C" int32_t QVM_system_call_wait_stdin(FILE* input, const char* path,
                                              char* const argv[])
{
    constexpr const char* caller = "QVM_system_call_wait_stdin";
    if (input == nullptr || path == nullptr)
    {
        qvm::log(qvm::facility::kUser, qvm::priority::kDebug,
                 "%s: Returning INVALID REQUEST\n", caller);
        return QVM_RC_INVALID_REQUEST;
    }
    return qvm::process::runToEnd({caller, path, argv, envp, fileno(input)});
}

extern "C" int32_t QVM_system_call_timeout(const char* path, char* const argv[],
                                           int32_t seconds)
{
    return qvm::process::runWithin(
        {"QVM_system_call_timeout", path, argv, envp}, seconds);
}
