// The records of a drive's SMART data and of the drive performance monitor
// as the library hands them to its callers. The back end decodes the
// controller's little-endian parameter bytes into these; nothing here is
// laid over memory a controller filled.
#pragma once

#include <cstddef>
#include <cstdint>

#include "api/bytes.h"

// The 512-byte sector a drive returns for ATA SMART READ DATA, unchanged.
constexpr size_t kSmartDataSize = 512;

// The monitor's configuration (DrivePerfTable parameter 5), kept as the
// controller's 28 bytes; the accessors read the fields the tool uses.
struct DpmConfig {
    static constexpr size_t kSize = 28;
    uint8_t bytes[kSize];

    uint8_t version() const { return bytes::GetU8(bytes, kSize, 0); }
    uint16_t capability() const { return bytes::GetU16(bytes, kSize, 2); }
    // DpmCommandSample entries in the sample window.
    uint16_t sampleCount() const { return bytes::GetU16(bytes, kSize, 12); }
    // DpmLongCommand records in each long-command list.
    uint16_t longCommandCount() const { return bytes::GetU16(bytes, kSize, 14); }
    // Length of one tick of the sample time stamps, in nanoseconds.
    uint32_t tickNanoseconds() const { return bytes::GetU32(bytes, kSize, 16); }
};
static_assert(sizeof(DpmConfig) == DpmConfig::kSize, "DpmConfig is 28 bytes");

// Running-average or instantaneous statistics of one drive.
struct DpmStats {
    static constexpr size_t kSize = 16;
    uint32_t iops;
    uint32_t kbPerSecond;
    uint32_t responseMs;
    uint32_t queueDepth;
};

// The response-time histogram: 38 bins, the last above 10000 ms.
struct DpmHistogram {
    static constexpr size_t kBins = 38;
    static constexpr size_t kSize = kBins * 4;
    uint32_t counts[kBins];
};

// One of the slowest commands of a drive, kept as the controller's 40
// bytes.
struct DpmLongCommand {
    static constexpr size_t kSize = 40;
    static constexpr size_t kCdbSize = 16;
    uint8_t bytes[kSize];

    uint32_t startTick() const { return bytes::GetU32(bytes, kSize, 12); }
    uint32_t endTick() const { return bytes::GetU32(bytes, kSize, 16); }
    // Seconds since 1970-01-01 00:00 UTC; 0 = none.
    uint32_t timeStamp() const { return bytes::GetU32(bytes, kSize, 20); }
    const uint8_t* cdb() const { return bytes + 24; }
};
static_assert(sizeof(DpmLongCommand) == DpmLongCommand::kSize, "DpmLongCommand is 40 bytes");

// The statistics block of DriveStatsTable parameters 3 and 4: the running
// averages, then the histogram.
constexpr size_t kDpmStatsBlockSize = DpmStats::kSize + DpmHistogram::kSize;  // 168
// One DpmCommandSample of the sample window (parameter 2).
constexpr size_t kDpmCommandSampleSize = 24;
// The most records a sample window or long-command list may announce: the
// buffers of the tool hold this many, and a larger count is refused.
constexpr size_t kDpmMaxRecords = 1000;

// The seven extended counters, in parameter order (7 to 13).
struct DpmExtendedStats {
    static constexpr size_t kCount = 7;
    uint32_t sectorsRead;
    uint32_t sectorsWritten;
    uint32_t sectorsWrittenFua;
    uint32_t readCommands;
    uint32_t writeCommands;
    uint32_t writeCommandsFua;
    uint32_t flushCommands;
};

// Statistics sources and the kinds a clear takes.
enum DpmSource : uint32_t { kDpmLive = 0, kDpmOnDisk = 1 };
enum DpmClearKind : uint32_t {
    kDpmClearRunningAverage = 0,  // with the histogram
    kDpmClearLongCommands = 1,
    kDpmClearExtended = 2,
};
