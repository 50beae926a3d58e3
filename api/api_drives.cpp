// The public drive performance monitor statistics that come live or from
// the copy on disk: the source chooses the dispatcher entry.
#include "api/api.h"
#include "api/api_error.h"
#include "api/dispatch.h"
#include "api/dpm_records.h"
#include "api/rhosk/rhosk_codes.h"

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

}  // namespace

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

}  // namespace Api
