// Later newer-family settings (generations 6 and up): per-unit Keepwell
// parameters, write DPO and rapid RAID recovery, per-drive link speed and
// command queuing, the host bus bits, mode page control and the pending-I/O
// statistics.
#include <cstring>

#include "api/api_error.h"
#include "api/rhosk/param_tables.h"
#include "api/rhosk/rhosk_codes.h"
#include "api/rhosk/rhosk_family.h"
#include "api/rhosk/rhosk_params.h"

using namespace rhosk;
using namespace rhosk_tables;

namespace {

constexpr uint16_t kKeepwellWide = 0x100;  // the stored form of value 2 of parameters 22, 23
constexpr uint16_t kIoCountsSize = 512;

// Keepwell parameters 22 and 23 keep 0 and 1 as they are and anything else
// as 0x100, which reads back as 2.
int32_t GetKeepwellWide(ObjectId unit, uint16_t parameter, uint8_t* value) {
    uint16_t stored = 0;
    if (ReadInto(unit, UnitTableOf(unit), parameter, 2, &stored) != 0)
        return -1;
    *value = stored < 256 ? static_cast<uint8_t>(stored & 1) : 2;
    return 0;
}

int32_t SetKeepwellWide(ObjectId unit, uint16_t parameter, uint8_t value) {
    const uint16_t stored = value <= 1 ? value : kKeepwellWide;
    return WriteValue(unit, UnitTableOf(unit), parameter, 2, stored);
}

// A link-speed read; a drive table that cannot be read fails it and leaves
// the caller's value as it was.
int32_t GetLinkSpeed(ObjectId drive, uint16_t parameter, uint8_t* speed) {
    return ReadInto(drive, DriveTableOf(drive), parameter, 1, speed);
}

}  // namespace

int32_t RhoskSettings::GetDriveLinkSpeedSupported(ObjectId drive, uint8_t* speed) {
    return GetLinkSpeed(drive, 17, speed);
}
int32_t RhoskSettings::GetDriveLinkSpeed(ObjectId drive, uint8_t* speed) {
    return GetLinkSpeed(drive, 18, speed);
}
int32_t RhoskSettings::GetDriveQueuingSupported(ObjectId drive, uint8_t* value) {
    return ReadByte(drive, DriveTableOf(drive), 15, value);
}
int32_t RhoskSettings::GetDriveQueuingEnabled(ObjectId drive, uint8_t* value) {
    return ReadByte(drive, DriveTableOf(drive), 16, value);
}

int32_t RhoskSettings::GetKeepwellParam21(ObjectId unit, uint8_t* value) {
    return ReadInto(unit, UnitTableOf(unit), 21, 1, value);
}
int32_t RhoskSettings::SetKeepwellParam21(ObjectId unit, uint8_t value) {
    return WriteValue(unit, UnitTableOf(unit), 21, 1, value);
}
int32_t RhoskSettings::GetKeepwellParam22(ObjectId unit, uint8_t* value) {
    return GetKeepwellWide(unit, 22, value);
}
int32_t RhoskSettings::SetKeepwellParam22(ObjectId unit, uint8_t value) {
    return SetKeepwellWide(unit, 22, value);
}
int32_t RhoskSettings::GetKeepwellParam23(ObjectId unit, uint8_t* value) {
    return GetKeepwellWide(unit, 23, value);
}
int32_t RhoskSettings::SetKeepwellParam23(ObjectId unit, uint8_t value) {
    return SetKeepwellWide(unit, 23, value);
}

int32_t RhoskSettings::GetWriteDpoPolicy(ObjectId unit, uint8_t* policy) {
    return ReadInto(unit, UnitTableOf(unit), 27, 1, policy);
}
int32_t RhoskSettings::SetWriteDpoPolicy(ObjectId unit, uint8_t policy) {
    return WriteValue(unit, UnitTableOf(unit), 27, 1, policy);
}
int32_t RhoskSettings::GetRapidRecovery(ObjectId unit, uint8_t* policy) {
    return ReadInto(unit, UnitTableOf(unit), 28, 1, policy);
}
int32_t RhoskSettings::SetRapidRecovery(ObjectId unit, uint8_t policy) {
    return WriteValue(unit, UnitTableOf(unit), 28, 1, policy);
}

int32_t RhoskSettings::GetControllerBusInfo(ObjectId controller, uint32_t* bits) {
    return ReadInto(controller, kControllerSettingsTable, 26, 4, bits);
}
int32_t RhoskSettings::GetModePageControl(ObjectId controller, uint8_t* value) {
    return ReadInto(controller, kControllerSettingsTable, 52, 1, value);
}
int32_t RhoskSettings::SetModePageControl(ObjectId controller, uint8_t value) {
    return WriteValue(controller, kControllerSettingsTable, 52, 1, value);
}

int32_t RhoskSettings::GetControllerIoCount(ObjectId controller, uint16_t* count) {
    return ReadInto(controller, kDrivePerfTable, 2, 2, count);
}

int32_t RhoskSettings::GetPortIoStat(ObjectId controller, uint16_t* counts) {
    uint8_t raw[kIoCountsSize] = {};
    std::memset(counts, 0, kIoCountsSize);
    if (RhoskFamily::GetParam(ControllerOf(controller), raw, sizeof raw, kDrivePerfTable, 3,
                              kIoCountsSize) != 0) {
        return -1;
    }
    for (size_t i = 0; i < kIoCountsSize / 2; ++i) {
        counts[i] = static_cast<uint16_t>(raw[2 * i] | (raw[2 * i + 1] << 8));
    }
    return 0;
}

int32_t RhoskSettings::GetControllerIoStat(ObjectId controller, IoStatTable* table) {
    std::memset(table, 0, sizeof *table);
    uint16_t count = 0;
    uint16_t counts[kIoCountsSize / 2] = {};
    if (GetControllerIoCount(controller, &count) != 0 || GetPortIoStat(controller, counts) != 0) {
        return -1;
    }
    table->controllerCount = count;
    std::memcpy(table->portCounts, counts, sizeof counts);
    return 0;
}
