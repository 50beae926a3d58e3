// The newer family's accessors, rates, modes and schedules through the
// public operations, against a fake controller that answers parameters
// from a map and records every access.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>

#include "api/api.h"
#include "api/api_error.h"
#include "api/rhosk/rhosk_codes.h"
#include "rhosk_query_fake.h"

namespace rhosk_query_settings_test {
namespace {

using Access = RhoskQueryFirmware::Access;

// One accessor: the families its route serves, the parameter it must read
// and what it must make of the stored value.
struct AccessorCase {
    const char* name;
    std::vector<int> families;
    uint32_t level;
    uint16_t table, parameter, size;
    std::vector<uint8_t> stored;
    std::function<int(ObjectId, int64_t*)> call;
    int64_t expected;
};

std::vector<AccessorCase> Cases() {
    ObjectId drive = ObjectId::Blank();
    drive[0] = kKindDrive;
    drive[1] = 0;
    drive[2] = 5;
    auto u8 = [](auto op) {
        return [op](ObjectId id, int64_t* out) {
            uint8_t v = 0;
            int r = op(id, &v);
            *out = v;
            return r;
        };
    };
    auto u32 = [](auto op) {
        return [op](ObjectId id, int64_t* out) {
            uint32_t v = 0;
            int r = op(id, &v);
            *out = v;
            return r;
        };
    };
    return {
        {"ports", {4, 6, 7, 8}, 30, 0x403, 3, 1, {8}, u32(Api::GetNumPorts), 8},
        {"coercion 2.5e9 reads 2",
         {4, 6, 7, 8},
         30,
         0x403,
         21,
         8,
         {0x00, 0xF9, 0x02, 0x95, 0, 0, 0, 0},
         u32(Api::GetDriveCoercionFactor),
         2},
        {"on-degrade family 4 only", {4}, 30, 0x403, 18, 1, {1}, u8(Api::GetOnDegradePolicy), 1},
        {"mode page control from 6",
         {6, 7, 8},
         30,
         0x403,
         52,
         1,
         {1},
         u8(Api::GetModePageControl),
         1},
        {"rebuild mode needs level 37", {7, 8}, 37, 0x840C, 13, 1, {2}, u8(Api::GetRebuildMode), 1},
        {"verify rate byte 220 is rate 1",
         {4, 6, 7, 8},
         30,
         0x840C,
         6,
         1,
         {220},
         [](ObjectId id, int64_t* out) {
             int32_t v = 0;
             int r = Api::GetVerifyRate(id, &v);
             *out = v;
             return r;
         },
         1},
        {"drive temperature is signed",
         {6, 7, 8},
         30,
         0x205,
         22,
         2,
         {0xFB, 0xFF},
         [drive](ObjectId, int64_t* out) {
             int32_t v = 0;
             int r = Api::GetDriveTemperature(drive, &v);
             *out = v;
             return r;
         },
         -5},
        {"drive capacity below level 33",
         {4, 6, 7, 8},
         32,
         0x205,
         2,
         4,
         {0x10, 0, 0, 0},
         [drive](ObjectId, int64_t* out) {
             uint64_t v = 0;
             int r = Api::GetDriveCapacity(drive, &v);
             *out = static_cast<int64_t>(v);
             return r;
         },
         16},
        {"drive capacity from level 33",
         {4, 6, 7, 8},
         33,
         0x205,
         23,
         8,
         {0, 1, 0, 0, 0, 0, 0, 0},
         [drive](ObjectId, int64_t* out) {
             uint64_t v = 0;
             int r = Api::GetDriveCapacity(drive, &v);
             *out = static_cast<int64_t>(v);
             return r;
         },
         256},
        {"drive link speed from 6",
         {6, 7, 8},
         30,
         0x205,
         18,
         1,
         {2},
         [drive](ObjectId, int64_t* out) {
             uint8_t v = 0;
             int r = Api::GetDriveLinkSpeed(drive, &v);
             *out = v;
             return r;
         },
         2},
    };
}

TEST(RhoskQueryAccessorTest, EachAccessorReadsItsParameterWhereItsRouteServes) {
    for (const AccessorCase& c : Cases()) {
        for (int family : {4, 6, 7, 8}) {
            RhoskQueryFirmware fw(family, c.level);
            fw.put(c.table, c.parameter, c.stored);
            ApiError::Clear();
            int64_t out = 0;
            int r = c.call(fw.controller(), &out);
            bool served =
                std::find(c.families.begin(), c.families.end(), family) != c.families.end();
            SCOPED_TRACE(std::string(c.name) + " family " + std::to_string(family));
            if (!served) {
                EXPECT_EQ(r, -1);
                EXPECT_EQ(ApiError::GetApiCode(), 2u);
                continue;
            }
            ASSERT_EQ(r, 0);
            EXPECT_EQ(out, c.expected);
            ASSERT_FALSE(fw.accesses.empty());
            const Access& last = fw.accesses.back();
            EXPECT_FALSE(last.set);
            EXPECT_EQ(last.table, c.table | 0x8000);
            EXPECT_EQ(last.parameter, c.parameter);
            EXPECT_EQ(last.size, c.size);
        }
    }
}

TEST(RhoskQueryAccessorTest, RangeChecksRefuseBeforeAnyWrite) {
    RhoskQueryFirmware fw(6, 37);
    fw.putValue(0x403, 3, 8, 1);
    auto writes = [&fw] {
        int n = 0;
        for (const Access& a : fw.accesses)
            n += a.set ? 1 : 0;
        return n;
    };
    struct Case {
        const char* name;
        std::function<int()> call;
        uint32_t api;
    } cases[] = {
        {"stagger 61", [&] { return Api::SetStaggerTime(fw.controller(), 61); }, 58},
        {"stagger -1", [&] { return Api::SetStaggerTime(fw.controller(), -1); }, 58},
        {"spinups 0", [&] { return Api::SetNumberSpinupsAllowed(fw.controller(), 0); }, 57},
        {"spinups above ports", [&] { return Api::SetNumberSpinupsAllowed(fw.controller(), 9); },
         57},
        {"rate 0",
         [&] {
             int32_t r = 0;
             return Api::SetRebuildRate(fw.controller(), &r);
         },
         45},
        {"rate 6",
         [&] {
             int32_t r = 6;
             return Api::SetVerifyRate(fw.controller(), &r);
         },
         45},
        {"coercion 0", [&] { return Api::SetDriveCoercionFactor(fw.controller(), 0); }, 122},
        {"coercion 101", [&] { return Api::SetDriveCoercionFactor(fw.controller(), 101); }, 122},
        {"schedule slot 7", [&] { return Api::SetRebuildTask(fw.controller(), 7, 0, 60); }, 122},
    };
    for (const Case& c : cases) {
        fw.accesses.clear();
        EXPECT_EQ(c.call(), -1) << c.name;
        EXPECT_EQ(ApiError::GetApiCode(), c.api) << c.name;
        EXPECT_EQ(writes(), 0) << c.name;
    }
    EXPECT_EQ(Api::SetStaggerTime(fw.controller(), 60), 0);
    EXPECT_EQ(fw.value(0x403, 8), 60u);
    EXPECT_EQ(Api::SetNumberSpinupsAllowed(fw.controller(), 8), 0);
}

TEST(RhoskQueryTaskTest, RateChangesKeepALowLatencyModeInStep) {
    struct Case {
        uint32_t level;
        uint8_t mode;
        int32_t rate;
        uint8_t rateByte;
        uint8_t modeAfter;
    } cases[] = {
        {37, 1, 1, 220, 2},  // rate 1 with low latency stores mode 2
        {37, 2, 3, 120, 1},  // leaving rate 1 turns it back to 1
        {37, 0, 1, 220, 0},  // adaptive is never changed
        {36, 1, 1, 220, 1},  // below level 37 only the rate is written
        {37, 1, 5, 20, 1},
    };
    for (const Case& c : cases) {
        RhoskQueryFirmware fw(8, c.level);
        fw.putValue(0x840C, 13, c.mode, 1);
        ASSERT_EQ(Api::SetRebuildRate(fw.controller(), &c.rate), 0);
        EXPECT_EQ(fw.value(0x840C, 5), c.rateByte);
        EXPECT_EQ(fw.value(0x840C, 13), c.modeAfter);
    }
}

TEST(RhoskQueryTaskTest, ModeOneFollowsTheRateAndOtherModesAreRefused) {
    RhoskQueryFirmware fw(8, 37);
    fw.putValue(0x840C, 6, 220, 1);
    ASSERT_EQ(Api::SetVerifyMode(fw.controller(), 1), 0);
    EXPECT_EQ(fw.value(0x840C, 14), 2u);
    fw.putValue(0x840C, 6, 70, 1);
    ASSERT_EQ(Api::SetVerifyMode(fw.controller(), 1), 0);
    EXPECT_EQ(fw.value(0x840C, 14), 1u);
    ASSERT_EQ(Api::SetVerifyMode(fw.controller(), 0), 0);
    EXPECT_EQ(fw.value(0x840C, 14), 0u);
    EXPECT_EQ(Api::SetVerifyMode(fw.controller(), 3), -1);
    EXPECT_EQ(fw.value(0x840C, 14), 0u);
    uint8_t mode = 9;
    fw.putValue(0x840C, 14, 2, 1);
    ASSERT_EQ(Api::GetVerifyMode(fw.controller(), &mode), 0);
    EXPECT_EQ(mode, 1);
}

TEST(RhoskQueryTaskTest, WeeklyScheduleReadsEverySlotOrNothing) {
    RhoskQueryFirmware fw(6, 30);
    for (uint16_t slot = 0; slot < 7; ++slot) {
        fw.putValue(0x8410 + slot, 2, 100 + slot, 2);
        fw.putValue(0x8410 + slot, 3, (60u << 16) | (200u + slot), 4);
        if (slot != 3)
            fw.putValue(0x8410 + slot, 4, (30u << 16) | (300u + slot), 4);
    }
    WeeklySchedule schedule{};
    schedule.slots[0].selftestStart = 0xBEEF;
    EXPECT_EQ(Api::GetTaskSchedule(fw.controller(), &schedule), -1);
    EXPECT_EQ(schedule.slots[0].selftestStart, 0xBEEF);  // untouched
    fw.putValue(0x8413, 4, (30u << 16) | 303u, 4);
    ASSERT_EQ(Api::GetTaskSchedule(fw.controller(), &schedule), 0);
    EXPECT_EQ(schedule.slots[6].selftestStart, 106);
    EXPECT_EQ(schedule.slots[6].rebuildStart, 206);
    EXPECT_EQ(schedule.slots[6].rebuildDuration, 60);
    EXPECT_EQ(schedule.slots[3].verifyStart, 303);
    EXPECT_EQ(schedule.slots[3].verifyDuration, 30);

    ASSERT_EQ(Api::SetVerifyTask(fw.controller(), 6, 1440, 90), 0);
    EXPECT_EQ(fw.value(0x8416, 4), (90u << 16) | 1440u);
    ASSERT_EQ(Api::DisableVerifySchedule(fw.controller()), 0);
    EXPECT_EQ(fw.value(0x840C, 4), 2u);
}

TEST(RhoskQueryUnitTest, WriteCacheChangeHoldsTheLockAndReleasesIt) {
    RhoskQueryFirmware fw(6, 37);
    ObjectId unit;
    ASSERT_EQ(Api::MakeUnitId(0, 0xFF, 1, 0xFF, 0xFF, &unit), 0);
    fw.putValue(0x0003, 3, 0, 32);
    fw.get(0x0003, 3)[1] = 1;
    fw.putValue(0x301, 13, 0x01, 1);
    fw.putValue(0x301, 9, 3, 2);
    fw.putValue(0x301, 10, 20, 1);
    std::vector<uint8_t> descs(60, 0);
    descs[0] = 2;  // RAID-1 over ports 0 and 1
    descs[1] = 2;
    descs[21] = 12;
    descs[41] = 12;
    descs[43] = 1;
    fw.put(0x301, 11, descs);
    ASSERT_EQ(Api::EnableWriteCache(unit), 0);
    EXPECT_EQ(fw.value(0x301, 13), 0x05u);
    EXPECT_EQ(fw.locks, 1);
    EXPECT_EQ(fw.unlocks, 1);
    uint8_t on = 0;
    ASSERT_EQ(Api::GetUnitWriteCache(unit, &on), 0);
    EXPECT_EQ(on, 1);

    // A failing write releases the lock too.
    fw.remove(0x301, 13);
    EXPECT_EQ(Api::DisableWriteCache(unit), -1);
    EXPECT_EQ(fw.locks, 2);
    EXPECT_EQ(fw.unlocks, 2);
}

}  // namespace
}  // namespace rhosk_query_settings_test
