// The controllers' firmware: the firmware commands that the drivers hand
// on, and the parameter tables of both controller families that the
// parameter commands read and write (emulator/param_catalogue.h).
#pragma once

#include <cstdint>
#include <nlohmann/json.hpp>
#include <string>

#include "emulator/controller_model.h"
#include "emulator/param_catalogue.h"
#include "emulator/wire.h"

namespace emulator {

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
