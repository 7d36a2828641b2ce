// The inventory daemon: where it lives on the bus and the Get of one of its
// file-path properties, for the inventory lookups and the table loader.
#pragma once

#include "common/handles.hpp"

#include <string>
#include <systemd/sd-bus.h>

namespace qvm::invd
{

inline constexpr char kService[] = "xyz.openbmc_project.invd";
inline constexpr char kObject[] = "/xyz/openbmc_project/invd/oem";
inline constexpr char kInterface[] = "xyz.openbmc_project.Inventory.Item.Oem";

inline constexpr char kTablePath[] = "FullSMBIOSTablePath";
inline constexpr char kBiosConfigurationPath[] = "BiosConfigurationFilePath";

// The answer to one Get, with the bus's default time-out. reply is null
// when the call failed (result: its negative errno; busError: the error
// record's name and message, when it has them); otherwise result is what
// reading the string out of the variant gave, and text, borrowed from the
// reply, the string when that read succeeded.
struct PathReply
{
    MessagePtr reply;
    int result = 0;
    const char* text = nullptr;
    std::string busError;
};

PathReply getPath(sd_bus* bus, const char* name);

} // namespace qvm::invd
