// The dispatcher entries of drive removal and addition, SMART data and the
// drive performance monitor.
#include "api/dispatch.h"
#include "api/dpm_records.h"
#include "api/prane/prane_family.h"
#include "api/rhosk/rhosk_family.h"

namespace Dispatch {
namespace {

template <typename OlderOp, typename NewerOp>
int32_t Both(ObjectId id, OlderOp older, NewerOp newer) {
    return Call(Route::Both, id, older, newer);
}

template <typename NewerOp>
int32_t Newer(ObjectId id, NewerOp newer) {
    return CallNewer(Route::Newer, id, newer);
}

}  // namespace

int32_t RemoveDrive(ObjectId id) {
    return Both(
        id, [&] { return PraneFamily::RemoveDrive(id); },
        [&] { return RhoskFamily::RemoveDrive(id); });
}
int32_t AddDrive(ObjectId id, ObjectId* drive) {
    return Both(
        id, [&] { return PraneFamily::AddDrive(id, drive); },
        [&] { return RhoskFamily::AddDrive(id, drive); });
}
int32_t GetDriveSmartData(ObjectId id, uint8_t* data) {
    return Both(
        id, [&] { return PraneFamily::GetDriveSmartData(id, data); },
        [&] { return RhoskFamily::GetDriveSmartData(id, data); });
}
int32_t GetPerformanceMonitorState(ObjectId id, uint8_t* state) {
    return Newer(id, [&] { return RhoskFamily::GetPerformanceMonitorState(id, state); });
}
int32_t SetPerformanceMonitorState(ObjectId id, uint8_t state) {
    return Newer(id, [&] { return RhoskFamily::SetPerformanceMonitorState(id, state); });
}
int32_t GetPerformanceMonitorConfig(ObjectId id, DpmConfig* config) {
    return Newer(id, [&] { return RhoskFamily::GetPerformanceMonitorConfig(id, config); });
}
int32_t GetDriveInstantStats(ObjectId id, DpmStats* stats) {
    return Newer(id, [&] { return RhoskFamily::GetDriveInstantStats(id, stats); });
}
int32_t GetDriveRunningAverage(ObjectId id, DpmStats* stats) {
    return Newer(id, [&] { return RhoskFamily::GetDriveRunningAverage(id, stats); });
}
int32_t GetDriveRunningAverageOnDisk(ObjectId id, DpmStats* stats) {
    return Newer(id, [&] { return RhoskFamily::GetDriveRunningAverageOnDisk(id, stats); });
}
int32_t GetDriveHistogram(ObjectId id, DpmHistogram* histogram) {
    return Newer(id, [&] { return RhoskFamily::GetDriveHistogram(id, histogram); });
}
int32_t GetDriveHistogramOnDisk(ObjectId id, DpmHistogram* histogram) {
    return Newer(id, [&] { return RhoskFamily::GetDriveHistogramOnDisk(id, histogram); });
}
int32_t GetDriveLongCommandTimes(ObjectId id, DpmLongCommand* records) {
    return Newer(id, [&] { return RhoskFamily::GetDriveLongCommandTimes(id, records); });
}
int32_t GetDriveLongCommandTimesOnDisk(ObjectId id, DpmLongCommand* records) {
    return Newer(id, [&] { return RhoskFamily::GetDriveLongCommandTimesOnDisk(id, records); });
}
int32_t GetDriveExtendedStats(ObjectId id, DpmExtendedStats* stats) {
    return Newer(id, [&] { return RhoskFamily::GetDriveExtendedStats(id, stats); });
}
int32_t ClearDriveStats(ObjectId id, uint32_t kind, uint32_t onDisk) {
    return Newer(id, [&] { return RhoskFamily::ClearDriveStats(id, kind, onDisk); });
}

}  // namespace Dispatch
