// The family dispatcher: every public operation of the library passes its
// arguments to one Dispatch operation, which looks up the family of the
// identifier's controller and calls the older family's PraneFamily or one
// of the newer family's implementation objects. The dispatcher keeps no
// state; every call looks the family up again.
#pragma once

#include <cstdint>

#include "api/api_codes.h"
#include "api/device_io.h"
#include "api/object_id.h"

namespace Dispatch {

// The routes: which families an operation serves.
enum class Route {
    Both,       // 3 older; 4, 6, 7, 8 newer
    Newer,      // 4, 6, 7, 8
    From6,      // 6, 7, 8
    Only4,      // 4
    Only8,      // 8
    Level36,    // 6, 7, 8 with firmware compatibility level 36 or more
    Level37,    // 7, 8 with level 37 or more
    SasPhys,    // 8, and 7 when the controller has SAS phys
    OlderOnly,  // 3; every other family, unclassified included, API error 2
};

// Where an operation goes.
enum class Target {
    Older,
    Newer,
    Refused,  // the operation returns -1; the error (if any) is recorded
};

// Decides the target of an operation on `id` by its route. A family that
// the route does not serve records API error 2; an unclassified controller
// leaves the error record untouched (except on the older-only route); a
// failed level read keeps the read's error.
Target Resolve(Route route, ObjectId id);

// Routes one operation: `older` and `newer` are called without arguments
// and return the operation's status.
template <typename OlderOp, typename NewerOp>
int32_t Call(Route route, ObjectId id, OlderOp older, NewerOp newer) {
    switch (Resolve(route, id)) {
        case Target::Older:
            return older();
        case Target::Newer:
            return newer();
        case Target::Refused:
            break;
    }
    return -1;
}

// Routes an operation that the older family does not have.
template <typename NewerOp>
int32_t CallNewer(Route route, ObjectId id, NewerOp newer) {
    return Call(
        route, id, [] { return -1; }, newer);
}

// Records API error 2 "Feature not supported"; -1.
int32_t NotSupported();

// --- Operations ---
// The controller's family code for 3, 4, 6, 7 and 8; -1 without an error
// for an unclassified controller.
[[nodiscard]] int32_t GetControllerFamily(ObjectId id, uint32_t* family);
// The newer family's firmware compatibility level (route newer).
[[nodiscard]] int32_t GetFirmwareCompatLevel(ObjectId id, uint32_t* level);
// 1 for family 8, and for family 7 from level 36; 0 otherwise. A failed
// level read writes 0 and returns -1.
[[nodiscard]] int32_t HasSasPhys(ObjectId id, uint32_t* answer);
// 1 for families 6-8 from level 36; 0 for the others (success).
[[nodiscard]] int32_t IsBasicVerifySupported(ObjectId id, uint32_t* answer);

}  // namespace Dispatch

// --- Controller, unit and drive queries and settings (api/dispatch_queries.cpp) ---
struct WeeklySchedule;
struct IoStatTable;

namespace Dispatch {

[[nodiscard]] int32_t GetDriverVersion(ObjectId id, char* text);
[[nodiscard]] int32_t GetControllerModel(ObjectId id, char* text);
[[nodiscard]] int32_t GetControllerSerial(ObjectId id, char* text);
[[nodiscard]] int32_t GetPcbVersion(ObjectId id, char* text);
[[nodiscard]] int32_t GetAchipVersion(ObjectId id, char* text);
[[nodiscard]] int32_t GetPchipVersion(ObjectId id, char* text);
[[nodiscard]] int32_t GetControllerFirmwareVersion(ObjectId id, char* text);
[[nodiscard]] int32_t GetBiosVersion(ObjectId id, char* text);
[[nodiscard]] int32_t GetBootLoaderVersion(ObjectId id, char* text);
[[nodiscard]] int32_t GetAvailableMemory(ObjectId id, uint32_t* bytes);
[[nodiscard]] int32_t GetControllerBusInfo(ObjectId id, uint32_t* bits);
[[nodiscard]] int32_t GetNumPorts(ObjectId id, uint32_t* ports);
[[nodiscard]] int32_t GetNumDrives(ObjectId id, uint32_t* count);
[[nodiscard]] int32_t GetNumConnections(ObjectId id, uint32_t* count);
[[nodiscard]] int32_t GetNumActiveDrives(ObjectId id, uint32_t* count);
[[nodiscard]] int32_t GetAutoRebuild(ObjectId id, uint8_t* policy);
[[nodiscard]] int32_t SetAutoRebuild(ObjectId id, uint8_t policy);
[[nodiscard]] int32_t GetMultiLunPolicy(ObjectId id, uint8_t* value);
[[nodiscard]] int32_t SetMultiLunPolicy(ObjectId id, uint8_t value);
[[nodiscard]] int32_t GetLunSize(ObjectId id, uint64_t* size);
[[nodiscard]] int32_t SetLunSize(ObjectId id, uint64_t size);
[[nodiscard]] int32_t GetLbaReordering(ObjectId id, uint8_t* value);
[[nodiscard]] int32_t SetLbaReordering(ObjectId id, uint8_t value);
[[nodiscard]] int32_t GetAvMode(ObjectId id, uint8_t* value);
[[nodiscard]] int32_t GetExportJbodPolicy(ObjectId id, uint8_t* value);
[[nodiscard]] int32_t SetExportJbodPolicy(ObjectId id, uint8_t value);
[[nodiscard]] int32_t GetOnDegradePolicy(ObjectId id, uint8_t* value);
[[nodiscard]] int32_t SetOnDegradePolicy(ObjectId id, uint8_t value);
[[nodiscard]] int32_t GetIgnoreFuaWrite(ObjectId id, uint8_t* value);
[[nodiscard]] int32_t SetIgnoreFuaWrite(ObjectId id, uint8_t value);
[[nodiscard]] int32_t GetForceDriveCacheOn(ObjectId id, uint8_t* value);
[[nodiscard]] int32_t SetForceDriveCacheOn(ObjectId id, uint8_t value);
[[nodiscard]] int32_t GetDriveCoercionFactor(ObjectId id, uint32_t* factor);
[[nodiscard]] int32_t SetDriveCoercionFactor(ObjectId id, uint32_t factor);
[[nodiscard]] int32_t GetModePageControl(ObjectId id, uint8_t* value);
[[nodiscard]] int32_t SetModePageControl(ObjectId id, uint8_t value);
[[nodiscard]] int32_t GetNumberSpinupsAllowed(ObjectId id, uint32_t* value);
[[nodiscard]] int32_t SetNumberSpinupsAllowed(ObjectId id, int32_t value);
[[nodiscard]] int32_t GetStaggerTime(ObjectId id, uint32_t* seconds);
[[nodiscard]] int32_t SetStaggerTime(ObjectId id, int32_t seconds);
[[nodiscard]] int32_t GetRebuildMode(ObjectId id, uint8_t* mode);
[[nodiscard]] int32_t SetRebuildMode(ObjectId id, uint8_t mode);
[[nodiscard]] int32_t GetVerifyMode(ObjectId id, uint8_t* mode);
[[nodiscard]] int32_t SetVerifyMode(ObjectId id, uint8_t mode);
[[nodiscard]] int32_t GetSelftestFlags(ObjectId id, uint16_t* flags);
[[nodiscard]] int32_t SetSelftestFlags(ObjectId id, const uint16_t* flags);
[[nodiscard]] int32_t GetBasicVerifyPreferredStart(ObjectId id, uint16_t* start);
[[nodiscard]] int32_t SetBasicVerifyPreferredStart(ObjectId id, uint16_t start);
[[nodiscard]] int32_t GetTaskSchedule(ObjectId id, WeeklySchedule* schedule);
[[nodiscard]] int32_t SetRebuildTask(ObjectId id, uint16_t slot, uint16_t start, uint16_t duration);
[[nodiscard]] int32_t SetVerifyTask(ObjectId id, uint16_t slot, uint16_t start, uint16_t duration);
[[nodiscard]] int32_t SetSelftestTask(ObjectId id, uint16_t slot, uint16_t start);
[[nodiscard]] int32_t GetRebuildScheduleState(ObjectId id, uint8_t* state);
[[nodiscard]] int32_t GetVerifyScheduleState(ObjectId id, uint8_t* state);
[[nodiscard]] int32_t EnableRebuildSchedule(ObjectId id);
[[nodiscard]] int32_t EnableVerifySchedule(ObjectId id);
[[nodiscard]] int32_t GetUnitIdList(ObjectId id, ObjectIdList128* list);
[[nodiscard]] int32_t GetSubunitIdList(ObjectId id, ObjectIdList128* list);
[[nodiscard]] int32_t GetRaid6SubunitIdList(ObjectId id, ObjectIdList128* list);
[[nodiscard]] int32_t GetUnitDriveList(ObjectId id, ObjectIdList128* list);
[[nodiscard]] int32_t GetUnitVolumeList(ObjectId id, ObjectIdList128* list);
[[nodiscard]] int32_t GetUnitVolumeCount(ObjectId id, uint32_t* count);
[[nodiscard]] int32_t GetVolumeCapacity(ObjectId id, uint64_t* sectors);
[[nodiscard]] int32_t GetUnitStatus(ObjectId id, uint8_t* status);
[[nodiscard]] int32_t GetUnitType(ObjectId id, uint32_t* type);
[[nodiscard]] int32_t GetUnitFlags(ObjectId id, uint8_t* flags);
[[nodiscard]] int32_t GetUnitPercentComplete(ObjectId id, uint32_t* percent);
[[nodiscard]] int32_t GetUnitCapacity(ObjectId id, uint64_t* sectors);
[[nodiscard]] int32_t GetUnitStripeSize(ObjectId id, uint32_t* kib);
[[nodiscard]] int32_t GetUnitParityNumber(ObjectId id, uint32_t* count);
[[nodiscard]] int32_t IsUnitInitialized(ObjectId id, uint8_t* initialized);
[[nodiscard]] int32_t IsUnitTaskRunning(ObjectId id, uint8_t* running);
[[nodiscard]] int32_t GetUnitSerial(ObjectId id, char* serial);
[[nodiscard]] int32_t GetUnitName(ObjectId id, char* name);
[[nodiscard]] int32_t SetUnitName(ObjectId id, const char* name);
[[nodiscard]] int32_t GetUnitWriteCache(ObjectId id, uint8_t* on);
[[nodiscard]] int32_t EnableWriteCache(ObjectId id);
[[nodiscard]] int32_t DisableWriteCache(ObjectId id);
[[nodiscard]] int32_t GetReadCacheMode(ObjectId id, uint8_t* mode);
[[nodiscard]] int32_t EnableBasicReadCache(ObjectId id);
[[nodiscard]] int32_t EnableIntelligentReadCache(ObjectId id);
[[nodiscard]] int32_t DisableReadCache(ObjectId id);
[[nodiscard]] int32_t GetEccPolicy(ObjectId id, uint8_t* value);
[[nodiscard]] int32_t SetEccPolicy(ObjectId id, uint8_t value);
[[nodiscard]] int32_t GetAutoVerify(ObjectId id, uint8_t* value);
[[nodiscard]] int32_t SetAutoVerify(ObjectId id, uint8_t value);
[[nodiscard]] int32_t GetUnitQueuing(ObjectId id, uint8_t* value);
[[nodiscard]] int32_t SetUnitQueuing(ObjectId id, uint8_t value);
[[nodiscard]] int32_t GetKeepwellParam21(ObjectId id, uint8_t* value);
[[nodiscard]] int32_t SetKeepwellParam21(ObjectId id, uint8_t value);
[[nodiscard]] int32_t GetKeepwellParam22(ObjectId id, uint8_t* value);
[[nodiscard]] int32_t SetKeepwellParam22(ObjectId id, uint8_t value);
[[nodiscard]] int32_t GetKeepwellParam23(ObjectId id, uint8_t* value);
[[nodiscard]] int32_t SetKeepwellParam23(ObjectId id, uint8_t value);
[[nodiscard]] int32_t GetRapidRecovery(ObjectId id, uint8_t* policy);
[[nodiscard]] int32_t SetRapidRecovery(ObjectId id, uint8_t policy);
[[nodiscard]] int32_t GetWriteDpoPolicy(ObjectId id, uint8_t* policy);
[[nodiscard]] int32_t SetWriteDpoPolicy(ObjectId id, uint8_t policy);
[[nodiscard]] int32_t GetDriveIdList(ObjectId id, ObjectIdList128* list);
[[nodiscard]] int32_t GetPortIdList(ObjectId id, ObjectIdList128* list);
[[nodiscard]] int32_t GetDriveStatus(ObjectId id, uint8_t* status);
[[nodiscard]] int32_t GetDriveCapacity(ObjectId id, uint64_t* sectors);
[[nodiscard]] int32_t GetDriveModel(ObjectId id, char* text);
[[nodiscard]] int32_t GetDriveSerial(ObjectId id, char* text);
[[nodiscard]] int32_t GetDriveFirmwareVersion(ObjectId id, char* text);
[[nodiscard]] int32_t GetDriveUnitId(ObjectId id, ObjectId* unit);
[[nodiscard]] int32_t GetDriveUnitFlags(ObjectId id, uint8_t* flags);
[[nodiscard]] int32_t GetDriveInterface(ObjectId id, uint8_t* type);
[[nodiscard]] int32_t GetDrivePortCount(ObjectId id, uint32_t* count);
[[nodiscard]] int32_t GetDriveConnectionCount(ObjectId id, uint32_t* count);
[[nodiscard]] int32_t GetDriveReallocatedSectors(ObjectId id, uint32_t* count);
[[nodiscard]] int32_t GetDrivePowerOnHours(ObjectId id, uint32_t* hours);
[[nodiscard]] int32_t GetDriveTemperature(ObjectId id, int32_t* celsius);
[[nodiscard]] int32_t GetDriveSpindleSpeed(ObjectId id, uint32_t* speed);
[[nodiscard]] int32_t GetDriveQueuingSupported(ObjectId id, uint8_t* value);
[[nodiscard]] int32_t GetDriveQueuingEnabled(ObjectId id, uint8_t* value);
[[nodiscard]] int32_t GetDriveLinkSpeedSupported(ObjectId id, uint8_t* speed);
[[nodiscard]] int32_t GetDriveLinkSpeed(ObjectId id, uint8_t* speed);
[[nodiscard]] int32_t GetPortIoStat(ObjectId id, uint16_t* counts);
[[nodiscard]] int32_t GetControllerIoStat(ObjectId id, IoStatTable* table);
[[nodiscard]] int32_t EnableAvMode(ObjectId id);
[[nodiscard]] int32_t DisableAvMode(ObjectId id);
[[nodiscard]] int32_t DisableRebuildSchedule(ObjectId id);
[[nodiscard]] int32_t DisableVerifySchedule(ObjectId id);
[[nodiscard]] int32_t GetRebuildRate(ObjectId id, int32_t* rate);
[[nodiscard]] int32_t SetRebuildRate(ObjectId id, const int32_t* rate);
[[nodiscard]] int32_t GetVerifyRate(ObjectId id, int32_t* rate);
[[nodiscard]] int32_t SetVerifyRate(ObjectId id, const int32_t* rate);
// The port count on families 3, 4, 6 and 7 (route port count).
[[nodiscard]] int32_t GetMaxUnitCount(ObjectId id, uint32_t* count);
[[nodiscard]] int32_t GetMaxActiveUnitCount(ObjectId id, uint32_t* count);
[[nodiscard]] int32_t GetMaxDrivesPerUnit(ObjectId id, uint32_t* count);

}  // namespace Dispatch
// --- end of controller, unit and drive queries and settings ---

// --- SAS phys, link speeds, drive WWN and the controller limits (api/dispatch_sas.cpp) ---
// The port-count route of GetMaxUnitCount, GetMaxActiveUnitCount and
// GetMaxDrivesPerUnit (declared above) is defined there as well: family 8
// answers with the controller's own limits. The phy entries refuse an
// identifier of another kind than 14 with API error 120 before any lookup
// (GetPortPhyId checks no kind).
namespace Dispatch {

[[nodiscard]] int32_t GetNumPhys(ObjectId id, uint32_t* count);
[[nodiscard]] int32_t GetSataEnclosureLinkSpeedLimit(ObjectId id, uint8_t* speed);
[[nodiscard]] int32_t GetSasEnclosureLinkSpeedLimit(ObjectId id, uint8_t* speed);
[[nodiscard]] int32_t GetPhySasAddress(ObjectId id, uint8_t* address);
[[nodiscard]] int32_t GetPhyDeviceType(ObjectId id, uint8_t* type);
[[nodiscard]] int32_t GetPhyLinkSpeedSupported(ObjectId id, uint8_t* speed);
[[nodiscard]] int32_t GetPhyLinkSpeed(ObjectId id, uint8_t* speed);
[[nodiscard]] int32_t GetPhyLinkSpeedControl(ObjectId id, uint8_t* speed);
[[nodiscard]] int32_t SetPhyLinkSpeedControl(ObjectId id, uint8_t speed);
[[nodiscard]] int32_t GetDriveWwn(ObjectId id, uint8_t* wwn);
// Family 7 with SAS phys maps the number unchanged (byte 0 turned into the
// other kind) without asking the controller.
[[nodiscard]] int32_t GetPortPhyId(ObjectId id, ObjectId* phy);
[[nodiscard]] int32_t GetPhyPortId(ObjectId id, ObjectId* port);

}  // namespace Dispatch
// --- end of SAS phys ---

// --- Enclosures and their elements, port and unit identify (api/dispatch_enclosures.cpp) ---
// Route "from 6" (families 6, 7 and 8) to EnclosureServices; the port/slot
// mapping follows route "newer". The entries that take one element kind
// refuse another kind with the element's API error before any lookup.
namespace Dispatch {

[[nodiscard]] int32_t GetEnclosureIdList(ObjectId id, ObjectIdList16* list);
[[nodiscard]] int32_t GetEnclosureProtocol(ObjectId id, uint8_t* protocol);
[[nodiscard]] int32_t GetEnclosureVendor(ObjectId id, char* text);
[[nodiscard]] int32_t GetEnclosureProductId(ObjectId id, char* text);
[[nodiscard]] int32_t GetEnclosureProductRevision(ObjectId id, char* text);
[[nodiscard]] int32_t GetEnclosureHelpText(ObjectId id, char* text, uint32_t* length);
[[nodiscard]] int32_t GetEnclosureStatus(ObjectId id, uint32_t* status);
[[nodiscard]] int32_t IsIdentifySupported(ObjectId id, uint32_t* supported);
// Rewrites an SES element id in place (bytes 3 and 5).
[[nodiscard]] int32_t ResolveElementId(ObjectId* element);

[[nodiscard]] int32_t GetFanIdList(ObjectId id, ObjectIdList16* list);
[[nodiscard]] int32_t GetFanStatus(ObjectId id, uint8_t* status);
[[nodiscard]] int32_t GetFanSpeed(ObjectId id, uint8_t* code);
[[nodiscard]] int32_t GetFanRpm(ObjectId id, uint32_t* rpm);
[[nodiscard]] int32_t SetFanSpeed(ObjectId id, uint8_t code);
[[nodiscard]] int32_t SetFanIdentify(ObjectId id, uint8_t on);
[[nodiscard]] int32_t GetFanIdentify(ObjectId id, uint8_t* on);

[[nodiscard]] int32_t GetDoorIdList(ObjectId id, ObjectIdList16* list);
[[nodiscard]] int32_t GetDoorLockStatus(ObjectId id, uint32_t* status);

[[nodiscard]] int32_t GetAlarmIdList(ObjectId id, ObjectIdList16* list);
[[nodiscard]] int32_t GetAlarmStatus(ObjectId id, uint32_t* status);
[[nodiscard]] int32_t GetAlarmState(ObjectId id, uint8_t* sounding);
[[nodiscard]] int32_t GetAlarmMute(ObjectId id, uint8_t* muted);
// Audible 1 unmutes (Api::UnmuteAlarm), 0 mutes (Api::MuteAlarm).
[[nodiscard]] int32_t SetAlarmAudibility(ObjectId id, uint8_t audible);
[[nodiscard]] int32_t SetAlarmTone(ObjectId id, uint8_t tone);
// The tone operation with tone 0.
[[nodiscard]] int32_t SetAlarmOff(ObjectId id);
[[nodiscard]] int32_t SetAlarmIdentify(ObjectId id, uint8_t on);
[[nodiscard]] int32_t GetAlarmIdentify(ObjectId id, uint8_t* on);

[[nodiscard]] int32_t GetSlotIdList(ObjectId id, ObjectIdList128* list);
[[nodiscard]] int32_t GetSlotStatus(ObjectId id, uint32_t* flags);
[[nodiscard]] int32_t GetSlotIdentify(ObjectId id, uint8_t* on);
[[nodiscard]] int32_t SetSlotIdentify(ObjectId id, uint8_t on);

[[nodiscard]] int32_t GetTempSensorIdList(ObjectId id, ObjectIdList32* list);
[[nodiscard]] int32_t GetTempSensorStatus(ObjectId id, uint8_t* status);
[[nodiscard]] int32_t GetTempSensorThresholdFlags(ObjectId id, uint8_t* flags);
[[nodiscard]] int32_t GetTemperature(ObjectId id, int32_t* celsius);
[[nodiscard]] int32_t SetTempSensorIdentify(ObjectId id, uint8_t on);
[[nodiscard]] int32_t GetTempSensorIdentify(ObjectId id, uint8_t* on);

[[nodiscard]] int32_t GetPowerSupplyIdList(ObjectId id, ObjectIdList16* list);
[[nodiscard]] int32_t GetPowerSupplyStatus(ObjectId id, uint8_t* status);
[[nodiscard]] int32_t GetPowerSupplyVoltageCurrent(ObjectId id, uint8_t* condition);
[[nodiscard]] int32_t SetPowerSupplyIdentify(ObjectId id, uint8_t on);
[[nodiscard]] int32_t GetPowerSupplyIdentify(ObjectId id, uint8_t* on);

// The port/slot wiring (route newer).
[[nodiscard]] int32_t GetPortSlotId(ObjectId id, ObjectId* slot);
[[nodiscard]] int32_t GetSlotPortId(ObjectId id, ObjectId* port);
// The identify indication of the slot that holds a port's drive (kind 3,
// else API error 11; API error 101 for a port without a slot).
[[nodiscard]] int32_t GetPortIdentify(ObjectId id, uint8_t* on);
[[nodiscard]] int32_t IdentifyPort(ObjectId id, uint8_t on);
// The identify indication of every slot that holds a drive of the unit
// (kind 2, else API error 9); the getter answers 1 when all are on.
[[nodiscard]] int32_t SetUnitIdentify(ObjectId id, uint8_t on);
[[nodiscard]] int32_t GetUnitIdentify(ObjectId id, uint8_t* on);

}  // namespace Dispatch
// --- end of enclosures ---

// --- Firmware images and drive auto-detect (api/dispatch_firmware.cpp) ---
struct FirmwareCompatRecord;

namespace Dispatch {

// Route "newer".
[[nodiscard]] int32_t GetFirmwareImageCompatibility(ObjectId id, const char* fileName,
                                                    uint64_t reserved,
                                                    FirmwareCompatRecord* record);
// Route "both": the older family takes the whole image in one packet.
[[nodiscard]] int32_t DownloadFirmwareImage(ObjectId id, const uint8_t* image, uint32_t size);
// Route "newer": the family is looked up with the controller identifier,
// and only the port list and the off flag (0 on, 1 off) go on.
[[nodiscard]] int32_t SetAutoDetect(ObjectId id, const ObjectIdList128* ports, uint32_t off);

}  // namespace Dispatch
// --- end of firmware images and drive auto-detect ---
// --- Unit creation and migration (api/dispatch_create.cpp) ---
// The create entries take no controller id: the first drive's controller
// decides the family; an empty drive list records API error 36.
namespace Dispatch {

// Route both (group 0 for Api::CreateUnit).
[[nodiscard]] int32_t CreateUnit(const ObjectIdList128* drives, uint32_t type, uint32_t stripe,
                                 uint8_t makeOsAware, ObjectId* unit, uint32_t group);
// Route from 6.
[[nodiscard]] int32_t CreateUnitWithVolumes(const ObjectIdList128* drives, uint32_t type,
                                            uint32_t stripe, uint8_t makeOsAware, ObjectId* unit,
                                            uint32_t group, const uint64_t* volumeSizes,
                                            uint32_t volumeCount);
// Route newer.
[[nodiscard]] int32_t StartMigrateUnit(ObjectId unit, const ObjectIdList128* drives, uint32_t type,
                                       uint32_t stripe, uint8_t makeOsAware, uint32_t group);

}  // namespace Dispatch
// --- end of unit creation and migration ---
// --- Drive removal and addition, SMART data and the drive performance
// monitor (api/dispatch_drives.cpp) ---
struct DpmConfig;
struct DpmStats;
struct DpmHistogram;
struct DpmLongCommand;
struct DpmExtendedStats;

namespace Dispatch {

// Route both.
[[nodiscard]] int32_t RemoveDrive(ObjectId id);
[[nodiscard]] int32_t AddDrive(ObjectId id, ObjectId* drive);
[[nodiscard]] int32_t GetDriveSmartData(ObjectId id, uint8_t* data);
// Route newer.
[[nodiscard]] int32_t GetPerformanceMonitorState(ObjectId id, uint8_t* state);
[[nodiscard]] int32_t SetPerformanceMonitorState(ObjectId id, uint8_t state);
[[nodiscard]] int32_t GetPerformanceMonitorConfig(ObjectId id, DpmConfig* config);
[[nodiscard]] int32_t GetDriveInstantStats(ObjectId id, DpmStats* stats);
[[nodiscard]] int32_t GetDriveRunningAverage(ObjectId id, DpmStats* stats);
[[nodiscard]] int32_t GetDriveRunningAverageOnDisk(ObjectId id, DpmStats* stats);
[[nodiscard]] int32_t GetDriveHistogram(ObjectId id, DpmHistogram* histogram);
[[nodiscard]] int32_t GetDriveHistogramOnDisk(ObjectId id, DpmHistogram* histogram);
[[nodiscard]] int32_t GetDriveLongCommandTimes(ObjectId id, DpmLongCommand* records);
[[nodiscard]] int32_t GetDriveLongCommandTimesOnDisk(ObjectId id, DpmLongCommand* records);
[[nodiscard]] int32_t GetDriveExtendedStats(ObjectId id, DpmExtendedStats* stats);
[[nodiscard]] int32_t ClearDriveStats(ObjectId id, uint32_t kind, uint32_t onDisk);

}  // namespace Dispatch
// --- end of drive removal, SMART data and the monitor ---
// --- Unit maintenance (api/dispatch_maintenance.cpp) ---
// The older family's side goes to PraneFamily: its export is the delete
// packet with mode 0, and its rebuild takes the replacement as the first
// entry of a drive list.
namespace Dispatch {

[[nodiscard]] int32_t DeleteUnit(ObjectId id, uint8_t makeOsAware);
[[nodiscard]] int32_t ExportUnit(ObjectId id, uint8_t makeOsAware);
// Exports the unit, then removes each of its drives that sits on a port;
// a failed removal does not stop the others.
[[nodiscard]] int32_t RemoveUnit(ObjectId id, uint8_t makeOsAware);
// Stop 0 starts a verify, 1 stops it.
[[nodiscard]] int32_t VerifyUnit(ObjectId id, uint32_t stop);
// Starts the rebuild onto each listed drive in turn; a failure undoes the
// drives already started (unless the unit already rebuilds onto them).
[[nodiscard]] int32_t RebuildUnit(ObjectId id, const ObjectIdList128* drives, uint8_t ignoreEcc);
[[nodiscard]] int32_t PauseRebuild(ObjectId id);
[[nodiscard]] int32_t ResumeRebuild(ObjectId id);
[[nodiscard]] int32_t FlushWriteCache(ObjectId id);
[[nodiscard]] int32_t CommitTransactions(ObjectId id);
[[nodiscard]] int32_t StartMediaScan(ObjectId id);
[[nodiscard]] int32_t StopMediaScan(ObjectId id);
// The controller is that of the first drive; an empty list records API
// error 36 before any lookup.
[[nodiscard]] int32_t ImportUnit(ObjectIdList128* drives, uint8_t makeOsAware,
                                 ObjectIdList128* newUnits);
[[nodiscard]] int32_t SplitMirror(ObjectId id, uint8_t makeOsAware, ObjectIdList128* newUnits);

}  // namespace Dispatch
// --- end of unit maintenance ---
