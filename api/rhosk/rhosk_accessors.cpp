// The newer family's parameter accessors: controller identity and
// settings, drive identity and health values, unit settings, the read and
// write cache changes under the management lock, the controller logs, the
// driver version and the counters over the library's lists.
#include <cstdio>
#include <cstring>

#include "api/api.h"
#include "api/api_codes.h"
#include "api/api_error.h"
#include "api/bytes.h"
#include "api/device_io.h"
#include "api/rhosk/management_lock.h"
#include "api/rhosk/param_tables.h"
#include "api/rhosk/rhosk_codes.h"
#include "api/rhosk/rhosk_family.h"
#include "api/rhosk/rhosk_params.h"

using namespace rhosk_tables;

namespace rhosk {

int32_t ReadValue(const ObjectId& id, uint16_t table, uint16_t parameter, int32_t size,
                  uint64_t* value) {
    uint8_t buf[8] = {};
    if (size < 1 || size > 8)
        return ApiError::Fail(kApiInvalidArgument);
    if (RhoskFamily::GetParam(ControllerOf(id), buf, sizeof buf, table, parameter, size) != 0) {
        return -1;
    }
    uint64_t read = 0;
    (void)bytes::GetLe(buf, sizeof buf, 0, static_cast<size_t>(size), &read);
    *value = read;
    return 0;
}

int32_t ReadByte(const ObjectId& id, uint16_t table, uint16_t parameter, uint8_t* out) {
    return RhoskFamily::GetParam(ControllerOf(id), out, 1, table, parameter, 1);
}

int32_t WriteValue(const ObjectId& id, uint16_t table, uint16_t parameter, int32_t size,
                   uint64_t value) {
    uint8_t buf[8] = {};
    if (!bytes::PutLe(buf, sizeof buf, 0, value, static_cast<size_t>(size))) {
        return ApiError::Fail(kApiInvalidArgument);
    }
    return RhoskFamily::SetParam(ControllerOf(id), buf, sizeof buf, table, parameter, size);
}

int32_t ReadText(const ObjectId& id, uint16_t table, uint16_t parameter, int32_t size, char* text,
                 std::size_t textSize, bool trim) {
    char local[128] = {};
    if (textSize > sizeof local || textSize == 0)
        return ApiError::Fail(kApiInvalidArgument);
    if (RhoskFamily::GetParam(ControllerOf(id), local, static_cast<uint32_t>(textSize), table,
                              parameter, size) != 0) {
        return -1;
    }
    local[textSize - 1] = '\0';
    if (trim)
        ApiUtil::TrimWhitespace(local);
    std::memcpy(text, local, textSize);
    return 0;
}

}  // namespace rhosk

using namespace rhosk;

namespace {

constexpr uint64_t kCoercionScale = 1000000000ull;
constexpr uint32_t kLogBufferSize = 32768;
constexpr uint32_t kDefaultLogSize = 8192;
constexpr uint32_t kCapacityParamLevel = 33;

// The controller's one-byte settings, each read and written at one place.
struct ByteSetting {
    uint16_t table;
    uint16_t parameter;
};
constexpr ByteSetting kAvModeSetting{kControllerSettingsTable, 10};
constexpr ByteSetting kExportJbodPolicySetting{kControllerSettingsTable, 17};
constexpr ByteSetting kOnDegradePolicySetting{kControllerSettingsTable, 18};
constexpr ByteSetting kIgnoreFuaWriteSetting{kControllerSettingsTable, 22};
constexpr ByteSetting kForceDriveCacheOnSetting{kControllerSettingsTable, 23};
constexpr ByteSetting kMultiLunPolicySetting{kControllerSettingsTable, 24};
constexpr ByteSetting kAutoRebuildSetting{kControllerSettingsTable, 28};
constexpr ByteSetting kLbaReorderingSetting{kTuningTable, 5};

int32_t ReadSetting(ObjectId id, ByteSetting setting, uint8_t* value) {
    return ReadByte(id, setting.table, setting.parameter, value);
}
int32_t WriteSetting(ObjectId id, ByteSetting setting, uint8_t value) {
    return WriteValue(id, setting.table, setting.parameter, 1, value);
}

// Identity texts of the ControllerInfoTable: parameter, its size and the
// caller's buffer size.
int32_t ControllerText(ObjectId id, uint16_t parameter, int32_t size, char* text,
                       std::size_t textSize) {
    return ReadText(id, kControllerInfoTable, parameter, size, text, textSize, true);
}

// A read-modify-write of one bit of a one-byte unit parameter.
int32_t ChangeUnitBit(ObjectId unit, uint16_t parameter, uint8_t bit, bool set) {
    uint8_t value = 0;
    if (ReadInto(unit, UnitTableOf(unit), parameter, 1, &value) != 0)
        return -1;
    value = set ? static_cast<uint8_t>(value | bit) : static_cast<uint8_t>(value & ~bit);
    return WriteValue(unit, UnitTableOf(unit), parameter, 1, value);
}

// Runs `change` under the controller management lock.
template <typename Change>
int32_t UnderLock(ObjectId id, Change change) {
    return UnderManagementLock(ControllerOf(id), RhoskFamily::kCacheLockTime, change);
}

// Read cache: parameter 13 bit 0 (set: off), parameter 29 bit 5 (set: basic).
int32_t SetReadCache(ObjectId unit, bool off, bool basic) {
    return UnderLock(unit, [&] {
        if (ChangeUnitBit(unit, 13, 0x01, off) != 0)
            return -1;
        return ChangeUnitBit(unit, 29, 0x20, basic);
    });
}

// Write cache: parameter 13 bit 2, then the operating system is told (also
// when the lock could not be released: the change was made).
int32_t SetWriteCache(ObjectId unit, bool on) {
    const int32_t changed = UnderLock(unit, [&] { return ChangeUnitBit(unit, 13, 0x04, on); });
    if (changed < 0)
        return -1;
    uint32_t type = 0;
    if (RhoskFamily::GetUnitType(unit, &type) != 0)
        return -1;
    const bool jbod = type == kUnitJbod;
    const uint8_t notification = on ? (jbod ? kNotifyJbodWriteCacheOn : kNotifyWriteCacheOn)
                                    : (jbod ? kNotifyJbodWriteCacheOff : kNotifyWriteCacheOff);
    const ObjectId controller = ControllerOf(unit);
    ApiError::Quietly([&] { return DeviceIo::NotifyOs(&controller, &unit, notification); });
    return changed;
}

int32_t ReadLog(ObjectId controller, uint16_t parameter, uint8_t* log) {
    uint16_t size = 0;
    uint32_t logSize = kDefaultLogSize;
    if (ReadInto(controller, kControllerSettingsTable, 15, 2, &size) == 0)
        logSize = size;
    // A log larger than the caller's buffer is read only as far as it fits.
    if (logSize > kLogBufferSize)
        logSize = kLogBufferSize;
    std::memset(log, 0, kLogBufferSize);
    return RhoskFamily::GetParam(ControllerOf(controller), log, kLogBufferSize,
                                 kControllerSettingsTable, parameter,
                                 static_cast<int32_t>(logSize));
}

}  // namespace

// --- Controller identity ---

int32_t RhoskFamily::GetBootLoaderVersion(ObjectId id, char* text) {
    return ControllerText(id, 2, 16, text, kVersionTextSize);
}
int32_t RhoskFamily::GetControllerFirmwareVersion(ObjectId id, char* text) {
    return ControllerText(id, 3, 16, text, kVersionTextSize);
}
int32_t RhoskFamily::GetBiosVersion(ObjectId id, char* text) {
    return ControllerText(id, 4, 16, text, kVersionTextSize);
}
int32_t RhoskFamily::GetPcbVersion(ObjectId id, char* text) {
    return ControllerText(id, 5, 8, text, kVersionTextSize);
}
int32_t RhoskFamily::GetAchipVersion(ObjectId id, char* text) {
    return ControllerText(id, 6, 8, text, kVersionTextSize);
}
int32_t RhoskFamily::GetPchipVersion(ObjectId id, char* text) {
    return ControllerText(id, 7, 8, text, kVersionTextSize);
}
int32_t RhoskFamily::GetControllerModel(ObjectId id, char* text) {
    return ControllerText(id, 8, 16, text, kModelTextSize);
}
int32_t RhoskFamily::GetControllerSerial(ObjectId id, char* text) {
    return ControllerText(id, 9, 20, text, kVersionTextSize);
}
int32_t RhoskFamily::GetAvailableMemory(ObjectId id, uint32_t* bytes) {
    return ReadInto(id, kControllerInfoTable, 10, 4, bytes);
}
int32_t RhoskFamily::GetFeatureFlags(ObjectId id, uint8_t* flags) {
    uint8_t local[8] = {};
    if (GetParam(ControllerOf(id), local, sizeof local, kControllerInfoTable, 21, 8) != 0) {
        return -1;
    }
    std::memcpy(flags, local, sizeof local);
    return 0;
}

// --- Controller settings ---

int32_t RhoskFamily::GetNumPorts(ObjectId id, uint32_t* ports) {
    return ReadInto(id, kControllerSettingsTable, 3, 1, ports);
}
int32_t RhoskFamily::GetNumberSpinupsAllowed(ObjectId id, uint32_t* value) {
    return ReadInto(id, kControllerSettingsTable, 7, 1, value);
}
int32_t RhoskFamily::SetNumberSpinupsAllowed(ObjectId id, int32_t value) {
    uint32_t ports = 0;
    if (GetNumPorts(id, &ports) != 0)
        return -1;
    if (value < 1 || static_cast<uint32_t>(value) > ports) {
        return ApiError::Fail(kApiInvalidSpinups);
    }
    return WriteValue(id, kControllerSettingsTable, 7, 1, static_cast<uint64_t>(value));
}
int32_t RhoskFamily::GetStaggerTime(ObjectId id, uint32_t* seconds) {
    return ReadInto(id, kControllerSettingsTable, 8, 1, seconds);
}
int32_t RhoskFamily::SetStaggerTime(ObjectId id, int32_t seconds) {
    // A stagger time is 0 to 60 seconds; a negative one would reach the
    // controller as a large byte.
    if (seconds < 0 || seconds > 60)
        return ApiError::Fail(kApiInvalidStaggerTime);
    return WriteValue(id, kControllerSettingsTable, 8, 1, static_cast<uint64_t>(seconds));
}
int32_t RhoskFamily::GetAvMode(ObjectId id, uint8_t* value) {
    return ReadSetting(id, kAvModeSetting, value);
}
int32_t RhoskFamily::SetAvMode(ObjectId id, const uint8_t* value) {
    return WriteSetting(id, kAvModeSetting, *value);
}
int32_t RhoskFamily::GetExportJbodPolicy(ObjectId id, uint8_t* value) {
    return ReadSetting(id, kExportJbodPolicySetting, value);
}
int32_t RhoskFamily::SetExportJbodPolicy(ObjectId id, uint8_t value) {
    return WriteSetting(id, kExportJbodPolicySetting, value);
}
int32_t RhoskFamily::GetOnDegradePolicy(ObjectId id, uint8_t* value) {
    return ReadSetting(id, kOnDegradePolicySetting, value);
}
int32_t RhoskFamily::SetOnDegradePolicy(ObjectId id, uint8_t value) {
    return WriteSetting(id, kOnDegradePolicySetting, value);
}
int32_t RhoskFamily::GetDriveCoercionFactor(ObjectId id, uint32_t* factor) {
    uint64_t scaled = 0;
    if (ReadValue(id, kControllerSettingsTable, 21, 8, &scaled) != 0)
        return -1;
    *factor = static_cast<uint32_t>(scaled / kCoercionScale);
    return 0;
}
int32_t RhoskFamily::SetDriveCoercionFactor(ObjectId id, uint32_t factor) {
    return WriteValue(id, kControllerSettingsTable, 21, 8, uint64_t{factor} * kCoercionScale);
}
int32_t RhoskFamily::GetIgnoreFuaWrite(ObjectId id, uint8_t* value) {
    return ReadSetting(id, kIgnoreFuaWriteSetting, value);
}
int32_t RhoskFamily::SetIgnoreFuaWrite(ObjectId id, uint8_t value) {
    return WriteSetting(id, kIgnoreFuaWriteSetting, value);
}
int32_t RhoskFamily::GetForceDriveCacheOn(ObjectId id, uint8_t* value) {
    return ReadSetting(id, kForceDriveCacheOnSetting, value);
}
int32_t RhoskFamily::SetForceDriveCacheOn(ObjectId id, uint8_t value) {
    return WriteSetting(id, kForceDriveCacheOnSetting, value);
}
int32_t RhoskFamily::GetMultiLunPolicy(ObjectId id, uint8_t* value) {
    return ReadSetting(id, kMultiLunPolicySetting, value);
}
int32_t RhoskFamily::SetMultiLunPolicy(ObjectId id, uint8_t value) {
    return WriteSetting(id, kMultiLunPolicySetting, value);
}
int32_t RhoskFamily::GetAutoRebuild(ObjectId id, uint8_t* policy) {
    return ReadSetting(id, kAutoRebuildSetting, policy);
}
int32_t RhoskFamily::SetAutoRebuild(ObjectId id, uint8_t policy) {
    return WriteSetting(id, kAutoRebuildSetting, policy);
}
int32_t RhoskFamily::GetLunSize(ObjectId id, uint64_t* size) {
    return ReadValue(id, kControllerSettingsTable, 29, 8, size);
}
int32_t RhoskFamily::SetLunSize(ObjectId id, uint64_t size) {
    return WriteValue(id, kControllerSettingsTable, 29, 8, size);
}
int32_t RhoskFamily::GetLbaReordering(ObjectId id, uint8_t* value) {
    return ReadSetting(id, kLbaReorderingSetting, value);
}
int32_t RhoskFamily::SetLbaReordering(ObjectId id, uint8_t value) {
    return WriteSetting(id, kLbaReorderingSetting, value);
}

int32_t RhoskFamily::GetControllerErrorLog(ObjectId id, uint8_t* log) {
    return ReadLog(id, 13, log);
}
int32_t RhoskFamily::GetControllerLog(ObjectId id, uint8_t* log) {
    return ReadLog(id, 14, log);
}

int32_t RhoskFamily::GetDriverVersion(ObjectId id, char* text) {
    DeviceIo::ControllerHandle device(ControllerOf(id));
    if (!device.ok())
        return -1;
    RhoskRequest request{};
    request.kind = kRequestDriverInfo;
    FirmwareCommandBuffer command{};
    uint8_t info[128] = {};
    if (DeviceIo::SendRhoskRequest(device.handle(), &request, &command, info, sizeof info, 0, 0) !=
        0) {
        return -1;
    }
    char local[kDriverVersionTextSize] = {};
    std::snprintf(local, sizeof local, "%d.%02d.%02d.%03d", bytes::GetU16(info, sizeof info, 96),
                  bytes::GetU16(info, sizeof info, 98), bytes::GetU16(info, sizeof info, 100),
                  bytes::GetU16(info, sizeof info, 102));
    std::memcpy(text, local, sizeof local);
    return 0;
}

int32_t RhoskFamily::GetNumActiveDrives(ObjectId id, uint32_t* count) {
    ObjectIdList128 units;
    if (Api::GetUnitIdList(ControllerOf(id), &units) != 0)
        return -1;
    uint32_t total = 0;
    for (size_t i = 0; i < units.size(); ++i) {
        ObjectIdList128 drives;
        if (Api::GetUnitDriveList(units.ids[i], &drives) != 0)
            return -1;
        total += static_cast<uint32_t>(drives.size());
    }
    *count = total;
    return 0;
}

int32_t RhoskFamily::GetNumConnections(ObjectId id, uint32_t* count) {
    ObjectIdList128 drives;
    if (Api::GetDriveIdList(ControllerOf(id), &drives) != 0)
        return -1;
    uint32_t total = 0;
    for (size_t i = 0; i < drives.size(); ++i) {
        uint32_t connections = 0;
        if (GetDriveConnectionCount(drives.ids[i], &connections) != 0)
            return -1;
        total += connections;
    }
    *count = total;
    return 0;
}

// --- Drives and phys ---

int32_t RhoskFamily::GetNumDrives(ObjectId id, uint32_t* count) {
    return ReadInto(id, kPortSummaryTable, 2, 2, count);
}

int32_t RhoskFamily::GetDriveStatus(ObjectId drive, uint8_t* status) {
    const uint8_t port = drive[ObjectId::kNumber];
    if (port == ObjectId::kNone) {
        *status = kDriveNone;
        return 0;
    }
    // A port past the list has no drive; a list that cannot be read fails
    // the read and leaves the caller's byte as it was.
    if (port >= kPortSlots)
        return 0;
    uint8_t list[kPortSlots] = {};
    if (GetParam(ControllerOf(drive), list, sizeof list, kPortSummaryTable, 3, kPortSlots) != 0)
        return -1;
    *status = list[port];
    return 0;
}

int32_t RhoskFamily::GetPhyDeviceType(ObjectId phy, uint8_t* type) {
    return ReadByte(phy, PhyTable(phy[ObjectId::kNumber]), 5, type);
}
int32_t RhoskFamily::GetDriveModel(ObjectId drive, char* text) {
    return ReadText(drive, DriveTableOf(drive), 3, 40, text, kModelTextSize, true);
}
int32_t RhoskFamily::GetDriveSerial(ObjectId drive, char* text) {
    return ReadText(drive, DriveTableOf(drive), 4, 20, text, kVersionTextSize, true);
}
int32_t RhoskFamily::GetDriveFirmwareVersion(ObjectId drive, char* text) {
    return ReadText(drive, DriveTableOf(drive), 14, 8, text, kVersionTextSize, true);
}
int32_t RhoskFamily::GetDriveUnitFlags(ObjectId drive, uint8_t* flags) {
    return ReadByte(drive, DriveTableOf(drive), 12, flags);
}
int32_t RhoskFamily::GetDriveReallocatedSectors(ObjectId drive, uint32_t* count) {
    return ReadInto(drive, DriveTableOf(drive), 19, 2, count);
}
int32_t RhoskFamily::GetDrivePowerOnHours(ObjectId drive, uint32_t* hours) {
    return ReadInto(drive, DriveTableOf(drive), 20, 2, hours);
}
int32_t RhoskFamily::GetDriveTemperature(ObjectId drive, int32_t* celsius) {
    uint16_t raw = 0;
    if (ReadInto(drive, DriveTableOf(drive), 22, 2, &raw) != 0)
        return -1;
    *celsius = static_cast<int16_t>(raw);
    return 0;
}
int32_t RhoskFamily::GetDriveInterface(ObjectId drive, uint8_t* type) {
    return ReadByte(drive, DriveTableOf(drive), 24, type);
}
int32_t RhoskFamily::GetDrivePortCount(ObjectId drive, uint32_t* count) {
    return ReadInto(drive, DriveTableOf(drive), 25, 1, count);
}
int32_t RhoskFamily::GetDriveConnectionCount(ObjectId drive, uint32_t* count) {
    return ReadInto(drive, DriveTableOf(drive), 26, 1, count);
}
int32_t RhoskFamily::GetDriveSpindleSpeed(ObjectId drive, uint32_t* speed) {
    return ReadInto(drive, DriveTableOf(drive), 33, 2, speed);
}
int32_t RhoskFamily::GetDriveCapacity(ObjectId drive, uint64_t* sectors) {
    // A level that cannot be read counts as 0.
    const uint32_t level = FirmwareCompatLevelOr(ControllerOf(drive), 0);
    if (level >= kCapacityParamLevel)
        return ReadValue(drive, DriveTableOf(drive), 23, 8, sectors);
    return ReadValue(drive, DriveTableOf(drive), 2, 4, sectors);
}

// --- Unit settings ---

int32_t RhoskFamily::GetUnitFlags(ObjectId unit, uint8_t* flags) {
    if (unit[ObjectId::kDepth] != 1) {
        *flags = 127;  // subunits carry no flags of their own
        return 0;
    }
    return ReadByte(unit, UnitTableOf(unit), 3, flags);
}
int32_t RhoskFamily::GetUnitWriteCache(ObjectId unit, uint8_t* on) {
    uint8_t bits = 0;
    if (ReadInto(unit, UnitTableOf(unit), 13, 1, &bits) != 0)
        return -1;
    *on = (bits & 0x04) != 0 ? 1 : 0;
    return 0;
}
int32_t RhoskFamily::GetReadCacheMode(ObjectId unit, uint8_t* mode) {
    uint8_t bits = 0;
    if (ReadInto(unit, UnitTableOf(unit), 13, 1, &bits) != 0)
        return -1;
    if ((bits & 0x01) != 0) {
        *mode = kReadCacheOff;
        return 0;
    }
    uint8_t readBits = 0;
    if (ReadInto(unit, UnitTableOf(unit), 29, 1, &readBits) != 0)
        return -1;
    *mode = (readBits & 0x20) != 0 ? kReadCacheBasic : kReadCacheIntelligent;
    return 0;
}
int32_t RhoskFamily::GetAutoVerify(ObjectId unit, uint8_t* value) {
    return ReadByte(unit, UnitTableOf(unit), 14, value);
}
int32_t RhoskFamily::SetAutoVerify(ObjectId unit, uint8_t value) {
    return WriteValue(unit, UnitTableOf(unit), 14, 1, value);
}

namespace {
// The ECC policy belongs to redundant units only.
int32_t CheckEccUnit(ObjectId unit) {
    uint32_t type = 0;
    if (RhoskFamily::GetUnitType(unit, &type) != 0)
        return -1;
    switch (type) {
        case kUnitRaid1:
        case kUnitRaid1Mirror:
        case kUnitRaid5:
        case kUnitRaid10:
        case kUnitRaid6:
        case kUnitRaid50:
        case kUnitMigrating:
            return 0;
        default:
            return ApiError::Fail(kApiEccPolicyInvalidConfig);
    }
}
}  // namespace

int32_t RhoskFamily::GetEccPolicy(ObjectId unit, uint8_t* value) {
    if (CheckEccUnit(unit) != 0)
        return -1;
    return ReadByte(unit, UnitTableOf(unit), 15, value);
}
int32_t RhoskFamily::SetEccPolicy(ObjectId unit, uint8_t value) {
    if (CheckEccUnit(unit) != 0)
        return -1;
    return WriteValue(unit, UnitTableOf(unit), 15, 1, value);
}
int32_t RhoskFamily::GetUnitVolumeCount(ObjectId unit, uint32_t* count) {
    return ReadInto(unit, UnitTableOf(unit), 16, 1, count);
}
int32_t RhoskFamily::GetUnitName(ObjectId unit, char* name) {
    return ReadText(unit, UnitTableOf(unit), 17, 21, name, kUnitNameTextSize, false);
}
int32_t RhoskFamily::SetUnitName(ObjectId unit, const char* name) {
    return SetParam(ControllerOf(unit), name, kUnitNameTextSize, UnitTableOf(unit), 17, 21);
}
int32_t RhoskFamily::GetUnitSerial(ObjectId unit, char* serial) {
    return ReadText(unit, UnitTableOf(unit), 18, 20, serial, kUnitNameTextSize, false);
}
int32_t RhoskFamily::GetUnitQueuing(ObjectId unit, uint8_t* value) {
    return ReadByte(unit, UnitTableOf(unit), 20, value);
}
int32_t RhoskFamily::SetUnitQueuing(ObjectId unit, uint8_t value) {
    return WriteValue(unit, UnitTableOf(unit), 20, 1, value);
}

int32_t RhoskFamily::EnableBasicReadCache(ObjectId unit) {
    return SetReadCache(unit, false, true);
}
int32_t RhoskFamily::DisableReadCache(ObjectId unit) {
    return SetReadCache(unit, true, true);
}
int32_t RhoskFamily::EnableIntelligentReadCache(ObjectId unit) {
    return SetReadCache(unit, false, false);
}
int32_t RhoskFamily::EnableWriteCache(ObjectId unit) {
    return SetWriteCache(unit, true);
}
int32_t RhoskFamily::DisableWriteCache(ObjectId unit) {
    return SetWriteCache(unit, false);
}
