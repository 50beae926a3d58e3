// Codes of the newer controller family that its back end derives the
// library's public codes from: descriptor types that only the descriptor
// table knows, task and schedule bytes, and the library's API error codes
// that the unit, drive and settings operations record.
#pragma once

#include <cstdint>

// Status of a RAID-6 unit's RAID-6 element and of its first extension
// element (each 17 when that descriptor is not of the expected type).
struct Raid6UnitState {
    uint8_t unitStatus;
    uint8_t extensionStatus;
};

// One slot of the controller's weekly timetable of background tasks. A
// start counts minutes from Sunday 00:00, a duration minutes.
struct ScheduleSlot {
    uint16_t selftestStart;
    uint16_t rebuildStart;
    uint16_t rebuildDuration;
    uint16_t verifyStart;
    uint16_t verifyDuration;
};
static_assert(sizeof(ScheduleSlot) == 10, "a schedule slot is 10 bytes");

// The seven schedule slots, slot 0 first.
struct WeeklySchedule {
    ScheduleSlot slots[7];
};
static_assert(sizeof(WeeklySchedule) == 70, "the weekly schedule is 70 bytes");

// The controller's pending-I/O counters: its own count and one per port.
struct IoStatTable {
    uint16_t controllerCount;
    uint16_t portCounts[256];
};
static_assert(sizeof(IoStatTable) == 514, "the I/O statistics record is 514 bytes");

namespace rhosk {

// Unit descriptor types beyond the public UnitType values.
constexpr uint8_t kDescriptorExtension = 0x30;  // extension element of a RAID-6 unit
constexpr uint8_t kDescriptorEnd = 0xFF;        // end of the descriptor table

// The API errors (library message table) that these operations record.
enum ApiCode : uint32_t {
    kApiFeatureNotSupported = 2,
    kApiMemoryAllocation = 7,
    kApiRetrievingDescriptor = 13,  // the controller's descriptor table does not fit
    kApiPercentFailed = 17,
    kApiCapacityFailed = 22,
    kApiUnitIdFailed = 34,
    kApiInvalidTaskRate = 45,
    kApiPercentInvalidConfig = 55,
    kApiInvalidSpinups = 57,
    kApiInvalidStaggerTime = 58,
    kApiInvalidStripeForUnit = 60,
    kApiPortEmpty = 62,
    kApiNoUnit = 63,
    kApiInitInfoFailed = 76,
    kApiInitInfoInvalidConfig = 77,
    kApiTaskInfoFailed = 78,
    kApiTaskInfoInvalidConfig = 79,
    kApiEccPolicyInvalidConfig = 82,
    kApiInvalidLunId = 108,
    kApiNotRebuilding = 112,
    kApiInvalidArgument = 122,
};

// Background task rates 1-5 as the controller stores them: 270 - 50 x rate.
constexpr uint32_t kMinTaskRate = 1;
constexpr uint32_t kMaxTaskRate = 5;
constexpr uint8_t TaskRateByte(uint32_t rate) {
    return static_cast<uint8_t>(270 - 50 * rate);
}
// The rate of a stored byte, by unsigned integer division: 220 -> 1, 20 -> 5,
// 0 -> 5, 255 -> 0.
constexpr uint32_t TaskRateOfByte(uint8_t value) {
    return (270u - value) / 50u;
}

// Task mode bytes: 0 adaptive, 1 low latency, 2 low latency at rate 1.
constexpr uint8_t kModeAdaptive = 0;
constexpr uint8_t kModeLowLatency = 1;
constexpr uint8_t kModeLowLatencyRate1 = 2;

// Schedule states the enable and disable operations store.
constexpr uint8_t kScheduleEnabled = 1;
constexpr uint8_t kScheduleDisabled = 2;

// Ports 0-127 and units 0-31 of a controller.
constexpr uint16_t kPortSlots = 128;
constexpr uint16_t kUnitSlots = 32;

// Schedule slots 0-6 of the weekly timetable.
constexpr uint16_t kScheduleSlots = 7;

}  // namespace rhosk
