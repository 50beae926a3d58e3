// Background task rates, modes and schedule slots, and the unit cache
// changes, through the library over the emulated host: what the
// controller keeps afterwards, the management lock around the cache
// changes (and its refusal when another holder has it), and the registry
// value Windows keeps for the unit's first disk.
#include <cstring>
#include <string>
#include <vector>

#include "api/api.h"
#include "api/rhosk/rhosk_codes.h"
#include "api/rhosk/rhosk_family.h"
#include "rhosk_emulated_host.h"

namespace rhosk_emulated::rhosk_emulated_settings_test {
namespace {

TEST_F(RhoskEmulatedTest, RateChangesKeepTheLowLatencyModeInStepFromLevel37) {
    struct Case {
        const char* what;
        bool verify;  // else rebuild
        int level;
        int modeBefore;
        int32_t rate;
        int result;
        int rateAfter;
        int modeAfter;
        size_t writes;
    } cases[] = {
        {"rate 1 at low latency stores mode 2", false, 37, 1, 1, 0, 1, 2, 2},
        {"rate 3 turns mode 2 back into 1", true, 37, 2, 3, 0, 3, 1, 2},
        {"an unchanged mode is not written", false, 37, 1, 4, 0, 4, 1, 1},
        {"adaptive stays adaptive", true, 37, 0, 1, 0, 1, 0, 1},
        {"below level 37 only the rate is written", false, 36, 1, 1, 0, 1, 1, 1},
        {"rate 0 is refused before any write", true, 37, 1, 0, -1, 3, 1, 0},
        {"rate 6 is refused before any write", false, 37, 1, 6, -1, 3, 1, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ResetLibrary();
        const char* rateKey = c.verify ? "verify_rate" : "rebuild_rate";
        const char* modeKey = c.verify ? "verify_mode" : "rebuild_mode";
        emulator::EmulatedHost& host = Start(json::array(
            {FamilyController(8, c.level, {{"tasks", {{rateKey, 3}, {modeKey, c.modeBefore}}}})}));
        const ObjectId ctl = integration::ControllerId(0);
        const int result =
            c.verify ? Api::SetVerifyRate(ctl, &c.rate) : Api::SetRebuildRate(ctl, &c.rate);
        EXPECT_EQ(result, c.result) << LastMessage();
        if (c.result != 0) {
            EXPECT_EQ(LastApiCode(), static_cast<uint32_t>(rhosk::kApiInvalidTaskRate));
        }
        const json& tasks = HostController(host)["tasks"];
        EXPECT_EQ(tasks.value(rateKey, 0), c.rateAfter);
        EXPECT_EQ(tasks.value(modeKey, -1), c.modeAfter);
        size_t writes = 0;
        for (const Access& a : ParamTraffic())
            writes += a.opcode == kSet;
        EXPECT_EQ(writes, c.writes);

        // The rate reads back as it was set; any nonzero mode byte reads
        // as low latency.
        int32_t rate = 0;
        ASSERT_EQ(c.verify ? Api::GetVerifyRate(ctl, &rate) : Api::GetRebuildRate(ctl, &rate), 0);
        EXPECT_EQ(rate, c.rateAfter);
        uint8_t mode = 9;
        ASSERT_EQ(c.verify ? Api::GetVerifyMode(ctl, &mode) : Api::GetRebuildMode(ctl, &mode),
                  c.level >= 37 ? 0 : -1);
        if (c.level >= 37) {
            EXPECT_EQ(mode, c.modeAfter != 0 ? 1 : 0);
        }
    }
}

TEST_F(RhoskEmulatedTest, LowLatencyModeFollowsTheStoredRate) {
    struct Case {
        int rate;
        uint8_t mode;
        int stored;
    } cases[] = {{1, 1, 2}, {3, 1, 1}, {5, 1, 1}, {1, 0, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE("rate " + std::to_string(c.rate) + " mode " + std::to_string(c.mode));
        ResetLibrary();
        emulator::EmulatedHost& host = Start(json::array({FamilyController(
            7, 37, {{"tasks", {{"rebuild_rate", c.rate}, {"verify_rate", c.rate}}}})}));
        const ObjectId ctl = integration::ControllerId(0);
        ASSERT_EQ(Api::SetRebuildMode(ctl, c.mode), 0) << LastMessage();
        ASSERT_EQ(Api::SetVerifyMode(ctl, c.mode), 0) << LastMessage();
        EXPECT_EQ(HostController(host)["tasks"].value("rebuild_mode", -1), c.stored);
        EXPECT_EQ(HostController(host)["tasks"].value("verify_mode", -1), c.stored);
    }
}

TEST_F(RhoskEmulatedTest, ScheduleSlotsAreWrittenAndReadWhole) {
    emulator::EmulatedHost& host = Start(json::array({FamilyController(6, 36)}));
    const ObjectId ctl = integration::ControllerId(0);
    for (uint16_t slot = 0; slot < 7; ++slot) {
        const uint16_t day = static_cast<uint16_t>(slot * 1440);
        ASSERT_EQ(Api::SetSelftestTask(ctl, slot, day + 60), 0) << LastMessage();
        ASSERT_EQ(Api::SetRebuildTask(ctl, slot, day + 120, 30 + slot), 0) << LastMessage();
        ASSERT_EQ(Api::SetVerifyTask(ctl, slot, day + 180, 60 + slot), 0) << LastMessage();
    }
    EXPECT_EQ(HostController(host)["schedule"]["4"]["rebuild"],
              json({{"start", 4 * 1440 + 120}, {"duration", 34}}));

    WeeklySchedule schedule{};
    ASSERT_EQ(Api::GetTaskSchedule(ctl, &schedule), 0) << LastMessage();
    for (uint16_t slot = 0; slot < 7; ++slot) {
        SCOPED_TRACE("slot " + std::to_string(slot));
        const ScheduleSlot& s = schedule.slots[slot];
        EXPECT_EQ(s.selftestStart, slot * 1440 + 60);
        EXPECT_EQ(s.rebuildStart, slot * 1440 + 120);
        EXPECT_EQ(s.rebuildDuration, 30 + slot);
        EXPECT_EQ(s.verifyStart, slot * 1440 + 180);
        EXPECT_EQ(s.verifyDuration, 60 + slot);
    }

    // No slot 7: nothing is sent.
    ClearTraffic();
    EXPECT_EQ(Api::SetRebuildTask(ctl, 7, 0, 60), -1);
    EXPECT_TRUE(Requests().empty());

    // The schedule states.
    ASSERT_EQ(Api::EnableRebuildSchedule(ctl), 0);
    ASSERT_EQ(Api::DisableVerifySchedule(ctl), 0);
    uint8_t rebuild = 0, verify = 0;
    ASSERT_EQ(Api::GetRebuildScheduleState(ctl, &rebuild), 0);
    ASSERT_EQ(Api::GetVerifyScheduleState(ctl, &verify), 0);
    EXPECT_EQ(rebuild, rhosk::kScheduleEnabled);
    EXPECT_EQ(verify, rhosk::kScheduleDisabled);
}

TEST_F(RhoskEmulatedTest, AScheduleReadThatFailsLeavesTheCallersTableAlone) {
    const json failSlot3 = integration::Fault(
        {{"layer", "firmware"}, {"opcode", "0x12"}, {"table", "0x0413"}, {"parameter", 3}},
        {{"status", 1}, {"code", "0x0204"}});
    Start(json::array({FamilyController(4, 32)}), json::array({failSlot3}));
    WeeklySchedule schedule;
    std::memset(&schedule, 0xAB, sizeof schedule);
    EXPECT_EQ(Api::GetTaskSchedule(integration::ControllerId(0), &schedule), -1);
    const auto* bytes = reinterpret_cast<const uint8_t*>(&schedule);
    for (size_t i = 0; i < sizeof schedule; ++i)
        ASSERT_EQ(bytes[i], 0xAB) << "byte " << i;
    // Slots 0-2 were read whole, slot 3 up to its rebuild window.
    const std::vector<Access> traffic = ParamTraffic();
    ASSERT_EQ(traffic.size(), 3u * 3u + 2u);
    EXPECT_EQ(traffic.back().table, 0x413);
    EXPECT_EQ(traffic.back().parameter, 3);
}

TEST_F(RhoskEmulatedTest, KeepwellPoliciesRoundTripThroughTheStoredEncoding) {
    struct Case {
        uint8_t mode;
        json stored;  // parameters 21, 22, 23 as the controller keeps them
    } cases[] = {
        {0, {1, 0x100, 1}},
        {1, {0, 0x100, 0x100}},
        {2, {0, 1, 0}},
    };
    const ObjectId unit = UnitId(0);
    for (const Case& c : cases) {
        SCOPED_TRACE("mode " + std::to_string(c.mode));
        ResetLibrary();
        emulator::EmulatedHost& host = Start(json::array(
            {FamilyController(6, 35,
                              {{"drives", json::array({{{"port", 0}}})},
                               {"units", json::array({{{"number", 0}, {"members", {0}}}})}})}));
        ASSERT_EQ(Api::SetKeepwellMode(unit, c.mode), 0) << LastMessage();
        const json& u = HostController(host)["units"][0];
        EXPECT_EQ(json({u["protection_21"], u["protection_22"], u["protection_23"]}), c.stored);
        uint8_t mode = 99;
        ASSERT_EQ(Api::GetKeepwellMode(unit, &mode), 0) << LastMessage();
        EXPECT_EQ(mode, c.mode);
    }
    // Any other mode changes nothing; any value above 1 is kept as 0x100;
    // a combination of no policy reads as 255.
    ClearTraffic();
    EXPECT_EQ(Api::SetKeepwellMode(unit, 3), 0);
    EXPECT_TRUE(Requests().empty());
    ASSERT_EQ(RhoskSettings::SetKeepwellParam22(unit, 5), 0);
    ASSERT_EQ(RhoskSettings::SetKeepwellParam21(unit, 1), 0);
    uint8_t value = 0;
    ASSERT_EQ(RhoskSettings::GetKeepwellParam22(unit, &value), 0);
    EXPECT_EQ(value, 2);
    uint8_t mode = 0;
    ASSERT_EQ(Api::GetKeepwellMode(unit, &mode), 0);  // 1, 2, 0
    EXPECT_EQ(mode, 255);
}

TEST_F(RhoskEmulatedTest, AvModeOnForgivesFirmwareWithoutLbaReordering) {
    struct Case {
        const char* what;
        const char* code;
        int result;
        int avMode;
    } cases[] = {
        {"parameter index does not exist", "0x010C", 0, 1},
        {"any other refusal", "0x010D", -1, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ResetLibrary();
        const json fault = integration::Fault(
            {{"layer", "firmware"}, {"opcode", "0x13"}, {"table", "0x000A"}, {"parameter", 5}},
            {{"status", 1}, {"code", c.code}});
        emulator::EmulatedHost& host =
            Start(json::array({FamilyController(4, 32)}), json::array({fault}));
        EXPECT_EQ(Api::EnableAvMode(integration::ControllerId(0)), c.result);
        ApiErrorRecord record;
        ApiError::Get(&record, nullptr, 0);
        EXPECT_EQ(record.flags == 0, c.result == 0) << record.message;
        EXPECT_EQ(HostController(host)["settings"].value("av_mode", -1), c.avMode);
    }
}

// The unit's disk as Windows sees it, with a known instance id, and the
// registry key of its disk parameters.
constexpr const char* kDiskKey =
    "SYSTEM\\CurrentControlSet\\Enum\\SCSI\\DISK&TEST\\UNIT1\\Device Parameters\\Disk";
constexpr const char* kCacheValue = "UserWriteCacheSetting";

class RhoskEmulatedCache : public RhoskEmulatedTest {
  protected:
    // A family-8 controller at level 37 with unit 1 of `type`, whose disk
    // keeps the cache value `cacheValue`, and the management lock as given.
    emulator::EmulatedHost& StartCache(const char* type, int cacheBits, bool locked,
                                       json faults = json::array()) {
        json drives = json::array({{{"port", 0}}, {{"port", 1}}});
        json unit = {{"number", 1},
                     {"type", type},
                     {"members", std::string(type) == "jbod" ? json{0} : json{0, 1}},
                     {"cache_bits", cacheBits},
                     {"read_cache_bits", 0}};
        json ctl = FamilyController(8, 37, {{"drives", drives}, {"units", json::array({unit})}});
        ctl["management_lock"] = locked;
        json state = Machine(json::array({ctl}));
        state["machine"]["disks"] = json::array({{{"controller", 0},
                                                  {"target", 1},
                                                  {"disk_number", 1},
                                                  {"instance_id", "SCSI\\DISK&TEST\\UNIT1"}}});
        state["machine"]["registry"] = {{kDiskKey, {{kCacheValue, 7}}}};
        state["faults"] = std::move(faults);
        ResetLibrary();
        return InstallListed(state);
    }

    // The cache value of the unit's disk; null when it is not there.
    static json CacheValue(emulator::EmulatedHost& host) {
        const json& registry = host.state()["machine"]["registry"];
        auto key = registry.find(kDiskKey);
        if (key == registry.end() || !key->contains(kCacheValue))
            return nullptr;
        return (*key)[kCacheValue];
    }
};

TEST_F(RhoskEmulatedCache, ChangesTakeAndReleaseTheLockAndTellWindows) {
    struct Case {
        const char* what;
        const char* type;
        int (*change)(ObjectId);
        int bitsBefore;
        int bitsAfter;
        int readBitsAfter;
        json cacheValue;  // after the change; 7 is the value before
    } cases[] = {
        {"write cache on: the value goes", "raid1", Api::EnableWriteCache, 0x00, 0x04, 0, nullptr},
        {"write cache off: the value goes", "raid1", Api::DisableWriteCache, 0x05, 0x01, 0,
         nullptr},
        {"JBOD write cache on: 1", "jbod", Api::EnableWriteCache, 0x00, 0x04, 0, 1},
        {"JBOD write cache off: 0", "jbod", Api::DisableWriteCache, 0x04, 0x00, 0, 0},
        {"basic read cache", "raid1", Api::EnableBasicReadCache, 0x05, 0x04, 0x20, 7},
        {"read cache off", "raid1", Api::DisableReadCache, 0x04, 0x05, 0x20, 7},
        {"intelligent read cache", "raid1", Api::EnableIntelligentReadCache, 0x01, 0x00, 0x00, 7},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        emulator::EmulatedHost& host = StartCache(c.type, c.bitsBefore, false);
        ASSERT_EQ(c.change(UnitId(1)), 0) << LastMessage();
        const json& unit = HostController(host)["units"][0];
        EXPECT_EQ(unit.value("cache_bits", -1), c.bitsAfter);
        EXPECT_EQ(unit.value("read_cache_bits", -1), c.readBitsAfter);
        EXPECT_EQ(CacheValue(host), c.cacheValue);
        EXPECT_EQ(CountKind("lock"), 1u);
        EXPECT_EQ(CountKind("unlock"), 1u);
        // Every write happens while the lock is held.
        bool held = false;
        for (const json& r : Requests()) {
            const std::string kind = r.value("kind", "");
            held = kind == "lock" ? true : kind == "unlock" ? false : held;
            if (r.value("opcode", 0) == kSet) {
                EXPECT_TRUE(held) << r.dump();
            }
        }
        EXPECT_TRUE(integration::OpensAreClosed(Log()));
        EXPECT_FALSE(HostController(host).value("management_lock", true));
    }
}

TEST_F(RhoskEmulatedCache, ALockHeldElsewhereRefusesTheChangeUntouched) {
    int (*const changes[])(ObjectId) = {Api::EnableWriteCache, Api::DisableWriteCache,
                                        Api::EnableBasicReadCache, Api::DisableReadCache};
    for (auto change : changes) {
        emulator::EmulatedHost& host = StartCache("jbod", 0x04, true);
        EXPECT_EQ(change(UnitId(1)), -1);
        ApiErrorRecord record;
        ApiError::Get(&record, nullptr, 0);
        EXPECT_EQ(record.driverCode, 0x1002u) << record.message;
        EXPECT_NE(std::string(record.message).find("Already locked"), std::string::npos)
            << record.message;
        // Ten tries, no unlock of a lock it never had, nothing written.
        EXPECT_EQ(CountKind("lock"), static_cast<size_t>(RhoskFamily::kLockAttempts));
        EXPECT_EQ(CountKind("unlock"), 0u);
        for (const Access& a : ParamTraffic())
            EXPECT_NE(a.opcode, kSet);
        EXPECT_EQ(HostController(host)["units"][0].value("cache_bits", -1), 0x04);
        EXPECT_EQ(CacheValue(host), 7);
        EXPECT_TRUE(HostController(host).value("management_lock", false));
        EXPECT_TRUE(integration::OpensAreClosed(Log()));
    }
}

// A release that fails after the change: the change stands and Windows is
// told of it; the result says so, with the release's error in the record.
TEST_F(RhoskEmulatedCache, AFailedReleaseAfterTheChangeKeepsItAndSaysSo) {
    const json fault =
        integration::Fault({{"layer", "driver"}, {"kind", "unlock"}}, {{"os_error", 31}});
    emulator::EmulatedHost& host = StartCache("jbod", 0x00, false, json::array({fault}));
    EXPECT_EQ(Api::EnableWriteCache(UnitId(1)), kApiChangedLockHeld);
    ApiErrorRecord record;
    ApiError::Get(&record, nullptr, 0);
    EXPECT_EQ(record.osCode, 31u) << record.message;
    EXPECT_EQ(HostController(host)["units"][0].value("cache_bits", -1), 0x04);
    EXPECT_EQ(CacheValue(host), 1);
    EXPECT_TRUE(HostController(host).value("management_lock", false));
}

}  // namespace
}  // namespace rhosk_emulated::rhosk_emulated_settings_test
