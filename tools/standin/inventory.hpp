// Inventory objects described by the fixture, and the object mapper that
// lists them.
//
// The fixture's "inventory" section maps service names to object paths, to
// interface names, to either the interface's properties or the name of the
// D-Bus error that every call on that interface answers with:
//
//   "inventory": {
//     "xyz.openbmc_project.Inventory.Manager": {
//       "/xyz/openbmc_project/inventory/system": {
//         "xyz.openbmc_project.Inventory.Item": {
//           "Present": {"type": "b", "value": true}
//         },
//         "xyz.openbmc_project.Inventory.Decorator.Asset":
//           "xyz.openbmc_project.Common.Error.Unavailable"
//       }
//     }
//   }
//
// Property values are typed like variants everywhere in the stand-in
// ({"type": SIGNATURE, "value": VALUE}). Every service answers
// org.freedesktop.DBus.Properties GetAll and Get on its objects; the object
// mapper answers GetSubTree over all of them.
#pragma once

#include "standin.hpp"

#include <json-c/json.h>
#include <string>

namespace standin
{

inline constexpr char kMapperService[] = "xyz.openbmc_project.ObjectMapper";
inline constexpr char kMapperPath[] = "/xyz/openbmc_project/object_mapper";
inline constexpr char kMapperInterface[] = "xyz.openbmc_project.ObjectMapper";

// Registers the object mapper and the inventory of fixture; without one,
// the inventory daemon's object alone, naming the bundled sample table.
// A non-empty smbiosTable becomes the daemon's table path either way.
// Returns false when the "inventory" section is malformed.
bool addInventory(Standin& standin, json_object* fixture,
                  const std::string& smbiosTable);

} // namespace standin
