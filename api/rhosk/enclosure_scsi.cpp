// The SCSI commands the controller passes through to its enclosures:
// INQUIRY, RECEIVE DIAGNOSTIC RESULTS and SEND DIAGNOSTIC (SES pages),
// READ BUFFER and WRITE BUFFER (SAF-TE buffers), each one firmware command
// (opcode 0x10) of driver request kind 0x108.
#include <algorithm>
#include <cstring>

#include "api/bytes.h"
#include "api/device_io.h"
#include "api/driver.h"
#include "api/rhosk/enclosure_internal.h"
#include "api/rhosk/enclosure_services.h"

namespace {

using enclosure::kPageSize;
using enclosure::Page;

// The pass-through command at packet byte 0.
constexpr uint8_t kPassThroughOpcode = 0x10;
constexpr std::size_t kTarget = 1;
constexpr std::size_t kLunField = 2;  // u16: the LUN in bits 12-15
constexpr std::size_t kCdbLength = 5;
constexpr std::size_t kCdb = 8;
constexpr std::size_t kCdbSize = 16;
static_assert(kCdb + kCdbSize == 24, "the pass-through command is 24 bytes");

// SAF-TE enclosures answer on target 64, the port in the LUN field.
constexpr uint8_t kSafteTarget = ObjectId::kEnclosureBase;

// CDB opcodes and their fields.
constexpr uint8_t kInquiry = 0x12;
constexpr uint8_t kReceiveDiagnostic = 0x1C;
constexpr uint8_t kSendDiagnostic = 0x1D;
constexpr uint8_t kWriteBuffer = 0x3B;
constexpr uint8_t kReadBuffer = 0x3C;
constexpr uint8_t kInquiryAllocation = 0xFF;
constexpr uint8_t kBufferMode = 0x01;  // READ/WRITE BUFFER mode 1
constexpr uint8_t kPcv = 0x01;         // RECEIVE DIAGNOSTIC RESULTS: page code valid
constexpr uint8_t kPf = 0x10;          // SEND DIAGNOSTIC: page format

uint32_t Bounded(uint32_t length) {
    return std::min<uint32_t>(length, kPageSize);
}

// Every command goes to a copy of the caller's id of kind 2.
ObjectId CommandTarget(ObjectId id) {
    id[ObjectId::kKind] = kKindUnit;
    return id;
}

void PutBe16(uint8_t* cdb, std::size_t at, uint32_t value) {
    cdb[at] = static_cast<uint8_t>(value >> 8);
    cdb[at + 1] = static_cast<uint8_t>(value);
}

}  // namespace

int32_t EnclosureServices::SendScsiCommand(ObjectId id, uint8_t* cdb, Page* buffer, uint32_t length,
                                           uint8_t lun) {
    FirmwareCommandBuffer command{};
    command.bytes[FirmwareCommandBuffer::kHeaderSizeByte] = rhosk_request::kHeaderSizeValue;
    uint8_t* packet = command.packet();
    const std::size_t packetSize = FirmwareCommandBuffer::packetSize();

    uint8_t target = kSafteTarget;
    uint16_t lunField = 0;
    if (enclosure::IsSes(id)) {
        target = id[ObjectId::kUnit];
        lunField = static_cast<uint16_t>((lun & 0x0F) << 12);
    } else {
        const uint8_t port = static_cast<uint8_t>(id[ObjectId::kUnit] - ObjectId::kEnclosureBase);
        lunField = static_cast<uint16_t>((port & 0x0F) << 12);
    }
    packet[FirmwareCommandBuffer::kOpcode] = kPassThroughOpcode;
    packet[kTarget] = target;
    bytes::PutU16(packet, packetSize, kLunField, lunField);
    packet[kCdbLength] = kCdbSize;
    std::memcpy(packet + kCdb, cdb, kCdbSize);
    packet[kCdb + 1] |= static_cast<uint8_t>(((lunField >> 12) & 7) << 5);

    int32_t result = -1;
    {
        DeviceIo::ControllerHandle device(id.controllerId());
        if (!device.ok())
            return -1;
        RhoskRequest request{};
        request.kind = kRequestFirmwareCommand;
        result = DeviceIo::SendRhoskRequest(device.handle(), &request, &command,
                                            buffer != nullptr ? buffer->data() : nullptr,
                                            buffer != nullptr ? Bounded(length) : 0, 0, 0xFF);
    }
    std::memcpy(cdb, packet + kCdb, kCdbSize);
    return result;
}

int32_t EnclosureServices::ScsiInquiry(ObjectId id, Page* buffer, uint32_t length, uint8_t lun) {
    uint8_t cdb[kCdbSize] = {kInquiry, 0, 0, 0, kInquiryAllocation};
    std::fill_n(buffer->begin(), Bounded(length), uint8_t{0});
    return SendScsiCommand(CommandTarget(id), cdb, buffer, length, lun);
}

int32_t EnclosureServices::ReadBuffer(ObjectId id, uint8_t bufferId, Page* buffer,
                                      uint32_t length) {
    uint8_t cdb[kCdbSize] = {kReadBuffer, kBufferMode, bufferId};
    PutBe16(cdb, 7, length);
    buffer->fill(0);
    return SendScsiCommand(CommandTarget(id), cdb, buffer, length, 0);
}

int32_t EnclosureServices::WriteBuffer(ObjectId id, Page* buffer, uint32_t length) {
    uint8_t cdb[kCdbSize] = {kWriteBuffer, kBufferMode, 0};
    PutBe16(cdb, 7, length);
    return SendScsiCommand(CommandTarget(id), cdb, buffer, length, 0);
}

int32_t EnclosureServices::ReceiveDiagnostic(ObjectId id, uint8_t pageCode, Page* buffer,
                                             uint32_t length) {
    uint8_t cdb[kCdbSize] = {kReceiveDiagnostic, kPcv, pageCode};
    PutBe16(cdb, 3, length);
    buffer->fill(0);
    if (SendScsiCommand(CommandTarget(id), cdb, buffer, length, id[ObjectId::kLevel2]) != 0)
        return -1;
    if ((*buffer)[0] != pageCode)
        return enclosure::Fail(enclosure::kApiWrongPageCode);
    return 0;
}

int32_t EnclosureServices::SendDiagnostic(ObjectId id, Page* buffer, uint32_t length) {
    uint8_t cdb[kCdbSize] = {kSendDiagnostic, kPf};
    PutBe16(cdb, 3, Bounded(length));
    return SendScsiCommand(CommandTarget(id), cdb, buffer, length, id[ObjectId::kLevel2]);
}
