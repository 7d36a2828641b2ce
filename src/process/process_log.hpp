// Log lines shared by the helper-program functions. Every line they write is
// a user-facility debug line whose first field is the exported function's
// name.
#pragma once

#include "common/log.hpp"
#include "qvmclient.h"

#include <cstdint>

namespace qvm::process
{

inline int32_t reportFailure(const char* caller)
{
    qvm::log(facility::kUser, priority::kDebug, "%s: Returning FAILURE\n",
             caller);
    return QVM_RC_FAILED;
}

} // namespace qvm::process
