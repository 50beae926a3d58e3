// The public controller operations: identity and version texts, counts and
// limits, settings and policies, background task rates, modes and schedules.
#include "api/api.h"
#include "api/api_error.h"
#include "api/dispatch.h"
#include "api/rhosk/rhosk_codes.h"

namespace Api {

int GetDriverVersion(ObjectId id, char* text) {
    return Dispatch::GetDriverVersion(id, text);
}
int GetControllerModel(ObjectId id, char* text) {
    return Dispatch::GetControllerModel(id, text);
}
int GetControllerSerial(ObjectId id, char* text) {
    return Dispatch::GetControllerSerial(id, text);
}
int GetPcbVersion(ObjectId id, char* text) {
    return Dispatch::GetPcbVersion(id, text);
}
int GetAchipVersion(ObjectId id, char* text) {
    return Dispatch::GetAchipVersion(id, text);
}
int GetPchipVersion(ObjectId id, char* text) {
    return Dispatch::GetPchipVersion(id, text);
}
int GetControllerFirmwareVersion(ObjectId id, char* text) {
    return Dispatch::GetControllerFirmwareVersion(id, text);
}
int GetBiosVersion(ObjectId id, char* text) {
    return Dispatch::GetBiosVersion(id, text);
}
int GetBootLoaderVersion(ObjectId id, char* text) {
    return Dispatch::GetBootLoaderVersion(id, text);
}
int GetAvailableMemory(ObjectId id, uint32_t* bytes) {
    return Dispatch::GetAvailableMemory(id, bytes);
}
int GetControllerBusInfo(ObjectId id, uint32_t* bits) {
    return Dispatch::GetControllerBusInfo(id, bits);
}
int GetNumPorts(ObjectId id, uint32_t* ports) {
    return Dispatch::GetNumPorts(id, ports);
}
int GetNumDrives(ObjectId id, uint32_t* count) {
    return Dispatch::GetNumDrives(id, count);
}
int GetNumConnections(ObjectId id, uint32_t* count) {
    return Dispatch::GetNumConnections(id, count);
}
int GetNumActiveDrives(ObjectId id, uint32_t* count) {
    return Dispatch::GetNumActiveDrives(id, count);
}
int GetAutoRebuild(ObjectId id, uint8_t* policy) {
    return Dispatch::GetAutoRebuild(id, policy);
}
int SetAutoRebuild(ObjectId id, uint8_t policy) {
    return Dispatch::SetAutoRebuild(id, policy);
}
int GetMultiLunPolicy(ObjectId id, uint8_t* value) {
    return Dispatch::GetMultiLunPolicy(id, value);
}
int GetLunSize(ObjectId id, uint64_t* size) {
    return Dispatch::GetLunSize(id, size);
}
int SetLunSize(ObjectId id, uint64_t size) {
    return Dispatch::SetLunSize(id, size);
}
int GetLbaReordering(ObjectId id, uint8_t* value) {
    return Dispatch::GetLbaReordering(id, value);
}
int GetAvMode(ObjectId id, uint8_t* value) {
    return Dispatch::GetAvMode(id, value);
}
int GetExportJbodPolicy(ObjectId id, uint8_t* value) {
    return Dispatch::GetExportJbodPolicy(id, value);
}
int GetOnDegradePolicy(ObjectId id, uint8_t* value) {
    return Dispatch::GetOnDegradePolicy(id, value);
}
int GetIgnoreFuaWrite(ObjectId id, uint8_t* value) {
    return Dispatch::GetIgnoreFuaWrite(id, value);
}
int GetForceDriveCacheOn(ObjectId id, uint8_t* value) {
    return Dispatch::GetForceDriveCacheOn(id, value);
}
int GetDriveCoercionFactor(ObjectId id, uint32_t* factor) {
    return Dispatch::GetDriveCoercionFactor(id, factor);
}
int GetModePageControl(ObjectId id, uint8_t* value) {
    return Dispatch::GetModePageControl(id, value);
}
int SetModePageControl(ObjectId id, uint8_t value) {
    return Dispatch::SetModePageControl(id, value);
}
int GetNumberSpinupsAllowed(ObjectId id, uint32_t* value) {
    return Dispatch::GetNumberSpinupsAllowed(id, value);
}
int SetNumberSpinupsAllowed(ObjectId id, int32_t value) {
    return Dispatch::SetNumberSpinupsAllowed(id, value);
}
int GetStaggerTime(ObjectId id, uint32_t* seconds) {
    return Dispatch::GetStaggerTime(id, seconds);
}
int SetStaggerTime(ObjectId id, int32_t seconds) {
    return Dispatch::SetStaggerTime(id, seconds);
}
int GetRebuildMode(ObjectId id, uint8_t* mode) {
    return Dispatch::GetRebuildMode(id, mode);
}
int SetRebuildMode(ObjectId id, uint8_t mode) {
    return Dispatch::SetRebuildMode(id, mode);
}
int GetVerifyMode(ObjectId id, uint8_t* mode) {
    return Dispatch::GetVerifyMode(id, mode);
}
int SetVerifyMode(ObjectId id, uint8_t mode) {
    return Dispatch::SetVerifyMode(id, mode);
}
int GetSelftestFlags(ObjectId id, uint16_t* flags) {
    return Dispatch::GetSelftestFlags(id, flags);
}
int SetSelftestFlags(ObjectId id, const uint16_t* flags) {
    return Dispatch::SetSelftestFlags(id, flags);
}
int GetBasicVerifyPreferredStart(ObjectId id, uint16_t* start) {
    return Dispatch::GetBasicVerifyPreferredStart(id, start);
}
int SetBasicVerifyPreferredStart(ObjectId id, uint16_t start) {
    return Dispatch::SetBasicVerifyPreferredStart(id, start);
}
int GetTaskSchedule(ObjectId id, WeeklySchedule* schedule) {
    return Dispatch::GetTaskSchedule(id, schedule);
}
int SetRebuildTask(ObjectId id, uint16_t slot, uint16_t start, uint16_t duration) {
    return Dispatch::SetRebuildTask(id, slot, start, duration);
}
int SetVerifyTask(ObjectId id, uint16_t slot, uint16_t start, uint16_t duration) {
    return Dispatch::SetVerifyTask(id, slot, start, duration);
}
int SetSelftestTask(ObjectId id, uint16_t slot, uint16_t start) {
    return Dispatch::SetSelftestTask(id, slot, start);
}
int GetRebuildScheduleState(ObjectId id, uint8_t* state) {
    return Dispatch::GetRebuildScheduleState(id, state);
}
int GetVerifyScheduleState(ObjectId id, uint8_t* state) {
    return Dispatch::GetVerifyScheduleState(id, state);
}
int EnableRebuildSchedule(ObjectId id) {
    return Dispatch::EnableRebuildSchedule(id);
}
int EnableVerifySchedule(ObjectId id) {
    return Dispatch::EnableVerifySchedule(id);
}

int EnableMultiLunPolicy(ObjectId id) {
    return Dispatch::SetMultiLunPolicy(id, 1);
}
int DisableMultiLunPolicy(ObjectId id) {
    return Dispatch::SetMultiLunPolicy(id, 0);
}
int EnableLbaReordering(ObjectId id) {
    return Dispatch::SetLbaReordering(id, 1);
}
int DisableLbaReordering(ObjectId id) {
    return Dispatch::SetLbaReordering(id, 0);
}
int EnableExportJbod(ObjectId id) {
    return Dispatch::SetExportJbodPolicy(id, 1);
}
int DisableExportJbod(ObjectId id) {
    return Dispatch::SetExportJbodPolicy(id, 0);
}
int SetOnDegradeCacheOff(ObjectId id) {
    return Dispatch::SetOnDegradePolicy(id, 1);
}
int SetOnDegradeFollow(ObjectId id) {
    return Dispatch::SetOnDegradePolicy(id, 0);
}
int EnableIgnoreFuaWrite(ObjectId id) {
    return Dispatch::SetIgnoreFuaWrite(id, 1);
}
int DisableIgnoreFuaWrite(ObjectId id) {
    return Dispatch::SetIgnoreFuaWrite(id, 0);
}
int EnableForceDriveCacheOn(ObjectId id) {
    return Dispatch::SetForceDriveCacheOn(id, 1);
}
int DisableForceDriveCacheOn(ObjectId id) {
    return Dispatch::SetForceDriveCacheOn(id, 0);
}
int EnableAvMode(ObjectId id) {
    return Dispatch::EnableAvMode(id);
}
int DisableAvMode(ObjectId id) {
    return Dispatch::DisableAvMode(id);
}

int SetDriveCoercionFactor(ObjectId id, uint32_t factor) {
    if (factor == 0 || factor > 100)
        return ApiError::Fail(rhosk::kApiInvalidArgument);
    return Dispatch::SetDriveCoercionFactor(id, factor);
}

int GetRebuildRate(ObjectId id, int32_t* rate) {
    return Dispatch::GetRebuildRate(id, rate);
}
int SetRebuildRate(ObjectId id, const int32_t* rate) {
    return Dispatch::SetRebuildRate(id, rate);
}
int GetVerifyRate(ObjectId id, int32_t* rate) {
    return Dispatch::GetVerifyRate(id, rate);
}
int SetVerifyRate(ObjectId id, const int32_t* rate) {
    return Dispatch::SetVerifyRate(id, rate);
}
int DisableRebuildSchedule(ObjectId id) {
    return Dispatch::DisableRebuildSchedule(id);
}
int DisableVerifySchedule(ObjectId id) {
    return Dispatch::DisableVerifySchedule(id);
}

int GetMaxUnits(ObjectId id, uint32_t* count) {
    return GetMaxUnitCount(id, count);
}
int GetMaxDrives(ObjectId id, uint32_t* count) {
    return GetNumPorts(id, count);
}
int GetMaxUnitCount(ObjectId id, uint32_t* count) {
    return Dispatch::GetMaxUnitCount(id, count);
}
int GetMaxActiveUnitCount(ObjectId id, uint32_t* count) {
    return Dispatch::GetMaxActiveUnitCount(id, count);
}
int GetMaxDrivesPerUnit(ObjectId id, uint32_t* count) {
    return Dispatch::GetMaxDrivesPerUnit(id, count);
}

}  // namespace Api
