// The values behind the newer family's battery backup unit operations
// (RhoskFamily, BbuTable 0x8006): the status word bits that the gates and
// the derived values use, the gates' API errors and the text sizes.
#pragma once

#include <cstddef>
#include <cstdint>

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

}  // namespace rhosk_bbu
