// The controller access library's public operations: the one set of
// operations the command classes call. Every operation returns 0 on
// success and -1 on failure, having cleared and then filled the error
// record (api/api_error.h); a change made under a controller's management
// lock may also return kApiChangedLockHeld. Identifiers are passed by value; outputs go to
// storage the caller owns and are written only on success.
#pragma once

#include <cstddef>
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

// --- Enclosures and their elements, port and unit identify (api/api_enclosures.cpp) ---
// Families 6, 7 and 8 (the port/slot mapping also family 4); the others
// record API error 2. An entry for one element refuses an identifier of
// another kind with the element's own API error before anything else.
// Texts: vendor 9 bytes, product id 17, revision 5 (SES only; on SAF-TE
// they succeed and leave the text as it was).
namespace Api {

// The enclosures of a controller (16 entries, 0xFF past the count).
[[nodiscard]] int GetEnclosureIdList(ObjectId controller, ObjectIdList16* list);
// 0 SAF-TE, 1 SES (no kind check: any id of the controller).
[[nodiscard]] int GetEnclosureProtocol(ObjectId id, uint8_t* protocol);
[[nodiscard]] int GetEnclosureVendor(ObjectId enclosure, char* text);
[[nodiscard]] int GetEnclosureProductId(ObjectId enclosure, char* text);
[[nodiscard]] int GetEnclosureProductRevision(ObjectId enclosure, char* text);
// `length` in: the buffer's size; out: the text's length (no terminator
// is written). A buffer below the length: API error 116.
[[nodiscard]] int GetEnclosureHelpText(ObjectId enclosure, char* text, uint32_t* length);
// SES: the enclosure element's status code (2 failure, 3 warning
// indicated), 6 without an enclosure element; SAF-TE: 1.
[[nodiscard]] int GetEnclosureStatus(ObjectId enclosure, uint32_t* status);
// The element's id with byte 0 set to 4; never fails.
int GetEnclosureIdOfElement(ObjectId element, ObjectId* enclosure);
// Kinds 2-9 and 13 (else API error 119): 1 for slots, drives and units;
// SES elements are tested by setting their identify indication; SAF-TE 0.
[[nodiscard]] int IsIdentifySupported(ObjectId id, uint32_t* supported);

// Fans (kind 5, else API error 93). Status: 0 OK, 1 failed, 2 not
// installed, 3 off, 128 other (SAF-TE: the enclosure's byte). Speed code 0-7.
[[nodiscard]] int GetFanIdList(ObjectId enclosure, ObjectIdList16* list);
[[nodiscard]] int GetFanStatus(ObjectId fan, uint8_t* status);
[[nodiscard]] int GetFanSpeed(ObjectId fan, uint8_t* code);
[[nodiscard]] int GetFanRpm(ObjectId fan, uint32_t* rpm);
[[nodiscard]] int SetFanSpeed(ObjectId fan, uint8_t code);
[[nodiscard]] int SetFanIdentify(ObjectId fan, uint8_t on);
[[nodiscard]] int GetFanIdentify(ObjectId fan, uint8_t* on);

// Door locks (kind 7, else API error 94). Status: SES 1 locked, 0
// unlocked, 2 not installed, 128 other; SAF-TE the enclosure's byte.
[[nodiscard]] int GetDoorIdList(ObjectId enclosure, ObjectIdList16* list);
[[nodiscard]] int GetDoorLockStatus(ObjectId door, uint32_t* status);
// The door lock has no implementation: always API error 2.
[[nodiscard]] int LockDoor(ObjectId door);

// Alarms (kind 8, else API error 95). Status: SES 0 off, 1 sounding, 2 not
// installed, 3 muted, 4 failed, 5 muted while a condition stands; SAF-TE
// the enclosure's byte.
[[nodiscard]] int GetAlarmIdList(ObjectId enclosure, ObjectIdList16* list);
[[nodiscard]] int GetAlarmStatus(ObjectId alarm, uint32_t* status);
[[nodiscard]] int GetAlarmState(ObjectId alarm, uint8_t* sounding);
[[nodiscard]] int GetAlarmMute(ObjectId alarm, uint8_t* muted);
[[nodiscard]] int MuteAlarm(ObjectId alarm);
[[nodiscard]] int UnmuteAlarm(ObjectId alarm);
// The tone indicator bits 0-3 to sound; 0 silences.
[[nodiscard]] int SetAlarmTone(ObjectId alarm, uint8_t tone);
[[nodiscard]] int SetAlarmOff(ObjectId alarm);
[[nodiscard]] int SetAlarmIdentify(ObjectId alarm, uint8_t on);
[[nodiscard]] int GetAlarmIdentify(ObjectId alarm, uint8_t* on);

// Drive slots (kind 9, else API error 96). Status flags: 1 device present,
// 2 empty, 4 occupied, 8 device OK.
[[nodiscard]] int GetSlotIdList(ObjectId enclosure, ObjectIdList128* list);
[[nodiscard]] int GetSlotStatus(ObjectId slot, uint32_t* flags);
[[nodiscard]] int GetSlotIdentify(ObjectId slot, uint8_t* on);
[[nodiscard]] int SetSlotIdentify(ObjectId slot, uint8_t on);

// Temperature sensors (kind 13, else API error 110). Status: 0 OK, 1
// critical, 2 not installed, 128 other. Threshold flags: 8 over failure,
// 4 over warning, 2 under failure, 1 under warning.
[[nodiscard]] int GetTempSensorIdList(ObjectId enclosure, ObjectIdList32* list);
[[nodiscard]] int GetTempSensorStatus(ObjectId sensor, uint8_t* status);
[[nodiscard]] int GetTempSensorThresholdFlags(ObjectId sensor, uint8_t* flags);
[[nodiscard]] int GetTemperature(ObjectId sensor, int32_t* celsius);
[[nodiscard]] int SetTempSensorIdentify(ObjectId sensor, uint8_t on);
[[nodiscard]] int GetTempSensorIdentify(ObjectId sensor, uint8_t* on);

// Power supplies (kind 6, else API error 117). Status as the fans'; DC
// condition: 8 over-voltage, 4 under-voltage, 2 over-current.
[[nodiscard]] int GetPowerSupplyIdList(ObjectId enclosure, ObjectIdList16* list);
[[nodiscard]] int GetPowerSupplyStatus(ObjectId supply, uint8_t* status);
[[nodiscard]] int GetPowerSupplyVoltageCurrent(ObjectId supply, uint8_t* condition);
[[nodiscard]] int SetPowerSupplyIdentify(ObjectId supply, uint8_t on);
[[nodiscard]] int GetPowerSupplyIdentify(ObjectId supply, uint8_t* on);

// The wiring between ports and slots (families 4, 6, 7, 8).
[[nodiscard]] int GetPortSlotId(ObjectId port, ObjectId* slot);
[[nodiscard]] int GetSlotPortId(ObjectId slot, ObjectId* port);
// The identify indication of the slot that holds a port's drive (kind 3,
// else API error 11; no slot: API error 101). The command classes set it
// through the audit log's IdentifyPort.
[[nodiscard]] int GetPortIdentify(ObjectId port, uint8_t* on);
[[nodiscard]] int IdentifyPort(ObjectId port, uint8_t on);
// The identify indication of the slots of a unit's drives (kind 2, else
// API error 9); the getter answers 1 when every one is on.
[[nodiscard]] int SetUnitIdentify(ObjectId unit, uint8_t on);
[[nodiscard]] int GetUnitIdentify(ObjectId unit, uint8_t* on);

}  // namespace Api
// --- end of enclosures ---

// --- Controller events, event capture, rescan and controller logs (api/api_events.cpp) ---
// The forward event walk, the rescan and the error log also route to the
// older family, which keeps no event positions: its first and next steps
// both take the controller's next queued event. The backward walk, the
// capture and the controller log record API error 2 there.

// One controller event as the library hands it out. A code of 0 marks the
// end of the event list (no event there).
struct AenRecord {
    static constexpr std::size_t kParamTextSize = 99;  // at most 98 characters
    static constexpr std::size_t kMessageSize = 256;   // at most 255 characters
    uint32_t eventId;
    uint32_t time;  // seconds since 1970-01-01 00:00 UTC
    uint16_t code;
    uint8_t severity;  // AenSeverity
    uint8_t byte11;    // passed on unchanged from the controller's reply
    uint8_t byte12;
    uint8_t paramLength;
    char params[kParamTextSize];
    uint8_t messageLength;
    char message[kMessageSize];
};

// AenSeverity: the severity byte of an event.
enum AenSeverity : uint8_t {
    kAenError = 1,
    kAenWarning = 2,
    kAenInfo = 3,
    kAenDebug = 4,
};

// CaptureMode: what the event capture does when its buffer is full.
enum CaptureMode : uint32_t {
    kCaptureUndefined = 0,
    kCaptureUntilFull = 1,
    kCaptureUntilStopped = 2,
};

// Size of the controller log buffers.
constexpr std::size_t kControllerLogSize = 32768;

namespace Api {

// The event walk: the first (oldest) or last (newest) event, and the one
// after or before a given event id.
[[nodiscard]] int GetFirstAen(ObjectId controller, AenRecord* record);
[[nodiscard]] int GetLastAen(ObjectId controller, AenRecord* record);
[[nodiscard]] int GetNextAen(ObjectId controller, uint32_t eventId, AenRecord* record);
[[nodiscard]] int GetPreviousAen(ObjectId controller, uint32_t eventId, AenRecord* record);

// Advanced event capture (newer family only). EnableEventCapture takes 1 for
// the default of 1024 events; 0 records API error 129.
[[nodiscard]] int EnableEventCapture(ObjectId controller, uint32_t events);
[[nodiscard]] int DisableEventCapture(ObjectId controller);
[[nodiscard]] int SetEventCaptureMode(ObjectId controller, uint32_t mode);
[[nodiscard]] int StartEventCapture(ObjectId controller);
[[nodiscard]] int StopEventCapture(ObjectId controller);
[[nodiscard]] int GetEventCaptureSegmentInfo(ObjectId controller, uint32_t* segmentSize,
                                             uint32_t* segmentCount);
// Copies at most `bufferSize` bytes of the segment into `buffer`.
[[nodiscard]] int GetEventCaptureSegment(ObjectId controller, uint32_t index, uint8_t* buffer,
                                         uint32_t bufferSize);
[[nodiscard]] int GetEventCaptureMode(ObjectId controller, uint32_t* mode);
[[nodiscard]] int GetEventCaptureState(ObjectId controller, uint32_t* enabled, uint32_t* events);
[[nodiscard]] int GetEventCaptureControl(ObjectId controller, uint32_t* started);
[[nodiscard]] int GetEventCaptureHostMask(ObjectId controller, uint32_t* mask);
[[nodiscard]] int SetEventCaptureHostMask(ObjectId controller, uint32_t mask);
[[nodiscard]] int GetEventCaptureInternalMask(ObjectId controller, uint32_t* mask);
[[nodiscard]] int SetEventCaptureInternalMask(ObjectId controller, uint32_t mask);
[[nodiscard]] int GetEventCaptureInternalUnmask(ObjectId controller, uint32_t* mask);
[[nodiscard]] int SetEventCaptureInternalUnmask(ObjectId controller, uint32_t mask);

// Rescans the controller for drives and units; the lists are written only
// on success and hold the units imported and the free drives found.
[[nodiscard]] int RescanController(ObjectId controller, uint8_t makeOsAware, ObjectIdList128* units,
                                   ObjectIdList128* drives);

// The controller's error log and its controller log, each into a caller
// buffer of kControllerLogSize bytes.
[[nodiscard]] int GetControllerErrorLog(ObjectId controller, uint8_t* log);
[[nodiscard]] int GetControllerLog(ObjectId controller, uint8_t* log);

}  // namespace Api
// --- end of controller events, event capture, rescan and controller logs ---
// --- Firmware images and drive auto-detect (api/api_firmware.cpp) ---
// The answer of the firmware image examination: what the image fits. The
// record is zeroed before it is filled; its texts are always terminated.
struct FirmwareCompatRecord {
    static constexpr std::size_t kApiVersionSize = 32;
    static constexpr std::size_t kDriverVersionSize = 128;
    static constexpr std::size_t kFirmwareVersionSize = 32;
    static constexpr std::size_t kImageVersionSize = 16;  // the header's version bytes

    uint8_t apiCompatible;  // 1 when this library serves the image
    char apiVersion[kApiVersionSize];
    uint8_t driverCompatible;  // 1 when the installed driver serves the image
    char driverVersion[kDriverVersionSize];
    uint8_t controllerCompatible;  // nonzero when the image fits the controller
    char firmwareVersion[kFirmwareVersionSize];
    char newFirmwareVersion[kImageVersionSize + 1];
    uint8_t reserved[15];
};
static_assert(sizeof(FirmwareCompatRecord) == 227, "the compatibility record is 227 bytes");

namespace Api {

// Examines the image file `fileName` against the controller, its driver
// and this library (newer families). `reserved` is not consulted. A file
// that cannot be read, or whose size, architecture, magic or SRL range the
// controller cannot take, fails the call; the record is only filled for an
// image that fits the controller.
[[nodiscard]] int GetFirmwareImageCompatibility(ObjectId controller, const char* fileName,
                                                uint64_t reserved, FirmwareCompatRecord* record);
// Downloads an image held in memory to the controller.
[[nodiscard]] int DownloadFirmwareImage(ObjectId controller, const uint8_t* image, uint32_t size);
// Reads the image file whole and downloads it.
[[nodiscard]] int DownloadFirmware(ObjectId controller, const char* fileName);
// Switches automatic drive detection on or off for the listed ports (port
// ids of one controller; an empty list asks nothing of the controller).
[[nodiscard]] int EnableAutoDetect(ObjectId controller, const ObjectIdList128* ports);
[[nodiscard]] int DisableAutoDetect(ObjectId controller, const ObjectIdList128* ports);

}  // namespace Api
// --- end of firmware images and drive auto-detect ---
// --- Unit creation and migration (api/api_create.cpp) ---
// The new unit's controller is the first drive's. Volume sizes are GB x
// 1048576 each; the volume entries serve families 6, 7 and 8 only.
namespace Api {

[[nodiscard]] int CreateUnit(const ObjectIdList128* drives, uint32_t type, uint32_t stripe,
                             uint8_t makeOsAware, ObjectId* unit);
[[nodiscard]] int CreateUnitWithGroup(const ObjectIdList128* drives, uint32_t type, uint32_t stripe,
                                      uint8_t makeOsAware, ObjectId* unit,
                                      uint32_t drivesPerSubunit);
[[nodiscard]] int CreateUnitWithVolumes(const ObjectIdList128* drives, uint32_t type,
                                        uint32_t stripe, uint8_t makeOsAware, ObjectId* unit,
                                        const uint64_t* volumeSizes, uint32_t volumeCount);
[[nodiscard]] int CreateUnitWithGroupAndVolumes(const ObjectIdList128* drives, uint32_t type,
                                                uint32_t stripe, uint8_t makeOsAware,
                                                ObjectId* unit, uint32_t drivesPerSubunit,
                                                const uint64_t* volumeSizes, uint32_t volumeCount);
// Newer families: starts changing the unit to the drives (its own first,
// then the added ones), type and stripe.
[[nodiscard]] int StartMigrateUnit(ObjectId unit, const ObjectIdList128* drives, uint32_t type,
                                   uint32_t stripe, uint8_t makeOsAware, uint32_t drivesPerSubunit);

}  // namespace Api
// --- end of unit creation and migration ---
// --- Drive removal and addition, SMART data and the drive performance
// monitor (api/api_drives.cpp; the records in api/dpm_records.h) ---
// The performance monitor serves the newer families; the older family
// records API error 2 for every operation of this block.
struct DpmConfig;
struct DpmStats;
struct DpmHistogram;
struct DpmLongCommand;
struct DpmExtendedStats;

namespace Api {

// Takes the drive of a port out of use (the command classes go through
// the audit log's RemoveDrive).
[[nodiscard]] int RemoveDrive(ObjectId drive);
// Detects a drive on an empty port; out: the drive's id.
[[nodiscard]] int AddDrive(ObjectId port, ObjectId* drive);
// The drive's SMART data: kSmartDataSize bytes.
[[nodiscard]] int GetDriveSmartData(ObjectId drive, uint8_t* data);
// The monitor switch (1 on, 0 off) and its configuration.
[[nodiscard]] int GetPerformanceMonitorState(ObjectId controller, uint8_t* state);
[[nodiscard]] int EnablePerformanceMonitor(ObjectId controller);
[[nodiscard]] int DisablePerformanceMonitor(ObjectId controller);
[[nodiscard]] int GetPerformanceMonitorConfig(ObjectId controller, DpmConfig* config);
// Per-drive statistics. `source` is kDpmLive or kDpmOnDisk; any other
// records API error 2 before routing.
[[nodiscard]] int GetDriveInstantStats(ObjectId drive, DpmStats* stats);
[[nodiscard]] int GetDriveRunningAverage(ObjectId drive, DpmStats* stats, uint32_t source);
[[nodiscard]] int GetDriveHistogram(ObjectId drive, DpmHistogram* histogram, uint32_t source);
// `records` holds kDpmMaxRecords records; as many as the configuration
// announces are read (a larger count is refused with API error 122).
[[nodiscard]] int GetDriveLongCommandTimes(ObjectId drive, DpmLongCommand* records,
                                           uint32_t source);
[[nodiscard]] int GetDriveExtendedStats(ObjectId drive, DpmExtendedStats* stats);
// `kind` is a DpmClearKind; a kind or source the controller does not know
// clears nothing and succeeds.
[[nodiscard]] int ClearDriveStats(ObjectId drive, uint32_t kind, uint32_t source);

}  // namespace Api
// --- end of drive removal, SMART data and the monitor ---
// --- Unit maintenance (api/api_maintenance.cpp) ---
// The make-OS-aware flag asks that Windows be told about the change.
namespace Api {

[[nodiscard]] int DeleteUnit(ObjectId unit, uint8_t makeOsAware);
[[nodiscard]] int ExportUnit(ObjectId unit, uint8_t makeOsAware);
// Exports the unit and removes its drives from the controller.
[[nodiscard]] int RemoveUnit(ObjectId unit, uint8_t makeOsAware);
[[nodiscard]] int VerifyUnit(ObjectId unit);
[[nodiscard]] int StopVerifyUnit(ObjectId unit);
// Sets the unit's ECC policy to `ignoreEcc` and rebuilds it onto the drives.
[[nodiscard]] int RebuildUnit(ObjectId unit, const ObjectIdList128* drives, uint8_t ignoreEcc);
// Older family only.
[[nodiscard]] int PauseRebuild(ObjectId unit);
[[nodiscard]] int ResumeRebuild(ObjectId unit);
[[nodiscard]] int FlushWriteCache(ObjectId unit);
[[nodiscard]] int CommitTransactions(ObjectId controller);
// Older family only.
[[nodiscard]] int StartMediaScan(ObjectId controller);
[[nodiscard]] int StopMediaScan(ObjectId controller);
// The units found on the listed free drives (their controller is the first
// drive's).
[[nodiscard]] int ImportUnit(ObjectIdList128* drives, uint8_t makeOsAware,
                             ObjectIdList128* newUnits);
// Splits a RAID-1 unit; the resulting new units are listed.
[[nodiscard]] int SplitMirror(ObjectId unit, uint8_t makeOsAware, ObjectIdList128* newUnits);

}  // namespace Api
// --- end of unit maintenance ---
