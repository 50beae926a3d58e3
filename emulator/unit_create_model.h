// The firmware commands that create a unit or change a unit's layout: the
// create command (opcode 0x14), which makes a new unit from a UnitDescriptor
// array, and the unit update (opcode 0x0F), which turns a unit into a
// migrating unit towards a new layout or makes a single disk a mirror.
#pragma once

#include <nlohmann/json.hpp>

#include "emulator/firmware.h"
#include "emulator/wire.h"

namespace emulator {

// `command` is the command area (header and packet), `data` the data area.
FirmwareResult createUnitCommand(nlohmann::json& controller, ByteSpan command, ConstByteSpan data);
FirmwareResult updateUnitCommand(nlohmann::json& controller, ByteSpan command, ConstByteSpan data);

}  // namespace emulator
