#include "emulator/request_envelope.h"

#include <algorithm>
#include <cstdio>
#include <iterator>

#include "emulator/controller_codes.h"
#include "emulator/event_model.h"
#include "platform/host_system.h"

namespace emulator {

namespace {

// Every newer-family driver request but a firmware command is 512 bytes.
constexpr size_t kRequestLength = 512 - kSrbHeaderLength;
constexpr size_t kLockBlockSize = 12;
constexpr size_t kParamHeaderSize = 8;
constexpr uint8_t kHeaderSizeValue = 0x80;
constexpr size_t kPacketOffset = 128;  // the packet within the command area
constexpr size_t kHeaderSizeByte = 124;

// Timeouts in seconds.
constexpr uint32_t kRhoskTimeout = 60;
constexpr uint32_t kImageTimeout = 240;
constexpr uint32_t kPraneTimeout = 10;

constexpr RequestKindRow kKinds[] = {
    {0x00000001, RequestKind::DriverInfo, "driver_info", kDriverInfoSize},
    {0xE0000002, RequestKind::EventLast, "event_last", kEventReplySize},
    {0xE0000001, RequestKind::EventFirst, "event_first", kEventReplySize},
    {0xE0000003, RequestKind::EventNext, "event_next", kEventReplySize},
    {0xE0000004, RequestKind::EventPrevious, "event_previous", kEventReplySize},
    {0xD0000000, RequestKind::Lock, "lock", kLockBlockSize},
    {0xD0000001, RequestKind::Unlock, "unlock", kLockBlockSize},
    {0xFFFF0002, RequestKind::Commit, "commit", 0},
};

// The ControlCode flag bits of a firmware command.
enum class Bits { Probe, None, Transfer, TransferIfData, Ata };
// The data area a firmware command takes.
enum class DataArea { None, Param, Free };

struct OpcodeRow {
    uint8_t opcode;
    Bits bits;
    DataArea data;
    uint32_t timeout;
};

// The opcodes the driver knows; it passes any other on whatever its bits.
constexpr OpcodeRow kOpcodes[] = {
    {0x00, Bits::Probe, DataArea::None, kRhoskTimeout},
    {0x05, Bits::None, DataArea::None, kRhoskTimeout},
    {0x06, Bits::None, DataArea::None, kRhoskTimeout},
    {0x07, Bits::None, DataArea::None, kRhoskTimeout},
    {0x09, Bits::None, DataArea::None, kRhoskTimeout},
    {0x0A, Bits::None, DataArea::None, kRhoskTimeout},
    {0x0E, Bits::None, DataArea::None, kRhoskTimeout},
    {0x15, Bits::None, DataArea::None, kRhoskTimeout},
    {0x17, Bits::None, DataArea::None, kRhoskTimeout},
    {0x1E, Bits::None, DataArea::None, kRhoskTimeout},
    {0x0F, Bits::Transfer, DataArea::Free, kRhoskTimeout},
    {0x12, Bits::Transfer, DataArea::Param, kRhoskTimeout},
    {0x13, Bits::Transfer, DataArea::Param, kRhoskTimeout},
    {0x14, Bits::Transfer, DataArea::Free, kRhoskTimeout},
    {0x16, Bits::Transfer, DataArea::Free, kImageTimeout},
    {0x1B, Bits::Transfer, DataArea::Free, kRhoskTimeout},
    {0x10, Bits::TransferIfData, DataArea::Free, kRhoskTimeout},
    {0x1F, Bits::TransferIfData, DataArea::Free, kRhoskTimeout},
    {0x11, Bits::Ata, DataArea::Free, kRhoskTimeout},
};

const OpcodeRow* opcodeRow(uint8_t opcode) {
    for (const OpcodeRow& row : kOpcodes) {
        if (row.opcode == opcode)
            return &row;
    }
    return nullptr;
}

// The ATA protocols (packet bytes 6-7) that move data.
bool isAtaDataProtocol(uint16_t protocol) {
    static constexpr uint16_t kData[] = {9, 11, 13, 15, 0x81, 0x82, 0x83};
    return std::find(std::begin(kData), std::end(kData), protocol) != std::end(kData);
}

uint32_t flagBits(const OpcodeRow& row, size_t dataLength, uint16_t field6) {
    constexpr uint32_t kTransfer = 0xE000;
    switch (row.bits) {
        case Bits::Probe:
            return 0x1000;
        case Bits::Transfer:
            return kTransfer;
        case Bits::TransferIfData:
            return dataLength != 0 ? kTransfer : 0;
        case Bits::Ata:
            return dataLength != 0 && isAtaDataProtocol(field6) ? kTransfer : 0;
        case Bits::None:
            break;
    }
    return 0;
}

std::string hex(uint64_t value, int digits) {
    char text[24];
    std::snprintf(text, sizeof text, "0x%0*llX", digits, static_cast<unsigned long long>(value));
    return text;
}

// "<what> is <sent>, expected <expected>".
std::string mismatch(const char* what, const std::string& sent, const std::string& expected) {
    return std::string(what) + " is " + sent + ", expected " + expected;
}

std::string bytes(size_t n) {
    return std::to_string(n) + " bytes";
}

Refusal answer(uint32_t returnCode, std::string reason) {
    Refusal r;
    r.returnCode = returnCode;
    r.reason = std::move(reason);
    return r;
}

Refusal callFails(std::string reason) {
    Refusal r;
    r.osError = platform::kErrorInvalidParameter;
    r.reason = std::move(reason);
    return r;
}

Refusal checkRhoskTimeout(ConstByteSpan buffer, uint32_t expected) {
    const uint32_t timeout = get32(buffer, kSrbTimeout);
    if (timeout == expected)
        return {};
    return answer(kDrvInvalidParameters,
                  mismatch("Timeout", std::to_string(timeout), std::to_string(expected)));
}

// The data area of a firmware command against what its opcode takes.
Refusal checkDataArea(const OpcodeRow& row, ConstByteSpan buffer, size_t dataAt) {
    const size_t length = buffer.size() - dataAt;
    if (row.data == DataArea::None && length != 0)
        return answer(kDrvInvalidParameters, "data area of " + bytes(length) + ", opcode " +
                                                 hex(row.opcode, 2) + " takes none");
    if (row.data != DataArea::Param)
        return {};
    const size_t size = get16(buffer, dataAt + 4);
    const size_t area = roundToSectors(kParamHeaderSize + size);
    if (length == area)
        return {};
    return answer(length < area ? kDrvInsufficientLength : kDrvInvalidParameters,
                  "data area of " + bytes(length) + ", expected " + std::to_string(area) +
                      " for a " + std::to_string(size) + "-byte parameter");
}

}  // namespace

const RequestKindRow* requestKindOf(uint32_t controlCode) {
    for (const RequestKindRow& row : kKinds) {
        if (row.controlCode == controlCode)
            return &row;
    }
    return nullptr;
}

bool isFirmwareCommand(uint32_t controlCode) {
    return (controlCode & 0xF0000000u) == 0xF0000000u && requestKindOf(controlCode) == nullptr;
}

Refusal unknownControlCode(uint32_t controlCode) {
    return answer(kDrvUnknownIoctl, "ControlCode " + hex(controlCode, 8) + " unknown");
}

Refusal checkEnvelope(ConstByteSpan buffer) {
    if (buffer.size() < kSrbHeaderLength)
        return callFails("buffer of " + bytes(buffer.size()) + ", shorter than the header");
    const uint32_t headerLength = get32(buffer, 0);
    if (headerLength != kSrbHeaderLength)
        return callFails(mismatch("HeaderLength", std::to_string(headerLength),
                                  std::to_string(kSrbHeaderLength)));
    const uint32_t length = get32(buffer, kSrbLength);
    if (length != buffer.size() - kSrbHeaderLength)
        return callFails(mismatch("Length", std::to_string(length),
                                  std::to_string(buffer.size() - kSrbHeaderLength)));
    return {};
}

Refusal checkDriverRequest(const RequestKindRow& row, ConstByteSpan buffer) {
    const size_t length = buffer.size() - kSrbHeaderLength;
    if (length < row.needed)
        return answer(kDrvInsufficientLength, "Length " + std::to_string(length) +
                                                  ", shorter than the " + bytes(row.needed) +
                                                  " of the request");
    const bool slotQuery = row.kind == RequestKind::DriverInfo && length == kDriverInfoSize;
    if (length != kRequestLength && !slotQuery)
        return answer(kDrvInvalidParameters,
                      mismatch("Length", std::to_string(length),
                               std::to_string(kRequestLength) +
                                   (row.kind == RequestKind::DriverInfo
                                        ? " or " + std::to_string(kDriverInfoSize)
                                        : std::string())));
    return checkRhoskTimeout(buffer, kRhoskTimeout);
}

size_t firmwareCommandLength(ConstByteSpan buffer) {
    const size_t packet = kSrbHeaderLength + kPacketOffset;
    const bool longForm = (get8(buffer, packet) & 0x1F) == 0x11 && get8(buffer, packet + 6) >= 0x80;
    return longForm ? kCommandLong : kCommandShort;
}

Refusal checkFirmwareCommand(ConstByteSpan buffer, size_t commandLength) {
    const size_t length = buffer.size() - kSrbHeaderLength;
    if (length < commandLength)
        return answer(kDrvInsufficientLength, "Length " + std::to_string(length) +
                                                  ", shorter than the " + bytes(commandLength) +
                                                  " of the command");
    const size_t dataLength = length - commandLength;
    if (dataLength % 512 != 0)
        return answer(kDrvInsufficientLength,
                      "data area of " + bytes(dataLength) + ", not whole sectors");
    const uint8_t headerSize = get8(buffer, kSrbHeaderLength + kHeaderSizeByte);
    if (headerSize != kHeaderSizeValue)
        return answer(kDrvInvalidParameters,
                      mismatch("header-size byte", hex(headerSize, 2), hex(kHeaderSizeValue, 2)));
    const size_t packet = kSrbHeaderLength + kPacketOffset;
    const OpcodeRow* row = opcodeRow(get8(buffer, packet) & 0x1F);
    if (row == nullptr)
        return checkRhoskTimeout(buffer, kRhoskTimeout);
    const uint32_t controlCode = get32(buffer, kSrbControlCode);
    const uint32_t expected = 0xF0000000u | flagBits(*row, dataLength, get16(buffer, packet + 6));
    if (controlCode != expected)
        return answer(kDrvInvalidParameters,
                      mismatch("ControlCode", hex(controlCode, 8), hex(expected, 8)) +
                          " for opcode " + hex(row->opcode, 2));
    Refusal r = checkRhoskTimeout(buffer, row->timeout);
    if (r.refused())
        return r;
    return checkDataArea(*row, buffer, kSrbHeaderLength + commandLength);
}

Refusal checkPraneRequest(ConstByteSpan buffer) {
    const uint32_t controlCode = get32(buffer, kSrbControlCode);
    if (controlCode != 0)
        return callFails(mismatch("ControlCode", hex(controlCode, 8), "0"));
    if (buffer.size() < kPraneDataOffset)
        return callFails("buffer of " + bytes(buffer.size()) + ", shorter than the packet");
    const size_t dataLength = buffer.size() - kPraneDataOffset;
    if (dataLength % 512 != 0)
        return callFails("data area of " + bytes(dataLength) + ", not whole sectors");
    const uint32_t timeout = get32(buffer, kSrbTimeout);
    if (timeout != kPraneTimeout)
        return callFails(
            mismatch("Timeout", std::to_string(timeout), std::to_string(kPraneTimeout)));
    const uint32_t reserved = get32(buffer, kPraneReserved);
    if (reserved != 0)
        return callFails("bytes 28-31 hold " + hex(reserved, 8) + ", expected 0");
    return {};
}

}  // namespace emulator
