// What the controller drivers insist on before they take a request: the
// SRB_IO_CONTROL envelope (HeaderLength, Length, Timeout), the buffer size
// of each kind of request, and for a newer-family firmware command its
// header-size byte, its ControlCode flag bits and its data area. A request
// that breaks them is refused the way the driver refuses it: the call
// fails with a Windows error, or the driver answers a ReturnCode.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "emulator/wire.h"

namespace emulator {

// The SRB_IO_CONTROL layout.
constexpr size_t kSrbHeaderLength = 28;
constexpr size_t kSrbSignature = 4;
constexpr size_t kSrbTimeout = 12;
constexpr size_t kSrbControlCode = 16;
constexpr size_t kSrbReturnCode = 20;
constexpr size_t kSrbLength = 24;

// The older family's request: four zero bytes, the packet at 32, its data
// from 544.
constexpr size_t kPraneReserved = 28;
constexpr size_t kPranePacketOffset = 32;
constexpr size_t kPranePacketSize = 512;
constexpr size_t kPraneDataOffset = 544;

// The driver-information block (reply to ControlCode 1).
constexpr size_t kDriverInfoSize = 128;

// Newer-family command lengths: the short command, and the long form of
// the ATA pass-through.
constexpr size_t kCommandShort = 152;
constexpr size_t kCommandLong = 396;

// The newer family's driver requests, by ControlCode.
enum class RequestKind {
    DriverInfo,
    EventLast,
    EventFirst,
    EventNext,
    EventPrevious,
    Lock,
    Unlock,
    Commit,
};

struct RequestKindRow {
    uint32_t controlCode;
    RequestKind kind;
    const char* name;  // the request log's and fault rules' name
    size_t needed;     // the payload the driver reads or fills
};

// The driver request of a ControlCode; null for a firmware command or an
// unknown code.
[[nodiscard]] const RequestKindRow* requestKindOf(uint32_t controlCode);

// A firmware command's ControlCode: 0xF0000000 with flag bits (the commit
// request, 0xFFFF0002, is none).
[[nodiscard]] bool isFirmwareCommand(uint32_t controlCode);

// A driver's refusal: the ReturnCode it answers or, when that is 0, the
// Windows error the call fails with; and why, for the request log.
struct Refusal {
    uint32_t returnCode = 0;
    uint32_t osError = 0;
    std::string reason;
    [[nodiscard]] bool refused() const { return !reason.empty(); }
};

// A newer-family ControlCode that is neither a driver request nor a
// firmware command.
[[nodiscard]] Refusal unknownControlCode(uint32_t controlCode);

// The port driver's own checks: HeaderLength and Length.
[[nodiscard]] Refusal checkEnvelope(ConstByteSpan buffer);

// A newer-family driver request other than a firmware command: Timeout
// and buffer size of its kind.
[[nodiscard]] Refusal checkDriverRequest(const RequestKindRow& row, ConstByteSpan buffer);

// A newer-family firmware command whose command area is `commandLength`
// bytes: the command fits, its data area is whole sectors, the header-size
// byte, the ControlCode flag bits, Timeout and the data area its opcode
// takes.
[[nodiscard]] Refusal checkFirmwareCommand(ConstByteSpan buffer, size_t commandLength);

// The command length of the firmware command in `buffer` (152, or 396 for
// the long form of the ATA pass-through).
[[nodiscard]] size_t firmwareCommandLength(ConstByteSpan buffer);

// An older-family request: ControlCode 0, Timeout, the zero bytes before
// the packet and a data area of whole sectors.
[[nodiscard]] Refusal checkPraneRequest(ConstByteSpan buffer);

}  // namespace emulator
