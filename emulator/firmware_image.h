// The controller's firmware flash and its port detection: the image that
// arrives in chunks (opcode 0x16) and the port detection command with its
// auto-detect flag (opcode 0x06).
#pragma once

#include <nlohmann/json.hpp>

#include "emulator/firmware.h"
#include "emulator/wire.h"

namespace emulator {

// One chunk of a firmware image. The first chunk of an image carries its
// 64-byte header, which the controller checks (signature, architecture,
// SRL); every chunk but the last is answered "next image buffer expected";
// the last one checks the image's checksum and flashes it: the controller
// reports the image's version and SRL from then on. The image received so
// far is kept under "image_download" in the controller.
FirmwareResult takeImageChunk(nlohmann::json& controller, ConstByteSpan command,
                              ConstByteSpan data);

// Drops an image left incomplete: a new management session (the
// management lock taken) starts every download afresh.
void discardImageDownload(nlohmann::json& controller);

// The port detection command: with the auto-detect flag set the listed
// ports leave automatic detection; without it they (re)join it and are
// probed for drives attached since (attachNewDrives).
FirmwareResult detectPorts(nlohmann::json& controller, ConstByteSpan command);

}  // namespace emulator
