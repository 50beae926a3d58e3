// The error codes that the emulated controllers report, with the texts of
// the controllers' message tables.
#pragma once

#include <cstdint>
#include <string>

namespace emulator {

// Newer-family firmware error codes (FirmwareCommandHeader byte 22).
constexpr uint16_t kFwInvalidOpcode = 0x0101;
constexpr uint16_t kFwNoSuchTable = 0x010B;
constexpr uint16_t kFwNoSuchParameter = 0x010C;
constexpr uint16_t kFwInvalidField = 0x010D;
constexpr uint16_t kFwSizeMismatch = 0x010F;
constexpr uint16_t kFwParamListLength = 0x01D1;
constexpr uint16_t kFwNotChangeable = 0x01D2;

// Older-family controller codes: the low byte travels as the packet's
// status byte, the high byte as packet byte 5.
constexpr uint16_t kPraneUnsupportedOpcode = 0x00D2;
constexpr uint16_t kPraneUnsupportedCommand = 0x00DB;
constexpr uint16_t kPraneInvalidSize = 0x0EC1;
constexpr uint16_t kPraneNoSuchTable = 0x15C1;
constexpr uint16_t kPraneNoSuchParameter = 0x16C1;

// Newer-family driver return codes (SRB_IO_CONTROL ReturnCode).
constexpr uint32_t kDrvNoMoreEvents = 1;
constexpr uint32_t kDrvNotLocked = 1;
constexpr uint32_t kDrvAlreadyLocked = 2;
constexpr uint32_t kDrvUnknownIoctl = 0x8001;
constexpr uint32_t kDrvInsufficientLength = 0x8002;
constexpr uint32_t kDrvInvalidParameters = 0x8005;
// Upper 16 bits of a ReturnCode that says "the firmware reported the error".
constexpr uint32_t kDrvFirmwareError = 0x80060000u;

// The newer-family controller's text for a code; empty for a code it has
// no text for.
std::string rhoskControllerText(uint16_t code);

}  // namespace emulator
