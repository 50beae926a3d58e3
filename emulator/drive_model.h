// What a newer-family controller does with its drives beyond the parameter
// tables: the ATA pass-through (SMART READ DATA), taking a drive out of use
// (remove-drive command 0x0A), finding such drives again on ports (port
// detection 0x06), and the drive performance monitor's configuration and per-drive
// statistics, kept in the host file in readable form.
#pragma once

#include <cstdint>
#include <nlohmann/json.hpp>

#include "emulator/firmware.h"
#include "emulator/wire.h"

namespace emulator {

// Firmware opcodes answered here.
constexpr uint8_t kRemoveDriveOpcode = 0x0A;
constexpr uint8_t kAtaPassThroughOpcode = 0x11;

FirmwareResult executeAtaPassThrough(nlohmann::json& ctl, ByteSpan command, ByteSpan data);
FirmwareResult removePortDrive(nlohmann::json& ctl, ConstByteSpan command);
// What port detection (0x06) finds of the drives taken out of use: a drive
// of "removed_drives" on a port of the mask is back in use.
FirmwareResult attachRemovedDrives(nlohmann::json& ctl, ConstByteSpan command);

// --- The drive performance monitor (DrivePerfTable 0x0009 parameter 5,
// DriveStatsTable 0x100 + port) ---
// The 28-byte configuration: "perf.config" as an object {"version",
// "capability", "samples", "long_commands", "tick_ns"} or as raw bytes.
void dpmConfigBytes(const nlohmann::json& ctl, Bytes& out);
uint32_t dpmSampleWindowSize(const nlohmann::json& ctl);
uint32_t dpmLongCommandsSize(const nlohmann::json& ctl);
// A drive's statistics under "stats": `key` names the block ("average",
// "average_on_disk"), the long-command list ("long_commands",
// "long_commands_on_disk") or "samples".
void dpmBlockBytes(const nlohmann::json* drive, const char* key, Bytes& out);
void dpmWriteBlock(nlohmann::json& drive, const char* key, const Bytes& value);
void dpmLongCommandBytes(const nlohmann::json* drive, const char* key, Bytes& out);
void dpmWriteLongCommands(nlohmann::json& drive, const char* key, const Bytes& value);
void dpmSampleBytes(const nlohmann::json* drive, Bytes& out);

}  // namespace emulator
