// The unit's command words where a transcript cannot reach them: the drive
// list of "start rebuild", the ignore-ECC choice it hands to the rebuild,
// and what a unit of the older family refuses (the library does not serve
// an older-family unit list yet, so those units stand on a controller
// object of the older family whose tree comes from a newer controller).
#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "api/api.h"
#include "base/kv_exception.h"
#include "controllers/controller.h"
#include "controllers/controller_mgr.h"
#include "controllers/controller_prane.h"
#include "integration_host.h"
#include "shell/shell.h"
#include "test_support.h"
#include "units/logical_disk_types.h"

namespace unitcmd_commands_test {
namespace {

using integration::json;
using test_support::Cli;
using test_support::ErrorOf;

// A RAID-5 unit object whose rebuild records what it was handed instead of
// asking the controller.
class RecordingRaid5 : public LogicalDiskRaid5 {
  public:
    using LogicalDiskRaid5::LogicalDiskRaid5;
    int startRebuild(bool withIgnoreEcc) override {
        started = true;
        rebuildIgnoreEcc = withIgnoreEcc;
        return 0;
    }
    const std::vector<int32_t>& driveList() const { return drives; }
    void cacheStripeCode(uint32_t code) { stripeCode = code; }

    bool started = false;
    bool rebuildIgnoreEcc = false;
};

class UnitCommandsTest : public integration::IntegrationTest {
  protected:
    void SetUp() override {
        IntegrationTest::SetUp();
        shell_ = std::make_unique<Shell>();
        theShell = shell_.get();
    }
    void TearDown() override {
        unit_.reset();
        prane_.reset();
        mgr_.reset();
        theShell = nullptr;
        shell_.reset();
        IntegrationTest::TearDown();
    }

    // A family-4 controller (family 8 from firmware level 37) with six
    // drives and a RAID-5 u0 over ports 0-2 whose ignore-ECC policy is
    // `eccPolicy` and whose stripe has the code `stripe`.
    void InstallHost(int eccPolicy, int level = 30, int stripe = 7) {
        json drives = json::array();
        for (int p = 0; p < 6; ++p)
            drives.push_back({{"port", p}, {"capacity", 976773168ull}, {"serial", "S"}});
        Install(Machine(json::array({integration::RhoskController(
            level >= 37 ? 5 : 2, level >= 37 ? 8 : 4, "KVS19004-120099",
            {{"identity", {{"compat_level", level}}},
             {"settings", {{"ports", 6}}},
             {"drives", drives},
             {"units", json::array({{{"number", 0},
                                     {"type", "raid5"},
                                     {"members", {0, 1, 2}},
                                     {"stripe", stripe},
                                     {"ecc_policy", eccPolicy}}})}})})));
    }

    // The recording unit u0 on the family-4 controller.
    RecordingRaid5& NewerUnit(int eccPolicy = 0, int level = 30, int stripe = 7) {
        InstallHost(eccPolicy, level, stripe);
        mgr_ = std::make_unique<ControllerMgr>();
        Controller* owner = mgr_->getController("c0");
        unit_ =
            std::make_unique<RecordingRaid5>(owner, "u0", 0, owner->getUnit("u0")->getObjectId());
        return *unit_;
    }

    // The recording unit u0 on an older-family controller object.
    RecordingRaid5& OlderUnit(int eccPolicy = 0) {
        InstallHost(eccPolicy);
        ObjectIdList16 list{};
        list.zero();
        EXPECT_EQ(Api::GetControllerIdList(&list), 0);
        prane_ = std::make_unique<ControllerPrane>("c0", 0, list.ids[0]);
        EXPECT_EQ(prane_->getFamily(), 3);
        unit_ = std::make_unique<RecordingRaid5>(prane_.get(), "u0", 0,
                                                 prane_->getUnit("u0")->getObjectId());
        return *unit_;
    }

    static test_support::Outcome Run(LogicalDisk& unit, const std::string& words) {
        std::istringstream in(words);
        return test_support::Run([&] { unit.execute(in); });
    }

    // The requests of the log that read or write the unit's ignore-ECC
    // policy (UnitTable parameter 15).
    std::size_t EccPolicyRequests() const {
        std::size_t count = 0;
        for (const json& record : Requests()) {
            if (record.value("table", 0) == 0x300 && record.value("parameter", 0) == 15)
                ++count;
        }
        return count;
    }

  private:
    std::unique_ptr<Shell> shell_;
    std::unique_ptr<ControllerMgr> mgr_;
    std::unique_ptr<ControllerPrane> prane_;
    std::unique_ptr<RecordingRaid5> unit_;
};

// The drive list of disk=: pieces and ascending ranges joined by ":", a
// number read up to its first non-digit, at most 128 pieces; a bad list,
// a descending or oversized range (144) and a drive named twice (8).
TEST_F(UnitCommandsTest, DriveListsOfStartRebuild) {
    std::string many = "disk=0";
    for (int n = 1; n < 130; ++n)
        many += ":" + std::to_string(n);
    std::vector<int32_t> first128;
    for (int n = 0; n < 128; ++n)
        first128.push_back(n);
    const struct {
        std::string words;
        std::vector<int32_t> drives;
        std::string error;
        std::string out;
    } cases[] = {
        {"disk=2", {2}, "", ""},
        {"disk=5:2", {2, 5}, "", ""},
        {"disk=1-3", {1, 2, 3}, "", ""},
        {"disk=1-3-5", {1, 2, 3}, "", ""},
        {"disk=0-2:7 disk=4", {0, 1, 2, 4, 7}, "", ""},
        {many, first128, "", ""},
        {"disk=3-1", {}, Cli(144), "Disks specified in a range must be in ascending order.\n"},
        {"disk=2-2", {}, Cli(144), "Disks specified in a range must be in ascending order.\n"},
        {"disk=0-4000000000", {}, Cli(144), ""},
        {"disk=1:1", {}, Cli(8), ""},
        {"disk=1-3 disk=2", {}, Cli(8), ""},
        {"disk=", {}, Cli(144), ""},
        {"disk=x1", {}, Cli(144), ""},
        {"disk=1a", {}, Cli(144), ""},
        {"disk=:1", {}, Cli(144), ""},
        {"disk=1-", {}, Cli(144), ""},
        {"disk=1::2", {}, Cli(144), ""},
        {"disk=1--2", {}, Cli(144), ""},
        {"disk=1:-2", {}, Cli(144), ""},
        {"disk=1-:2", {}, Cli(144), ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.words);
        RecordingRaid5& unit = NewerUnit();
        const test_support::Outcome outcome = Run(unit, "start rebuild " + c.words);
        EXPECT_EQ(outcome.out, c.out);
        if (c.error.empty()) {
            EXPECT_FALSE(outcome.error);
            EXPECT_TRUE(unit.started);
            EXPECT_EQ(unit.driveList(), c.drives);
        } else {
            EXPECT_EQ(outcome.error.value_or("none"), c.error);
            EXPECT_FALSE(unit.started);
        }
    }
}

// The rebuild takes the unit's current ignore-ECC policy unless the word
// ignoreecc asks for it; the older family rebuilds without it and is not
// asked for the policy.
TEST_F(UnitCommandsTest, RebuildIgnoreEccChoice) {
    const struct {
        bool older;
        int policy;
        const char* words;
        bool expected;
    } cases[] = {
        {false, 0, "start rebuild disk=3", false},
        {false, 1, "start rebuild disk=3", true},
        {false, 0, "start disk=3 rebuild ignoreecc", true},
        {true, 1, "start rebuild disk=3", false},
        {true, 0, "start rebuild ignoreecc disk=3", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.words);
        RecordingRaid5& unit = c.older ? OlderUnit(c.policy) : NewerUnit(c.policy);
        ClearTraffic();
        const test_support::Outcome outcome = Run(unit, c.words);
        EXPECT_FALSE(outcome.error) << *outcome.error;
        EXPECT_TRUE(unit.started);
        EXPECT_EQ(unit.rebuildIgnoreEcc, c.expected);
        EXPECT_EQ(unit.driveList(), std::vector<int32_t>{3});
        EXPECT_EQ(EccPolicyRequests(), c.older ? 0u : 1u);
    }
}

// An older-family unit: the set words guarded by the family fall through
// to 80, the newer-family show lines refuse with their codes before
// printing, and "show all" lists only what the older family has. Nothing
// is sent to the controller.
TEST_F(UnitCommandsTest, OlderFamilyRefusals) {
    RecordingRaid5& unit = OlderUnit();
    std::ostringstream attributes;
    unit.listAllAttributes(attributes);
    EXPECT_EQ(attributes.str(), "status rebuildstatus verifystatus initializestatus wrcache");
    ClearTraffic();
    const struct {
        const char* words;
        int code;
    } cases[] = {
        {"set autoverify=on", 80}, {"set ignoreecc=on", 80},     {"set name=x", 80},
        {"set qpolicy=on", 80},    {"set keepwell=balance", 80}, {"set identify=on", 80},
        {"show name", 102},        {"show serial", 103},         {"show volumes", 104},
        {"show ignoreecc", 149},   {"show autoverify", 149},     {"show qpolicy", 107},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.words);
        const test_support::Outcome outcome = Run(unit, c.words);
        EXPECT_EQ(outcome.out, "");
        EXPECT_EQ(outcome.error.value_or("none"), Cli(c.code));
    }
    EXPECT_EQ(ErrorOf([&] { unit.setName("x"); }), Cli(100));
    EXPECT_EQ(ErrorOf([&] { unit.setIgnoreEcc(true); }), Cli(149));
    EXPECT_EQ(ErrorOf([&] { unit.setAutoverify(true); }), Cli(149));
    EXPECT_EQ(ErrorOf([&] { unit.getIgnoreEcc(false); }), Cli(24));
    EXPECT_TRUE(Requests().empty());
    // The older family never asks before it turns the write cache on.
    EXPECT_EQ(test_support::Output([&] { (void)unit.setWriteCache(true, "confirm"); }),
              "Setting Write Cache Policy on /c0/u0 to [on] ... Done.\n");
}

// The read cache of a unit being created: nothing at all below firmware
// level 37, its own line from level 37 on; the set command's form refuses
// below level 37 with 149.
TEST_F(UnitCommandsTest, ReadCacheOfANewUnit) {
    RecordingRaid5& old = NewerUnit(0, 30);
    ClearTraffic();
    EXPECT_EQ(test_support::Output([&] { old.setReadCache("basic", true); }), "");
    EXPECT_EQ(ErrorOf([&] { old.setReadCache("basic", false); }), Cli(149));
    for (const json& record : Requests())
        EXPECT_NE(record.value("parameter", 0), 29) << record.dump();

    RecordingRaid5& current = NewerUnit(0, 37);
    EXPECT_EQ(test_support::Output([&] { current.setReadCache("basic", true); }),
              "Setting read cache = basic for the new unit ... Done.\n");
    uint8_t mode = 0;
    ASSERT_EQ(Api::GetReadCacheMode(current.getObjectId(), &mode), 0);
    EXPECT_EQ(mode, 1);
}

// The fresh stripe code of a unit: the controller's stripe size in KB as a
// code, 27 for a size that has none; a unit cached without stripes
// answers 0 without asking the controller; the cache is not refreshed.
TEST_F(UnitCommandsTest, FreshStripeCode) {
    const struct {
        uint32_t cached;
        int controllerStripe;
        uint32_t expected;
        std::string error;
    } cases[] = {
        {kStripe256K, 7, kStripe64K, "none"},   {kStripe64K, 4, kStripe8K, "none"},
        {kStripe64K, 11, kStripe1024K, "none"}, {kStripe64K, 3, 0, Cli(27)},
        {kStripe64K, 12, 0, Cli(27)},           {kStripeNone, 9, kStripeNone, "none"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.controllerStripe);
        RecordingRaid5& unit = NewerUnit(0, 30, c.controllerStripe);
        unit.cacheStripeCode(c.cached);
        ClearTraffic();
        uint32_t code = 0;
        EXPECT_EQ(ErrorOf([&] { code = unit.getStripeCode(false); }), c.error);
        if (c.error == "none") {
            EXPECT_EQ(code, c.expected);
        }
        EXPECT_EQ(unit.getStripeCode(true), c.cached);
        if (c.cached == kStripeNone) {
            EXPECT_TRUE(Requests().empty());
        }
    }
}

}  // namespace
}  // namespace unitcmd_commands_test
