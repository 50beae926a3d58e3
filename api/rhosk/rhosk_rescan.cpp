// The newer family's controller rescan: dead single-drive units are
// dropped, empty ports are probed for drives that were attached since,
// drives that carry a unit's configuration are imported, and the units
// imported and the free drives found are handed back.
#include <algorithm>
#include <vector>

#include "api/api.h"
#include "api/api_error.h"
#include "api/bytes.h"
#include "api/device_io.h"
#include "api/driver.h"
#include "api/rhosk/param_tables.h"
#include "api/rhosk/rhosk_codes.h"
#include "api/rhosk/rhosk_family.h"

namespace {

using rhosk::kPortSlots;

constexpr uint8_t kDetectPortsOpcode = 0x06;
constexpr uint8_t kImportScanOpcode = 0x07;
constexpr uint8_t kDeleteUnitOpcode = 0x15;
constexpr uint8_t kReleaseMode = 0;

constexpr size_t kPortMaskAt = 8;  // packet bytes 8 on: bit n % 8 of byte n / 8 is port n
constexpr size_t kPortMaskSize = kPortSlots / 8;
constexpr uint32_t kLongPortCommandLevel = 35;
constexpr uint32_t kUnreadableLevel = 30;

constexpr uint8_t kStatusConfigFailed = 232;  // "CFG-OP-FAIL"
constexpr uint8_t kUnitFlagsKept = 0x83;      // a unit with one of these bits stays

// API errors of the import.
constexpr uint32_t kApiNoDrivesSpecified = 36;
constexpr uint32_t kApiDrivesNotSameController = 38;
constexpr uint32_t kApiImportPortEmpty = 39;
constexpr uint32_t kApiDriveInUse = 41;
constexpr uint32_t kApiDuplicateDrives = 65;

using PortMask = std::vector<bool>;

// Sends one firmware command without data; `fill` writes the packet.
template <typename Fill>
int32_t SendCommand(ObjectId controller, Fill fill) {
    DeviceIo::ControllerHandle device(controller.controllerId());
    if (!device.ok())
        return -1;
    FirmwareCommandBuffer command{};
    fill(command.packet());
    RhoskRequest request{};
    request.kind = kRequestFirmwareCommand;
    return DeviceIo::SendRhoskRequest(device.handle(), &request, &command, nullptr, 0, 0, 0xFF);
}

// Byte 1 of the port commands: 3 below level 35, 6 from it on; a level
// that cannot be read counts as 30.
uint8_t PortCommandSize(ObjectId controller) {
    const uint32_t level = RhoskFamily::FirmwareCompatLevelOr(controller, kUnreadableLevel);
    return level < kLongPortCommandLevel ? 3 : 6;
}

// The port detection (0x06) or import scan (0x07) of the ports in `mask`.
int32_t SendPortCommand(ObjectId controller, uint8_t opcode, const PortMask& mask) {
    const uint8_t size = PortCommandSize(controller);
    return SendCommand(controller, [&](uint8_t* packet) {
        packet[FirmwareCommandBuffer::kOpcode] = opcode;
        packet[FirmwareCommandBuffer::kCommandSize] = size;
        for (size_t port = 0; port < mask.size() && port < kPortSlots; ++port) {
            if (mask[port])
                packet[kPortMaskAt + port / 8] |= static_cast<uint8_t>(1u << (port % 8));
        }
    });
    static_assert(kPortMaskAt + kPortMaskSize <= 24, "the port mask fits the short packet");
}

int32_t ReleaseUnit(ObjectId unit) {
    return SendCommand(unit, [&](uint8_t* packet) {
        packet[FirmwareCommandBuffer::kOpcode] = kDeleteUnitOpcode;
        packet[FirmwareCommandBuffer::kCommandSize] = 2;
        packet[FirmwareCommandBuffer::kUnit] = unit[ObjectId::kUnit];
        packet[7] = kReleaseMode;
    });
}

// Every port's status byte; false when the list cannot be read.
bool ReadPortStatus(ObjectId controller, uint8_t (&status)[kPortSlots]) {
    return RhoskFamily::GetParam(controller, status, sizeof status, rhosk_tables::kPortSummaryTable,
                                 3, kPortSlots) == 0;
}

// The drives of every present port are probed again; the result is not
// consulted.
void RescanPresentDrives(ObjectId controller) {
    ObjectIdList128 drives;
    if (RhoskFamily::GetDriveIdList(controller, &drives) != 0 || drives.size() == 0)
        return;
    PortMask mask(kPortSlots, false);
    for (size_t i = 0; i < drives.size(); ++i) {
        const uint8_t port = drives.ids[i][ObjectId::kNumber];
        if (drives.ids[i].kind() != kKindDrive || port >= kPortSlots)
            return;
        mask[port] = true;
    }
    (void)SendPortCommand(controller, kDetectPortsOpcode, mask);
}

// The unit numbers of the controller's unit list.
int32_t UnitNumbers(ObjectId controller, ObjectIdList128* units) {
    return RhoskFamily::GetUnitIdList(controller, units);
}

bool Listed(const ObjectIdList128& list, uint8_t unitNumber) {
    for (size_t i = 0; i < list.size(); ++i) {
        if (list.ids[i][ObjectId::kUnit] == unitNumber)
            return true;
    }
    return false;
}

// Imports the units whose configuration the drives carry; the units that
// appeared (CBOD left out) go to `newUnits`.
int32_t ImportDrives(const std::vector<ObjectId>& drives, uint8_t announce,
                     ObjectIdList128* newUnits) {
    newUnits->clear();
    if (drives.empty())
        return ApiError::Fail(kApiNoDrivesSpecified);
    const ObjectId controller = drives.front().controllerId();
    ObjectIdList128 before;
    if (UnitNumbers(controller, &before) != 0)
        return -1;
    uint8_t status[kPortSlots] = {};
    if (!ReadPortStatus(controller, status))
        return -1;
    PortMask mask(kPortSlots, false);
    for (size_t i = 0; i < drives.size(); ++i) {
        const ObjectId& drive = drives[i];
        const uint8_t port = drive[ObjectId::kNumber];
        if (drive.controller() != controller.controller())
            return ApiError::Fail(kApiDrivesNotSameController);
        for (size_t j = 0; j < drives.size(); ++j) {
            if (j != i && drives[j][ObjectId::kNumber] == port)
                return ApiError::Fail(kApiDuplicateDrives);
        }
        if (port >= kPortSlots || !::IsDrivePresent(status[port]))
            return ApiError::Fail(kApiImportPortEmpty);
        ObjectId unit;
        if (RhoskFamily::GetDriveUnitId(drive, &unit) != 0)
            return -1;
        if (unit[ObjectId::kUnit] != ObjectId::kNone)
            return ApiError::Fail(kApiDriveInUse);
        mask[port] = true;
    }
    if (SendPortCommand(controller, kImportScanOpcode, mask) != 0)
        return -1;
    ObjectIdList128 after;
    if (UnitNumbers(controller, &after) != 0)
        return -1;
    for (size_t i = 0; i < after.size(); ++i) {
        uint32_t type = 0;
        if (Listed(before, after.ids[i][ObjectId::kUnit]))
            continue;
        if (RhoskFamily::GetUnitType(after.ids[i], &type) == 0 && type != kUnitCbod)
            (void)newUnits->add(after.ids[i]);
    }
    if (announce != 0)
        (void)DeviceIo::NotifyOs(&controller, &controller, kNotifyUnitAdded);
    return 0;
}

// The lists below read an unreachable controller as empty: a controller
// that cannot be opened fails the rescan instead of reporting that nothing
// was found.
bool IsReachable(ObjectId controller) {
    DeviceIo::ControllerHandle device(controller);
    return device.ok();
}

// Dead single-drive units are released and their drives removed.
void ReleaseDeadUnits(const ObjectIdList128& units) {
    for (size_t i = 0; i < units.size(); ++i) {
        uint8_t flags = 0;
        ObjectIdList128 members;
        if (RhoskFamily::GetUnitFlags(units.ids[i], &flags) != 0 ||
            RhoskFamily::GetUnitDriveList(units.ids[i], &members) != 0) {
            continue;
        }
        if (flags == 0 || (flags & kUnitFlagsKept) != 0)
            continue;
        if (ReleaseUnit(units.ids[i]) != 0)
            continue;
        for (size_t m = 0; m < members.size(); ++m) {
            if (members.ids[m][ObjectId::kNumber] < ObjectId::kNone)
                (void)RhoskFamily::RemovePortDrive(members.ids[m]);
        }
    }
}

// Whether the drive of `port` is one to import: an empty port that now
// finds a drive, or a drive that carries a configuration and is in no unit.
bool IsImportCandidate(ObjectId controller, ObjectId port, uint8_t number, ObjectId drive,
                       uint8_t (&status)[kPortSlots]) {
    if (!::IsDrivePresent(status[number])) {
        ObjectId added;
        return RhoskFamily::AddDrive(port, &added) == 0 && ReadPortStatus(controller, status) &&
               ::IsDrivePresent(status[number]);
    }
    if (status[number] == kStatusConfigFailed)
        return false;
    uint8_t driveFlags = 0;
    ObjectId unit;
    return RhoskFamily::GetDriveUnitFlags(drive, &driveFlags) == 0 && (driveFlags & 1) != 0 &&
           RhoskFamily::GetDriveUnitId(drive, &unit) == 0 &&
           unit[ObjectId::kUnit] == ObjectId::kNone;
}

// The drives to import, port by port, each port's status read afresh.
std::vector<ObjectId> ImportCandidates(ObjectId controller, const ObjectIdList128& ports) {
    std::vector<ObjectId> candidates;
    for (size_t i = 0; i < ports.size(); ++i) {
        const ObjectId port = ports.ids[i];
        const uint8_t number = port[ObjectId::kNumber];
        uint8_t status[kPortSlots] = {};
        if (number >= kPortSlots || !ReadPortStatus(controller, status))
            continue;
        ObjectId drive;
        if (Api::MakeDriveId(controller.controller(), number, &drive) != 0)
            continue;
        if (IsImportCandidate(controller, port, number, drive, status))
            candidates.push_back(drive);
    }
    return candidates;
}

// The imported units go to `newUnits`; the candidates none of them took
// go to `newDrives`.
void SortImported(const std::vector<ObjectId>& candidates, const ObjectIdList128& imported,
                  ObjectIdList128* newUnits, ObjectIdList128* newDrives) {
    std::vector<bool> taken(candidates.size(), false);
    for (size_t u = 0; u < imported.size(); ++u) {
        (void)newUnits->add(imported.ids[u]);
        ObjectIdList128 members;
        if (RhoskFamily::GetUnitDriveList(imported.ids[u], &members) != 0)
            continue;
        for (size_t m = 0; m < members.size(); ++m) {
            for (size_t c = 0; c < candidates.size(); ++c) {
                if (candidates[c][ObjectId::kNumber] == members.ids[m][ObjectId::kNumber])
                    taken[c] = true;
            }
        }
    }
    for (size_t c = 0; c < candidates.size(); ++c) {
        if (!taken[c])
            (void)newDrives->add(candidates[c]);
    }
}

}  // namespace

int32_t RhoskFamily::RescanController(ObjectId controller, uint8_t announce,
                                      ObjectIdList128* newUnits, ObjectIdList128* newDrives) {
    const ObjectId ctl = controller.controllerId();
    if (!IsReachable(ctl))
        return -1;
    RescanPresentDrives(ctl);

    ObjectIdList128 units;
    ObjectIdList128 ports;
    if (GetUnitIdList(ctl, &units) != 0 || GetPortIdList(ctl, &ports) != 0)
        return -1;
    newUnits->clear();
    newDrives->clear();
    ReleaseDeadUnits(units);

    const std::vector<ObjectId> candidates = ImportCandidates(ctl, ports);
    if (candidates.empty())
        return 0;
    ObjectIdList128 imported;
    if (ImportDrives(candidates, announce, &imported) != 0)
        return -1;
    SortImported(candidates, imported, newUnits, newDrives);
    return 0;
}
