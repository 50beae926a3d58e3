// The newer family's background tasks: rebuild and verify rates and modes,
// the drive self-test flags, the schedule states and the seven weekly
// schedule slots.
#include <cstring>

#include "api/api.h"
#include "api/api_error.h"
#include "api/rhosk/param_tables.h"
#include "api/rhosk/rhosk_codes.h"
#include "api/rhosk/rhosk_family.h"
#include "api/rhosk/rhosk_params.h"

using namespace rhosk;
using namespace rhosk_tables;

namespace {

// The parameters of one background task in the BackgroundTaskTable.
struct TaskParams {
    uint16_t schedule;
    uint16_t rate;
    uint16_t mode;
};
constexpr TaskParams kRebuild{3, 5, 13};
constexpr TaskParams kVerify{4, 6, 14};

// The level from which changing a rate keeps a low-latency mode in step.
constexpr uint32_t kModeFollowsRateLevel = 37;

// The ScheduleSlotTable parameters of a slot.
constexpr uint16_t kSelftestSlotParam = 2;
constexpr uint16_t kRebuildSlotParam = 3;
constexpr uint16_t kVerifySlotParam = 4;

int32_t GetRate(ObjectId id, const TaskParams& task, uint32_t* rate) {
    uint8_t value = 0;
    if (ReadInto(id, kBackgroundTaskTable, task.rate, 1, &value) != 0)
        return -1;
    *rate = TaskRateOfByte(value);
    return 0;
}

int32_t SetRate(ObjectId id, const TaskParams& task, const uint32_t* rate) {
    if (*rate < kMinTaskRate || *rate > kMaxTaskRate)
        return ApiError::Fail(kApiInvalidTaskRate);
    if (WriteValue(id, kBackgroundTaskTable, task.rate, 1, TaskRateByte(*rate)) != 0)
        return -1;
    // A level that cannot be read counts as 30.
    const uint32_t level = RhoskFamily::FirmwareCompatLevelOr(ControllerOf(id), 30);
    if (level < kModeFollowsRateLevel)
        return 0;
    uint8_t mode = 0;
    if (ReadInto(id, kBackgroundTaskTable, task.mode, 1, &mode) != 0)
        return -1;
    if (mode != kModeLowLatency && mode != kModeLowLatencyRate1)
        return 0;  // adaptive stays
    const uint8_t wanted = *rate == kMinTaskRate ? kModeLowLatencyRate1 : kModeLowLatency;
    if (mode == wanted)
        return 0;
    return WriteValue(id, kBackgroundTaskTable, task.mode, 1, wanted);
}

int32_t GetMode(ObjectId id, const TaskParams& task, uint8_t* mode) {
    uint8_t value = 0;
    if (ReadInto(id, kBackgroundTaskTable, task.mode, 1, &value) != 0)
        return -1;
    *mode = value != 0 ? kModeLowLatency : kModeAdaptive;
    return 0;
}

int32_t SetMode(ObjectId id, const TaskParams& task, uint8_t mode) {
    // Only the two modes of the library reach the controller.
    if (mode != kModeAdaptive && mode != kModeLowLatency) {
        return ApiError::Fail(kApiInvalidArgument);
    }
    if (mode == kModeAdaptive)
        return WriteValue(id, kBackgroundTaskTable, task.mode, 1, 0);
    uint8_t rate = 0;
    if (ReadInto(id, kBackgroundTaskTable, task.rate, 1, &rate) != 0)
        return -1;
    const uint8_t value =
        rate == TaskRateByte(kMinTaskRate) ? kModeLowLatencyRate1 : kModeLowLatency;
    return WriteValue(id, kBackgroundTaskTable, task.mode, 1, value);
}

// A schedule slot index is 0 to 6.
bool ValidSlot(uint16_t slot) {
    return slot < kScheduleSlots;
}

int32_t GetSlotPair(ObjectId id, uint16_t slot, uint16_t parameter, uint16_t* first,
                    uint16_t* second) {
    if (!ValidSlot(slot))
        return ApiError::Fail(kApiInvalidArgument);
    uint32_t value = 0;
    if (ReadInto(id, ScheduleSlotTable(static_cast<uint8_t>(slot)), parameter, 4, &value) != 0) {
        return -1;
    }
    *first = static_cast<uint16_t>(value);
    if (second != nullptr)
        *second = static_cast<uint16_t>(value >> 16);
    return 0;
}

int32_t SetSlotPair(ObjectId id, uint16_t slot, uint16_t parameter, uint16_t first,
                    uint16_t second) {
    if (!ValidSlot(slot))
        return ApiError::Fail(kApiInvalidArgument);
    return WriteValue(id, ScheduleSlotTable(static_cast<uint8_t>(slot)), parameter, 4,
                      first | (uint32_t{second} << 16));
}

}  // namespace

int32_t RhoskFamily::GetRebuildRate(ObjectId id, uint32_t* rate) {
    return GetRate(id, kRebuild, rate);
}
int32_t RhoskFamily::GetVerifyRate(ObjectId id, uint32_t* rate) {
    return GetRate(id, kVerify, rate);
}
int32_t RhoskFamily::SetRebuildRate(ObjectId id, const uint32_t* rate) {
    return SetRate(id, kRebuild, rate);
}
int32_t RhoskFamily::SetVerifyRate(ObjectId id, const uint32_t* rate) {
    return SetRate(id, kVerify, rate);
}
int32_t RhoskFamily::GetRebuildMode(ObjectId id, uint8_t* mode) {
    return GetMode(id, kRebuild, mode);
}
int32_t RhoskFamily::GetVerifyMode(ObjectId id, uint8_t* mode) {
    return GetMode(id, kVerify, mode);
}
int32_t RhoskFamily::SetRebuildMode(ObjectId id, uint8_t mode) {
    return SetMode(id, kRebuild, mode);
}
int32_t RhoskFamily::SetVerifyMode(ObjectId id, uint8_t mode) {
    return SetMode(id, kVerify, mode);
}

int32_t RhoskFamily::GetSelftestFlags(ObjectId id, uint16_t* flags) {
    return ReadInto(id, kBackgroundTaskTable, 9, 2, flags);
}
int32_t RhoskFamily::SetSelftestFlags(ObjectId id, const uint16_t* flags) {
    return WriteValue(id, kBackgroundTaskTable, 9, 2, *flags);
}
int32_t RhoskFamily::GetBasicVerifyPreferredStart(ObjectId id, uint16_t* start) {
    return ReadInto(id, kBackgroundTaskTable, 11, 2, start);
}
int32_t RhoskFamily::SetBasicVerifyPreferredStart(ObjectId id, uint16_t start) {
    return WriteValue(id, kBackgroundTaskTable, 11, 2, start);
}
int32_t RhoskFamily::GetRebuildScheduleState(ObjectId id, uint8_t* state) {
    return ReadInto(id, kBackgroundTaskTable, kRebuild.schedule, 1, state);
}
int32_t RhoskFamily::GetVerifyScheduleState(ObjectId id, uint8_t* state) {
    return ReadInto(id, kBackgroundTaskTable, kVerify.schedule, 1, state);
}
int32_t RhoskFamily::EnableRebuildSchedule(ObjectId id) {
    return WriteValue(id, kBackgroundTaskTable, kRebuild.schedule, 1, kScheduleEnabled);
}
int32_t RhoskFamily::EnableVerifySchedule(ObjectId id) {
    return WriteValue(id, kBackgroundTaskTable, kVerify.schedule, 1, kScheduleEnabled);
}
int32_t RhoskFamily::DisableRebuildSchedule(ObjectId id, uint8_t state) {
    return WriteValue(id, kBackgroundTaskTable, kRebuild.schedule, 1, state);
}
int32_t RhoskFamily::DisableVerifySchedule(ObjectId id, uint8_t state) {
    return WriteValue(id, kBackgroundTaskTable, kVerify.schedule, 1, state);
}

int32_t RhoskFamily::GetRebuildTask(ObjectId id, uint16_t slot, uint16_t* start,
                                    uint16_t* duration) {
    return GetSlotPair(id, slot, kRebuildSlotParam, start, duration);
}
int32_t RhoskFamily::GetVerifyTask(ObjectId id, uint16_t slot, uint16_t* start,
                                   uint16_t* duration) {
    return GetSlotPair(id, slot, kVerifySlotParam, start, duration);
}
int32_t RhoskFamily::GetSelftestTask(ObjectId id, uint16_t slot, uint16_t* start) {
    if (!ValidSlot(slot))
        return ApiError::Fail(kApiInvalidArgument);
    return ReadInto(id, ScheduleSlotTable(static_cast<uint8_t>(slot)), kSelftestSlotParam, 2,
                    start);
}
int32_t RhoskFamily::SetRebuildTask(ObjectId id, uint16_t slot, uint16_t start, uint16_t duration) {
    return SetSlotPair(id, slot, kRebuildSlotParam, start, duration);
}
int32_t RhoskFamily::SetVerifyTask(ObjectId id, uint16_t slot, uint16_t start, uint16_t duration) {
    return SetSlotPair(id, slot, kVerifySlotParam, start, duration);
}
int32_t RhoskFamily::SetSelftestTask(ObjectId id, uint16_t slot, uint16_t start) {
    if (!ValidSlot(slot))
        return ApiError::Fail(kApiInvalidArgument);
    return WriteValue(id, ScheduleSlotTable(static_cast<uint8_t>(slot)), kSelftestSlotParam, 2,
                      start);
}

int32_t RhoskFamily::GetTaskSchedule(ObjectId id, WeeklySchedule* schedule) {
    WeeklySchedule local{};
    for (uint16_t slot = 0; slot < kScheduleSlots; ++slot) {
        ScheduleSlot& s = local.slots[slot];
        if (GetSelftestTask(id, slot, &s.selftestStart) != 0 ||
            GetRebuildTask(id, slot, &s.rebuildStart, &s.rebuildDuration) != 0 ||
            GetVerifyTask(id, slot, &s.verifyStart, &s.verifyDuration) != 0) {
            return -1;  // the caller's table is not written
        }
    }
    *schedule = local;
    return 0;
}
