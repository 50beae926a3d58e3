// The dispatcher entries of the controller, unit and drive queries and
// settings: each looks up the family of its identifier's controller and
// calls the older family's PraneFamily or the newer family's RhoskFamily
// or RhoskSettings operation by the operation's route.
#include "api/api.h"
#include "api/api_error.h"
#include "api/device_io.h"
#include "api/dispatch.h"
#include "api/prane/prane_family.h"
#include "api/rhosk/rhosk_codes.h"
#include "api/rhosk/rhosk_family.h"

namespace Dispatch {
namespace {

// Route "both": the older family's PraneFamily or the newer family's
// operation.
template <typename OlderOp, typename NewerOp>
int32_t Both(ObjectId id, OlderOp older, NewerOp newer) {
    return Call(Route::Both, id, older, newer);
}

// Routes that the older family is not part of.
template <typename NewerOp>
int32_t Newer(Route route, ObjectId id, NewerOp newer) {
    return CallNewer(route, id, newer);
}

// A rate through the families' unsigned form; the older family keeps one
// rate for rebuild and verify.
template <typename Get>
int32_t GetRate(ObjectId id, int32_t* rate, Get get) {
    auto through = [&](auto read) {
        uint32_t value = 0;
        if (read(&value) != 0)
            return -1;
        *rate = static_cast<int32_t>(value);
        return 0;
    };
    return Both(
        id,
        [&] { return through([&](uint32_t* v) { return PraneFamily::GetRebuildRate(id, v); }); },
        [&] { return through(get); });
}

// A rate to set: a negative rate is out of range like any other.
template <typename Set>
int32_t SetRate(ObjectId id, const int32_t* rate, Set set) {
    const uint32_t value = *rate < 0 ? 0 : static_cast<uint32_t>(*rate);
    return Both(
        id, [&] { return PraneFamily::SetRebuildRate(id, &value); }, [&] { return set(&value); });
}

// Controller error "Parameter index does not exist".
constexpr uint32_t kParameterIndexMissing = 0x10C;

}  // namespace

int32_t GetDriverVersion(ObjectId id, char* text) {
    return Both(
        id, [&] { return PraneFamily::GetDriverVersion(id, text); },
        [&] { return RhoskFamily::GetDriverVersion(id, text); });
}
int32_t GetControllerModel(ObjectId id, char* text) {
    return Both(
        id, [&] { return PraneFamily::GetControllerModel(id, text); },
        [&] { return RhoskFamily::GetControllerModel(id, text); });
}
int32_t GetControllerSerial(ObjectId id, char* text) {
    return Both(
        id, [&] { return PraneFamily::GetControllerSerial(id, text); },
        [&] { return RhoskFamily::GetControllerSerial(id, text); });
}
int32_t GetPcbVersion(ObjectId id, char* text) {
    return Both(
        id, [&] { return PraneFamily::GetPcbVersion(id, text); },
        [&] { return RhoskFamily::GetPcbVersion(id, text); });
}
int32_t GetAchipVersion(ObjectId id, char* text) {
    return Both(
        id, [&] { return PraneFamily::GetAchipVersion(id, text); },
        [&] { return RhoskFamily::GetAchipVersion(id, text); });
}
int32_t GetPchipVersion(ObjectId id, char* text) {
    return Both(
        id, [&] { return PraneFamily::GetPchipVersion(id, text); },
        [&] { return RhoskFamily::GetPchipVersion(id, text); });
}
int32_t GetControllerFirmwareVersion(ObjectId id, char* text) {
    return Both(
        id, [&] { return PraneFamily::GetControllerFirmwareVersion(id, text); },
        [&] { return RhoskFamily::GetControllerFirmwareVersion(id, text); });
}
int32_t GetBiosVersion(ObjectId id, char* text) {
    return Both(
        id, [&] { return PraneFamily::GetBiosVersion(id, text); },
        [&] { return RhoskFamily::GetBiosVersion(id, text); });
}
int32_t GetBootLoaderVersion(ObjectId id, char* text) {
    return Both(
        id, [&] { return PraneFamily::GetBootLoaderVersion(id, text); },
        [&] { return RhoskFamily::GetBootLoaderVersion(id, text); });
}
int32_t GetAvailableMemory(ObjectId id, uint32_t* bytes) {
    return Both(
        id, [&] { return PraneFamily::GetAvailableMemory(id, bytes); },
        [&] { return RhoskFamily::GetAvailableMemory(id, bytes); });
}
int32_t GetControllerBusInfo(ObjectId id, uint32_t* bits) {
    return Newer(Route::From6, id, [&] { return RhoskSettings::GetControllerBusInfo(id, bits); });
}
int32_t GetNumPorts(ObjectId id, uint32_t* ports) {
    return Both(
        id, [&] { return PraneFamily::GetNumPorts(id, ports); },
        [&] { return RhoskFamily::GetNumPorts(id, ports); });
}
int32_t GetNumDrives(ObjectId id, uint32_t* count) {
    return Both(
        id, [&] { return PraneFamily::GetNumDrives(id, count); },
        [&] { return RhoskFamily::GetNumDrives(id, count); });
}
int32_t GetNumConnections(ObjectId id, uint32_t* count) {
    return Newer(Route::Newer, id, [&] { return RhoskFamily::GetNumConnections(id, count); });
}
int32_t GetNumActiveDrives(ObjectId id, uint32_t* count) {
    return Newer(Route::Newer, id, [&] { return RhoskFamily::GetNumActiveDrives(id, count); });
}
int32_t GetAutoRebuild(ObjectId id, uint8_t* policy) {
    return Newer(Route::Newer, id, [&] { return RhoskFamily::GetAutoRebuild(id, policy); });
}
int32_t SetAutoRebuild(ObjectId id, uint8_t policy) {
    return Newer(Route::Newer, id, [&] { return RhoskFamily::SetAutoRebuild(id, policy); });
}
int32_t GetMultiLunPolicy(ObjectId id, uint8_t* value) {
    return Newer(Route::Newer, id, [&] { return RhoskFamily::GetMultiLunPolicy(id, value); });
}
int32_t SetMultiLunPolicy(ObjectId id, uint8_t value) {
    return Newer(Route::Newer, id, [&] { return RhoskFamily::SetMultiLunPolicy(id, value); });
}
int32_t GetLunSize(ObjectId id, uint64_t* size) {
    return Newer(Route::Newer, id, [&] { return RhoskFamily::GetLunSize(id, size); });
}
int32_t SetLunSize(ObjectId id, uint64_t size) {
    return Newer(Route::Newer, id, [&] { return RhoskFamily::SetLunSize(id, size); });
}
int32_t GetLbaReordering(ObjectId id, uint8_t* value) {
    return Newer(Route::Newer, id, [&] { return RhoskFamily::GetLbaReordering(id, value); });
}
int32_t SetLbaReordering(ObjectId id, uint8_t value) {
    return Newer(Route::Newer, id, [&] { return RhoskFamily::SetLbaReordering(id, value); });
}
int32_t GetAvMode(ObjectId id, uint8_t* value) {
    return Newer(Route::Newer, id, [&] { return RhoskFamily::GetAvMode(id, value); });
}
int32_t GetExportJbodPolicy(ObjectId id, uint8_t* value) {
    return Newer(Route::Newer, id, [&] { return RhoskFamily::GetExportJbodPolicy(id, value); });
}
int32_t SetExportJbodPolicy(ObjectId id, uint8_t value) {
    return Newer(Route::Newer, id, [&] { return RhoskFamily::SetExportJbodPolicy(id, value); });
}
int32_t GetOnDegradePolicy(ObjectId id, uint8_t* value) {
    return Newer(Route::Only4, id, [&] { return RhoskFamily::GetOnDegradePolicy(id, value); });
}
int32_t SetOnDegradePolicy(ObjectId id, uint8_t value) {
    return Newer(Route::Only4, id, [&] { return RhoskFamily::SetOnDegradePolicy(id, value); });
}
int32_t GetIgnoreFuaWrite(ObjectId id, uint8_t* value) {
    return Newer(Route::Only4, id, [&] { return RhoskFamily::GetIgnoreFuaWrite(id, value); });
}
int32_t SetIgnoreFuaWrite(ObjectId id, uint8_t value) {
    return Newer(Route::Only4, id, [&] { return RhoskFamily::SetIgnoreFuaWrite(id, value); });
}
int32_t GetForceDriveCacheOn(ObjectId id, uint8_t* value) {
    return Newer(Route::Newer, id, [&] { return RhoskFamily::GetForceDriveCacheOn(id, value); });
}
int32_t SetForceDriveCacheOn(ObjectId id, uint8_t value) {
    return Newer(Route::Newer, id, [&] { return RhoskFamily::SetForceDriveCacheOn(id, value); });
}
int32_t GetDriveCoercionFactor(ObjectId id, uint32_t* factor) {
    return Newer(Route::Newer, id, [&] { return RhoskFamily::GetDriveCoercionFactor(id, factor); });
}
int32_t SetDriveCoercionFactor(ObjectId id, uint32_t factor) {
    return Newer(Route::Newer, id, [&] { return RhoskFamily::SetDriveCoercionFactor(id, factor); });
}
int32_t GetModePageControl(ObjectId id, uint8_t* value) {
    return Newer(Route::From6, id, [&] { return RhoskSettings::GetModePageControl(id, value); });
}
int32_t SetModePageControl(ObjectId id, uint8_t value) {
    return Newer(Route::From6, id, [&] { return RhoskSettings::SetModePageControl(id, value); });
}
int32_t GetNumberSpinupsAllowed(ObjectId id, uint32_t* value) {
    return Newer(Route::Newer, id, [&] { return RhoskFamily::GetNumberSpinupsAllowed(id, value); });
}
int32_t SetNumberSpinupsAllowed(ObjectId id, int32_t value) {
    return Newer(Route::Newer, id, [&] { return RhoskFamily::SetNumberSpinupsAllowed(id, value); });
}
int32_t GetStaggerTime(ObjectId id, uint32_t* seconds) {
    return Newer(Route::Newer, id, [&] { return RhoskFamily::GetStaggerTime(id, seconds); });
}
int32_t SetStaggerTime(ObjectId id, int32_t seconds) {
    return Newer(Route::Newer, id, [&] { return RhoskFamily::SetStaggerTime(id, seconds); });
}
int32_t GetRebuildMode(ObjectId id, uint8_t* mode) {
    return Newer(Route::Level37, id, [&] { return RhoskFamily::GetRebuildMode(id, mode); });
}
int32_t SetRebuildMode(ObjectId id, uint8_t mode) {
    return Newer(Route::Level37, id, [&] { return RhoskFamily::SetRebuildMode(id, mode); });
}
int32_t GetVerifyMode(ObjectId id, uint8_t* mode) {
    return Newer(Route::Level37, id, [&] { return RhoskFamily::GetVerifyMode(id, mode); });
}
int32_t SetVerifyMode(ObjectId id, uint8_t mode) {
    return Newer(Route::Level37, id, [&] { return RhoskFamily::SetVerifyMode(id, mode); });
}
int32_t GetSelftestFlags(ObjectId id, uint16_t* flags) {
    return Newer(Route::Newer, id, [&] { return RhoskFamily::GetSelftestFlags(id, flags); });
}
int32_t SetSelftestFlags(ObjectId id, const uint16_t* flags) {
    return Newer(Route::Newer, id, [&] { return RhoskFamily::SetSelftestFlags(id, flags); });
}
int32_t GetBasicVerifyPreferredStart(ObjectId id, uint16_t* start) {
    return Newer(Route::From6, id,
                 [&] { return RhoskFamily::GetBasicVerifyPreferredStart(id, start); });
}
int32_t SetBasicVerifyPreferredStart(ObjectId id, uint16_t start) {
    return Newer(Route::From6, id,
                 [&] { return RhoskFamily::SetBasicVerifyPreferredStart(id, start); });
}
int32_t GetTaskSchedule(ObjectId id, WeeklySchedule* schedule) {
    return Newer(Route::Newer, id, [&] { return RhoskFamily::GetTaskSchedule(id, schedule); });
}
int32_t SetRebuildTask(ObjectId id, uint16_t slot, uint16_t start, uint16_t duration) {
    return Newer(Route::Newer, id,
                 [&] { return RhoskFamily::SetRebuildTask(id, slot, start, duration); });
}
int32_t SetVerifyTask(ObjectId id, uint16_t slot, uint16_t start, uint16_t duration) {
    return Newer(Route::Newer, id,
                 [&] { return RhoskFamily::SetVerifyTask(id, slot, start, duration); });
}
int32_t SetSelftestTask(ObjectId id, uint16_t slot, uint16_t start) {
    return Newer(Route::Newer, id, [&] { return RhoskFamily::SetSelftestTask(id, slot, start); });
}
int32_t GetRebuildScheduleState(ObjectId id, uint8_t* state) {
    return Newer(Route::Newer, id, [&] { return RhoskFamily::GetRebuildScheduleState(id, state); });
}
int32_t GetVerifyScheduleState(ObjectId id, uint8_t* state) {
    return Newer(Route::Newer, id, [&] { return RhoskFamily::GetVerifyScheduleState(id, state); });
}
int32_t EnableRebuildSchedule(ObjectId id) {
    return Newer(Route::Newer, id, [&] { return RhoskFamily::EnableRebuildSchedule(id); });
}
int32_t EnableVerifySchedule(ObjectId id) {
    return Newer(Route::Newer, id, [&] { return RhoskFamily::EnableVerifySchedule(id); });
}
int32_t GetUnitIdList(ObjectId id, ObjectIdList128* list) {
    return Both(
        id, [&] { return PraneFamily::GetUnitIdList(id, list); },
        [&] { return RhoskFamily::GetUnitIdList(id, list); });
}
int32_t GetSubunitIdList(ObjectId id, ObjectIdList128* list) {
    return Both(
        id, [&] { return PraneFamily::GetSubunitIdList(id, list); },
        [&] { return RhoskFamily::GetSubunitIdList(id, list); });
}
int32_t GetRaid6SubunitIdList(ObjectId id, ObjectIdList128* list) {
    return Newer(Route::From6, id, [&] { return RhoskFamily::GetRaid6SubunitIdList(id, list); });
}
int32_t GetUnitDriveList(ObjectId id, ObjectIdList128* list) {
    return Both(
        id, [&] { return PraneFamily::GetUnitDriveList(id, list); },
        [&] { return RhoskFamily::GetUnitDriveList(id, list); });
}
int32_t GetUnitVolumeList(ObjectId id, ObjectIdList128* list) {
    return Newer(Route::From6, id, [&] { return RhoskFamily::GetUnitVolumeList(id, list); });
}
int32_t GetUnitVolumeCount(ObjectId id, uint32_t* count) {
    return Newer(Route::Newer, id, [&] { return RhoskFamily::GetUnitVolumeCount(id, count); });
}
int32_t GetVolumeCapacity(ObjectId id, uint64_t* sectors) {
    return Newer(Route::From6, id, [&] { return RhoskFamily::GetVolumeCapacity(id, sectors); });
}
int32_t GetUnitStatus(ObjectId id, uint8_t* status) {
    return Both(
        id, [&] { return PraneFamily::GetUnitStatus(id, status); },
        [&] { return RhoskFamily::GetUnitStatus(id, status); });
}
int32_t GetUnitType(ObjectId id, uint32_t* type) {
    return Both(
        id, [&] { return PraneFamily::GetUnitType(id, type); },
        [&] { return RhoskFamily::GetUnitType(id, type); });
}
int32_t GetUnitFlags(ObjectId id, uint8_t* flags) {
    return Both(
        id, [&] { return PraneFamily::GetUnitFlags(id, flags); },
        [&] { return RhoskFamily::GetUnitFlags(id, flags); });
}
int32_t GetUnitPercentComplete(ObjectId id, uint32_t* percent) {
    return Both(
        id, [&] { return PraneFamily::GetUnitPercentComplete(id, percent); },
        [&] { return RhoskFamily::GetUnitPercentComplete(id, percent); });
}
int32_t GetUnitCapacity(ObjectId id, uint64_t* sectors) {
    return Both(
        id, [&] { return PraneFamily::GetUnitCapacity(id, sectors); },
        [&] { return RhoskFamily::GetUnitCapacity(id, sectors); });
}
int32_t GetUnitStripeSize(ObjectId id, uint32_t* kib) {
    return Both(
        id, [&] { return PraneFamily::GetUnitStripeSize(id, kib); },
        [&] { return RhoskFamily::GetUnitStripeSize(id, kib); });
}
int32_t GetUnitParityNumber(ObjectId id, uint32_t* count) {
    return Newer(Route::From6, id, [&] { return RhoskFamily::GetUnitParityNumber(id, count); });
}
int32_t IsUnitInitialized(ObjectId id, uint8_t* initialized) {
    return Newer(Route::Newer, id, [&] { return RhoskFamily::IsUnitInitialized(id, initialized); });
}
int32_t IsUnitTaskRunning(ObjectId id, uint8_t* running) {
    return Newer(Route::Newer, id, [&] { return RhoskFamily::IsUnitTaskRunning(id, running); });
}
int32_t GetUnitSerial(ObjectId id, char* serial) {
    return Newer(Route::Newer, id, [&] { return RhoskFamily::GetUnitSerial(id, serial); });
}
int32_t GetUnitName(ObjectId id, char* name) {
    return Newer(Route::Newer, id, [&] { return RhoskFamily::GetUnitName(id, name); });
}
int32_t SetUnitName(ObjectId id, const char* name) {
    return Newer(Route::Newer, id, [&] { return RhoskFamily::SetUnitName(id, name); });
}
int32_t GetUnitWriteCache(ObjectId id, uint8_t* on) {
    return Both(
        id, [&] { return PraneFamily::GetUnitWriteCache(id, on); },
        [&] { return RhoskFamily::GetUnitWriteCache(id, on); });
}
int32_t EnableWriteCache(ObjectId id) {
    return Both(
        id, [&] { return PraneFamily::EnableWriteCache(id); },
        [&] { return RhoskFamily::EnableWriteCache(id); });
}
int32_t DisableWriteCache(ObjectId id) {
    return Both(
        id, [&] { return PraneFamily::DisableWriteCache(id); },
        [&] { return RhoskFamily::DisableWriteCache(id); });
}
int32_t GetReadCacheMode(ObjectId id, uint8_t* mode) {
    return Newer(Route::Level37, id, [&] { return RhoskFamily::GetReadCacheMode(id, mode); });
}
int32_t EnableBasicReadCache(ObjectId id) {
    return Newer(Route::Level37, id, [&] { return RhoskFamily::EnableBasicReadCache(id); });
}
int32_t EnableIntelligentReadCache(ObjectId id) {
    return Newer(Route::Level37, id, [&] { return RhoskFamily::EnableIntelligentReadCache(id); });
}
int32_t DisableReadCache(ObjectId id) {
    return Newer(Route::Level37, id, [&] { return RhoskFamily::DisableReadCache(id); });
}
int32_t GetEccPolicy(ObjectId id, uint8_t* value) {
    return Newer(Route::Newer, id, [&] { return RhoskFamily::GetEccPolicy(id, value); });
}
int32_t SetEccPolicy(ObjectId id, uint8_t value) {
    return Newer(Route::Newer, id, [&] { return RhoskFamily::SetEccPolicy(id, value); });
}
int32_t GetAutoVerify(ObjectId id, uint8_t* value) {
    return Newer(Route::Newer, id, [&] { return RhoskFamily::GetAutoVerify(id, value); });
}
int32_t SetAutoVerify(ObjectId id, uint8_t value) {
    return Newer(Route::Newer, id, [&] { return RhoskFamily::SetAutoVerify(id, value); });
}
int32_t GetUnitQueuing(ObjectId id, uint8_t* value) {
    return Newer(Route::Newer, id, [&] { return RhoskFamily::GetUnitQueuing(id, value); });
}
int32_t SetUnitQueuing(ObjectId id, uint8_t value) {
    return Newer(Route::Newer, id, [&] { return RhoskFamily::SetUnitQueuing(id, value); });
}
int32_t GetKeepwellParam21(ObjectId id, uint8_t* value) {
    return Newer(Route::From6, id, [&] { return RhoskSettings::GetKeepwellParam21(id, value); });
}
int32_t SetKeepwellParam21(ObjectId id, uint8_t value) {
    return Newer(Route::From6, id, [&] { return RhoskSettings::SetKeepwellParam21(id, value); });
}
int32_t GetKeepwellParam22(ObjectId id, uint8_t* value) {
    return Newer(Route::From6, id, [&] { return RhoskSettings::GetKeepwellParam22(id, value); });
}
int32_t SetKeepwellParam22(ObjectId id, uint8_t value) {
    return Newer(Route::From6, id, [&] { return RhoskSettings::SetKeepwellParam22(id, value); });
}
int32_t GetKeepwellParam23(ObjectId id, uint8_t* value) {
    return Newer(Route::From6, id, [&] { return RhoskSettings::GetKeepwellParam23(id, value); });
}
int32_t SetKeepwellParam23(ObjectId id, uint8_t value) {
    return Newer(Route::From6, id, [&] { return RhoskSettings::SetKeepwellParam23(id, value); });
}
int32_t GetRapidRecovery(ObjectId id, uint8_t* policy) {
    return Newer(Route::Level36, id, [&] { return RhoskSettings::GetRapidRecovery(id, policy); });
}
int32_t SetRapidRecovery(ObjectId id, uint8_t policy) {
    return Newer(Route::Level36, id, [&] { return RhoskSettings::SetRapidRecovery(id, policy); });
}
int32_t GetWriteDpoPolicy(ObjectId id, uint8_t* policy) {
    return Newer(Route::Level36, id, [&] { return RhoskSettings::GetWriteDpoPolicy(id, policy); });
}
int32_t SetWriteDpoPolicy(ObjectId id, uint8_t policy) {
    return Newer(Route::Level36, id, [&] { return RhoskSettings::SetWriteDpoPolicy(id, policy); });
}
int32_t GetDriveIdList(ObjectId id, ObjectIdList128* list) {
    return Both(
        id, [&] { return PraneFamily::GetDriveIdList(id, list); },
        [&] { return RhoskFamily::GetDriveIdList(id, list); });
}
int32_t GetPortIdList(ObjectId id, ObjectIdList128* list) {
    return Both(
        id, [&] { return PraneFamily::GetPortIdList(id, list); },
        [&] { return RhoskFamily::GetPortIdList(id, list); });
}
int32_t GetDriveStatus(ObjectId id, uint8_t* status) {
    return Both(
        id, [&] { return PraneFamily::GetDriveStatus(id, status); },
        [&] { return RhoskFamily::GetDriveStatus(id, status); });
}
int32_t GetDriveCapacity(ObjectId id, uint64_t* sectors) {
    return Both(
        id, [&] { return PraneFamily::GetDriveCapacity(id, sectors); },
        [&] { return RhoskFamily::GetDriveCapacity(id, sectors); });
}
int32_t GetDriveModel(ObjectId id, char* text) {
    return Both(
        id, [&] { return PraneFamily::GetDriveModel(id, text); },
        [&] { return RhoskFamily::GetDriveModel(id, text); });
}
int32_t GetDriveSerial(ObjectId id, char* text) {
    return Both(
        id, [&] { return PraneFamily::GetDriveSerial(id, text); },
        [&] { return RhoskFamily::GetDriveSerial(id, text); });
}
int32_t GetDriveFirmwareVersion(ObjectId id, char* text) {
    return Both(
        id, [&] { return PraneFamily::GetDriveFirmwareVersion(id, text); },
        [&] { return RhoskFamily::GetDriveFirmwareVersion(id, text); });
}
int32_t GetDriveUnitId(ObjectId id, ObjectId* unit) {
    return Both(
        id, [&] { return PraneFamily::GetDriveUnitId(id, unit); },
        [&] { return RhoskFamily::GetDriveUnitId(id, unit); });
}
int32_t GetDriveUnitFlags(ObjectId id, uint8_t* flags) {
    return Newer(Route::From6, id, [&] { return RhoskFamily::GetDriveUnitFlags(id, flags); });
}
int32_t GetDriveInterface(ObjectId id, uint8_t* type) {
    return Newer(Route::From6, id, [&] { return RhoskFamily::GetDriveInterface(id, type); });
}
int32_t GetDrivePortCount(ObjectId id, uint32_t* count) {
    return Newer(Route::From6, id, [&] { return RhoskFamily::GetDrivePortCount(id, count); });
}
int32_t GetDriveConnectionCount(ObjectId id, uint32_t* count) {
    return Newer(Route::From6, id, [&] { return RhoskFamily::GetDriveConnectionCount(id, count); });
}
int32_t GetDriveReallocatedSectors(ObjectId id, uint32_t* count) {
    return Newer(Route::From6, id,
                 [&] { return RhoskFamily::GetDriveReallocatedSectors(id, count); });
}
int32_t GetDrivePowerOnHours(ObjectId id, uint32_t* hours) {
    return Newer(Route::From6, id, [&] { return RhoskFamily::GetDrivePowerOnHours(id, hours); });
}
int32_t GetDriveTemperature(ObjectId id, int32_t* celsius) {
    return Newer(Route::From6, id, [&] { return RhoskFamily::GetDriveTemperature(id, celsius); });
}
int32_t GetDriveSpindleSpeed(ObjectId id, uint32_t* speed) {
    return Newer(Route::From6, id, [&] { return RhoskFamily::GetDriveSpindleSpeed(id, speed); });
}
int32_t GetDriveQueuingSupported(ObjectId id, uint8_t* value) {
    return Newer(Route::From6, id,
                 [&] { return RhoskSettings::GetDriveQueuingSupported(id, value); });
}
int32_t GetDriveQueuingEnabled(ObjectId id, uint8_t* value) {
    return Newer(Route::From6, id,
                 [&] { return RhoskSettings::GetDriveQueuingEnabled(id, value); });
}
int32_t GetDriveLinkSpeedSupported(ObjectId id, uint8_t* speed) {
    return Newer(Route::From6, id,
                 [&] { return RhoskSettings::GetDriveLinkSpeedSupported(id, speed); });
}
int32_t GetDriveLinkSpeed(ObjectId id, uint8_t* speed) {
    return Newer(Route::From6, id, [&] { return RhoskSettings::GetDriveLinkSpeed(id, speed); });
}
int32_t GetPortIoStat(ObjectId id, uint16_t* counts) {
    return Newer(Route::From6, id, [&] { return RhoskSettings::GetPortIoStat(id, counts); });
}
int32_t GetControllerIoStat(ObjectId id, IoStatTable* table) {
    return Newer(Route::From6, id, [&] { return RhoskSettings::GetControllerIoStat(id, table); });
}

int32_t EnableAvMode(ObjectId id) {
    return Newer(Route::Newer, id, [&] {
        const uint8_t on = 1;
        if (RhoskFamily::SetAvMode(id, &on) != 0)
            return -1;
        if (RhoskFamily::SetLbaReordering(id, 0) == 0)
            return 0;
        // Firmware without LBA reordering has nothing to turn off.
        ApiErrorRecord record;
        (void)Api::GetLastErrorRecord(&record);
        if ((record.flags & kApiErrorController) != 0 &&
            record.controllerCode == kParameterIndexMissing) {
            ApiError::Clear();
            return 0;
        }
        return -1;
    });
}

int32_t DisableAvMode(ObjectId id) {
    return Newer(Route::Newer, id, [&] {
        const uint8_t off = 0;
        return RhoskFamily::SetAvMode(id, &off);
    });
}

int32_t DisableRebuildSchedule(ObjectId id) {
    return Newer(Route::Newer, id,
                 [&] { return RhoskFamily::DisableRebuildSchedule(id, rhosk::kScheduleDisabled); });
}

int32_t DisableVerifySchedule(ObjectId id) {
    return Newer(Route::Newer, id,
                 [&] { return RhoskFamily::DisableVerifySchedule(id, rhosk::kScheduleDisabled); });
}

int32_t GetRebuildRate(ObjectId id, int32_t* rate) {
    return GetRate(id, rate, [&](uint32_t* v) { return RhoskFamily::GetRebuildRate(id, v); });
}

int32_t GetVerifyRate(ObjectId id, int32_t* rate) {
    return GetRate(id, rate, [&](uint32_t* v) { return RhoskFamily::GetVerifyRate(id, v); });
}

int32_t SetRebuildRate(ObjectId id, const int32_t* rate) {
    return SetRate(id, rate, [&](const uint32_t* v) { return RhoskFamily::SetRebuildRate(id, v); });
}

int32_t SetVerifyRate(ObjectId id, const int32_t* rate) {
    return SetRate(id, rate, [&](const uint32_t* v) { return RhoskFamily::SetVerifyRate(id, v); });
}

// GetMaxUnitCount, GetMaxActiveUnitCount and GetMaxDrivesPerUnit (route
// port count): api/dispatch_sas.cpp.

}  // namespace Dispatch
