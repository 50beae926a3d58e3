// The newer controller family's implementation objects and their spine:
// reading and writing one controller parameter, the controller management
// lock and the commit request. Every operation opens the controller device,
// sends its requests through DeviceIo and closes the device before it
// returns, on every path.
#pragma once

#include <cstdint>

#include "api/object_id.h"
#include "api/rhosk/sas_family.h"

struct FirmwareCompatRecord;

class RhoskFamily {
  public:
    // The object holds no per-call state; the process-wide instance and the
    // short-lived instances of the transport's discovery behave alike.
    constexpr RhoskFamily() = default;

    // Reads parameter `parameter` of table `table` (`paramSize` bytes) into
    // `buffer`. Once the device is open, the whole buffer (bufferSize bytes)
    // is zeroed first, so the bytes past paramSize stay zero and a failed
    // read leaves the buffer all zero; a failed open leaves it untouched.
    // A paramSize that is negative, above 65535 or above bufferSize is
    // refused (API error 122) before anything is sent.
    [[nodiscard]] static int32_t GetParam(ObjectId controller, void* buffer, uint32_t bufferSize,
                                          uint16_t table, uint16_t parameter, int32_t paramSize);
    // Writes `paramSize` bytes of `data` to the parameter; a paramSize above
    // dataSize is refused (API error 122), a larger dataSize sends only
    // paramSize bytes.
    [[nodiscard]] static int32_t SetParam(ObjectId controller, const void* data, uint32_t dataSize,
                                          uint16_t table, uint16_t parameter, int32_t paramSize);

    // Takes the controller management lock, up to kLockAttempts tries.
    [[nodiscard]] static int32_t LockController(ObjectId controller, uint32_t lockTime);
    // Releases the lock; only a failed device request makes it fail.
    [[nodiscard]] static int32_t UnlockController(ObjectId controller);
    // The commit request.
    [[nodiscard]] static int32_t CommitTransactions(ObjectId controller);

    // The controller's firmware compatibility level (ControllerInfoTable
    // parameter 11), the gate of the newer features.
    [[nodiscard]] static int32_t GetFirmwareCompatLevel(ObjectId controller, uint32_t* level);
    // The level, or `unreadable` when it cannot be read; either way the
    // error record stays as it was.
    [[nodiscard]] static uint32_t FirmwareCompatLevelOr(ObjectId controller, uint32_t unreadable);

    static constexpr int kLockAttempts = 10;
    static constexpr uint32_t kCacheLockTime = 5000;
    static constexpr size_t kParamHeaderSize = 8;
    static constexpr size_t kLockDataSize = 12;

    // --- Controller, drive and unit queries and settings (api/rhosk/rhosk_accessors.cpp,
    // rhosk_units.cpp, rhosk_lists.cpp, rhosk_tasks.cpp) ---
    // Identity texts, trimmed, in caller buffers of their fixed sizes (model
    // 64 bytes, the others 32).
    [[nodiscard]] static int32_t GetBootLoaderVersion(ObjectId controller, char* text);
    [[nodiscard]] static int32_t GetControllerFirmwareVersion(ObjectId controller, char* text);
    [[nodiscard]] static int32_t GetBiosVersion(ObjectId controller, char* text);
    [[nodiscard]] static int32_t GetPcbVersion(ObjectId controller, char* text);
    [[nodiscard]] static int32_t GetAchipVersion(ObjectId controller, char* text);
    [[nodiscard]] static int32_t GetPchipVersion(ObjectId controller, char* text);
    [[nodiscard]] static int32_t GetControllerModel(ObjectId controller, char* text);
    [[nodiscard]] static int32_t GetControllerSerial(ObjectId controller, char* text);
    [[nodiscard]] static int32_t GetAvailableMemory(ObjectId controller, uint32_t* bytes);
    [[nodiscard]] static int32_t GetFeatureFlags(ObjectId controller, uint8_t* flags /*8*/);
    // Controller settings.
    [[nodiscard]] static int32_t GetNumPorts(ObjectId controller, uint32_t* ports);
    [[nodiscard]] static int32_t GetNumberSpinupsAllowed(ObjectId controller, uint32_t* value);
    [[nodiscard]] static int32_t SetNumberSpinupsAllowed(ObjectId controller, int32_t value);
    [[nodiscard]] static int32_t GetStaggerTime(ObjectId controller, uint32_t* seconds);
    [[nodiscard]] static int32_t SetStaggerTime(ObjectId controller, int32_t seconds);
    [[nodiscard]] static int32_t GetAvMode(ObjectId controller, uint8_t* value);
    [[nodiscard]] static int32_t SetAvMode(ObjectId controller, const uint8_t* value);
    [[nodiscard]] static int32_t GetExportJbodPolicy(ObjectId controller, uint8_t* value);
    [[nodiscard]] static int32_t SetExportJbodPolicy(ObjectId controller, uint8_t value);
    [[nodiscard]] static int32_t GetOnDegradePolicy(ObjectId controller, uint8_t* value);
    [[nodiscard]] static int32_t SetOnDegradePolicy(ObjectId controller, uint8_t value);
    [[nodiscard]] static int32_t GetDriveCoercionFactor(ObjectId controller, uint32_t* factor);
    [[nodiscard]] static int32_t SetDriveCoercionFactor(ObjectId controller, uint32_t factor);
    [[nodiscard]] static int32_t GetIgnoreFuaWrite(ObjectId controller, uint8_t* value);
    [[nodiscard]] static int32_t SetIgnoreFuaWrite(ObjectId controller, uint8_t value);
    [[nodiscard]] static int32_t GetForceDriveCacheOn(ObjectId controller, uint8_t* value);
    [[nodiscard]] static int32_t SetForceDriveCacheOn(ObjectId controller, uint8_t value);
    [[nodiscard]] static int32_t GetMultiLunPolicy(ObjectId controller, uint8_t* value);
    [[nodiscard]] static int32_t SetMultiLunPolicy(ObjectId controller, uint8_t value);
    [[nodiscard]] static int32_t GetAutoRebuild(ObjectId controller, uint8_t* policy);
    [[nodiscard]] static int32_t SetAutoRebuild(ObjectId controller, uint8_t policy);
    [[nodiscard]] static int32_t GetLunSize(ObjectId controller, uint64_t* size);
    [[nodiscard]] static int32_t SetLunSize(ObjectId controller, uint64_t size);
    [[nodiscard]] static int32_t GetLbaReordering(ObjectId controller, uint8_t* value);
    [[nodiscard]] static int32_t SetLbaReordering(ObjectId controller, uint8_t value);
    // The controller's logs into a 32768-byte caller buffer.
    [[nodiscard]] static int32_t GetControllerErrorLog(ObjectId controller, uint8_t* log);
    [[nodiscard]] static int32_t GetControllerLog(ObjectId controller, uint8_t* log);
    [[nodiscard]] static int32_t GetDriverVersion(ObjectId controller, char* text /*128*/);
    [[nodiscard]] static int32_t GetNumActiveDrives(ObjectId controller, uint32_t* count);
    [[nodiscard]] static int32_t GetNumConnections(ObjectId controller, uint32_t* count);
    // Drives, ports and phys.
    [[nodiscard]] static int32_t GetNumDrives(ObjectId controller, uint32_t* count);
    [[nodiscard]] static int32_t GetDriveStatus(ObjectId drive, uint8_t* status);
    [[nodiscard]] static int32_t GetPhyDeviceType(ObjectId phy, uint8_t* type);
    [[nodiscard]] static int32_t GetDriveModel(ObjectId drive, char* text /*64*/);
    [[nodiscard]] static int32_t GetDriveSerial(ObjectId drive, char* text /*32*/);
    [[nodiscard]] static int32_t GetDriveFirmwareVersion(ObjectId drive, char* text /*32*/);
    [[nodiscard]] static int32_t GetDriveUnitFlags(ObjectId drive, uint8_t* flags);
    [[nodiscard]] static int32_t GetDriveReallocatedSectors(ObjectId drive, uint32_t* count);
    [[nodiscard]] static int32_t GetDrivePowerOnHours(ObjectId drive, uint32_t* hours);
    [[nodiscard]] static int32_t GetDriveTemperature(ObjectId drive, int32_t* celsius);
    [[nodiscard]] static int32_t GetDriveInterface(ObjectId drive, uint8_t* type);
    [[nodiscard]] static int32_t GetDrivePortCount(ObjectId drive, uint32_t* count);
    [[nodiscard]] static int32_t GetDriveConnectionCount(ObjectId drive, uint32_t* count);
    [[nodiscard]] static int32_t GetDriveSpindleSpeed(ObjectId drive, uint32_t* speed);
    [[nodiscard]] static int32_t GetDriveCapacity(ObjectId drive, uint64_t* sectors);
    // Unit settings.
    [[nodiscard]] static int32_t GetUnitFlags(ObjectId unit, uint8_t* flags);
    [[nodiscard]] static int32_t GetUnitWriteCache(ObjectId unit, uint8_t* on);
    [[nodiscard]] static int32_t GetReadCacheMode(ObjectId unit, uint8_t* mode);
    [[nodiscard]] static int32_t GetAutoVerify(ObjectId unit, uint8_t* value);
    [[nodiscard]] static int32_t SetAutoVerify(ObjectId unit, uint8_t value);
    [[nodiscard]] static int32_t GetEccPolicy(ObjectId unit, uint8_t* value);
    [[nodiscard]] static int32_t SetEccPolicy(ObjectId unit, uint8_t value);
    [[nodiscard]] static int32_t GetUnitVolumeCount(ObjectId unit, uint32_t* count);
    [[nodiscard]] static int32_t GetUnitName(ObjectId unit, char* name /*21*/);
    [[nodiscard]] static int32_t SetUnitName(ObjectId unit, const char* name /*21*/);
    [[nodiscard]] static int32_t GetUnitSerial(ObjectId unit, char* serial /*21*/);
    [[nodiscard]] static int32_t GetUnitQueuing(ObjectId unit, uint8_t* value);
    [[nodiscard]] static int32_t SetUnitQueuing(ObjectId unit, uint8_t value);
    [[nodiscard]] static int32_t EnableBasicReadCache(ObjectId unit);
    [[nodiscard]] static int32_t DisableReadCache(ObjectId unit);
    [[nodiscard]] static int32_t EnableIntelligentReadCache(ObjectId unit);
    [[nodiscard]] static int32_t EnableWriteCache(ObjectId unit);
    [[nodiscard]] static int32_t DisableWriteCache(ObjectId unit);
    // Unit state from the unit descriptor table (1980 bytes).
    [[nodiscard]] static int32_t ReadUnitDescriptorTable(ObjectId unit, uint8_t* table);
    [[nodiscard]] static int32_t GetUnitType(ObjectId unit, uint32_t* type);
    [[nodiscard]] static int32_t GetUnitStatus(ObjectId unit, uint8_t* status);
    [[nodiscard]] static int32_t GetUnitPercentComplete(ObjectId unit, uint32_t* percent);
    [[nodiscard]] static int32_t GetUnitCapacity(ObjectId unit, uint64_t* sectors);
    [[nodiscard]] static int32_t GetUnitStripeSize(ObjectId unit, uint32_t* kib);
    [[nodiscard]] static int32_t IsUnitInitialized(ObjectId unit, uint8_t* initialized);
    [[nodiscard]] static int32_t IsUnitTaskRunning(ObjectId unit, uint8_t* running);
    [[nodiscard]] static int32_t GetRaid6UnitState(ObjectId unit, struct Raid6UnitState* state);
    [[nodiscard]] static int32_t GetSubunitIdList(ObjectId unit, ObjectIdList128* list);
    // Unit, drive, port and volume lists.
    [[nodiscard]] static int32_t GetUnitIdList(ObjectId controller, ObjectIdList128* list);
    [[nodiscard]] static int32_t GetRaid6SubunitIdList(ObjectId unit, ObjectIdList128* list);
    [[nodiscard]] static int32_t GetUnitParityNumber(ObjectId unit, uint32_t* count);
    [[nodiscard]] static int32_t GetUnitVolumeList(ObjectId unit, ObjectIdList128* list);
    [[nodiscard]] static int32_t GetVolumeCapacity(ObjectId volume, uint64_t* sectors);
    [[nodiscard]] static int32_t GetUnitDriveList(ObjectId unit, ObjectIdList128* list);
    [[nodiscard]] static int32_t GetDriveUnitId(ObjectId drive, ObjectId* unit);
    [[nodiscard]] static int32_t GetDriveIdList(ObjectId controller, ObjectIdList128* list);
    [[nodiscard]] static int32_t GetPortIdList(ObjectId controller, ObjectIdList128* list);
    static int32_t IsUnitPresent(ObjectId controller, uint8_t unit);
    // 0 when the unit exists; -1 with `missing` recorded when it does not,
    // or with the read's own error when the unit summary cannot be read.
    [[nodiscard]] static int32_t RequireUnit(ObjectId controller, uint8_t unit, uint32_t missing);
    static int32_t IsDrivePresent(ObjectId controller, uint8_t port);
    static int32_t IsPortValid(ObjectId controller, uint8_t port);
    // Background task rates, modes and the weekly schedule.
    [[nodiscard]] static int32_t GetRebuildRate(ObjectId controller, uint32_t* rate);
    [[nodiscard]] static int32_t GetVerifyRate(ObjectId controller, uint32_t* rate);
    [[nodiscard]] static int32_t SetRebuildRate(ObjectId controller, const uint32_t* rate);
    [[nodiscard]] static int32_t SetVerifyRate(ObjectId controller, const uint32_t* rate);
    [[nodiscard]] static int32_t GetRebuildMode(ObjectId controller, uint8_t* mode);
    [[nodiscard]] static int32_t GetVerifyMode(ObjectId controller, uint8_t* mode);
    [[nodiscard]] static int32_t SetRebuildMode(ObjectId controller, uint8_t mode);
    [[nodiscard]] static int32_t SetVerifyMode(ObjectId controller, uint8_t mode);
    [[nodiscard]] static int32_t GetSelftestFlags(ObjectId controller, uint16_t* flags);
    [[nodiscard]] static int32_t SetSelftestFlags(ObjectId controller, const uint16_t* flags);
    [[nodiscard]] static int32_t GetBasicVerifyPreferredStart(ObjectId controller, uint16_t* start);
    [[nodiscard]] static int32_t SetBasicVerifyPreferredStart(ObjectId controller, uint16_t start);
    [[nodiscard]] static int32_t GetRebuildScheduleState(ObjectId controller, uint8_t* state);
    [[nodiscard]] static int32_t GetVerifyScheduleState(ObjectId controller, uint8_t* state);
    [[nodiscard]] static int32_t EnableRebuildSchedule(ObjectId controller);
    [[nodiscard]] static int32_t EnableVerifySchedule(ObjectId controller);
    [[nodiscard]] static int32_t DisableRebuildSchedule(ObjectId controller, uint8_t state);
    [[nodiscard]] static int32_t DisableVerifySchedule(ObjectId controller, uint8_t state);
    [[nodiscard]] static int32_t GetRebuildTask(ObjectId controller, uint16_t slot, uint16_t* start,
                                                uint16_t* duration);
    [[nodiscard]] static int32_t GetVerifyTask(ObjectId controller, uint16_t slot, uint16_t* start,
                                               uint16_t* duration);
    [[nodiscard]] static int32_t GetSelftestTask(ObjectId controller, uint16_t slot,
                                                 uint16_t* start);
    [[nodiscard]] static int32_t SetRebuildTask(ObjectId controller, uint16_t slot, uint16_t start,
                                                uint16_t duration);
    [[nodiscard]] static int32_t SetVerifyTask(ObjectId controller, uint16_t slot, uint16_t start,
                                               uint16_t duration);
    [[nodiscard]] static int32_t SetSelftestTask(ObjectId controller, uint16_t slot,
                                                 uint16_t start);
    [[nodiscard]] static int32_t GetTaskSchedule(ObjectId controller,
                                                 struct WeeklySchedule* schedule);

    // --- Unit creation and migration (api/rhosk/rhosk_create.cpp) ---
    // Creates a unit of `type` over `drives` (its controller is the first
    // drive's) and writes its id to `unit`; with inPlace set, `unit` names
    // the existing unit whose layout changes instead. announce tells the
    // operating system of the new unit. Volume sizes are in the callers'
    // unit (GB x 2^20); the controller gets them as 512-byte sectors.
    [[nodiscard]] static int32_t CreateUnit(const ObjectIdList128* drives, uint32_t type,
                                            uint32_t stripe, uint8_t announce, ObjectId* unit,
                                            uint32_t groupSize, uint8_t inPlace,
                                            const uint64_t* volumeSizes, uint32_t volumeCount);
    // Starts changing `unit` to the layout of `drives`, `type` and `stripe`.
    [[nodiscard]] static int32_t StartMigrateUnit(ObjectId unit, const ObjectIdList128* drives,
                                                  uint32_t type, uint32_t stripe, uint8_t announce,
                                                  uint32_t groupSize);
    // Turns a SINGLE unit into a mirror with the first free drive of the list.
    [[nodiscard]] static int32_t ConvertSingleToMirror(ObjectId* unit, ObjectIdList128* drives);
    // The create command (`unitNumber` receives the new unit's number), the
    // in-place update of a unit and the add-mirror update.
    [[nodiscard]] static int32_t SendCreateUnit(ObjectId controller, uint8_t* data, uint32_t length,
                                                uint8_t* unitNumber);
    [[nodiscard]] static int32_t SendUnitUpdate(ObjectId controller, uint8_t unitNumber,
                                                uint8_t* data, uint32_t length);
    [[nodiscard]] static int32_t AddMirrorUnit(ObjectId controller, uint8_t singleUnit,
                                               uint8_t mirrorUnit);

    // --- Battery backup unit (api/rhosk/rhosk_bbu.cpp) ---
    // BbuTable 0x8006. Almost every query is gated by the status word: a
    // disabled BBU, a controller without BBU and a BBU without battery each
    // fail with their own API error.
    [[nodiscard]] static int32_t IsBbuEnabled(ObjectId controller, uint32_t* enabled);
    [[nodiscard]] static int32_t EnableBbu(ObjectId controller);
    [[nodiscard]] static int32_t DisableBbu(ObjectId controller);
    [[nodiscard]] static int32_t GetBbuStatusWord(ObjectId controller, uint32_t* word);
    [[nodiscard]] static int32_t IsBbuPresent(ObjectId controller, uint32_t* present);
    [[nodiscard]] static int32_t IsBatteryPresent(ObjectId controller, uint32_t* present);
    [[nodiscard]] static int32_t GetBbuReady(ObjectId controller, uint32_t* ready);
    [[nodiscard]] static int32_t GetBatteryVoltageStatus(ObjectId controller, int32_t* level);
    [[nodiscard]] static int32_t GetBatteryTemperatureStatus(ObjectId controller, int32_t* level);
    [[nodiscard]] static int32_t GetBbuSerial(ObjectId controller, char* text /*32*/);
    [[nodiscard]] static int32_t GetBbuFirmwareVersion(ObjectId controller, char* text /*32*/);
    [[nodiscard]] static int32_t GetBbuBootloaderVersion(ObjectId controller, char* text /*32*/);
    [[nodiscard]] static int32_t GetBbuPcbRevision(ObjectId controller, uint32_t* revision);
    [[nodiscard]] static int32_t GetBbuInfoText(ObjectId controller, char* text /*64*/);
    [[nodiscard]] static int32_t GetBatteryInstallDate(ObjectId controller, char* text /*16*/);
    [[nodiscard]] static int32_t GetLastCapacityTestDate(ObjectId controller, char* text /*16*/);
    [[nodiscard]] static int32_t GetEstimatedBackupCapacity(ObjectId controller, uint32_t* hours);
    [[nodiscard]] static int32_t GetBbuStatus(ObjectId controller, int32_t* status);
    [[nodiscard]] static int32_t StartBbuBatteryTest(ObjectId controller);

    // --- Controller events, event capture and rescan (api/rhosk/rhosk_events.cpp,
    // rhosk_capture.cpp, rhosk_rescan.cpp) ---
    // One event of the controller's event queue into the library's record;
    // the caller's record is written only on success.
    [[nodiscard]] static int32_t GetFirstAen(ObjectId controller, struct AenRecord* record);
    [[nodiscard]] static int32_t GetLastAen(ObjectId controller, struct AenRecord* record);
    [[nodiscard]] static int32_t GetNextAen(ObjectId controller, uint32_t eventId,
                                            struct AenRecord* record);
    [[nodiscard]] static int32_t GetPreviousAen(ObjectId controller, uint32_t eventId,
                                                struct AenRecord* record);
    // The advanced event capture settings (EventCaptureTable 0x407).
    [[nodiscard]] static int32_t EnableEventCapture(ObjectId controller, uint32_t events);
    [[nodiscard]] static int32_t DisableEventCapture(ObjectId controller);
    [[nodiscard]] static int32_t SetEventCaptureMode(ObjectId controller, uint32_t mode);
    [[nodiscard]] static int32_t StartEventCapture(ObjectId controller);
    [[nodiscard]] static int32_t StopEventCapture(ObjectId controller);
    [[nodiscard]] static int32_t SetEventCaptureHostMask(ObjectId controller, uint32_t mask);
    [[nodiscard]] static int32_t SetEventCaptureInternalMask(ObjectId controller, uint32_t mask);
    [[nodiscard]] static int32_t SetEventCaptureInternalUnmask(ObjectId controller, uint32_t mask);
    [[nodiscard]] static int32_t GetEventCaptureSegmentInfo(ObjectId controller, uint32_t* size,
                                                            uint32_t* count);
    [[nodiscard]] static int32_t GetEventCaptureSegment(ObjectId controller, uint32_t index,
                                                        uint8_t* buffer, uint32_t length);
    [[nodiscard]] static int32_t GetEventCaptureState(ObjectId controller, uint32_t* enabled,
                                                      uint32_t* events);
    [[nodiscard]] static int32_t GetEventCaptureMode(ObjectId controller, uint32_t* mode);
    [[nodiscard]] static int32_t GetEventCaptureControl(ObjectId controller, uint32_t* started);
    [[nodiscard]] static int32_t GetEventCaptureHostMask(ObjectId controller, uint32_t* mask);
    [[nodiscard]] static int32_t GetEventCaptureInternalMask(ObjectId controller, uint32_t* mask);
    [[nodiscard]] static int32_t GetEventCaptureInternalUnmask(ObjectId controller, uint32_t* mask);
    // The controller rescan: new free drives and the units found on them.
    [[nodiscard]] static int32_t RescanController(ObjectId controller, uint8_t announce,
                                                  ObjectIdList128* newUnits,
                                                  ObjectIdList128* newDrives);

    // --- Firmware images and drive auto-detect (api/rhosk/rhosk_firmware.cpp,
    // api/rhosk/rhosk_autodetect.cpp) ---
    // The examination: header, size, architecture, magic, SRL, then the
    // record. The first failing step ends it.
    [[nodiscard]] static int32_t GetFirmwareImageCompatibility(ObjectId controller,
                                                               const char* fileName,
                                                               uint64_t reserved,
                                                               FirmwareCompatRecord* record);
    // The chunked download, run once more after a checksum error.
    [[nodiscard]] static int32_t DownloadFirmwareImage(ObjectId controller, const uint8_t* image,
                                                       uint32_t size);
    // Port detection with the auto-detect flag (0 on, 1 off) for the
    // listed ports; the controller is the first id's.
    [[nodiscard]] static int32_t SetAutoDetect(const ObjectIdList128* ports, uint32_t off);

    // --- Steps, public for tests ---
    [[nodiscard]] static int32_t ReadImageHeader(const char* fileName, uint8_t* header);
    [[nodiscard]] static int32_t CheckImageSize(const char* fileName, const uint8_t* header);
    [[nodiscard]] static int32_t CheckImageArchitecture(ObjectId controller, const uint8_t* header);
    [[nodiscard]] static int32_t CheckImageMagic(const uint8_t* header);
    [[nodiscard]] static int32_t CheckImageSrl(ObjectId controller, const uint8_t* header);
    [[nodiscard]] static int32_t CheckFirmwareImage(ObjectId controller, const uint8_t* header,
                                                    FirmwareCompatRecord* record);
    // The 128-byte driver information block.
    [[nodiscard]] static int32_t ReadDriverInfo(ObjectId controller, uint8_t* info);
    [[nodiscard]] static int32_t SendFirmwareImage(ObjectId controller, const uint8_t* image,
                                                   uint32_t size);

    // --- Drives: removal, addition, SMART data and the drive performance
    // monitor (api/rhosk/rhosk_drive_ops.cpp, rhosk_smart.cpp, rhosk_dpm.cpp) ---
    // Takes a drive out of use (API 46 for an empty port); a drive that is a
    // whole CBOD, spare or subunit unit is released first; a member of a
    // redundant unit only when its unit can lose it.
    [[nodiscard]] static int32_t RemoveDrive(ObjectId drive);
    // The remove-drive command for the drive's port.
    [[nodiscard]] static int32_t RemovePortDrive(ObjectId drive);
    // Port detection for one port (API 23 when it holds a drive); the new
    // drive's id.
    [[nodiscard]] static int32_t AddDrive(ObjectId port, ObjectId* drive);
    // One ATA command through the controller to the drive of the id's port;
    // the registers are in and out (copied back even after a failure).
    [[nodiscard]] static int32_t SendAtaCommand(ObjectId drive, uint8_t protocol, uint16_t value,
                                                uint16_t* features, uint16_t* sectorCount,
                                                uint16_t* lbaLow, uint16_t* lbaMid,
                                                uint16_t* lbaHigh, uint8_t* device,
                                                uint8_t* command, void* data, uint32_t timeout);
    // ATA SMART READ DATA into a 512-byte buffer.
    [[nodiscard]] static int32_t GetDriveSmartData(ObjectId drive, uint8_t* data);
    // The monitor switch and configuration (DrivePerfTable 0x0009).
    [[nodiscard]] static int32_t GetPerformanceMonitorState(ObjectId controller, uint8_t* state);
    [[nodiscard]] static int32_t SetPerformanceMonitorState(ObjectId controller, uint8_t state);
    [[nodiscard]] static int32_t GetPerformanceMonitorConfig(ObjectId id, struct DpmConfig* config);
    // Per-drive statistics (DriveStatsTable 0x100 + port).
    [[nodiscard]] static int32_t GetDriveRunningAverage(ObjectId drive, struct DpmStats* stats);
    [[nodiscard]] static int32_t GetDriveRunningAverageOnDisk(ObjectId drive,
                                                              struct DpmStats* stats);
    [[nodiscard]] static int32_t GetDriveHistogram(ObjectId drive, struct DpmHistogram* histogram);
    [[nodiscard]] static int32_t GetDriveHistogramOnDisk(ObjectId drive,
                                                         struct DpmHistogram* histogram);
    // `records` holds kDpmMaxRecords records; the configuration gives the
    // count read, and a count above kDpmMaxRecords is refused (API 122).
    [[nodiscard]] static int32_t GetDriveLongCommandTimes(ObjectId drive,
                                                          struct DpmLongCommand* records);
    [[nodiscard]] static int32_t GetDriveLongCommandTimesOnDisk(ObjectId drive,
                                                                struct DpmLongCommand* records);
    [[nodiscard]] static int32_t GetDriveInstantStats(ObjectId drive, struct DpmStats* stats);
    [[nodiscard]] static int32_t GetDriveExtendedStats(ObjectId drive,
                                                       struct DpmExtendedStats* stats);
    [[nodiscard]] static int32_t ClearDriveStats(ObjectId drive, uint32_t kind, uint32_t onDisk);

    // --- Unit maintenance (api/rhosk/rhosk_maintenance.cpp) ---
    // Deletes (mode 0x80), exports (0x40) or releases (0) a unit; with
    // `announce` Windows lets the unit's disks go first where the unit is
    // the operating system's.
    [[nodiscard]] static int32_t DeleteUnit(ObjectId unit, uint8_t announce, uint8_t mode);
    // Starts (stop 0) or stops (1) a verify.
    [[nodiscard]] static int32_t VerifyUnit(ObjectId unit, uint32_t stop);
    // Rebuilds a degraded unit onto one replacement drive.
    [[nodiscard]] static int32_t RebuildUnit(ObjectId unit, ObjectId* drive);
    [[nodiscard]] static int32_t FlushWriteCache(ObjectId unit);
    // Imports the units found on the listed free drives; newUnits receives
    // the units that were not there before.
    [[nodiscard]] static int32_t ImportUnit(ObjectIdList128* drives, uint8_t announce,
                                            ObjectIdList128* newUnits);
    // Splits a RAID-1 unit into its halves; newUnits receives the new units.
    [[nodiscard]] static int32_t SplitMirror(ObjectId unit, uint8_t announce,
                                             ObjectIdList128* newUnits);
};

// Later newer-family settings (generations 6 and up). Same layout and
// constructor as RhoskFamily.
class RhoskSettings {
  public:
    constexpr RhoskSettings() = default;

    // --- Later settings and the I/O statistics record (api/rhosk/rhosk_settings.cpp) ---
    // The link-speed reads succeed on a failed read and leave the value as it was.
    [[nodiscard]] static int32_t GetDriveLinkSpeedSupported(ObjectId drive, uint8_t* speed);
    [[nodiscard]] static int32_t GetDriveLinkSpeed(ObjectId drive, uint8_t* speed);
    [[nodiscard]] static int32_t GetDriveQueuingSupported(ObjectId drive, uint8_t* value);
    [[nodiscard]] static int32_t GetDriveQueuingEnabled(ObjectId drive, uint8_t* value);
    [[nodiscard]] static int32_t GetKeepwellParam21(ObjectId unit, uint8_t* value);
    [[nodiscard]] static int32_t SetKeepwellParam21(ObjectId unit, uint8_t value);
    [[nodiscard]] static int32_t GetKeepwellParam22(ObjectId unit, uint8_t* value);
    [[nodiscard]] static int32_t SetKeepwellParam22(ObjectId unit, uint8_t value);
    [[nodiscard]] static int32_t GetKeepwellParam23(ObjectId unit, uint8_t* value);
    [[nodiscard]] static int32_t SetKeepwellParam23(ObjectId unit, uint8_t value);
    [[nodiscard]] static int32_t GetWriteDpoPolicy(ObjectId unit, uint8_t* policy);
    [[nodiscard]] static int32_t SetWriteDpoPolicy(ObjectId unit, uint8_t policy);
    [[nodiscard]] static int32_t GetRapidRecovery(ObjectId unit, uint8_t* policy);
    [[nodiscard]] static int32_t SetRapidRecovery(ObjectId unit, uint8_t policy);
    [[nodiscard]] static int32_t GetControllerBusInfo(ObjectId controller, uint32_t* bits);
    [[nodiscard]] static int32_t GetModePageControl(ObjectId controller, uint8_t* value);
    [[nodiscard]] static int32_t SetModePageControl(ObjectId controller, uint8_t value);
    [[nodiscard]] static int32_t GetControllerIoCount(ObjectId controller, uint16_t* count);
    [[nodiscard]] static int32_t GetPortIoStat(ObjectId controller, uint16_t* counts /*256*/);
    [[nodiscard]] static int32_t GetControllerIoStat(ObjectId controller,
                                                     struct IoStatTable* table);
};

// SasFamily (SAS phys and the limits of family 8): api/rhosk/sas_family.h.

// The process-wide implementation objects, built after the driver object.
RhoskFamily& TheRhoskFamily();
RhoskSettings& TheRhoskSettings();
SasFamily& TheSasFamily();
