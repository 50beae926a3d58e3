// The dispatcher entries of the controller settings that do more than
// follow their route: AV mode, the schedule switches and the background
// task rates.
#include "api/api.h"
#include "api/api_error.h"
#include "api/dispatch.h"
#include "api/prane/prane_family.h"
#include "api/rhosk/rhosk_codes.h"
#include "api/rhosk/rhosk_family.h"

namespace Dispatch {
namespace {

// A rate through the families' unsigned form; the older family keeps one
// rate for rebuild and verify.
template <typename Get>
int32_t GetRate(ObjectId id, int32_t* rate, Get get) {
    auto through = [&](auto read) {
        uint32_t value = 0;
        if (read(&value) != 0)
            return -1;
        *rate = static_cast<int32_t>(value);
        return 0;
    };
    return Follow(
        Paths::Both, id,
        [&] { return through([&](uint32_t* v) { return PraneFamily::GetRebuildRate(id, v); }); },
        [&] { return through(get); });
}

// A rate to set: a negative rate is out of range like any other.
template <typename Set>
int32_t SetRate(ObjectId id, const int32_t* rate, Set set) {
    const uint32_t value = *rate < 0 ? 0 : static_cast<uint32_t>(*rate);
    return Follow(
        Paths::Both, id, [&] { return PraneFamily::SetRebuildRate(id, &value); },
        [&] { return set(&value); });
}

// Controller error "Parameter index does not exist".
constexpr uint32_t kParameterIndexMissing = 0x10C;

}  // namespace

int32_t EnableAvMode(ObjectId id) {
    return FollowNewer(Paths::Newer, id, [&] {
        const uint8_t on = 1;
        if (RhoskFamily::SetAvMode(id, &on) != 0)
            return -1;
        if (RhoskFamily::SetLbaReordering(id, 0) == 0)
            return 0;
        // Firmware without LBA reordering has nothing to turn off.
        ApiErrorRecord record;
        (void)Api::GetLastErrorRecord(&record);
        if ((record.flags & kApiErrorController) != 0 &&
            record.controllerCode == kParameterIndexMissing) {
            ApiError::Clear();
            return 0;
        }
        return -1;
    });
}

int32_t DisableAvMode(ObjectId id) {
    return FollowNewer(Paths::Newer, id, [&] {
        const uint8_t off = 0;
        return RhoskFamily::SetAvMode(id, &off);
    });
}

int32_t DisableRebuildSchedule(ObjectId id) {
    return FollowNewer(Paths::Newer, id, [&] {
        return RhoskFamily::DisableRebuildSchedule(id, rhosk::kScheduleDisabled);
    });
}

int32_t DisableVerifySchedule(ObjectId id) {
    return FollowNewer(Paths::Newer, id, [&] {
        return RhoskFamily::DisableVerifySchedule(id, rhosk::kScheduleDisabled);
    });
}

int32_t GetRebuildRate(ObjectId id, int32_t* rate) {
    return GetRate(id, rate, [&](uint32_t* v) { return RhoskFamily::GetRebuildRate(id, v); });
}

int32_t GetVerifyRate(ObjectId id, int32_t* rate) {
    return GetRate(id, rate, [&](uint32_t* v) { return RhoskFamily::GetVerifyRate(id, v); });
}

int32_t SetRebuildRate(ObjectId id, const int32_t* rate) {
    return SetRate(id, rate, [&](const uint32_t* v) { return RhoskFamily::SetRebuildRate(id, v); });
}

int32_t SetVerifyRate(ObjectId id, const int32_t* rate) {
    return SetRate(id, rate, [&](const uint32_t* v) { return RhoskFamily::SetVerifyRate(id, v); });
}

}  // namespace Dispatch
