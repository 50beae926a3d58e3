// The newer family's unit maintenance: deleting, exporting and releasing a
// unit, verify, rebuild, the write-cache flush and the removal and
// addition of a port's drive. Each operation is a short sequence of
// firmware commands on the controller device, opened and closed per
// command; Windows is told about a unit that leaves through
// DeviceIo::NotifyOs.
#include <cstring>

#include "api/api.h"
#include "api/api_error.h"
#include "api/device_io.h"
#include "api/driver.h"
#include "api/rhosk/param_tables.h"
#include "api/rhosk/rhosk_codes.h"
#include "api/rhosk/rhosk_descriptors.h"
#include "api/rhosk/rhosk_family.h"
#include "api/rhosk/rhosk_params.h"
#include "platform/host_system.h"

using namespace rhosk;
using namespace rhosk_tables;

namespace {

// Firmware opcodes of the maintenance commands.
constexpr uint8_t kOpVerify = 0x05;
constexpr uint8_t kOpAttach = 0x09;
constexpr uint8_t kOpFlush = 0x0E;
constexpr uint8_t kOpDeleteUnit = 0x15;
constexpr uint8_t kOpStartRebuild = 0x17;

constexpr uint8_t kVerifyStart = 1;
constexpr uint8_t kVerifyStop = 0x80;
constexpr uint8_t kRebuildStartFlag = 0x80;

// The packet bytes a maintenance command sets; the others stay 0.
struct Packet {
    uint8_t opcode;
    uint8_t size;
    uint8_t unit = 0;    // byte 3
    uint8_t byte6 = 0;   // byte 6
    uint8_t byte7 = 0;   // byte 7
    uint8_t byte8 = 0;   // byte 8
    uint8_t byte10 = 0;  // byte 10
};

// The API errors of the maintenance operations.
enum : uint32_t {
    kApiUnitIsOk = 49,
    kApiUnitIsRebuilding = 50,
    kApiUnitBusy = 51,
    kApiReplacementInvalid = 53,
    kApiNoSuchUnitToDelete = 59,
    kApiInvalidVerifyOperation = 72,
};

constexpr uint8_t kRaid6FeatureBit = 0x02;
constexpr uint8_t kOsFlagBit = 0x01;
constexpr uint8_t kDepthTop = 1;
// The compatibility level from which the port detection commands are of
// size 6; a level that cannot be read counts as 30.
constexpr uint32_t kLongDetectLevel = 35;
constexpr uint32_t kUnreadLevel = 30;

// Sends one command packet (with `data` when given) through the
// controller device opened for it. Bytes 6 and 7 are the packet's own:
// none of these commands names the length of its data there.
int32_t SendCommand(ObjectId id, const Packet& p, const uint8_t* mask, void* data,
                    uint16_t length) {
    DeviceIo::ControllerHandle device(id.controllerId());
    if (!device.ok())
        return -1;
    FirmwareCommandBuffer command{};
    uint8_t* packet = command.packet();
    packet[FirmwareCommandBuffer::kOpcode] = p.opcode;
    packet[FirmwareCommandBuffer::kCommandSize] = p.size;
    packet[FirmwareCommandBuffer::kUnit] = p.unit;
    packet[6] = p.byte6;
    packet[7] = p.byte7;
    packet[8] = p.byte8;
    packet[10] = p.byte10;
    if (mask != nullptr)
        std::memcpy(packet + 8, mask, 32);
    RhoskRequest request{};
    request.kind = kRequestFirmwareCommand;
    return DeviceIo::SendRhoskRequest(device.handle(), &request, &command, data, length, 0, 0xFF);
}

uint8_t UnitNumber(const ObjectId& unit) {
    return unit[ObjectId::kUnit];
}

bool HasRaid6(ObjectId id) {
    uint8_t flags[8] = {};
    return RhoskFamily::GetFeatureFlags(id, flags) == 0 && (flags[0] & kRaid6FeatureBit) != 0;
}

// The size byte of the port detection and import scan commands.
uint8_t DetectCommandSize(ObjectId id) {
    const uint32_t level = RhoskFamily::FirmwareCompatLevelOr(id.controllerId(), kUnreadLevel);
    return level < kLongDetectLevel ? 3 : 6;
}

// Notification 7 after a failed step, keeping that step's error.
void AbandonRemoval(ObjectId controller, ObjectId unit) {
    ApiError::Quietly(
        [&] { return DeviceIo::NotifyOs(&controller, &unit, kNotifyRemovalAbandoned); });
}

void SetMaskBit(uint8_t (&mask)[32], uint8_t port) {
    mask[port / 8] = static_cast<uint8_t>(mask[port / 8] | (1u << (port % 8)));
}

// True when Windows answers a version that still needs the unit-deleted
// notice (below 5.2).
bool OsNeedsDeleteNotice() {
    platform::OsVersionInfo v;
    if (!platform::Host().getVersionEx(&v))
        return false;
    return v.major < 5 || (v.major == 5 && v.minor < 2);
}

// A CBOD unit on the free drive `drive`: one single-drive descriptor in a
// create command; the controller answers the new unit's number in byte 3.
int32_t CreateCbodUnit(ObjectId drive, ObjectId* unit) {
    uint8_t data[20] = {};
    data[1] = kUnitCbod;
    data[3] = drive[ObjectId::kNumber];
    uint8_t number = 0;
    if (RhoskFamily::SendCreateUnit(drive, data, sizeof data, &number) != 0)
        return -1;
    if (Api::MakeUnitId(drive.controller(), ObjectId::kNone, number, ObjectId::kNone,
                        ObjectId::kNone, unit) != 0) {
        return ApiError::Fail(kApiUnitIdFailed);
    }
    return 0;
}

// The part of a rebuild after the state checks: the replacement drive's
// unit (a CBOD made for a free drive), attached, then the rebuild start.
int32_t AttachAndStart(ObjectId unit, ObjectId drive) {
    ObjectId owner = ObjectId::Blank();
    if (RhoskFamily::GetDriveUnitId(drive, &owner) != 0)
        return -1;
    ObjectId replacement = owner;
    if (owner[ObjectId::kUnit] != ObjectId::kNone) {
        uint32_t type = 0;
        if (RhoskFamily::GetUnitType(owner, &type) != 0)
            return -1;
        if (owner[ObjectId::kDepth] != kDepthTop || (type != kUnitCbod && type != kUnitSpare))
            return ApiError::Fail(kApiReplacementInvalid);
    } else if (CreateCbodUnit(drive, &replacement) != 0) {
        return -1;
    }
    if (SendCommand(unit, {kOpAttach, 2, UnitNumber(unit), UnitNumber(replacement)}, nullptr,
                    nullptr, 0) != 0) {
        return -1;
    }
    return SendCommand(unit, {kOpStartRebuild, 2, UnitNumber(unit), kRebuildStartFlag}, nullptr,
                       nullptr, 0);
}

}  // namespace

int32_t RhoskFamily::DeleteUnit(ObjectId unit, uint8_t announce, uint8_t mode) {
    const ObjectId controller = ControllerOf(unit);
    if (RequireUnit(controller, UnitNumber(unit), kApiNoSuchUnitToDelete) != 0)
        return -1;
    uint32_t type = 0;
    uint8_t flags = 0;
    if (GetUnitType(unit, &type) != 0 || GetUnitFlags(unit, &flags) != 0)
        return -1;
    const bool withOs =
        announce != 0 && type != kUnitCbod && type != kUnitSpare && (flags & kOsFlagBit) != 0;
    if (withOs && DeviceIo::NotifyOs(&controller, &unit, kNotifyUnitRemoving) != 0) {
        // The unit stays; Windows takes back what it let go. The removal's
        // own error is what the caller sees.
        AbandonRemoval(controller, unit);
        return -1;
    }
    if (SendCommand(unit, {kOpDeleteUnit, 2, UnitNumber(unit), 0, mode}, nullptr, nullptr, 0) !=
        0) {
        if (withOs)
            AbandonRemoval(controller, unit);
        return -1;
    }
    if (withOs && OsNeedsDeleteNotice())
        return DeviceIo::NotifyOs(&controller, &unit, kNotifyUnitDeleted);
    return 0;
}

int32_t RhoskFamily::VerifyUnit(ObjectId unit, uint32_t stop) {
    uint32_t type = 0;
    if (GetUnitType(unit, &type) != 0)
        return -1;
    bool allowed = false;
    if (type == kUnitRaid6) {
        if (!HasRaid6(unit))
            return ApiError::Fail(kApiFeatureNotSupported);
        Raid6UnitState state{};
        if (GetRaid6UnitState(unit, &state) != 0)
            return -1;
        const uint8_t wanted = stop != 0 ? kUnitStatusVerifying : kUnitStatusOk;
        allowed = state.unitStatus == wanted || state.extensionStatus == wanted;
    } else {
        uint8_t status = 0;
        if (Api::GetUnitStatus(unit, &status) != 0)
            return -1;
        allowed = status == (stop != 0 ? kUnitStatusVerifying : kUnitStatusOk);
    }
    if (!allowed)
        return ApiError::Fail(kApiInvalidVerifyOperation);
    return SendCommand(unit,
                       {kOpVerify, 2, UnitNumber(unit), 0, stop != 0 ? kVerifyStop : kVerifyStart},
                       nullptr, nullptr, 0);
}

int32_t RhoskFamily::RebuildUnit(ObjectId unit, ObjectId* drive) {
    uint32_t type = 0;
    if (GetUnitType(unit, &type) != 0)
        return -1;
    if (type == kUnitRaid6) {
        if (!HasRaid6(unit))
            return ApiError::Fail(kApiFeatureNotSupported);
        Raid6UnitState state{};
        if (GetRaid6UnitState(unit, &state) != 0)
            return -1;
        if (state.unitStatus == kUnitStatusOk && state.extensionStatus == kUnitStatusOk)
            return ApiError::Fail(kApiUnitIsOk);
        if (state.unitStatus == kUnitStatusRebuilding &&
            state.extensionStatus == kUnitStatusRebuilding)
            return ApiError::Fail(kApiUnitIsRebuilding);
        if (state.unitStatus != kUnitStatusDegraded && state.extensionStatus != kUnitStatusDegraded)
            return ApiError::Fail(kApiUnitBusy);
    } else {
        uint8_t status = 0;
        if (GetUnitStatus(unit, &status) != 0)
            return -1;
        if (status == kUnitStatusOk)
            return ApiError::Fail(kApiUnitIsOk);
        if (status == kUnitStatusRebuilding)
            return ApiError::Fail(kApiUnitIsRebuilding);
        if (status != kUnitStatusDegraded)
            return ApiError::Fail(kApiUnitBusy);
    }
    return AttachAndStart(unit, *drive);
}

int32_t RhoskFamily::FlushWriteCache(ObjectId unit) {
    return SendCommand(unit, {kOpFlush, 2, UnitNumber(unit)}, nullptr, nullptr, 0);
}

// --- Import, split, port detection and the controller rescan ---

namespace {

constexpr uint8_t kOpImportScan = 0x07;
constexpr uint8_t kOpUnitUpdate = 0x6F;
constexpr uint8_t kSplitAction = 2;
// Unit flags that keep a unit from being released by a rescan.

enum : uint32_t {
    kApiNoDrivesSpecified = 36,
    kApiImportNotSameController = 38,
    kApiImportPortEmpty = 39,
    kApiDriveInUse = 41,
    kApiDuplicateImportDrive = 65,
    kApiNotAMirror = 80,
    kApiSplitIosPending = 109,
};

// The units of `after` that `before` did not hold and that are not CBOD
// units, in list order.
void NewUnits(const ObjectIdList128& before, const ObjectIdList128& after, ObjectIdList128* found) {
    found->clear();
    for (std::size_t i = 0; i < after.size(); ++i) {
        bool known = false;
        for (std::size_t j = 0; j < before.size(); ++j)
            known = known || before.ids[j][ObjectId::kUnit] == after.ids[i][ObjectId::kUnit];
        uint32_t type = 0;
        if (!known && RhoskFamily::GetUnitType(after.ids[i], &type) == 0 && type != kUnitCbod)
            (void)found->add(after.ids[i]);
    }
}

// After a command that may have added units: the units that were not in
// `before` go to `newUnits`, and Windows hears of them when `announce`.
int32_t ReportNewUnits(ObjectId controller, const ObjectIdList128& before, uint8_t announce,
                       ObjectIdList128* newUnits) {
    ObjectIdList128 after;
    if (RhoskFamily::GetUnitIdList(controller, &after) != 0)
        return -1;
    ObjectIdList128 found;
    NewUnits(before, after, &found);
    if (newUnits != nullptr)
        *newUnits = found;
    if (announce != 0)
        (void)DeviceIo::NotifyOs(&controller, nullptr, kNotifyUnitAdded);
    return 0;
}

}  // namespace

int32_t RhoskFamily::ImportUnit(ObjectIdList128* drives, uint8_t announce,
                                ObjectIdList128* newUnits) {
    if (drives == nullptr || drives->size() == 0)
        return ApiError::Fail(kApiNoDrivesSpecified);
    const ObjectId controller = ControllerOf(drives->ids[0]);
    ObjectIdList128 before;
    if (GetUnitIdList(controller, &before) != 0)
        return -1;
    uint8_t mask[32] = {};
    for (std::size_t i = 0; i < drives->size(); ++i) {
        const ObjectId& drive = drives->ids[i];
        if (drive.controller() != controller.controller())
            return ApiError::Fail(kApiImportNotSameController);
        for (std::size_t j = 0; j < drives->size(); ++j) {
            if (j != i && drives->ids[j][ObjectId::kNumber] == drive[ObjectId::kNumber])
                return ApiError::Fail(kApiDuplicateImportDrive);
        }
        uint8_t status = kDriveNone;
        if (GetDriveStatus(drive, &status) != 0)
            return -1;
        if (!::IsDrivePresent(status))
            return ApiError::Fail(kApiImportPortEmpty);
        ObjectId owner = ObjectId::Blank();
        if (GetDriveUnitId(drive, &owner) != 0)
            return -1;
        if (owner[ObjectId::kUnit] != ObjectId::kNone)
            return ApiError::Fail(kApiDriveInUse);
        SetMaskBit(mask, drive[ObjectId::kNumber]);
    }
    if (SendCommand(controller, {kOpImportScan, DetectCommandSize(controller)}, mask, nullptr, 0) !=
        0) {
        return -1;
    }
    return ReportNewUnits(controller, before, announce, newUnits);
}

int32_t RhoskFamily::SplitMirror(ObjectId unit, uint8_t announce, ObjectIdList128* newUnits) {
    const ObjectId controller = ControllerOf(unit);
    uint32_t type = 0;
    if (GetUnitType(unit, &type) != 0)
        return -1;
    if (type != kUnitRaid1 && type != kUnitRaid1Mirror)
        return ApiError::Fail(kApiNotAMirror);
    if (DeviceIo::NotifyOs(&controller, &unit, kNotifyUnitRemoving) != 0) {
        (void)DeviceIo::NotifyOs(&controller, &unit, kNotifyRemovalAbandoned);
        return ApiError::Fail(kApiSplitIosPending);
    }
    ObjectIdList128 before;
    if (GetUnitIdList(controller, &before) != 0) {
        AbandonRemoval(controller, unit);
        return -1;
    }
    // The split carries an empty descriptor table.
    uint8_t data[kDescriptorTableSize] = {};
    Packet p{kOpUnitUpdate, 3, UnitNumber(unit)};
    p.byte8 = 1;
    p.byte10 = kSplitAction;
    if (SendCommand(unit, p, nullptr, data, sizeof data) != 0) {
        AbandonRemoval(controller, unit);
        return -1;
    }
    return ReportNewUnits(controller, before, announce, newUnits);
}
