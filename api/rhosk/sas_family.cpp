// The SAS family's operations over the newer family's parameter access:
// one parameter read or written per request, nothing cached.
#include "api/rhosk/sas_family.h"

#include <cstring>

#include "api/api.h"
#include "api/api_codes.h"
#include "api/api_error.h"
#include "api/rhosk/param_tables.h"
#include "api/rhosk/rhosk_codes.h"
#include "api/rhosk/rhosk_family.h"
#include "api/rhosk/rhosk_params.h"

using namespace rhosk_tables;
using rhosk::ControllerOf;
using rhosk::ReadInto;

namespace {

// ControllerSettingsTable parameters.
constexpr uint16_t kSataEnclosureLinkLimit = 37;
constexpr uint16_t kSasEnclosureLinkLimit = 38;
constexpr uint16_t kMaxUnits = 39;
constexpr uint16_t kMaxDrivesPerUnit = 40;
constexpr uint16_t kMaxActiveUnits = 41;
constexpr int32_t kLimitSize = 2;

// PhySummaryTable and PortSummaryTable parameters.
constexpr uint16_t kPhyCount = 2;
constexpr uint16_t kPortStatusList = 3;

// PhyTable parameters.
constexpr uint16_t kPhyLinkSpeedSupported = 2;
constexpr uint16_t kPhyLinkSpeed = 3;
constexpr uint16_t kPhyLinkSpeedControl = 4;
constexpr uint16_t kPhySasAddress = 6;

// DriveTable parameters.
constexpr uint16_t kDriveWwn = 27;
constexpr uint16_t kDriveEnclosure = 30;
constexpr uint16_t kDrivePhy = 32;

constexpr uint8_t kNone = ObjectId::kNone;
constexpr uint8_t kMaxControllers = 16;

static_assert(SasFamily::kNameSize == 8, "SAS addresses and world wide names are 8 bytes");

// Runs `op` with the PhyTable of the phy named by byte 2. A number that
// has no PhyTable (128 or more: those ids belong to the drive tables after
// it) is refused with API error 120 and nothing is sent.
template <typename Op>
int32_t OnPhyTable(const ObjectId& phy, Op op) {
    const uint8_t number = phy[ObjectId::kNumber];
    if (number >= kPhyTableObjects)
        return ApiError::Fail(kApiInvalidPhyId);
    return op(PhyTable(number));
}

// One byte of the phy's table.
int32_t ReadPhyByte(ObjectId phy, uint16_t parameter, uint8_t* value) {
    return OnPhyTable(phy,
                      [&](uint16_t table) { return ReadInto(phy, table, parameter, 1, value); });
}

// An 8-byte name (SAS address, world wide name) read into a zeroed buffer
// and copied unchanged on success.
int32_t ReadName(ObjectId id, uint16_t table, uint16_t parameter, uint8_t* name) {
    uint8_t value[SasFamily::kNameSize] = {};
    if (RhoskFamily::GetParam(ControllerOf(id), value, sizeof value, table, parameter,
                              sizeof value) != 0) {
        return -1;
    }
    std::memcpy(name, value, sizeof value);
    return 0;
}

// A phy or port number that can name an attached phy or port: not 255,
// below the controller's count and below 128.
bool IsUsableNumber(uint8_t number, uint32_t count, uint16_t slots) {
    return number != kNone && number < count && number < slots;
}

}  // namespace

int32_t SasFamily::GetNumPhys(ObjectId id, uint32_t* count) {
    return ReadInto(id, kPhySummaryTable, kPhyCount, 1, count);
}

int32_t SasFamily::GetSataEnclosureLinkSpeedLimit(ObjectId controller, uint8_t* speed) {
    return ReadInto(controller, kControllerSettingsTable, kSataEnclosureLinkLimit, 1, speed);
}

int32_t SasFamily::GetSasEnclosureLinkSpeedLimit(ObjectId controller, uint8_t* speed) {
    return ReadInto(controller, kControllerSettingsTable, kSasEnclosureLinkLimit, 1, speed);
}

int32_t SasFamily::GetPhySasAddress(ObjectId phy, uint8_t* address) {
    return OnPhyTable(
        phy, [&](uint16_t table) { return ReadName(phy, table, kPhySasAddress, address); });
}

int32_t SasFamily::GetPhyLinkSpeedSupported(ObjectId phy, uint8_t* speed) {
    return ReadPhyByte(phy, kPhyLinkSpeedSupported, speed);
}

int32_t SasFamily::GetPhyLinkSpeed(ObjectId phy, uint8_t* speed) {
    return ReadPhyByte(phy, kPhyLinkSpeed, speed);
}

int32_t SasFamily::GetPhyLinkSpeedControl(ObjectId phy, uint8_t* speed) {
    return ReadPhyByte(phy, kPhyLinkSpeedControl, speed);
}

int32_t SasFamily::SetPhyLinkSpeedControl(ObjectId phy, uint8_t speed) {
    return OnPhyTable(phy, [&](uint16_t table) {
        return RhoskFamily::SetParam(ControllerOf(phy), &speed, sizeof speed, table,
                                     kPhyLinkSpeedControl, 1);
    });
}

int32_t SasFamily::GetDriveWwn(ObjectId drive, uint8_t* wwn) {
    return ReadName(drive, rhosk::DriveTableOf(drive), kDriveWwn, wwn);
}

int32_t SasFamily::GetMaxUnitCount(ObjectId controller, uint32_t* count) {
    return ReadInto(controller, kControllerSettingsTable, kMaxUnits, kLimitSize, count);
}

int32_t SasFamily::GetMaxDrivesPerUnit(ObjectId controller, uint32_t* count) {
    return ReadInto(controller, kControllerSettingsTable, kMaxDrivesPerUnit, kLimitSize, count);
}

int32_t SasFamily::GetMaxActiveUnitCount(ObjectId controller, uint32_t* count) {
    return ReadInto(controller, kControllerSettingsTable, kMaxActiveUnits, kLimitSize, count);
}

int32_t SasFamily::GetPortPhyId(ObjectId port, ObjectId* phy) {
    uint32_t ports = 0;
    if (RhoskFamily::GetNumPorts(port, &ports) != 0)
        return -1;
    const uint8_t number = port[ObjectId::kNumber];
    if (!IsUsableNumber(number, ports, rhosk::kPortSlots))
        return ApiError::Fail(kApiInvalidPortId);

    ObjectId portId = port;
    portId[ObjectId::kKind] = kKindDrive;
    const ObjectId controller = portId.controllerId();
    // A port without a drive has no phy; a port list that cannot be read
    // fails with its own error.
    uint8_t status = kDriveNone;
    if (RhoskFamily::GetDriveStatus(portId, &status) != 0)
        return -1;
    if (!IsDrivePresent(status))
        return ApiError::Fail(kApiNoDriveSlot);

    uint8_t controllerNumber = kNone;
    if (Api::ParseControllerId(controller, &controllerNumber) != 0)
        return -1;
    if (controllerNumber == kNone || controllerNumber >= kMaxControllers)
        return ApiError::Fail(kApiInvalidPortId);

    uint8_t attached = kNone;
    if (ReadInto(controller, DriveTable(number), kDrivePhy, 1, &attached) != 0)
        return -1;
    if (attached == kNone || attached >= kPhyTableObjects)
        return ApiError::Fail(kApiNoDriveSlot);

    ObjectId result = ObjectId::Blank();
    if (Api::MakePhyId(controllerNumber, attached, &result) != 0)
        return -1;
    *phy = result;
    return 0;
}

int32_t SasFamily::GetPhyPortId(ObjectId phy, ObjectId* port) {
    uint32_t phys = 0;
    if (GetNumPhys(phy, &phys) != 0)
        return -1;
    const uint8_t number = phy[ObjectId::kNumber];
    if (!IsUsableNumber(number, phys, kPhyTableObjects))
        return ApiError::Fail(kApiInvalidPhyId);

    ApiUtil::FillBytes(port, kNone, sizeof *port);
    uint8_t status[rhosk::kPortSlots] = {};
    if (RhoskFamily::GetParam(ControllerOf(phy), status, sizeof status, kPortSummaryTable,
                              kPortStatusList, sizeof status) != 0) {
        return -1;
    }
    for (uint16_t p = 0; p < rhosk::kPortSlots; ++p) {
        if (!IsDrivePresent(status[p]))
            continue;
        const uint16_t table = DriveTable(static_cast<uint8_t>(p));
        uint8_t enclosure = kNone;
        if (ReadInto(phy, table, kDriveEnclosure, 1, &enclosure) != 0)
            return -1;
        // A drive behind an enclosure is never the drive of a phy.
        if (enclosure != kNone)
            continue;
        uint8_t attached = kNone;
        if (ReadInto(phy, table, kDrivePhy, 1, &attached) != 0)
            return -1;
        if (!IsUsableNumber(attached, phys, kPhyTableObjects) || attached != number)
            continue;
        ObjectId result = ObjectId::Blank();
        if (Api::MakePortId(phy.controller(), static_cast<uint8_t>(p), &result) != 0)
            return -1;
        *port = result;
        return 0;
    }
    return ApiError::Fail(kApiNoDriveSlot);
}
