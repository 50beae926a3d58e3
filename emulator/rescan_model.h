// What a controller finds when the host asks it to look at its ports
// again: drives attached since it last looked ("new_drives" of the host
// file) and units whose configuration those drives carry ("foreign_units").
#pragma once

#include <nlohmann/json.hpp>

#include "emulator/firmware.h"

namespace emulator {

constexpr uint8_t kDetectPortsOpcode = 0x06;
constexpr uint8_t kImportScanOpcode = 0x07;

// What port detection (firmware opcode 0x06) finds: every port of the
// packet's port mask that is empty takes the new drive attached to it, if
// any. The command itself is checked and answered by detectPorts
// (emulator/firmware_image.h).
FirmwareResult attachNewDrives(nlohmann::json& controller, ConstByteSpan command);

// Import scan (0x07): every foreign unit whose drives all sit on ports of
// the mask becomes a unit of the controller, under its own number when that
// is free, else the lowest free one; its drives stop offering it.
FirmwareResult importScan(nlohmann::json& controller, ConstByteSpan command);

}  // namespace emulator
