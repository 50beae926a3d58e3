// The controller access library's public operations: the one set of
// operations the command classes call. Every operation returns 0 on
// success and -1 on failure, having cleared and then filled the error
// record (api/api_error.h). Identifiers are passed by value; outputs go to
// storage the caller owns and are written only on success.
#pragma once

#include <cstdint>

#include "api/api_codes.h"
#include "api/api_error.h"
#include "api/object_id.h"

namespace Api {

// --- Identifier builders: the identifier is written only on success ---
[[nodiscard]] int MakeControllerId(uint8_t controller, ObjectId* id);
[[nodiscard]] int MakeUnitId(uint8_t controller, uint8_t level4, uint8_t unit, uint8_t level2,
                             uint8_t level3, ObjectId* id);
[[nodiscard]] int MakeDriveId(uint8_t controller, uint8_t port, ObjectId* id);
[[nodiscard]] int MakePortId(uint8_t controller, uint8_t port, ObjectId* id);
[[nodiscard]] int MakePhyId(uint8_t controller, uint8_t phy, ObjectId* id);
// Also reads the controller's enclosure protocol into byte 7; a failed read
// leaves 0xFF there (and its error in the record) and still returns 0.
[[nodiscard]] int MakeEnclosureId(uint8_t controller, uint8_t enclosure, ObjectId* id);
// Element builders: the enclosure identifier with the element's kind and
// number; on an SES enclosure the element's place is resolved.
[[nodiscard]] int MakeFanId(ObjectId enclosure, uint8_t number, ObjectId* id);
[[nodiscard]] int MakeDoorId(ObjectId enclosure, uint8_t number, ObjectId* id);
[[nodiscard]] int MakeAlarmId(ObjectId enclosure, uint8_t number, ObjectId* id);
[[nodiscard]] int MakeSlotId(ObjectId enclosure, uint8_t number, ObjectId* id);
[[nodiscard]] int MakeTempSensorId(ObjectId enclosure, uint8_t number, ObjectId* id);
[[nodiscard]] int MakePowerSupplyId(ObjectId enclosure, uint8_t number, ObjectId* id);

// --- Identifier parsers: they check byte 0 only; outputs written only on success ---
[[nodiscard]] int ParseControllerId(ObjectId id, uint8_t* controller);
[[nodiscard]] int ParseUnitId(ObjectId id, uint8_t* controller, uint8_t* level4, uint8_t* unit,
                              uint8_t* level2, uint8_t* level3);
[[nodiscard]] int ParseDriveId(ObjectId id, uint8_t* controller, uint8_t* port);
[[nodiscard]] int ParsePortId(ObjectId id, uint8_t* controller, uint8_t* port);
[[nodiscard]] int ParsePhyId(ObjectId id, uint8_t* controller, uint8_t* phy);
// Controller number × 16 + enclosure number, 255 when none.
[[nodiscard]] int ParseEnclosureIndex(ObjectId id, uint8_t* index);
// Controller and enclosure number; both 255 when the id names no enclosure.
[[nodiscard]] int ParseEnclosureId(ObjectId id, uint8_t* controller, uint8_t* enclosure);
[[nodiscard]] int ParseFanId(ObjectId id, uint8_t* enclosureIndex, uint8_t* number);
[[nodiscard]] int ParseDoorId(ObjectId id, uint8_t* enclosureIndex, uint8_t* number);
[[nodiscard]] int ParseAlarmId(ObjectId id, uint8_t* enclosureIndex, uint8_t* number);
// Both 255 when the id names no enclosure.
[[nodiscard]] int ParseSlotId(ObjectId id, uint8_t* enclosureIndex, uint8_t* number);

// --- Error record and version ---
// Copies the error record (built-in English texts). Always 0.
int GetLastErrorRecord(ApiErrorRecord* record);
// The library's version text.
const char* GetApiVersion();

}  // namespace Api

// Controller operations
// The operations that reach the controllers (firmware level checks,
// port/phy conversions, controller, unit, drive and enclosure operations)
// are declared below this line, in the namespace Api.

namespace Api {

// Rediscovers and reclassifies the controllers and lists them (16 entries;
// entries past the count are zero).
[[nodiscard]] int GetControllerIdList(ObjectIdList16* list);
// The controller's ControllerFamily (3, 4, 6, 7 or 8); -1 without an error
// for a controller that could not be classified.
[[nodiscard]] int GetControllerFamily(ObjectId controller, uint32_t* family);
// 1 when the controller's firmware compatibility level is at least 36
// (37), else 0; the output is written only on success.
[[nodiscard]] int HasFirmwareCompatLevel36(ObjectId controller, uint32_t* answer);
[[nodiscard]] int HasFirmwareCompatLevel37(ObjectId controller, uint32_t* answer);
// 1 when basic verify is available (families 6-8 from level 36), else 0.
[[nodiscard]] int IsBasicVerifySupported(ObjectId controller, uint32_t* answer);

}  // namespace Api

// --- Controller, unit and drive queries and settings (api/api_controller.cpp,
// api/api_units.cpp, api/api_drives.cpp) ---
// A drive status read that fails reports success and leaves the caller's
// value as it was: callers preset it (0, no drive).
struct WeeklySchedule;
struct IoStatTable;

namespace Api {

// Controller
[[nodiscard]] int GetDriverVersion(ObjectId id, char* text);
[[nodiscard]] int GetControllerModel(ObjectId id, char* text);
[[nodiscard]] int GetControllerSerial(ObjectId id, char* text);
[[nodiscard]] int GetPcbVersion(ObjectId id, char* text);
[[nodiscard]] int GetAchipVersion(ObjectId id, char* text);
[[nodiscard]] int GetPchipVersion(ObjectId id, char* text);
[[nodiscard]] int GetControllerFirmwareVersion(ObjectId id, char* text);
[[nodiscard]] int GetBiosVersion(ObjectId id, char* text);
[[nodiscard]] int GetBootLoaderVersion(ObjectId id, char* text);
[[nodiscard]] int GetAvailableMemory(ObjectId id, uint32_t* bytes);
[[nodiscard]] int GetControllerBusInfo(ObjectId id, uint32_t* bits);
[[nodiscard]] int GetNumPorts(ObjectId id, uint32_t* ports);
[[nodiscard]] int GetNumDrives(ObjectId id, uint32_t* count);
[[nodiscard]] int GetNumConnections(ObjectId id, uint32_t* count);
[[nodiscard]] int GetNumActiveDrives(ObjectId id, uint32_t* count);
[[nodiscard]] int GetAutoRebuild(ObjectId id, uint8_t* policy);
[[nodiscard]] int SetAutoRebuild(ObjectId id, uint8_t policy);
[[nodiscard]] int GetMultiLunPolicy(ObjectId id, uint8_t* value);
[[nodiscard]] int GetLunSize(ObjectId id, uint64_t* size);
[[nodiscard]] int SetLunSize(ObjectId id, uint64_t size);
[[nodiscard]] int GetLbaReordering(ObjectId id, uint8_t* value);
[[nodiscard]] int GetAvMode(ObjectId id, uint8_t* value);
[[nodiscard]] int GetExportJbodPolicy(ObjectId id, uint8_t* value);
[[nodiscard]] int GetOnDegradePolicy(ObjectId id, uint8_t* value);
[[nodiscard]] int GetIgnoreFuaWrite(ObjectId id, uint8_t* value);
[[nodiscard]] int GetForceDriveCacheOn(ObjectId id, uint8_t* value);
[[nodiscard]] int GetDriveCoercionFactor(ObjectId id, uint32_t* factor);
[[nodiscard]] int SetDriveCoercionFactor(ObjectId id, uint32_t factor);
[[nodiscard]] int GetModePageControl(ObjectId id, uint8_t* value);
[[nodiscard]] int SetModePageControl(ObjectId id, uint8_t value);
[[nodiscard]] int GetNumberSpinupsAllowed(ObjectId id, uint32_t* value);
[[nodiscard]] int SetNumberSpinupsAllowed(ObjectId id, int value);
[[nodiscard]] int GetStaggerTime(ObjectId id, uint32_t* seconds);
[[nodiscard]] int SetStaggerTime(ObjectId id, int seconds);
[[nodiscard]] int GetRebuildMode(ObjectId id, uint8_t* mode);
[[nodiscard]] int SetRebuildMode(ObjectId id, uint8_t mode);
[[nodiscard]] int GetVerifyMode(ObjectId id, uint8_t* mode);
[[nodiscard]] int SetVerifyMode(ObjectId id, uint8_t mode);
[[nodiscard]] int GetSelftestFlags(ObjectId id, uint16_t* flags);
[[nodiscard]] int SetSelftestFlags(ObjectId id, const uint16_t* flags);
[[nodiscard]] int GetBasicVerifyPreferredStart(ObjectId id, uint16_t* start);
[[nodiscard]] int SetBasicVerifyPreferredStart(ObjectId id, uint16_t start);
[[nodiscard]] int GetTaskSchedule(ObjectId id, WeeklySchedule* schedule);
[[nodiscard]] int SetRebuildTask(ObjectId id, uint16_t slot, uint16_t start, uint16_t duration);
[[nodiscard]] int SetVerifyTask(ObjectId id, uint16_t slot, uint16_t start, uint16_t duration);
[[nodiscard]] int SetSelftestTask(ObjectId id, uint16_t slot, uint16_t start);
[[nodiscard]] int GetRebuildScheduleState(ObjectId id, uint8_t* state);
[[nodiscard]] int GetVerifyScheduleState(ObjectId id, uint8_t* state);
[[nodiscard]] int EnableRebuildSchedule(ObjectId id);
[[nodiscard]] int EnableVerifySchedule(ObjectId id);
// Shared settings: each entry passes its fixed value.
[[nodiscard]] int EnableMultiLunPolicy(ObjectId id);
[[nodiscard]] int DisableMultiLunPolicy(ObjectId id);
[[nodiscard]] int EnableLbaReordering(ObjectId id);
[[nodiscard]] int DisableLbaReordering(ObjectId id);
[[nodiscard]] int EnableExportJbod(ObjectId id);
[[nodiscard]] int DisableExportJbod(ObjectId id);
[[nodiscard]] int SetOnDegradeCacheOff(ObjectId id);
[[nodiscard]] int SetOnDegradeFollow(ObjectId id);
[[nodiscard]] int EnableIgnoreFuaWrite(ObjectId id);
[[nodiscard]] int DisableIgnoreFuaWrite(ObjectId id);
[[nodiscard]] int EnableForceDriveCacheOn(ObjectId id);
[[nodiscard]] int DisableForceDriveCacheOn(ObjectId id);
// AV mode on also turns LBA reordering off where the firmware knows it.
[[nodiscard]] int EnableAvMode(ObjectId id);
[[nodiscard]] int DisableAvMode(ObjectId id);
// Factor 1-100; any other records API error 122 before routing.
[[nodiscard]] int SetDriveCoercionFactor(ObjectId id, uint32_t factor);
// Background task rates 1-5.
[[nodiscard]] int GetRebuildRate(ObjectId id, int32_t* rate);
[[nodiscard]] int SetRebuildRate(ObjectId id, const int32_t* rate);
[[nodiscard]] int GetVerifyRate(ObjectId id, int32_t* rate);
[[nodiscard]] int SetVerifyRate(ObjectId id, const int32_t* rate);
[[nodiscard]] int DisableRebuildSchedule(ObjectId id);
[[nodiscard]] int DisableVerifySchedule(ObjectId id);
// Limits: the port count on families 3, 4, 6 and 7.
[[nodiscard]] int GetMaxUnits(ObjectId id, uint32_t* count);
[[nodiscard]] int GetMaxDrives(ObjectId id, uint32_t* count);
[[nodiscard]] int GetMaxUnitCount(ObjectId id, uint32_t* count);
[[nodiscard]] int GetMaxActiveUnitCount(ObjectId id, uint32_t* count);
[[nodiscard]] int GetMaxDrivesPerUnit(ObjectId id, uint32_t* count);

// Units
[[nodiscard]] int GetUnitIdList(ObjectId id, ObjectIdList128* list);
[[nodiscard]] int GetSubunitIdList(ObjectId id, ObjectIdList128* list);
[[nodiscard]] int GetRaid6SubunitIdList(ObjectId id, ObjectIdList128* list);
[[nodiscard]] int GetUnitDriveList(ObjectId id, ObjectIdList128* list);
[[nodiscard]] int GetUnitVolumeList(ObjectId id, ObjectIdList128* list);
[[nodiscard]] int GetUnitVolumeCount(ObjectId id, uint32_t* count);
[[nodiscard]] int GetVolumeCapacity(ObjectId id, uint64_t* sectors);
[[nodiscard]] int GetUnitStatus(ObjectId id, uint8_t* status);
[[nodiscard]] int GetUnitType(ObjectId id, uint32_t* type);
[[nodiscard]] int GetUnitFlags(ObjectId id, uint8_t* flags);
[[nodiscard]] int GetUnitPercentComplete(ObjectId id, uint32_t* percent);
[[nodiscard]] int GetUnitCapacity(ObjectId id, uint64_t* sectors);
[[nodiscard]] int GetUnitStripeSize(ObjectId id, uint32_t* kib);
[[nodiscard]] int GetUnitParityNumber(ObjectId id, uint32_t* count);
[[nodiscard]] int IsUnitInitialized(ObjectId id, uint8_t* initialized);
[[nodiscard]] int IsUnitTaskRunning(ObjectId id, uint8_t* running);
[[nodiscard]] int GetUnitSerial(ObjectId id, char* serial);
[[nodiscard]] int GetUnitName(ObjectId id, char* name);
[[nodiscard]] int SetUnitName(ObjectId id, const char* name);
[[nodiscard]] int GetUnitWriteCache(ObjectId id, uint8_t* on);
[[nodiscard]] int EnableWriteCache(ObjectId id);
[[nodiscard]] int DisableWriteCache(ObjectId id);
[[nodiscard]] int GetReadCacheMode(ObjectId id, uint8_t* mode);
[[nodiscard]] int EnableBasicReadCache(ObjectId id);
[[nodiscard]] int EnableIntelligentReadCache(ObjectId id);
[[nodiscard]] int DisableReadCache(ObjectId id);
[[nodiscard]] int GetEccPolicy(ObjectId id, uint8_t* value);
[[nodiscard]] int GetAutoVerify(ObjectId id, uint8_t* value);
[[nodiscard]] int GetUnitQueuing(ObjectId id, uint8_t* value);
[[nodiscard]] int GetRapidRecovery(ObjectId id, uint8_t* policy);
[[nodiscard]] int SetRapidRecovery(ObjectId id, uint8_t policy);
[[nodiscard]] int GetWriteDpoPolicy(ObjectId id, uint8_t* policy);
[[nodiscard]] int SetWriteDpoPolicy(ObjectId id, uint8_t policy);
[[nodiscard]] int HaltOnEccErrors(ObjectId id);
[[nodiscard]] int ContinueOnEccErrors(ObjectId id);
[[nodiscard]] int EnableAutoVerify(ObjectId id);
[[nodiscard]] int DisableAutoVerify(ObjectId id);
[[nodiscard]] int EnableUnitQueuing(ObjectId id);
[[nodiscard]] int DisableUnitQueuing(ObjectId id);
// Keepwell policy: 0 protect (1, 2, 1), 1 balance (0, 2, 2), 2 perform
// (0, 1, 0) of unit parameters 21, 22, 23; 255 for any other combination.
[[nodiscard]] int GetKeepwellMode(ObjectId id, uint8_t* mode);
// Mode 0-2 writes its triple; any other mode changes nothing and returns 0.
[[nodiscard]] int SetKeepwellMode(ObjectId id, uint8_t mode);
[[nodiscard]] int SetKeepwellProtect(ObjectId id);
[[nodiscard]] int SetKeepwellBalance(ObjectId id);
[[nodiscard]] int SetKeepwellPerform(ObjectId id);

// Drives
[[nodiscard]] int GetDriveIdList(ObjectId id, ObjectIdList128* list);
[[nodiscard]] int GetPortIdList(ObjectId id, ObjectIdList128* list);
[[nodiscard]] int GetDriveStatus(ObjectId id, uint8_t* status);
[[nodiscard]] int GetDriveCapacity(ObjectId id, uint64_t* sectors);
[[nodiscard]] int GetDriveModel(ObjectId id, char* text);
[[nodiscard]] int GetDriveSerial(ObjectId id, char* text);
[[nodiscard]] int GetDriveFirmwareVersion(ObjectId id, char* text);
[[nodiscard]] int GetDriveUnitId(ObjectId id, ObjectId* unit);
[[nodiscard]] int GetDriveUnitFlags(ObjectId id, uint8_t* flags);
[[nodiscard]] int GetDriveInterface(ObjectId id, uint8_t* type);
[[nodiscard]] int GetDrivePortCount(ObjectId id, uint32_t* count);
[[nodiscard]] int GetDriveConnectionCount(ObjectId id, uint32_t* count);
[[nodiscard]] int GetDriveReallocatedSectors(ObjectId id, uint32_t* count);
[[nodiscard]] int GetDrivePowerOnHours(ObjectId id, uint32_t* hours);
[[nodiscard]] int GetDriveTemperature(ObjectId id, int* celsius);
[[nodiscard]] int GetDriveSpindleSpeed(ObjectId id, uint32_t* speed);
[[nodiscard]] int GetDriveQueuingSupported(ObjectId id, uint8_t* value);
[[nodiscard]] int GetDriveQueuingEnabled(ObjectId id, uint8_t* value);
[[nodiscard]] int GetDriveLinkSpeedSupported(ObjectId id, uint8_t* speed);
[[nodiscard]] int GetDriveLinkSpeed(ObjectId id, uint8_t* speed);
[[nodiscard]] int GetPortIoStat(ObjectId id, uint16_t* counts);
[[nodiscard]] int GetControllerIoStat(ObjectId id, IoStatTable* table);

}  // namespace Api
// --- end of controller, unit and drive queries and settings ---

// --- Battery backup unit (api/api_bbu.cpp) ---
// Newer families only; the older family records API error 2. While the BBU
// is disabled every query but IsBbuEnabled fails with API error 90.
namespace Api {

[[nodiscard]] int IsBbuPresent(ObjectId id, uint32_t* present);
[[nodiscard]] int IsBbuEnabled(ObjectId id, uint32_t* enabled);
[[nodiscard]] int IsBatteryPresent(ObjectId id, uint32_t* present);
// 8 when ready, else 0.
[[nodiscard]] int GetBbuReady(ObjectId id, uint32_t* ready);
// Level classes 0-4, or -1.
[[nodiscard]] int GetBatteryVoltageStatus(ObjectId id, int32_t* level);
[[nodiscard]] int GetBatteryTemperatureStatus(ObjectId id, int32_t* level);
// 0-9, or -1.
[[nodiscard]] int GetBbuStatus(ObjectId id, int32_t* status);
[[nodiscard]] int GetBbuStatusWord(ObjectId id, uint32_t* word);
[[nodiscard]] int GetBbuSerial(ObjectId id, char* text /*32*/);
[[nodiscard]] int GetBbuFirmwareVersion(ObjectId id, char* text /*32*/);
[[nodiscard]] int GetBbuBootloaderVersion(ObjectId id, char* text /*32*/);
[[nodiscard]] int GetBbuPcbRevision(ObjectId id, uint32_t* revision);
[[nodiscard]] int GetBbuInfoText(ObjectId id, char* text /*64*/);
[[nodiscard]] int GetBatteryInstallDate(ObjectId id, char* text /*16*/);
[[nodiscard]] int GetLastCapacityTestDate(ObjectId id, char* text /*16*/);
[[nodiscard]] int GetEstimatedBackupCapacity(ObjectId id, uint32_t* hours);
// Does nothing and returns 0.
[[nodiscard]] int InitializeBbu(ObjectId id);
[[nodiscard]] int StartBbuBatteryTest(ObjectId id);
[[nodiscard]] int EnableBbu(ObjectId id);
[[nodiscard]] int DisableBbu(ObjectId id);

}  // namespace Api
// --- end of battery backup unit ---

// --- SAS phys, link speeds, drive WWN (api/api_sas.cpp) ---
// Phys exist on family 8 and on family 7 from firmware compatibility level
// 36; the phy entries take a phy identifier (kind 14, else API error 120).
// Families without the operation record API error 2.

// A link speed code: supported speeds are bits (1 = 1.5 Gbps, 2 = 3.0 Gbps,
// 3 = both); the current speed is 0 (none), 1 or 2; a limit ("control") is
// 0 (auto), 1 or 2.
enum LinkSpeed : uint8_t {
    kLinkSpeedNone = 0,
    kLinkSpeedAuto = 0,
    kLinkSpeed1_5 = 1,
    kLinkSpeed3_0 = 2,
    kLinkSpeedBoth = 3,
};

// Bytes of a SAS address and of a world wide name.
constexpr std::size_t kWorldWideNameSize = 8;

namespace Api {

// Families 8, and 7 with SAS phys.
[[nodiscard]] int GetNumPhys(ObjectId id, uint32_t* count);
// Family 8 only: the controller's link speed limits for SATA and SAS drives
// behind enclosures.
[[nodiscard]] int GetSataEnclosureLinkSpeedLimit(ObjectId id, uint8_t* speed);
[[nodiscard]] int GetSasEnclosureLinkSpeedLimit(ObjectId id, uint8_t* speed);
// Family 8 only: kWorldWideNameSize bytes in the order the controller
// sends them (a first byte of 0 means no address).
[[nodiscard]] int GetPhySasAddress(ObjectId id, uint8_t* address);
// Families 6 to 8: 1 SATA, 2 SAS, 3 enclosure, 4 enclosure in error.
[[nodiscard]] int GetPhyDeviceType(ObjectId id, uint8_t* type);
// Families 8, and 7 with SAS phys.
[[nodiscard]] int GetPhyLinkSpeedSupported(ObjectId id, uint8_t* speed);
[[nodiscard]] int GetPhyLinkSpeed(ObjectId id, uint8_t* speed);
[[nodiscard]] int GetPhyLinkSpeedControl(ObjectId id, uint8_t* speed);
// The limit code 0 (auto), 1 or 2, passed to the controller as given.
[[nodiscard]] int SetPhyLinkSpeedControl(ObjectId id, uint8_t speed);
// Family 8 only: kWorldWideNameSize bytes as the controller sends them.
[[nodiscard]] int GetDriveWwn(ObjectId id, uint8_t* wwn);
// The phy of a port's drive and the port of a phy's drive (a drive behind
// an enclosure has no phy): families 8, and 7 with SAS phys. API error 101
// when the port has no drive or the drive no phy, or no drive is attached
// through the phy.
[[nodiscard]] int GetPortPhyId(ObjectId id, ObjectId* phy);
[[nodiscard]] int GetPhyPortId(ObjectId id, ObjectId* port);

}  // namespace Api
// --- end of SAS phys ---
