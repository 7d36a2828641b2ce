// Owners of what the library and its dependencies hand to the tool: the
// library's own handles, under the tool's names.
#pragma once

#include "../../src/common/handles.hpp"

#include <qvmclient.h>

namespace qvmcli
{

using Bus = qvm::BusPtr;
using Message = qvm::MessagePtr;
using Json = qvm::JsonPtr;
using HeapText = qvm::HeapString;
using qvm::Free;

} // namespace qvmcli
