// The unit maintenance commands on controller and unit objects over the
// emulated host, where the command line does not reach them: the
// confirmation of a removal and a deletion answered yes and no, the
// verify of a unit that was never initialised, the spare's flush, and the
// controller's part of a migration.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <sstream>
#include <string>

#include "api/api.h"
#include "api/audit_log.h"
#include "controllers/controller.h"
#include "controllers/controller_mgr.h"
#include "shell/shell.h"
#include "test_support.h"
#include "units/logical_disk.h"

namespace unitmaint_commands_test {
namespace {

using nlohmann::json;
using test_support::Cli;

constexpr uint64_t kDrive = 976773168;

// Standard input reads `answers` while alive.
class InputFeed {
  public:
    explicit InputFeed(const std::string& answers)
        : text_(answers), saved_(std::cin.rdbuf(text_.rdbuf())) {}
    ~InputFeed() {
        std::cin.rdbuf(saved_);
        std::cin.clear();
    }
    InputFeed(const InputFeed&) = delete;
    InputFeed& operator=(const InputFeed&) = delete;

  private:
    std::istringstream text_;
    std::streambuf* saved_;
};

json Host(const json& units, int level = 33) {
    json drives = json::array();
    for (int port = 0; port < 8; ++port)
        drives.push_back({{"port", port}, {"capacity", kDrive}});
    json ctl = {{"device_type", 3},
                {"identity", {{"model_code", 6}, {"serial", "MAINT0001"}, {"compat_level", level}}},
                {"settings", {{"ports", 8}}},
                {"drives", drives},
                {"units", units}};
    return {{"format", 1}, {"machine", {{"host_name", "kvhost"}, {"controllers", {ctl}}}}};
}

class UnitMaintCommands : public test_support::ControllerMgrTest {
  protected:
    void SetUp() override {
        shell_ = std::make_unique<Shell>();
        theShell = shell_.get();
        // One log per test: the tests run in parallel processes.
        const std::string test = ::testing::UnitTest::GetInstance()->current_test_info()->name();
        logPath_ =
            (std::filesystem::path(::testing::TempDir()) / ("unitmaint_audit_" + test + ".log"))
                .string();
        std::filesystem::remove(logPath_);
        MakeAuditLog("CLI", logPath_, true);
    }
    void TearDown() override {
        ControllerMgrTest::TearDown();
        ResetAuditLog();
        theShell = nullptr;
        std::filesystem::remove(logPath_);
    }

    Controller* Start(const json& units, int level = 33) {
        Discover(Host(units, level));
        Controller* c0 = mgr->getController("c0");
        EXPECT_NE(c0, nullptr);
        return c0;
    }

    // The messages of the audit log's lines, without their time and tag.
    std::vector<std::string> LogLines() const {
        std::vector<std::string> out;
        std::ifstream in(logPath_);
        for (std::string line; std::getline(in, line);) {
            const auto open = line.find(" CLI [");
            out.push_back(open == std::string::npos ? line : line.substr(open + 5));
        }
        return out;
    }

    // The unit's number exists on the controller as the library sees it.
    static bool UnitExists(uint8_t number) {
        ObjectId id = ObjectId::Blank();
        EXPECT_EQ(Api::MakeUnitId(0, 0xFF, number, 0xFF, 0xFF, &id), 0);
        uint32_t type = 0;
        return Api::GetUnitType(id, &type) == 0;
    }

  private:
    std::unique_ptr<Shell> shell_;
    std::string logPath_;
};

json Unit(int number, const char* type, json members, const char* state = "ok") {
    return {{"number", number}, {"type", type}, {"members", members}, {"state", state}};
}

// Declining keeps the unit and prints nothing after the question; an
// inoperable unit's warning adds the line about its cache.
TEST_F(UnitMaintCommands, RemovalAsksFirstUnlessQuiet) {
    struct Case {
        const char* state;
        const char* answer;
        bool removed;
        std::string out;
    } cases[] = {
        {"ok", "n\n", false,
         "Removing /c0/u1 will take the unit offline.\n"
         "Do you want to continue ? Y|N [N]: The command is aborted.\n"},
        {"inoperable", "n\n", false,
         "Removing /c0/u1 will take the unit offline.\n"
         "Any unflushed cache associated with this unit will be deleted.\n"
         "Do you want to continue ? Y|N [N]: The command is aborted.\n"},
        {"ok", "y\n", true,
         "Removing /c0/u1 will take the unit offline.\n"
         "Do you want to continue ? Y|N [N]: Removing /c0/u1 ... Done.\n\n"},
    };
    for (const Case& c : cases) {
        Controller* c0 = Start(json::array({Unit(1, "raid0", {0, 1}, c.state)}));
        InputFeed in(c.answer);
        const test_support::Outcome outcome =
            test_support::Run([&] { c0->removeUnit("u1", false, true, false); });
        EXPECT_EQ(outcome.out, c.out) << c.state << " " << c.answer;
        EXPECT_FALSE(outcome.error.has_value()) << *outcome.error;
        EXPECT_EQ(UnitExists(1), !c.removed);
        EXPECT_EQ(c0->getUnits().count("u1"), c.removed ? 0u : 1u);
    }
    EXPECT_EQ(LogLines(),
              std::vector<std::string>({"[Export Unit(controller=0, unit=1, make os aware=no): "
                                        "Success]"}));
}

TEST_F(UnitMaintCommands, DeletionAsksFirstAndAFailureKeepsTheUnitObject) {
    Controller* c0 = Start(json::array({Unit(2, "raid1", {0, 1})}));
    {
        InputFeed in("n\n");
        EXPECT_EQ(test_support::Output([&] { c0->deleteUnit("u2", true, false); }),
                  "Deleting /c0/u2 will cause the data on the unit to be permanently lost.\n"
                  "Do you want to continue ? Y|N [N]: The command is aborted.\n");
    }
    EXPECT_TRUE(UnitExists(2));
    EXPECT_TRUE(LogLines().empty());

    // The controller refuses: "Failed." ends the line, the unit object stays.
    Discover([&] {
        json host = Host(json::array({Unit(2, "raid1", {0, 1})}));
        host["faults"] = {{{"match", {{"layer", "firmware"}, {"opcode", 0x15}}},
                           {"action", {{"status", 1}, {"code", "0x0204"}}}}};
        return host;
    }());
    c0 = mgr->getController("c0");
    const test_support::Outcome failed =
        test_support::Run([&] { c0->deleteUnit("u2", false, true); });
    EXPECT_EQ(failed.out, "Deleting unit c0/u2 ...Failed.\n");
    ASSERT_TRUE(failed.error.has_value());
    EXPECT_NE(failed.error->find("Drive timeout"), std::string::npos) << *failed.error;
    EXPECT_EQ(c0->getUnits().count("u2"), 1u);
    EXPECT_EQ(LogLines().back(), "[Delete Unit(controller=0, unit=2, make os aware=no): Failed]");
}

// A redundant unit that was never initialised is initialised before it is
// verified; the notice says so, but not for RAID-1 units (type 2).
TEST_F(UnitMaintCommands, VerifyOfAnUninitialisedUnitSaysItInitialisesFirst) {
    struct Case {
        const char* type;
        json members;
        bool notice;
    } cases[] = {
        {"raid5", {0, 1, 2}, true},
        {"raid1", {0, 1}, false},
        {"raid10", {0, 1, 2, 3}, true},
        {"raid0", {0, 1}, false},
    };
    for (const Case& c : cases) {
        json unit = Unit(1, c.type, c.members);
        unit["initialized"] = false;
        Controller* c0 = Start(json::array({unit}));
        const std::string out = test_support::Output([&] { c0->getUnit("u1")->startVerify(); });
        std::string expected = "Sending start verify message to /c0/u1 ... Done.\n";
        if (c.notice)
            expected +=
                "Unit was not previously initialized.  Will be initialized first before "
                "verified.\n";
        EXPECT_EQ(out, expected) << c.type;
        uint8_t status = 0;
        ObjectId id = c0->getUnit("u1")->getObjectId();
        ASSERT_EQ(Api::GetUnitStatus(id, &status), 0);
        EXPECT_EQ(status, kUnitStatusInitializing) << c.type;
    }
}

TEST_F(UnitMaintCommands, StopVerifyNeedsAVerifyingUnitAndIsNotLogged) {
    Controller* c0 = Start(json::array({Unit(1, "raid5", {0, 1, 2}, "verifying")}));
    LogicalDisk* unit = c0->getUnit("u1");
    EXPECT_EQ(test_support::Output([&] { unit->stopVerify(); }), "Stopped verify on /c0/u1\n");
    EXPECT_EQ(test_support::ErrorOf([&] { unit->stopVerify(); }), Cli(19));
    EXPECT_TRUE(LogLines().empty());
}

TEST_F(UnitMaintCommands, ASpareHasNothingToFlush) {
    Controller* c0 = Start(json::array({Unit(3, "spare", {4})}));
    const test_support::Outcome outcome = test_support::Run([&] { c0->getUnit("u3")->flush(); });
    EXPECT_EQ(outcome.out, "Flushing write-cache on unit /c0/u3 ...Failed.\n");
    EXPECT_EQ(outcome.error.value_or(""), Cli(25));
    EXPECT_TRUE(LogLines().empty());
}

// The controller's part of a migration checks the family and the type
// word and leaves the unit as it was.
TEST_F(UnitMaintCommands, MigrationChecksTheTargetTypeAndKeepsTheUnit) {
    Controller* c0 = Start(json::array({Unit(1, "raid1", {0, 1})}));
    std::istringstream options("disk=2");
    EXPECT_EQ(test_support::ErrorOf([&] { c0->migrateUnit("u1", "raid60", options); }), Cli(46));
    EXPECT_EQ(test_support::ErrorOf([&] { c0->migrateUnit("u7", "raid5", options); }), Cli(6));
    EXPECT_EQ(c0->getUnits().count("u1"), 1u);
    EXPECT_EQ(c0->getUnit("u1")->getUnitType(), kUnitRaid1Mirror);
}

// parseUnitList keeps at most 128 pieces of one word and the list sorted
// and without repeats.
TEST_F(UnitMaintCommands, FlushListsAreCheckedBeforeAnyUnitIsFlushed) {
    Controller* c0 = Start(json::array({Unit(0, "raid1", {0, 1}), Unit(1, "raid1", {2, 3})}));
    std::istringstream bad("u1 u0:b");
    EXPECT_EQ(test_support::ErrorOf([&] { c0->flush(bad); }), Cli(16));
    EXPECT_TRUE(LogLines().empty());
    std::string many = "u1";
    for (int i = 0; i < 200; ++i)
        many += ":0";
    std::istringstream words(many);
    EXPECT_EQ(test_support::Output([&] { c0->flush(words); }),
              "Flushing write-cache on unit /c0/u0 ...Done.\n"
              "Flushing write-cache on unit /c0/u1 ...Done.\n");
}

// The rescan reports what it found by address and logs one line for the
// rescan and one per find; the split logs its own line.
TEST_F(UnitMaintCommands, RescanAndSplitAreLogged) {
    Controller* c0 = Start(json::array({Unit(1, "raid1", {0, 1}), Unit(2, "raid1", {2, 3})}));
    ASSERT_EQ(Api::RemoveUnit(c0->getUnit("u2")->getObjectId(), 0), 0);
    EXPECT_EQ(test_support::Output([&] { c0->rescan(false); }),
              "Rescanning controller /c0 for units and drives ...Done.\n"
              "Found the following unit(s): [/c0/u2].\n"
              "Found the following drive(s): [none].\n");
    EXPECT_EQ(test_support::Output([&] { c0->rescan(true); }),
              "Rescanning controller /c0 for units and drives ...Done.\n"
              "Found the following unit(s): [none].\n"
              "Found the following drive(s): [none].\n");
    ObjectIdList128 halves;
    halves.clear();
    ASSERT_EQ(theAuditLog->SplitMirror(c0->getUnit("u1")->getObjectId(), 1, &halves), 0);
    EXPECT_EQ(LogLines(),
              std::vector<std::string>(
                  {"[Rescan Controller(controller=0, make os aware=no): Success]",
                   "[    Rescan found unit 2 (RAID 1)]",
                   "[Rescan Controller(controller=0, make os aware=yes): Success (nothing found)]",
                   "[Split Mirror(controller=0, unit=1, make os aware=yes): Success]"}));
}

// A unit's own command may be what removes it: its object outlives its
// place in the unit map until the command ends.
TEST_F(UnitMaintCommands, ARemovedUnitsObjectStaysUsableForTheCommand) {
    Controller* c0 = Start(json::array({Unit(1, "raid1", {0, 1}), Unit(2, "raid1", {2, 3})}));
    LogicalDisk* deleted = c0->getUnit("u1");
    LogicalDisk* removed = c0->getUnit("u2");
    (void)test_support::Output([&] { c0->deleteUnit("u1", false, true); });
    (void)test_support::Output([&] { c0->removeUnit("u2", false, false, true); });
    EXPECT_TRUE(c0->getUnits().empty());
    EXPECT_EQ(deleted->getPath(), "/c0/u1");
    EXPECT_EQ(removed->getPath(), "/c0/u2");
}

}  // namespace
}  // namespace unitmaint_commands_test
