// The fixed bytes of the command packets that the controllers' firmware
// checks before it carries a command out: the whole opcode byte (bits 5-7
// included), the command size in byte 1 and, for some commands, a fixed
// count or value in bytes 6-7. A packet that breaks them is refused with
// the controller's own code.
#pragma once

#include <cstdint>
#include <string>

#include "emulator/firmware.h"
#include "emulator/wire.h"

namespace emulator {

// A refused packet: the controller's code and why, for the request log.
struct PacketFault {
    uint16_t code = 0;  // 0: the packet is sound (or not one the table knows)
    std::string reason;
};

// Checks the packet that starts at `packet` in `bytes` (the command area
// of a newer-family command, or an older-family packet); `withData` says
// whether the command came with a data area.
[[nodiscard]] PacketFault checkPacket(Family family, ConstByteSpan bytes, size_t packet,
                                      bool withData);

}  // namespace emulator
