// The drive performance monitor of the newer family: the monitor switch and
// configuration of the DrivePerfTable, the per-drive statistics of the
// DriveStatsTable (0x100 + port), the instantaneous statistics computed from
// the controller's window of recent command samples, and the clears.
#include <cstring>
#include <vector>

#include "api/api_error.h"
#include "api/bytes.h"
#include "api/dpm_records.h"
#include "api/rhosk/param_tables.h"
#include "api/rhosk/rhosk_codes.h"
#include "api/rhosk/rhosk_family.h"
#include "api/rhosk/rhosk_params.h"

using namespace rhosk;

namespace {

// DrivePerfTable parameters.
constexpr uint16_t kMonitorState = 4;
constexpr uint16_t kMonitorConfig = 5;
// DriveStatsTable parameters.
constexpr uint16_t kSampleWindow = 2;
constexpr uint16_t kLiveBlock = 3;
constexpr uint16_t kOnDiskBlock = 4;
constexpr uint16_t kLiveLongCommands = 5;
constexpr uint16_t kOnDiskLongCommands = 6;
constexpr uint16_t kFirstExtended = 7;

uint16_t StatsTableOf(const ObjectId& drive) {
    return rhosk_tables::DriveStatsTable(drive[ObjectId::kNumber]);
}

// The monitor's configuration, read through the drive's controller.
int32_t ReadConfig(ObjectId drive, DpmConfig* config) {
    ObjectId controller = drive;
    controller[ObjectId::kKind] = kKindController;
    return RhoskFamily::GetPerformanceMonitorConfig(controller, config);
}

// A count the tool's buffers cannot hold is refused rather than overrun.
int32_t RefuseOversized(uint32_t count) {
    return count > kDpmMaxRecords ? ApiError::Fail(kApiInvalidArgument) : 0;
}

// Reads the 168-byte statistics block (live or on disk).
int32_t ReadBlock(ObjectId drive, uint16_t parameter, uint8_t (&block)[kDpmStatsBlockSize]) {
    return RhoskFamily::GetParam(ControllerOf(drive), block, sizeof block, StatsTableOf(drive),
                                 parameter, static_cast<int32_t>(sizeof block));
}

int32_t ReadStats(ObjectId drive, uint16_t parameter, DpmStats* stats) {
    uint8_t block[kDpmStatsBlockSize] = {};
    if (ReadBlock(drive, parameter, block) != 0)
        return -1;
    stats->iops = bytes::GetU32(block, sizeof block, 0);
    stats->kbPerSecond = bytes::GetU32(block, sizeof block, 4);
    stats->responseMs = bytes::GetU32(block, sizeof block, 8);
    stats->queueDepth = bytes::GetU32(block, sizeof block, 12);
    return 0;
}

int32_t ReadHistogram(ObjectId drive, uint16_t parameter, DpmHistogram* histogram) {
    uint8_t block[kDpmStatsBlockSize] = {};
    if (ReadBlock(drive, parameter, block) != 0)
        return -1;
    for (size_t bin = 0; bin < DpmHistogram::kBins; ++bin)
        histogram->counts[bin] = bytes::GetU32(block, sizeof block, DpmStats::kSize + 4 * bin);
    return 0;
}

// Reads the configured number of long-command records straight into the
// caller's buffer of kDpmMaxRecords records.
int32_t ReadLongCommands(ObjectId drive, uint16_t parameter, DpmLongCommand* records) {
    DpmConfig config{};
    if (ReadConfig(drive, &config) != 0)
        return -1;
    const uint32_t count = config.longCommandCount();
    if (RefuseOversized(count) != 0)
        return -1;
    constexpr uint32_t kBufferSize = kDpmMaxRecords * DpmLongCommand::kSize;
    return RhoskFamily::GetParam(ControllerOf(drive), records, kBufferSize, StatsTableOf(drive),
                                 parameter, static_cast<int32_t>(count * DpmLongCommand::kSize));
}

// Elapsed ticks from start to end over a 32-bit counter that may wrap.
uint64_t TicksBetween(uint32_t start, uint32_t end) {
    return end >= start ? uint64_t{end} - start : uint64_t{0xFFFFFFFFu} - start + end;
}

// Writes `size` zero bytes to one statistics parameter.
int32_t WriteZeros(ObjectId drive, uint16_t parameter, uint32_t size) {
    std::vector<uint8_t> zeros(size, 0);
    return RhoskFamily::SetParam(ControllerOf(drive), zeros.data(), size, StatsTableOf(drive),
                                 parameter, static_cast<int32_t>(size));
}

int32_t ClearLongCommands(ObjectId drive, uint16_t parameter) {
    DpmConfig config{};
    if (ReadConfig(drive, &config) != 0)
        return -1;
    const uint32_t count = config.longCommandCount();
    if (RefuseOversized(count) != 0)
        return -1;
    return WriteZeros(drive, parameter, count * DpmLongCommand::kSize);
}

}  // namespace

int32_t RhoskFamily::GetPerformanceMonitorState(ObjectId controller, uint8_t* state) {
    return ReadByte(controller, rhosk_tables::kDrivePerfTable, kMonitorState, state);
}

int32_t RhoskFamily::SetPerformanceMonitorState(ObjectId controller, uint8_t state) {
    return WriteValue(controller, rhosk_tables::kDrivePerfTable, kMonitorState, 1, state);
}

int32_t RhoskFamily::GetPerformanceMonitorConfig(ObjectId id, DpmConfig* config) {
    return GetParam(ControllerOf(id), config->bytes, DpmConfig::kSize,
                    rhosk_tables::kDrivePerfTable, kMonitorConfig, DpmConfig::kSize);
}

int32_t RhoskFamily::GetDriveRunningAverage(ObjectId drive, DpmStats* stats) {
    return ReadStats(drive, kLiveBlock, stats);
}

int32_t RhoskFamily::GetDriveRunningAverageOnDisk(ObjectId drive, DpmStats* stats) {
    return ReadStats(drive, kOnDiskBlock, stats);
}

int32_t RhoskFamily::GetDriveHistogram(ObjectId drive, DpmHistogram* histogram) {
    return ReadHistogram(drive, kLiveBlock, histogram);
}

int32_t RhoskFamily::GetDriveHistogramOnDisk(ObjectId drive, DpmHistogram* histogram) {
    return ReadHistogram(drive, kOnDiskBlock, histogram);
}

int32_t RhoskFamily::GetDriveLongCommandTimes(ObjectId drive, DpmLongCommand* records) {
    return ReadLongCommands(drive, kLiveLongCommands, records);
}

int32_t RhoskFamily::GetDriveLongCommandTimesOnDisk(ObjectId drive, DpmLongCommand* records) {
    return ReadLongCommands(drive, kOnDiskLongCommands, records);
}

int32_t RhoskFamily::GetDriveInstantStats(ObjectId drive, DpmStats* stats) {
    DpmConfig config{};
    if (ReadConfig(drive, &config) != 0)
        return -1;
    DpmStats result{};
    const uint32_t count = config.sampleCount();
    const uint32_t tick = config.tickNanoseconds();
    if (count == 0 || tick == 0) {
        *stats = result;
        return 0;
    }
    if (RefuseOversized(count) != 0)
        return -1;
    const uint32_t ticksPerSecond = 1000000000u / tick;
    std::vector<uint8_t> window(kDpmMaxRecords * kDpmCommandSampleSize, 0);
    if (GetParam(ControllerOf(drive), window.data(), static_cast<uint32_t>(window.size()),
                 StatsTableOf(drive), kSampleWindow,
                 static_cast<int32_t>(count * kDpmCommandSampleSize)) != 0) {
        return -1;
    }

    uint32_t valid = 0;
    uint32_t depthSum = 0;
    uint64_t sizeSum = 0;
    uint64_t elapsedSum = 0;
    uint32_t firstStart = 0xFFFFFFFFu;
    uint32_t lastEnd = 0;
    const uint8_t* b = window.data();
    const size_t n = window.size();
    for (uint32_t i = 0; i < count; ++i) {
        const size_t at = size_t{i} * kDpmCommandSampleSize;
        if ((bytes::GetU8(b, n, at) & 1) == 0)
            continue;
        const uint32_t start = bytes::GetU32(b, n, at + 12);
        const uint32_t end = bytes::GetU32(b, n, at + 16);
        ++valid;
        depthSum += bytes::GetU16(b, n, at + 6);
        sizeSum += bytes::GetU32(b, n, at + 8);
        firstStart = start < firstStart ? start : firstStart;
        lastEnd = end > lastEnd ? end : lastEnd;
        elapsedSum += TicksBetween(start, end);
    }
    const uint64_t interval = valid == 0 ? 0 : TicksBetween(firstStart, lastEnd);
    if (interval != 0) {
        result.queueDepth = depthSum / valid;
        result.iops = static_cast<uint32_t>((valid * ticksPerSecond) / interval);
        result.kbPerSecond = static_cast<uint32_t>(sizeSum * ticksPerSecond / interval / 1024);
        // A tick longer than a second leaves no whole tick per second: no
        // response time can be had from it.
        result.responseMs = ticksPerSecond == 0
                                ? 0
                                : static_cast<uint32_t>(elapsedSum * 1000 / valid / ticksPerSecond);
    }
    *stats = result;
    return 0;
}

int32_t RhoskFamily::GetDriveExtendedStats(ObjectId drive, DpmExtendedStats* stats) {
    uint32_t values[DpmExtendedStats::kCount] = {};
    for (uint16_t i = 0; i < DpmExtendedStats::kCount; ++i) {
        if (ReadInto(drive, StatsTableOf(drive), static_cast<uint16_t>(kFirstExtended + i), 4,
                     &values[i]) != 0) {
            return -1;
        }
    }
    *stats = DpmExtendedStats{values[0], values[1], values[2], values[3],
                              values[4], values[5], values[6]};
    return 0;
}

int32_t RhoskFamily::ClearDriveStats(ObjectId drive, uint32_t kind, uint32_t onDisk) {
    switch (kind) {
        case kDpmClearRunningAverage:
            if (onDisk > kDpmOnDisk)
                return 0;
            return WriteZeros(drive, onDisk == kDpmLive ? kLiveBlock : kOnDiskBlock,
                              kDpmStatsBlockSize);
        case kDpmClearLongCommands:
            if (onDisk > kDpmOnDisk)
                return 0;
            return ClearLongCommands(drive,
                                     onDisk == kDpmLive ? kLiveLongCommands : kOnDiskLongCommands);
        case kDpmClearExtended:
            for (uint16_t i = 0; i < DpmExtendedStats::kCount; ++i) {
                if (WriteValue(drive, StatsTableOf(drive),
                               static_cast<uint16_t>(kFirstExtended + i), 4, 0) != 0) {
                    return -1;
                }
            }
            return 0;
        default:
            return 0;
    }
}
