// The newer family's battery backup unit operations over BbuTable 0x8006.
// Almost every query is gated by the BBU status word: a disabled BBU, a
// controller without BBU and a BBU without battery each fail with their own
// API error. All take the controller id and return 0 or -1.
#pragma once

#include <cstddef>
#include <cstdint>

#include "api/object_id.h"

namespace rhosk_bbu {

// Bits of the BBU status word that the gates and the derived values use.
constexpr uint32_t kBbuPresentBit = 1u << 31;
constexpr uint32_t kBatteryPresentBit = 1u << 30;
constexpr uint32_t kReadyBit = 1u << 3;
constexpr uint32_t kVoltageShift = 4;      // bits 4-6
constexpr uint32_t kTemperatureShift = 8;  // bits 8-10
constexpr uint32_t kReadyValue = 8;        // what a ready BBU reports

// API errors of the gates (library message table).
constexpr uint32_t kApiNoBbu = 74;        // "Controller has no battery backup unit"
constexpr uint32_t kApiNoBattery = 75;    // "Battery backup unit has no battery"
constexpr uint32_t kApiBbuDisabled = 90;  // "Battery backup unit is disabled"

// Text sizes of the caller buffers.
constexpr std::size_t kBbuTextSize = 32;

// A 3-bit level class of the status word: 0-4 as they stand, 5-7 -> -1.
constexpr int32_t LevelOf(uint32_t word, uint32_t shift) {
    const uint32_t level = (word >> shift) & 7u;
    return level <= 4 ? static_cast<int32_t>(level) : -1;
}
// The BBU status byte: 0-9 as they stand, anything else -> -1.
constexpr int32_t StatusOf(uint32_t value) {
    return value <= 9 ? static_cast<int32_t>(value) : -1;
}

[[nodiscard]] int32_t IsBbuEnabled(ObjectId controller, uint32_t* enabled);
[[nodiscard]] int32_t EnableBbu(ObjectId controller);
[[nodiscard]] int32_t DisableBbu(ObjectId controller);
[[nodiscard]] int32_t GetBbuStatusWord(ObjectId controller, uint32_t* word);
[[nodiscard]] int32_t IsBbuPresent(ObjectId controller, uint32_t* present);
[[nodiscard]] int32_t IsBatteryPresent(ObjectId controller, uint32_t* present);
[[nodiscard]] int32_t GetBbuReady(ObjectId controller, uint32_t* ready);
[[nodiscard]] int32_t GetBatteryVoltageStatus(ObjectId controller, int32_t* level);
[[nodiscard]] int32_t GetBatteryTemperatureStatus(ObjectId controller, int32_t* level);
[[nodiscard]] int32_t GetBbuSerial(ObjectId controller, char* text /*32*/);
[[nodiscard]] int32_t GetBbuFirmwareVersion(ObjectId controller, char* text /*32*/);
[[nodiscard]] int32_t GetBbuBootloaderVersion(ObjectId controller, char* text /*32*/);
[[nodiscard]] int32_t GetBbuPcbRevision(ObjectId controller, uint32_t* revision);
[[nodiscard]] int32_t GetBbuInfoText(ObjectId controller, char* text /*64*/);
[[nodiscard]] int32_t GetBatteryInstallDate(ObjectId controller, char* text /*16*/);
[[nodiscard]] int32_t GetLastCapacityTestDate(ObjectId controller, char* text /*16*/);
[[nodiscard]] int32_t GetEstimatedBackupCapacity(ObjectId controller, uint32_t* hours);
[[nodiscard]] int32_t GetBbuStatus(ObjectId controller, int32_t* status);
[[nodiscard]] int32_t StartBbuBatteryTest(ObjectId controller);

}  // namespace rhosk_bbu
