// The newer-family firmware commands that change units and drives:
// delete, export and release of a unit, verify start and stop, attaching a
// replacement and starting a rebuild, the write-cache flush, the import of
// exported units and the split of a mirror. Each
// changes the controller's part of the host file the way the controller
// would, or refuses with the controller's code.
#pragma once

#include <cstdint>
#include <nlohmann/json.hpp>

#include "emulator/firmware.h"
#include "emulator/wire.h"

namespace emulator {

// Packet byte 10 of a unit update (0x0F) that splits a mirror.
constexpr uint8_t kSplitMirrorAction = 2;

// True when `opcode` (low 5 bits) is one of these commands.
[[nodiscard]] bool isUnitCommand(uint8_t opcode);

// Carries out one of them: `command` is the command area (header and
// packet), `data` the data area; the packet is answered in place.
FirmwareResult executeUnitCommand(nlohmann::json& ctl, uint8_t opcode, ByteSpan command,
                                  ConstByteSpan data);

// True when the drive on `port` belongs to a unit that was exported or
// released: the drive still carries that unit's configuration.
[[nodiscard]] bool carriesExportedUnit(const nlohmann::json& ctl, uint64_t port);

}  // namespace emulator
