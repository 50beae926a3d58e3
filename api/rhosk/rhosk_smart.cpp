// The newer family's ATA pass-through (firmware opcode 0x11) and the SMART
// data read built on it.
#include <cstring>

#include "api/bytes.h"
#include "api/device_io.h"
#include "api/dpm_records.h"
#include "api/driver.h"
#include "api/rhosk/rhosk_family.h"

namespace {

constexpr uint8_t kAtaWithData = 0xB1;
constexpr uint8_t kAtaWithoutData = 0x11;
constexpr uint8_t kAtaCommandSize = 5;
constexpr uint16_t kValueWithoutData = 8;
// Packet offsets of the ATA pass-through.
constexpr size_t kAllPorts = 2;  // 0xFF
constexpr size_t kPort = 3;
constexpr size_t kTimeoutAndProtocol = 5;
constexpr size_t kValue = 6;
constexpr size_t kRegisters = 8;  // features .. command: bytes 8-19
constexpr size_t kFeatures = 8;
constexpr size_t kSectorCount = 10;
constexpr size_t kLbaLow = 12;
constexpr size_t kLbaMid = 14;
constexpr size_t kLbaHigh = 16;
constexpr size_t kDevice = 18;
constexpr size_t kCommand = 19;

// A sector count of 0 moves the largest transfer the command allows.
constexpr uint32_t kMaxAtaTransfer = 131072;
constexpr uint32_t kSectorSize = 512;

// Bits 4-7 of packet byte 5: the timeout in tens of seconds (at most 150 s).
uint8_t TimeoutClass(uint32_t timeout) {
    if (timeout < 10)
        return 0;
    return static_cast<uint8_t>((timeout > 150 ? 150 : timeout) / 10);
}

// SMART READ DATA.
constexpr uint8_t kSmartProtocol = 1;
constexpr uint16_t kSmartValue = 13;
constexpr uint16_t kSmartReadData = 0xD0;
constexpr uint16_t kSmartLbaMid = 0x4F;
constexpr uint16_t kSmartLbaHigh = 0xC2;
constexpr uint8_t kSmartCommand = 0xB0;

}  // namespace

int32_t RhoskFamily::SendAtaCommand(ObjectId drive, uint8_t protocol, uint16_t value,
                                    uint16_t* features, uint16_t* sectorCount, uint16_t* lbaLow,
                                    uint16_t* lbaMid, uint16_t* lbaHigh, uint8_t* device,
                                    uint8_t* command, void* data, uint32_t timeout) {
    DeviceIo::ControllerHandle handle(drive.controllerId());
    if (!handle.ok())
        return -1;
    FirmwareCommandBuffer buffer{};
    uint8_t* packet = buffer.packet();
    const size_t size = FirmwareCommandBuffer::packetSize();
    packet[FirmwareCommandBuffer::kOpcode] = data != nullptr ? kAtaWithData : kAtaWithoutData;
    packet[FirmwareCommandBuffer::kCommandSize] = kAtaCommandSize;
    packet[kAllPorts] = 0xFF;
    packet[kPort] = drive[ObjectId::kNumber];
    packet[kTimeoutAndProtocol] =
        static_cast<uint8_t>(TimeoutClass(timeout) << 4 | (protocol & 0x03));
    bytes::PutU16(packet, size, kValue, data != nullptr ? value : kValueWithoutData);
    bytes::PutU16(packet, size, kFeatures, *features);
    bytes::PutU16(packet, size, kSectorCount, *sectorCount);
    bytes::PutU16(packet, size, kLbaLow, *lbaLow);
    bytes::PutU16(packet, size, kLbaMid, *lbaMid);
    bytes::PutU16(packet, size, kLbaHigh, *lbaHigh);
    packet[kDevice] = *device;
    packet[kCommand] = *command;
    uint32_t length = 0;
    if (data != nullptr)
        length = *sectorCount == 0 ? kMaxAtaTransfer : uint32_t{*sectorCount} * kSectorSize;

    RhoskRequest request{};
    request.kind = kRequestFirmwareCommand;
    const int32_t result =
        DeviceIo::SendRhoskRequest(handle.handle(), &request, &buffer, data, length, 0, 0xFF);
    // The registers come back whatever the outcome.
    *features = bytes::GetU16(packet, size, kFeatures);
    *sectorCount = bytes::GetU16(packet, size, kSectorCount);
    *lbaLow = bytes::GetU16(packet, size, kLbaLow);
    *lbaMid = bytes::GetU16(packet, size, kLbaMid);
    *lbaHigh = bytes::GetU16(packet, size, kLbaHigh);
    *device = packet[kDevice];
    *command = packet[kCommand];
    static_assert(kCommand - kRegisters + 1 == 12, "the register block is 12 bytes");
    return result;
}

int32_t RhoskFamily::GetDriveSmartData(ObjectId drive, uint8_t* data) {
    uint16_t features = kSmartReadData;
    uint16_t sectorCount = 1;
    uint16_t lbaLow = 0;
    uint16_t lbaMid = kSmartLbaMid;
    uint16_t lbaHigh = kSmartLbaHigh;
    uint8_t device = 0;
    uint8_t command = kSmartCommand;
    static_assert(kSmartDataSize == kSectorSize, "SMART data is one sector");
    return SendAtaCommand(drive, kSmartProtocol, kSmartValue, &features, &sectorCount, &lbaLow,
                          &lbaMid, &lbaHigh, &device, &command, data, 0);
}
