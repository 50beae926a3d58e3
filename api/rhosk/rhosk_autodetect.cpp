// Automatic drive detection of the newer family: the port detection
// command with the auto-detect flag, sent for a mask of ports.
#include <cstring>

#include "api/api.h"
#include "api/api_error.h"
#include "api/bytes.h"
#include "api/device_io.h"
#include "api/driver.h"
#include "api/rhosk/rhosk_codes.h"
#include "api/rhosk/rhosk_family.h"

namespace {

// "Scan invalid port".
constexpr uint32_t kApiScanInvalidPort = 24;

// The port detection command: opcode 0x06, the size byte by firmware
// level, the flag at packet byte 6 and the port mask from packet byte 8.
constexpr uint8_t kPortDetectOpcode = 0x06;
constexpr uint8_t kSizeBeforeLevel35 = 3;
constexpr uint8_t kSizeFromLevel35 = 6;
constexpr uint32_t kLongSizeLevel = 35;
constexpr uint32_t kUnreadableLevel = 30;  // a level that cannot be read counts as this
constexpr std::size_t kFlagByte = 6;
constexpr std::size_t kMaskOffset = 8;
constexpr std::size_t kPortMaskSize = 32;  // bit (n mod 8) of byte n / 8: port n

}  // namespace

int32_t RhoskFamily::SetAutoDetect(const ObjectIdList128* ports, uint32_t off) {
    if (ports == nullptr)
        return ApiError::Fail(rhosk::kApiInvalidArgument);
    const std::size_t count = ports->size();
    if (count == 0)
        return 0;
    const ObjectId first = ports->ids[0];
    uint8_t mask[kPortMaskSize] = {};
    for (std::size_t i = 0; i < count; ++i) {
        const ObjectId& id = ports->ids[i];
        const uint8_t port = id[ObjectId::kNumber];
        if (id.kind() != kKindDrive || id.controller() != first.controller() ||
            port >= rhosk::kPortSlots) {
            return ApiError::Fail(kApiScanInvalidPort);
        }
        mask[port / 8] = static_cast<uint8_t>(mask[port / 8] | (1u << (port % 8)));
    }

    const ObjectId controller = first.controllerId();
    const uint32_t level = FirmwareCompatLevelOr(controller, kUnreadableLevel);

    DeviceIo::ControllerHandle device(controller);
    if (!device.ok())
        return -1;
    RhoskRequest request{};
    request.kind = kRequestFirmwareCommand;
    FirmwareCommandBuffer command{};
    uint8_t* packet = command.packet();
    const std::size_t packetSize = FirmwareCommandBuffer::packetSize();
    packet[FirmwareCommandBuffer::kOpcode] = kPortDetectOpcode;
    packet[FirmwareCommandBuffer::kCommandSize] =
        level < kLongSizeLevel ? kSizeBeforeLevel35 : kSizeFromLevel35;
    bytes::PutU8(packet, packetSize, kFlagByte, static_cast<uint8_t>(off != 0 ? 1 : 0));
    bytes::PutBytes(packet, packetSize, kMaskOffset, mask, sizeof mask);
    return DeviceIo::SendRhoskRequest(device.handle(), &request, &command, nullptr, 0, 0, 0xFF);
}
