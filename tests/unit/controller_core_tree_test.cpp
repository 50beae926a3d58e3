// The controller manager's discovery and the controller's object tree
// against an emulated machine: the class built for each family, the units,
// ports and phys of the tree and their lookups, and the command grammar
// after a controller's address as it reaches the controller's operations.
#include <gtest/gtest.h>

#include <iostream>
#include <memory>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "base/kv_exception.h"
#include "controllers/controller_mgr.h"
#include "controllers/controller_rhosk.h"
#include "controllers/controller_solvane.h"
#include "controllers/controller_vantor.h"
#include "shell/shell.h"
#include "test_support.h"
#include "units/logical_disk.h"

namespace controller_core_tree_test {
namespace {

using nlohmann::json;

constexpr uint32_t kTevrinBus = 0x300;

json Drives(int count) {
    json drives = json::array();
    for (int p = 0; p < count; ++p)
        drives.push_back({{"port", p},
                          {"capacity", 976773168ull},
                          {"model", "KV-DISK"},
                          {"serial", "S" + std::to_string(p)}});
    return drives;
}

// A newer-family controller in PCI slot `slot` (slots give the controller
// numbers in order).
json NewerController(int slot, int modelCode, int level, const json& units = json::array(),
                     uint32_t hostBus = 0) {
    return {{"device_type", 5},
            {"slot", slot},
            {"ui_number", slot},
            {"identity", {{"model_code", modelCode}, {"compat_level", level}, {"model", "KV"}}},
            {"settings", {{"ports", 4}, {"host_bus", hostBus}}},
            {"drives", Drives(4)},
            {"units", units}};
}

// A machine with the given controllers, in PCI slot order.
template <class... Controllers>
json Machine(const Controllers&... controllers) {
    json list = json::array();
    (list.push_back(controllers), ...);
    return {{"format", 1}, {"machine", {{"host_name", "kvhost"}, {"controllers", list}}}};
}

using test_support::Cli;
using test_support::ErrorOf;
using test_support::Output;

class ControllerCoreTest : public test_support::ControllerMgrTest {
  protected:
    void SetUp() override {
        shell_ = std::make_unique<Shell>();
        theShell = shell_.get();
    }
    void TearDown() override {
        ControllerMgrTest::TearDown();
        theShell = nullptr;
    }
    // Installs the machine and discovers it; what discovery wrote on
    // standard error is kept in `discoveryErrors`.
    ControllerMgr& Discover(const json& machine) {
        const test_support::StreamCapture err(std::cerr);
        ControllerMgr& discovered = ControllerMgrTest::Discover(machine);
        discoveryErrors = err.text();
        return discovered;
    }

    std::string discoveryErrors;

  private:
    std::unique_ptr<Shell> shell_;
};

TEST_F(ControllerCoreTest, EachFamilyGetsItsGenerationClass) {
    ControllerMgr& m = Discover(Machine(NewerController(1, 5, 37), NewerController(2, 6, 37),
                                        NewerController(3, 7, 37, json::array(), kTevrinBus),
                                        NewerController(4, 8, 37)));
    EXPECT_EQ(discoveryErrors, "");
    struct Case {
        const char* name;
        int32_t family;
        bool (*isClass)(Controller*);
    };
    const Case cases[] = {
        {"c0", 4, [](Controller* c) { return dynamic_cast<ControllerRhosk*>(c) != nullptr; }},
        {"c1", 6, [](Controller* c) { return dynamic_cast<ControllerSolvane*>(c) != nullptr; }},
        {"c2", 7, [](Controller* c) { return dynamic_cast<ControllerSolvane*>(c) != nullptr; }},
        {"c3", 8, [](Controller* c) { return dynamic_cast<ControllerVantor*>(c) != nullptr; }},
    };
    for (const Case& each : cases) {
        SCOPED_TRACE(each.name);
        Controller* controller = m.getController(each.name);
        EXPECT_EQ(controller->getFamily(), each.family);
        EXPECT_TRUE(each.isClass(controller));
        EXPECT_EQ(controller->getName(), each.name);
        EXPECT_NE(controller->getBbu(), nullptr);
    }
    EXPECT_EQ(ErrorOf([&] { m.getController("c4"); }), Cli(3));
    EXPECT_EQ(ErrorOf([&] { m.getController("C0"); }), Cli(3));
}

TEST_F(ControllerCoreTest, UnclassifiedControllerIsReportedAndLeftOut) {
    ControllerMgr& m = Discover(Machine(NewerController(1, 9, 37), NewerController(2, 6, 37)));
    EXPECT_EQ(discoveryErrors, Cli(4) + "\n\n");
    EXPECT_EQ(ErrorOf([&] { m.getController("c0"); }), Cli(3));
    EXPECT_EQ(m.getController("c1")->getFamily(), 6);
}

// A controller whose tree cannot be built is reported and left out; the
// unit objects it made before the failure are freed with it (the sanitizer
// build reports any that are not), and the other controllers work.
TEST_F(ControllerCoreTest, AFailingControllerCostsOnlyThatController) {
    const json units = json::array({{{"number", 0}, {"type", "raid1"}, {"members", {0, 1}}},
                                    {{"number", 10}, {"type", "single"}, {"members", {3}}}});
    json machine = Machine(NewerController(1, 6, 37, units), NewerController(2, 8, 37));
    // Unit 10's descriptor cannot be read on the first controller.
    machine["faults"] = json::array(
        {{{"match",
           {{"layer", "firmware"}, {"controller", 0}, {"table", "0x030A"}, {"parameter", 9}}},
          {"action", {{"status", 1}, {"code", "0x0204"}}},
          {"count", "always"}}});
    ControllerMgr& m = Discover(machine);
    EXPECT_NE(discoveryErrors.find("(0x03:0x0204)"), std::string::npos) << discoveryErrors;
    EXPECT_EQ(discoveryErrors.substr(discoveryErrors.size() - 2), "\n\n");
    EXPECT_EQ(ErrorOf([&] { m.getController("c0"); }), Cli(3));
    EXPECT_EQ(m.getController("c1")->getFamily(), 8);
}

// The firmware update takes only the update command's own words: an
// "update" elsewhere on the line (here in the host's name) plays no part.
// A controller that refuses the words is reported on standard output and
// the update goes on with the next.
TEST_F(ControllerCoreTest, FirmwareUpdateTakesTheRemainingWords) {
    ControllerMgr& m = Discover(Machine(NewerController(1, 6, 37), NewerController(2, 8, 37)));
    const auto afterUpdateWord = [&](const char* line) {
        std::stringstream words(line);
        std::string skipped;
        words >> skipped >> skipped;
        return Output([&] { m.updateFirmware(words); });
    };
    // Words accepted: each controller's update is reached; the image file
    // does not exist, and each failure (the system's text ends in its own
    // line break) is reported on standard output while the loop goes on.
    const auto missing = [](const char* controller) {
        return std::string("\nExamining compatibility data from firmware image and /") +
               controller +
               " ... Failed.\n(0x0A:0x0002): The system cannot find the file specified.\r\n\n\n\n";
    };
    EXPECT_EQ(afterUpdateWord("//update1 update fw=a.img force"), missing("c0") + missing("c1"));
    EXPECT_EQ(afterUpdateWord("//update1 update fw=a.img bogus"),
              Cli(95) + "\n\n" + Cli(95) + "\n\n");
}

// Discovery gets at most eight controllers from the OS layer, so the
// order of longer names shows only in the manager's map itself: names are
// compared as byte strings, unlike the numeric order of unit names.
TEST(ControllerMgrMap, ControllersAreVisitedInByteOrderOfTheirNames) {
    ControllerMgr::ControllerMap map;
    for (int n = 15; n >= 0; --n)
        map["c" + std::to_string(n)] = nullptr;
    std::string order;
    for (const auto& entry : map)
        order += entry.first + " ";
    EXPECT_EQ(order, "c0 c1 c10 c11 c12 c13 c14 c15 c2 c3 c4 c5 c6 c7 c8 c9 ");
}

TEST_F(ControllerCoreTest, NoControllerListsTheDriverHint) {
    ControllerMgr& m = Discover(Machine());
    EXPECT_EQ(Output([&] { m.showControllers(); }),
              "\nNo controller found.\n"
              "Make sure appropriate Orvo/Kivra device driver(s) are loaded.\n");
    std::stringstream words("update fw=a.img");
    EXPECT_EQ(ErrorOf([&] { m.updateFirmware(words); }), Cli(23));
    // With no controller the word is never looked at: only the header.
    EXPECT_EQ(Output([&] { m.showAlarmsReverse("bogus"); }),
              "\nCtl  Date                        Severity  Alarm Message\n" +
                  std::string(78, '-') + "\n");
}

TEST_F(ControllerCoreTest, UnitsAreMadeByTypeAndLookedUpExactly) {
    const json units = json::array({{{"number", 0}, {"type", "raid1"}, {"members", {0, 1}}},
                                    {{"number", 10}, {"type", "single"}, {"members", {3}}},
                                    {{"number", 2}, {"type", "spare"}, {"members", {2}}},
                                    {{"number", 4}, {"type", "cbod"}, {"members", {4}}}});
    json controller = NewerController(1, 6, 37, units);
    controller["drives"] = Drives(5);
    Controller* c = Discover(Machine(controller)).getController("c0");
    // The CBOD unit is skipped without a message; the map orders the units
    // by name as text.
    EXPECT_EQ(discoveryErrors, "");

    std::vector<std::string> names;
    for (const auto& entry : c->getUnits())
        names.push_back(entry.first);
    EXPECT_EQ(names, (std::vector<std::string>{"u0", "u10", "u2"}));
    EXPECT_EQ(c->getUnit("u10")->getTypeText(), "SINGLE");
    EXPECT_EQ(c->getUnit("u0")->getTypeText(), "RAID-1");

    struct Lookup {
        const char* name;
        std::string error;
    };
    const Lookup lookups[] = {
        {"u010", Cli(6)},
        {"U10", Cli(6)},
        {"u4", Cli(6)},
        {"u1", Cli(6)},
    };
    for (const Lookup& each : lookups) {
        SCOPED_TRACE(each.name);
        EXPECT_EQ(ErrorOf([&] { c->getUnit(each.name); }), each.error);
    }
}

TEST_F(ControllerCoreTest, PortsAndPhysOfTheTree) {
    Controller* c = Discover(Machine(NewerController(1, 6, 37))).getController("c0");
    EXPECT_EQ(c->getPorts().size(), 4u);
    EXPECT_EQ(ErrorOf([&] { c->getPort("p3"); }), "none");
    EXPECT_EQ(ErrorOf([&] { c->getPort("p4"); }), Cli(9));
    EXPECT_EQ(ErrorOf([&] { c->getPort("p03"); }), Cli(9));
    // A family-6 controller has neither phys nor enclosures.
    EXPECT_TRUE(c->getPhys().empty());
    EXPECT_EQ(ErrorOf([&] { c->getPhy("phy0"); }), Cli(136));
    EXPECT_EQ(ErrorOf([&] { c->getEnclosure("e0"); }), Cli(112));
}

TEST_F(ControllerCoreTest, NewestGenerationCountsActiveUnits) {
    const json units = json::array({{{"number", 0}, {"type", "raid5"}, {"members", {0, 1, 2}}},
                                    {{"number", 1}, {"type", "spare"}, {"members", {3}}}});
    json controller = NewerController(1, 8, 37, units);
    controller["drives"] = Drives(5);
    controller["units"].push_back({{"number", 2}, {"type", "cbod"}, {"members", {4}}});
    Controller* c = Discover(Machine(controller)).getController("c0");
    EXPECT_EQ(c->getNumActiveUnits(), 1u);
    EXPECT_EQ(c->getMaxConnections(), 128u);
}

TEST_F(ControllerCoreTest, GenerationPoliciesAndRefusals) {
    ControllerMgr& m = Discover(Machine(NewerController(1, 6, 37), NewerController(2, 8, 37)));
    for (const char* name : {"c0", "c1"}) {
        SCOPED_TRACE(name);
        Controller* c = m.getController(name);
        EXPECT_EQ(c->getIgnoreFuaWrite(), "Not Supported");
        EXPECT_EQ(c->getOnDegrade(), "Not Supported");
        std::istringstream none;
        EXPECT_EQ(ErrorOf([&] { c->setIgnoreFuaWrite(none, "ignorefuawrite=on"); }), Cli(24));
        EXPECT_EQ(ErrorOf([&] { c->setOnDegrade("ondegrade=follow"); }), Cli(24));
    }
    // The counts and limits are the newest generation's alone.
    EXPECT_EQ(ErrorOf([&] { m.getController("c0")->getMaxConnections(); }), Cli(24));
    EXPECT_EQ(ErrorOf([&] { m.getController("c0")->getNumActiveUnits(); }), Cli(24));
}

TEST(ControllerCoreTexts, SeverityAndLinkSpeedLimit) {
    const std::pair<uint8_t, const char*> severities[] = {
        {1, "ERROR   "}, {2, "WARNING "}, {3, "INFO    "},  {4, "DEBUG   "},
        {0, "UNKNOWN "}, {5, "UNKNOWN "}, {255, "UNKNOWN "}};
    for (const auto& each : severities)
        EXPECT_EQ(ControllerWescal::getSeverityText(each.first), each.second);
    const std::pair<uint32_t, const char*> limits[] = {
        {0, "Auto"}, {1, "1.5 Gbps"}, {2, "3.0 Gbps"}, {3, "N/A"}, {0xFFFFFFFF, "N/A"}};
    for (const auto& each : limits)
        EXPECT_EQ(ControllerVantor::linkSpeedLimitText(each.first), each.second);
}

// A newest-generation controller that records what the command grammar
// hands to its operations instead of acting on them.
class RecordingController : public ControllerVantor {
  public:
    RecordingController(const std::string& name, uint32_t number, ObjectId id)
        : ControllerVantor(name, number, id) {}

    int rescan(bool makeOsAware) override {
        calls.push_back(std::string("rescan ") + (makeOsAware ? "aware" : "noscan"));
        return 0;
    }
    int addScheduleSlot(const std::string& slot, const std::string& task) override {
        calls.push_back("add " + task + " " + slot);
        return 0;
    }
    int deleteScheduleSlot(int slot, const std::string& task) override {
        calls.push_back("del " + task + " " + std::to_string(slot));
        return 0;
    }
    int createUnit(std::istream& options, const std::string& type,
                   const std::string& style) override {
        std::string text(std::istreambuf_iterator<char>(options), {});
        calls.push_back("create " + type + " " + style + " [" + text + "]");
        return 0;
    }
    int updateFirmware(const std::string& fileName, uint8_t force, uint8_t warning) override {
        calls.push_back("update " + fileName + " " + std::to_string(force) + " " +
                        std::to_string(warning));
        return 0;
    }

    std::vector<std::string> calls;
};

TEST_F(ControllerCoreTest, GrammarHandsWordsToTheOperations) {
    Discover(Machine(NewerController(1, 8, 37)));
    ObjectId id{};
    mgr->getController("c0")->getObjectId(&id);

    struct Case {
        const char* words;
        std::vector<std::string> calls;
    };
    const Case cases[] = {
        {"rescan", {"rescan aware"}},
        {"rescan noscan", {"rescan noscan"}},
        {"rescan xnoscanx noscan", {"rescan noscan", "rescan noscan"}},
        {"add rebuild=1:0:2 verify=2:30:4", {"add rebuild 1:0:2", "add verify 2:30:4"}},
        {"add selftest=3", {"add selftest 3"}},
        {"add rebuild=1 disk=0-2 type=raid5 stripe=64",
         {"add rebuild 1", "create raid5 new [ disk=0-2 stripe=64]"}},
        {"add type=raid0 type=raid1 disk=0:1", {"create raid1 new [ disk=0:1]"}},
        {"del rebuild=3 selftest=x", {"del rebuild 3", "del selftest 0"}},
        {"update fw=A.img force fw=B.img", {"update B.img 1 1"}},
        {"update fw=A.img help", {}},
        {"add disk=0-2 ? type=raid5", {}},
    };
    for (const Case& each : cases) {
        SCOPED_TRACE(each.words);
        RecordingController controller("c0", 0, id);
        std::istringstream words(each.words);
        Output([&] { EXPECT_EQ(controller.execute(words), 0); });
        EXPECT_EQ(controller.calls, each.calls);
    }
}

TEST_F(ControllerCoreTest, OldStyleManagerWordsAreChecked) {
    ControllerMgr& m = Discover(Machine(NewerController(1, 6, 37)));
    struct Case {
        const char* command;
        const char* words;
        int code;
    };
    const Case cases[] = {
        {"set", "cache c0 u0 on extra", 14},
        {"set", "rebuild c0", 14},
        {"set", "help c0 x", 14},
        {"set", "cache c0 u0 maybe", 14},
        {"set", "autoverify c9 u0 on", 3},
        {"sched", "bogus c0", 17},
        {"sched", "rebuild c9", 3},
        {"alarms", "extra", 15},
        {"rescan", "foo", 16},
        {"rescan", "c9", 3},
    };
    for (const Case& each : cases) {
        SCOPED_TRACE(std::string(each.command) + " " + each.words);
        std::stringstream words(each.words);
        const std::string command = each.command;
        EXPECT_EQ(ErrorOf([&] {
                      if (command == "set")
                          m.setCommand(words);
                      else if (command == "sched")
                          m.schedCommand(words);
                      else if (command == "alarms")
                          m.alarmsCommand(words);
                      else
                          m.rescanCommand(words);
                  }),
                  Cli(each.code));
    }
}

}  // namespace
}  // namespace controller_core_tree_test
