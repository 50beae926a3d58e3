// The public drive and port operations: lists, identity, state and health
// values, link speeds, command queuing and the pending-I/O statistics.
#include "api/api.h"
#include "api/api_error.h"
#include "api/dispatch.h"
#include "api/rhosk/rhosk_codes.h"

namespace Api {

int GetDriveIdList(ObjectId id, ObjectIdList128* list) {
    return Dispatch::GetDriveIdList(id, list);
}
int GetPortIdList(ObjectId id, ObjectIdList128* list) {
    return Dispatch::GetPortIdList(id, list);
}
int GetDriveStatus(ObjectId id, uint8_t* status) {
    return Dispatch::GetDriveStatus(id, status);
}
int GetDriveCapacity(ObjectId id, uint64_t* sectors) {
    return Dispatch::GetDriveCapacity(id, sectors);
}
int GetDriveModel(ObjectId id, char* text) {
    return Dispatch::GetDriveModel(id, text);
}
int GetDriveSerial(ObjectId id, char* text) {
    return Dispatch::GetDriveSerial(id, text);
}
int GetDriveFirmwareVersion(ObjectId id, char* text) {
    return Dispatch::GetDriveFirmwareVersion(id, text);
}
int GetDriveUnitId(ObjectId id, ObjectId* unit) {
    return Dispatch::GetDriveUnitId(id, unit);
}
int GetDriveUnitFlags(ObjectId id, uint8_t* flags) {
    return Dispatch::GetDriveUnitFlags(id, flags);
}
int GetDriveInterface(ObjectId id, uint8_t* type) {
    return Dispatch::GetDriveInterface(id, type);
}
int GetDrivePortCount(ObjectId id, uint32_t* count) {
    return Dispatch::GetDrivePortCount(id, count);
}
int GetDriveConnectionCount(ObjectId id, uint32_t* count) {
    return Dispatch::GetDriveConnectionCount(id, count);
}
int GetDriveReallocatedSectors(ObjectId id, uint32_t* count) {
    return Dispatch::GetDriveReallocatedSectors(id, count);
}
int GetDrivePowerOnHours(ObjectId id, uint32_t* hours) {
    return Dispatch::GetDrivePowerOnHours(id, hours);
}
int GetDriveTemperature(ObjectId id, int32_t* celsius) {
    return Dispatch::GetDriveTemperature(id, celsius);
}
int GetDriveSpindleSpeed(ObjectId id, uint32_t* speed) {
    return Dispatch::GetDriveSpindleSpeed(id, speed);
}
int GetDriveQueuingSupported(ObjectId id, uint8_t* value) {
    return Dispatch::GetDriveQueuingSupported(id, value);
}
int GetDriveQueuingEnabled(ObjectId id, uint8_t* value) {
    return Dispatch::GetDriveQueuingEnabled(id, value);
}
int GetDriveLinkSpeedSupported(ObjectId id, uint8_t* speed) {
    return Dispatch::GetDriveLinkSpeedSupported(id, speed);
}
int GetDriveLinkSpeed(ObjectId id, uint8_t* speed) {
    return Dispatch::GetDriveLinkSpeed(id, speed);
}
int GetPortIoStat(ObjectId id, uint16_t* counts) {
    return Dispatch::GetPortIoStat(id, counts);
}
int GetControllerIoStat(ObjectId id, IoStatTable* table) {
    return Dispatch::GetControllerIoStat(id, table);
}

}  // namespace Api

// --- Drive removal and addition, SMART data and the drive performance monitor ---
#include "api/dpm_records.h"

namespace Api {
namespace {

// The statistics reads that come live or from the copy on disk: any other
// source is refused before routing.
template <typename Live, typename OnDisk>
int BySource(uint32_t source, Live live, OnDisk onDisk) {
    ApiError::Clear();
    if (source == kDpmLive)
        return live();
    if (source == kDpmOnDisk)
        return onDisk();
    return ApiError::Fail(rhosk::kApiFeatureNotSupported);
}

constexpr uint8_t kMonitorOn = 1;
constexpr uint8_t kMonitorOff = 0;

}  // namespace

int RemoveDrive(ObjectId drive) {
    return Dispatch::RemoveDrive(drive);
}
int AddDrive(ObjectId port, ObjectId* drive) {
    return Dispatch::AddDrive(port, drive);
}
int GetDriveSmartData(ObjectId drive, uint8_t* data) {
    return Dispatch::GetDriveSmartData(drive, data);
}
int GetPerformanceMonitorState(ObjectId controller, uint8_t* state) {
    return Dispatch::GetPerformanceMonitorState(controller, state);
}
int EnablePerformanceMonitor(ObjectId controller) {
    return Dispatch::SetPerformanceMonitorState(controller, kMonitorOn);
}
int DisablePerformanceMonitor(ObjectId controller) {
    return Dispatch::SetPerformanceMonitorState(controller, kMonitorOff);
}
int GetPerformanceMonitorConfig(ObjectId controller, DpmConfig* config) {
    return Dispatch::GetPerformanceMonitorConfig(controller, config);
}
int GetDriveInstantStats(ObjectId drive, DpmStats* stats) {
    return Dispatch::GetDriveInstantStats(drive, stats);
}
int GetDriveRunningAverage(ObjectId drive, DpmStats* stats, uint32_t source) {
    return BySource(
        source, [&] { return Dispatch::GetDriveRunningAverage(drive, stats); },
        [&] { return Dispatch::GetDriveRunningAverageOnDisk(drive, stats); });
}
int GetDriveHistogram(ObjectId drive, DpmHistogram* histogram, uint32_t source) {
    return BySource(
        source, [&] { return Dispatch::GetDriveHistogram(drive, histogram); },
        [&] { return Dispatch::GetDriveHistogramOnDisk(drive, histogram); });
}
int GetDriveLongCommandTimes(ObjectId drive, DpmLongCommand* records, uint32_t source) {
    return BySource(
        source, [&] { return Dispatch::GetDriveLongCommandTimes(drive, records); },
        [&] { return Dispatch::GetDriveLongCommandTimesOnDisk(drive, records); });
}
int GetDriveExtendedStats(ObjectId drive, DpmExtendedStats* stats) {
    return Dispatch::GetDriveExtendedStats(drive, stats);
}
int ClearDriveStats(ObjectId drive, uint32_t kind, uint32_t source) {
    return Dispatch::ClearDriveStats(drive, kind, source);
}

}  // namespace Api
