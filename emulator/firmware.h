// The controllers' firmware: the parameter tables of both controller
// families, answered from the controller's part of the host file, and the
// firmware commands that the drivers hand on.
#pragma once

#include <cstdint>
#include <nlohmann/json.hpp>
#include <string>

#include "emulator/controller_model.h"
#include "emulator/wire.h"

namespace emulator {

enum class Family { Prane, Rhosk };

// The family a PCI device type (1-6) belongs to.
[[nodiscard]] inline Family familyOfDeviceType(int deviceType) {
    return deviceType == 1 ? Family::Prane : Family::Rhosk;
}

// Why a parameter access failed; each family has its own code for each.
enum class ParamError { None, NoTable, NoParameter, SizeMismatch, ReadOnly, BadValue };

// Reads parameter `parameter` of table `table` (bit 15 clear) with the
// size the request names; the size must be the catalogue's.
[[nodiscard]] ParamError readParam(const ControllerModel& controller, Family family, uint16_t table,
                                   uint16_t parameter, uint32_t size, Bytes* value);
// The same, from the controller's description alone.
[[nodiscard]] ParamError readParam(const nlohmann::json& controller, Family family, uint16_t table,
                                   uint16_t parameter, uint32_t size, Bytes* value);
// Writes it; `value` holds exactly the parameter's bytes.
[[nodiscard]] ParamError writeParam(nlohmann::json& controller, Family family, uint16_t table,
                                    uint16_t parameter, const Bytes& value);

// What one firmware command did.
struct FirmwareResult {
    uint16_t code = 0;     // controller error code; 0 = success
    bool changed = false;  // the controller's state changed
    // What changed is enclosure elements alone: no unit, drive or setting.
    bool elementsOnly = false;
    std::string reason;  // why a malformed packet was refused (the request log's)
};

// A newer-family firmware command: `command` is the command area (the
// 128-byte FirmwareCommandHeader and the packet), `data` the data area;
// both are answered in place. The caller sets the packet status and the
// header texts from the result. Reads answer from `model`, the model of
// `controller`; changes go to `controller`.
FirmwareResult executeRhoskCommand(nlohmann::json& controller, const ControllerModel& model,
                                   ByteSpan command, ByteSpan data);

// An older-family 512-byte packet and its data area, answered in place;
// the status byte is set here.
FirmwareResult executePraneCommand(nlohmann::json& controller, const ControllerModel& model,
                                   Bytes& packet, Bytes& data);

// Fills the packet status and the FirmwareCommandHeader texts of a failed
// newer-family command: code at byte 22, the controller's text from byte
// 26 and its message after it.
void reportRhoskError(ByteSpan command, uint16_t code, const std::string& text);

// Sets the status byte (and the error number in byte 5) of a failed
// older-family packet.
void reportPraneError(Bytes& packet, uint16_t code);

// Byte offsets of the newer-family command area.
constexpr size_t kCmdHeaderSize = 128;
constexpr size_t kCmdErrorCode = 22;
constexpr size_t kCmdErrorText = 26;
constexpr size_t kCmdHeaderSizeByte = 124;
constexpr size_t kPacketStatus = 4;

}  // namespace emulator
