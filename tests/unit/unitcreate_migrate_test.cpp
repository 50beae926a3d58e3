// A unit migration from the controller's migrate operation to the
// emulated controller: the source's state, the options and paths each
// target type takes, the line it prints, the unit map left as it was, and
// the migrating unit the next command's tree shows.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <sstream>
#include <string>

#include "api/api_codes.h"
#include "controllers/controller.h"
#include "controllers/controller_mgr.h"
#include "test_support.h"
#include "units/logical_disk_types.h"

namespace unitcreate_migrate_test {
namespace {

using nlohmann::json;

// A family-8 controller with drives on ports 0-11: u0 RAID-5 on 0-2
// (256K), u1 RAID-0 on 3-4, u2 a degraded RAID-5 on 5-6, u3 RAID-1 on
// 7-8, u4 a spare on 9, u5 a single disk on 10; drive 11 is free.
json Machine() {
    json drives = json::array();
    for (int p = 0; p < 12; ++p)
        drives.push_back(
            {{"port", p}, {"capacity", 976773168}, {"serial", "S" + std::to_string(p)}});
    json units = {
        {{"number", 0}, {"type", "raid5"}, {"stripe", 9}, {"members", {0, 1, 2}}},
        {{"number", 1}, {"type", "raid0"}, {"members", {3, 4}}},
        {{"number", 2}, {"type", "raid5"}, {"members", {5, 6, nullptr}}, {"state", "degraded"}},
        {{"number", 3}, {"type", "raid1"}, {"members", {7, 8}}},
        {{"number", 4}, {"type", "spare"}, {"members", {9}}},
        {{"number", 5}, {"type", "single"}, {"members", {10}}},
    };
    json controller = {{"device_type", 5},
                       {"identity", {{"model_code", 8}, {"compat_level", 37}, {"features", 2}}},
                       {"settings", {{"ports", 12}}},
                       {"drives", drives},
                       {"units", units}};
    return {{"format", 1},
            {"machine", {{"host_name", "kvhost"}, {"controllers", json::array({controller})}}}};
}

class UnitMigrateTest : public test_support::ControllerMgrTest {
  protected:
    test_support::Outcome Migrate(const std::string& unit, const std::string& type,
                                  const std::string& options) {
        Controller* c0 = mgr->getController("c0");
        std::istringstream words(options);
        return test_support::Run([&] { c0->migrateUnit(unit, type, words); });
    }
};

TEST_F(UnitMigrateTest, RefusalsLeaveTheUnitAsItWas) {
    struct Case {
        const char* unit;
        const char* type;
        const char* options;
        std::string error;
    };
    const Case cases[] = {
        {"u2", "raid5", "disk=11", test_support::Cli(19)},  // degraded
        {"u0", "raid5", "disk=2", test_support::Cli(8)},    // drive 2 is the unit's
        {"u1", "raid1", "", test_support::Cli(45)},         // RAID-0 to RAID-1
        {"u0", "single", "", test_support::Cli(45)},
        {"u0", "raid0", "bogus", test_support::Cli(40)},
        {"u0", "raid1", "stripe=64", test_support::Cli(40)},
        {"u0", "raid60", "", test_support::Cli(46)},
        {"u0", "jbod", "", test_support::Cli(46)},
        {"u4", "raid5", "disk=11", test_support::Cli(25)},    // a spare has no stripe
        {"u5", "raid1", "disk=11:2", test_support::Cli(10)},  // three drives
        // RAID-1 checks no drives itself: the controller's library refuses.
        {"u5", "raid1", "disk=3",
         "(0x0B:0x001F): One or more of the specified drives belong to another unit\n"},
        {"u0", "raid10", "", test_support::Cli(10)},  // three drives
        {"u0", "raid5", "",
         "(0x0B:0x005B): Source and destination units have the same drives, "
         "configuration and stripe size\n"},
        {"u9", "raid5", "", test_support::Cli(6)},
    };
    const json machine = Machine();
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.unit) + " " + c.type + " " + c.options);
        Discover(machine);
        LogicalDisk* before =
            c.unit == std::string("u9") ? nullptr : mgr->getController("c0")->getUnit(c.unit);
        const test_support::Outcome outcome = Migrate(c.unit, c.type, c.options);
        ASSERT_TRUE(outcome.error.has_value());
        EXPECT_EQ(*outcome.error, c.error);
        if (before != nullptr) {
            EXPECT_EQ(mgr->getController("c0")->getUnit(c.unit), before);
        }
        Discover(machine);
        EXPECT_EQ(mgr->getController("c0")->getUnit("u0")->getUnitType(), kUnitRaid5);
    }
}

TEST_F(UnitMigrateTest, AMigrationStartsAndTheNextTreeShowsIt) {
    Discover(Machine());
    LogicalDisk* source = mgr->getController("c0")->getUnit("u0");
    const test_support::Outcome outcome = Migrate("u0", "raid5", "disk=11 stripe=64");
    EXPECT_FALSE(outcome.error.has_value()) << *outcome.error;
    EXPECT_EQ(outcome.out, "Sending migration message to /c0/u0 ... Done.\n");
    EXPECT_EQ(mgr->getController("c0")->getUnit("u0"), source);

    // The next command's tree: a migrator of the RAID-5 source and the
    // four-drive RAID-5 destination.
    mgr = std::make_unique<ControllerMgr>();
    LogicalDisk* unit = mgr->getController("c0")->getUnit("u0");
    ASSERT_EQ(unit->getUnitType(), kUnitMigrating);
    const std::string table = test_support::Output([&] { unit->showTable(true); });
    EXPECT_NE(table.find("u0       Migrator  MIGRATING"), std::string::npos) << table;
    EXPECT_NE(table.find("su0      RAID-5"), std::string::npos) << table;
    EXPECT_NE(table.find("du0      RAID-5"), std::string::npos) << table;
    EXPECT_NE(table.find("64K"), std::string::npos) << table;
    EXPECT_NE(table.find("p11"), std::string::npos) << table;
}

// A mirror split into single disks: u3 keeps its address, the other half
// becomes the next free unit, and u3 takes the target's cache settings
// (the mirror's own, or off after nocache).
TEST_F(UnitMigrateTest, SplittingAMirrorLeavesTwoSingleDisks) {
    for (const bool noCache : {false, true}) {
        SCOPED_TRACE(noCache ? "nocache" : "default");
        Discover(Machine());
        const test_support::Outcome outcome = Migrate("u3", "single", noCache ? "nocache" : "");
        EXPECT_FALSE(outcome.error.has_value()) << *outcome.error;
        EXPECT_EQ(outcome.out,
                  "Sending migration message to /c0/u3 ... Done.\n"
                  "Split or migrate u3 to [u3, u6].\n");
        mgr = std::make_unique<ControllerMgr>();
        Controller* c0 = mgr->getController("c0");
        EXPECT_EQ(c0->getUnit("u3")->getUnitType(), kUnitSingle);
        EXPECT_EQ(c0->getUnit("u6")->getUnitType(), kUnitSingle);
        EXPECT_EQ(c0->getUnit("u3")->getWriteCache(false), !noCache);
    }
}

}  // namespace
}  // namespace unitcreate_migrate_test
