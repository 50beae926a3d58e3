// Taking a drive out of use and bringing a port's drive back: the newer
// family's remove-drive command (0x0A) with the checks that keep a unit
// from losing a drive it cannot spare, and the port detection (0x06) of a
// single port.
#include "api/api.h"
#include "api/api_error.h"
#include "api/bytes.h"
#include "api/device_io.h"
#include "api/driver.h"
#include "api/rhosk/rhosk_codes.h"
#include "api/rhosk/rhosk_family.h"

namespace {

// API errors of drive removal and addition.
constexpr uint32_t kApiRemoveFailed = 20;          // "Failed to remove drive"
constexpr uint32_t kApiPortInUse = 23;             // "Port in use"
constexpr uint32_t kApiRemovePortEmpty = 46;       // "Port empty"
constexpr uint32_t kApiPortBusy = 47;              // "Port busy"
constexpr uint32_t kApiRemoveInvalid = 48;         // "Remove operation invalid for unit"
constexpr uint32_t kApiRemoveDuringVerify = 56;    // "... during verify operation"
constexpr uint32_t kApiNoSuchUnitToDelete = 59;    // "No such unit to delete"
constexpr uint32_t kApiRemoveDuringRecovery = 85;  // "... during recovery operation"

// Unit status bytes the checks look at.
constexpr uint8_t kStatusRecovery = 191;
constexpr uint8_t kStatusInitializing = 247;
constexpr uint8_t kStatusVerifying = 251;
constexpr uint8_t kStatusOk = 255;

// Firmware commands.
constexpr uint8_t kRemoveDriveOpcode = 0x0A;
constexpr uint8_t kPortDetectionOpcode = 0x06;
constexpr uint8_t kReleaseUnitOpcode = 0x15;
constexpr uint8_t kReleaseMode = 0;
constexpr size_t kPortMask = 8;  // 32 bytes, bit (n mod 8) of byte n / 8 for port n
constexpr size_t kPortMaskSize = 32;
// Port detection's byte 1: 3 before firmware compatibility level 35, 6 from it.
constexpr uint32_t kLongPortMaskLevel = 35;
constexpr uint32_t kUnknownLevel = 30;

// Sends one firmware command without data to the id's controller.
int32_t SendCommand(ObjectId id, const FirmwareCommandBuffer& prepared) {
    DeviceIo::ControllerHandle device(id.controllerId());
    if (!device.ok())
        return -1;
    FirmwareCommandBuffer command = prepared;
    RhoskRequest request{};
    request.kind = kRequestFirmwareCommand;
    return DeviceIo::SendRhoskRequest(device.handle(), &request, &command, nullptr, 0, 0, 0xFF);
}

FirmwareCommandBuffer Packet(uint8_t opcode, uint8_t size) {
    FirmwareCommandBuffer command{};
    command.packet()[FirmwareCommandBuffer::kOpcode] = opcode;
    command.packet()[FirmwareCommandBuffer::kCommandSize] = size;
    return command;
}

// Releases a whole-drive unit (CBOD, spare or subunit) without telling the
// operating system: the unit goes, its drive stays.
int32_t ReleaseUnit(ObjectId unit) {
    const uint8_t number = unit[ObjectId::kUnit];
    if (RhoskFamily::RequireUnit(unit.controllerId(), number, kApiNoSuchUnitToDelete) != 0)
        return -1;
    uint32_t type = 0;
    uint8_t flags = 0;
    if (RhoskFamily::GetUnitType(unit, &type) != 0 || RhoskFamily::GetUnitFlags(unit, &flags) != 0)
        return -1;
    FirmwareCommandBuffer command = Packet(kReleaseUnitOpcode, 2);
    command.packet()[FirmwareCommandBuffer::kUnit] = number;
    command.packet()[7] = kReleaseMode;
    return SendCommand(unit, command);
}

// A unit status that lets a member go: the unit is neither OK, nor
// initialising, nor verifying (so it is already short of that member, or
// rebuilding onto it).
bool LacksRedundancy(uint8_t status) {
    return status < kStatusOk && status != kStatusInitializing && status != kStatusVerifying;
}

// The checks for a member (depth 2 or more) of a redundant unit.
int32_t CheckMemberRemoval(ObjectId member) {
    uint32_t memberType = 0;
    if (RhoskFamily::GetUnitType(member, &memberType) != 0)
        return -1;
    if (memberType != kUnitCbod && memberType != kUnitSubunit)
        return ApiError::Fail(kApiPortBusy);
    ObjectId parent = member;
    const uint8_t depth = member[ObjectId::kDepth];
    parent[ObjectId::kUnit + depth - 1] = ObjectId::kNone;
    parent[ObjectId::kDepth] = static_cast<uint8_t>(depth - 1);
    uint32_t parentType = 0;
    if (RhoskFamily::GetUnitType(parent, &parentType) != 0)
        return -1;
    switch (parentType) {
        case kUnitRaid1:
        case kUnitRaid1Mirror:
        case kUnitRaid5: {
            uint8_t status = 0;
            if (RhoskFamily::GetUnitStatus(parent, &status) != 0)
                return -1;
            if (status == kStatusRecovery)
                return ApiError::Fail(kApiRemoveDuringRecovery);
            if (LacksRedundancy(status)) {
                uint8_t own = 0;
                if (RhoskFamily::GetUnitStatus(member, &own) != 0)
                    return -1;
                if (own == kStatusVerifying)
                    return ApiError::Fail(kApiRemoveDuringVerify);
                if (own == kStatusOk)
                    return ApiError::Fail(kApiRemoveInvalid);
            }
            return 0;
        }
        case kUnitRaid6: {
            Raid6UnitState state{};
            if (RhoskFamily::GetRaid6UnitState(parent, &state) != 0)
                return -1;
            if (LacksRedundancy(state.unitStatus) && LacksRedundancy(state.extensionStatus)) {
                uint8_t own = 0;
                if (RhoskFamily::GetUnitStatus(member, &own) != 0)
                    return -1;
                if (own == kStatusOk)
                    return ApiError::Fail(kApiRemoveInvalid);
            }
            return 0;
        }
        default:
            return ApiError::Fail(kApiRemoveInvalid);
    }
}

}  // namespace

int32_t RhoskFamily::RemovePortDrive(ObjectId drive) {
    FirmwareCommandBuffer command = Packet(kRemoveDriveOpcode, 2);
    command.packet()[7] = drive[ObjectId::kNumber];
    return SendCommand(drive, command);
}

int32_t RhoskFamily::RemoveDrive(ObjectId drive) {
    uint8_t status = kDriveNone;
    if (GetDriveStatus(drive, &status) != 0)
        return -1;
    if (!::IsDrivePresent(status))
        return ApiError::Fail(kApiRemovePortEmpty);
    ObjectId unit = ObjectId::Blank();
    if (GetDriveUnitId(drive, &unit) != 0)
        return -1;
    if (unit[ObjectId::kUnit] == ObjectId::kNone)
        return RemovePortDrive(drive);  // a free drive
    if (unit[ObjectId::kDepth] <= 1) {
        uint32_t type = 0;
        if (GetUnitType(unit, &type) != 0)
            return -1;
        if (type != kUnitCbod && type != kUnitSpare && type != kUnitSubunit)
            return ApiError::Fail(kApiRemoveFailed);
        if (ReleaseUnit(unit) != 0)
            return -1;
        return RemovePortDrive(drive);
    }
    if (CheckMemberRemoval(unit) != 0)
        return -1;
    return RemovePortDrive(drive);
}

int32_t RhoskFamily::AddDrive(ObjectId port, ObjectId* drive) {
    uint8_t status = kDriveNone;
    if (GetDriveStatus(port, &status) != 0)
        return -1;
    if (::IsDrivePresent(status))
        return ApiError::Fail(kApiPortInUse);
    uint32_t level = kUnknownLevel;
    if (GetFirmwareCompatLevel(port.controllerId(), &level) != 0)
        level = kUnknownLevel;
    FirmwareCommandBuffer command =
        Packet(kPortDetectionOpcode, level < kLongPortMaskLevel ? 3 : 6);
    const uint8_t number = port[ObjectId::kNumber];
    uint8_t mask[kPortMaskSize] = {};
    (void)bytes::PutU8(mask, sizeof mask, number / 8, static_cast<uint8_t>(1u << (number % 8)));
    (void)bytes::PutBytes(command.packet(), FirmwareCommandBuffer::packetSize(), kPortMask, mask,
                          sizeof mask);
    if (SendCommand(port, command) != 0)
        return -1;
    return Api::MakeDriveId(port.controller(), number, drive);
}
