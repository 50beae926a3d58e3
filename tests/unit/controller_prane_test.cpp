// The older family's controller class: its construction over an emulated
// older-family controller, and the class's own bodies (refusals, fixed
// texts, severity texts, the two event lists and the old-style create-unit
// words). The bodies do not depend on the back end; they are tried on an
// object whose tree is built from a newer-family controller and whose
// event queue is scripted.
#include "controllers/controller_prane.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <functional>
#include <iostream>
#include <memory>
#include <sstream>
#include <string>

#include "api/api.h"
#include "base/help.h"
#include "base/kv_exception.h"
#include "controllers/bbu.h"
#include "integration_host.h"
#include "shell/shell.h"
#include "test_support.h"

namespace controller_prane_test {
namespace {

using integration::json;
using test_support::Cli;
using test_support::ErrorOf;
using test_support::Output;

// The library's message for a request that the controller's family lacks.
const std::string kUnsupported = "(0x0B:0x0002): Feature not supported\n";

// An older-family controller object whose event queue is a script: the
// queued events, then, when `failAtEnd` is set, a failed read, else the
// empty queue (or, with `endless`, the same event for ever).
class ScriptedPrane : public ControllerPrane {
  public:
    using ControllerPrane::ControllerPrane;

    void queue(uint16_t code, uint8_t severity, const std::string& text) {
        QueuedEvent event;
        event.code = code;
        event.severity = severity;
        event.text = text;
        events.push_back(event);
    }
    const std::string& autoCarve() const { return autoCarveText; }

    bool failAtEnd = false;
    bool endless = false;
    int reads = 0;

  protected:
    QueuedEvent readNextEvent() override {
        ++reads;
        if (endless) {
            QueuedEvent again;
            again.code = 7;
            again.severity = 3;
            again.text = "again";
            return again;
        }
        if (events.empty()) {
            if (failAtEnd)
                throw KV_Exception("(0x12:0x0020): read failed");
            return QueuedEvent{};
        }
        QueuedEvent next = events.front();
        events.pop_front();
        return next;
    }

  private:
    std::deque<QueuedEvent> events;
};

class PraneControllerTest : public integration::IntegrationTest {
  protected:
    void SetUp() override {
        IntegrationTest::SetUp();
        shell_ = std::make_unique<Shell>();
        theShell = shell_.get();
    }
    void TearDown() override {
        theShell = nullptr;
        shell_.reset();
        IntegrationTest::TearDown();
    }

    // Lists the controllers and returns the id of the first of `family`.
    static ObjectId FirstOfFamily(uint32_t wanted) {
        ObjectIdList16 list{};
        list.zero();
        EXPECT_EQ(Api::GetControllerIdList(&list), 0);
        for (std::size_t i = 0; i < list.size(); ++i) {
            uint32_t family = 0;
            if (Api::GetControllerFamily(list.ids[i], &family) == 0 && family == wanted)
                return list.ids[i];
        }
        ADD_FAILURE() << "no controller of family " << wanted;
        return ObjectId::Blank();
    }

    // The scripted object, its tree built from a family-4 controller with
    // four drives and one unit.
    std::unique_ptr<ScriptedPrane> StandIn() {
        json drives = json::array();
        for (int p = 0; p < 4; ++p)
            drives.push_back({{"port", p}, {"capacity", 976773168ull}, {"serial", "S"}});
        Install(Machine(json::array({integration::RhoskController(
            5, 5, "KVS26021-180274",
            {{"settings", {{"ports", 4}}},
             {"drives", drives},
             {"units",
              json::array({{{"number", 0}, {"type", "raid1"}, {"members", {0, 1}}}})}})})));
        const ObjectId id = FirstOfFamily(4);
        return std::make_unique<ScriptedPrane>("c0", 0, id);
    }

  private:
    std::unique_ptr<Shell> shell_;
};

// An older-family controller: the object builds its units and ports from
// the library's answers for the family, as on the built-in default host.
TEST_F(PraneControllerTest, ConstructionBuildsTheOlderControllersTree) {
    struct Case {
        json machine;
        size_t ports;
        size_t units;
    };
    const Case cases[] = {
        {Machine(json::array(
             {integration::PraneController("KVS19004-120043", {{"settings", {{"ports", 2}}}})})),
         2, 0},
        {emulator::EmulatedHost::defaultHost(), 2, 1},
    };
    for (const Case& c : cases) {
        ResetLibrary();
        Install(c.machine);
        const ObjectId id = FirstOfFamily(3);
        std::unique_ptr<ControllerPrane> prane;
        EXPECT_EQ(ErrorOf([&] { prane = std::make_unique<ControllerPrane>("c0", id[1], id); }),
                  "none");
        ASSERT_NE(prane, nullptr);
        EXPECT_EQ(prane->getPorts().size(), c.ports);
        EXPECT_EQ(prane->getUnits().size(), c.units);
        EXPECT_TRUE(prane->getPhys().empty());
    }
    EXPECT_TRUE(integration::OpensAreClosed(Log()));
}

TEST_F(PraneControllerTest, ConstructionSetsFamilyBatteryAndAutoCarveText) {
    std::unique_ptr<ScriptedPrane> prane = StandIn();
    EXPECT_EQ(prane->getFamily(), 3);
    EXPECT_NE(prane->getBbu(), nullptr);
    EXPECT_EQ(prane->autoCarve(), "notsupported");
    // The tree is the base class's.
    EXPECT_EQ(prane->getPorts().size(), 4u);
    EXPECT_EQ(prane->getUnits().size(), 1u);
    EXPECT_TRUE(prane->getPhys().empty());
}

// Every refusal throws its code before printing or touching anything,
// whatever its arguments.
TEST_F(PraneControllerTest, UnsupportedOperationsRefuseWithTheirCode) {
    std::unique_ptr<ScriptedPrane> prane = StandIn();
    ClearTraffic();
    std::istringstream words("on extra words");
    struct Case {
        const char* what;
        std::function<void()> call;
        int code;
    };
    ScriptedPrane& c = *prane;
    const Case cases[] = {
        {"schedRebuildCommand", [&] { c.schedRebuildCommand(words); }, 24},
        {"schedVerifyCommand", [&] { c.schedVerifyCommand(words); }, 24},
        {"schedSelftestCommand", [&] { c.schedSelftestCommand(words); }, 24},
        {"showRebuildSchedule", [&] { c.showRebuildSchedule(); }, 24},
        {"showVerifySchedule", [&] { c.showVerifySchedule(); }, 24},
        {"showSelftestSchedule", [&] { c.showSelftestSchedule(); }, 24},
        {"addScheduleSlot", [&] { c.addScheduleSlot("1", "rebuild"); }, 57},
        {"deleteScheduleSlot", [&] { c.deleteScheduleSlot(1, "verify"); }, 57},
        {"setRebuild", [&] { c.setRebuild(words, "rebuild=enable"); }, 24},
        {"setVerify", [&] { c.setVerify(words, "verify=basic"); }, 24},
        {"setSelftest", [&] { c.setSelftest(words, "selftest=enable"); }, 24},
        {"setIgnoreFuaWrite", [&] { c.setIgnoreFuaWrite(words, "ignorefuawrite=on"); }, 24},
        {"setForceDriveCacheOn", [&] { c.setForceDriveCacheOn(words, "forcedrivecacheon=on"); },
         24},
        {"setOnDegrade", [&] { c.setOnDegrade("ondegrade=follow"); }, 24},
        {"setAvMode", [&] { c.setAvMode("avmode=on"); }, 24},
        {"updateFirmware", [&] { c.updateFirmware("fw.img", 1, 0); }, 24},
        {"setLbaReorder", [&] { c.setLbaReorder(words, "lbareorder=on"); }, 24},
    };
    for (const Case& each : cases) {
        SCOPED_TRACE(each.what);
        std::string error;
        EXPECT_EQ(Output([&] { error = ErrorOf(each.call); }), "");
        EXPECT_EQ(error, Cli(each.code));
    }
    EXPECT_TRUE(Requests().empty());
}

TEST_F(PraneControllerTest, PoliciesTheFamilyLacksReadAsFixedTexts) {
    std::unique_ptr<ScriptedPrane> prane = StandIn();
    ClearTraffic();
    ScriptedPrane& c = *prane;
    EXPECT_EQ(c.getIgnoreFuaWrite(), "Not Supported");
    EXPECT_EQ(c.getForceDriveCacheOn(), "Not Supported");
    EXPECT_EQ(c.getOnDegrade(), "Not Supported");
    EXPECT_EQ(c.getAvMode(), "Not Supported");
    EXPECT_EQ(c.getLbaReorder(), "Not Supported");
    EXPECT_EQ(c.getVerifyRate(), "-");
    EXPECT_TRUE(Requests().empty());
    // As the controller's show command prints them.
    std::istringstream words("show ondegrade");
    EXPECT_EQ(Output([&] { c.execute(words); }), "/c0 Cache on Degrade Policy = Not Supported\n");
}

TEST_F(PraneControllerTest, SeverityTexts) {
    const std::pair<uint8_t, const char*> cases[] = {
        {1, "ERROR"},   {2, "WARNING"}, {3, "INFO"},      {4, "DEBUG"},
        {0, "UNKNOWN"}, {5, "UNKNOWN"}, {255, "UNKNOWN"},
    };
    for (const auto& [severity, text] : cases)
        EXPECT_EQ(ControllerPrane::getSeverityText(severity), text) << int(severity);
}

// The line of an event: the controller padded to 5, "-" padded to 28, the
// severity padded to 10, the message; no header.
TEST_F(PraneControllerTest, EventListsPrintQueuedEventsInBothOrders) {
    std::unique_ptr<ScriptedPrane> prane = StandIn();
    const std::string pad5 = "c0   ";
    const std::string dash28 = "-" + std::string(27, ' ');
    const std::string first = pad5 + dash28 + "ERROR     " + "Drive removed: port 3\n";
    const std::string second = pad5 + dash28 + "WARNING   " + "Unit degraded\n";
    const std::string third = pad5 + dash28 + "INFO      " + "\n";
    const auto queueThree = [&] {
        prane->queue(0x19, 1, "Drive removed: port 3");
        prane->queue(0x02, 2, "Unit degraded");
        prane->queue(0x31, 3, "");
    };

    queueThree();
    EXPECT_EQ(Output([&] { prane->showAlarms(); }), third + second + first);
    queueThree();
    EXPECT_EQ(Output([&] { prane->showAlarmsReverse(); }), first + second + third);

    // The empty queue prints nothing at all.
    EXPECT_EQ(Output([&] { prane->showAlarms(); }), "");
    EXPECT_EQ(Output([&] { prane->showAlarmsReverse(); }), "");
}

// A failed read: the forward list has printed nothing, the reverse list
// keeps the lines it printed.
TEST_F(PraneControllerTest, EventListFailures) {
    std::unique_ptr<ScriptedPrane> prane = StandIn();
    prane->failAtEnd = true;
    const auto queueTwo = [&] {
        prane->queue(1, 1, "one");
        prane->queue(2, 2, "two");
    };
    const std::string failure = "(0x12:0x0020): read failed\n";

    queueTwo();
    std::string error;
    EXPECT_EQ(Output([&] { error = ErrorOf([&] { prane->showAlarms(); }); }), "");
    EXPECT_EQ(error, failure);

    queueTwo();
    const std::string printed =
        Output([&] { error = ErrorOf([&] { prane->showAlarmsReverse(); }); });
    EXPECT_EQ(error, failure);
    EXPECT_NE(printed.find("one\n"), std::string::npos);
    EXPECT_NE(printed.find("two\n"), std::string::npos);
}

// A controller that keeps reporting events: each list reads at most 1000.
TEST_F(PraneControllerTest, EventListsStopAfterAThousandEvents) {
    std::unique_ptr<ScriptedPrane> prane = StandIn();
    prane->endless = true;
    const auto lines = [](const std::string& text) {
        return std::count(text.begin(), text.end(), '\n');
    };
    EXPECT_EQ(lines(Output([&] { prane->showAlarmsReverse(); })), 1000);
    EXPECT_EQ(prane->reads, 1000);
    prane->reads = 0;
    EXPECT_EQ(lines(Output([&] { prane->showAlarms(); })), 1000);
    EXPECT_EQ(prane->reads, 1000);
}

// Over an emulated older controller: each read takes the next queued
// event, so a second listing finds the queue empty; a failed read raises
// the transport's error.
TEST_F(PraneControllerTest, EventListsReadTheControllersQueue) {
    const json events =
        json::array({{{"code", 0x29}, {"parameter", 0}}, {{"code", 0x0A}, {"parameter", 1}}});
    Install(Machine(json::array({integration::PraneController(
        "KVS19004-120043", {{"settings", {{"ports", 2}}}, {"events", events}})})));
    ObjectId id = FirstOfFamily(3);
    ControllerPrane prane("c0", 0, id);
    EXPECT_EQ(Output([&] { prane.showAlarmsReverse(); }),
              "c0   -                           INFO      (0x0F:0x0029): Verify started: Unit #0\n"
              "c0   -                           ERROR     (0x0F:0x000A): Drive error: Port #1\n");
    EXPECT_EQ(Output([&] { prane.showAlarms(); }), "");

    Install(Machine(json::array({integration::PraneController(
                        "KVS19004-120043", {{"settings", {{"ports", 2}}}, {"events", events}})}),
                    json::array({integration::Fault({{"layer", "firmware"}, {"opcode", "0x1C"}},
                                                    {{"code", "0x51C7"}}, "always")})));
    id = FirstOfFamily(3);
    ControllerPrane failing("c0", 0, id);
    EXPECT_EQ(ErrorOf([&] { failing.showAlarms(); }),
              "(0x12:0x00C7): Prane driver message not found\n");
}

// The old-style createunit words. A type the family creates reaches the
// unit's own creation, whose option check refuses a drive list that does
// not fit the type (CLI error 10) before anything is sent; the creation
// itself is tried on an emulated older-family controller
// (pranewire_c2.t).
TEST_F(PraneControllerTest, CreateUnitWords) {
    std::unique_ptr<ScriptedPrane> prane = StandIn();
    const std::pair<const char*, std::string> cases[] = {
        {"rraid5 p0", Cli(10)},
        {"p0:1:2 rraid1", Cli(10)},
        {"rjbod", Cli(10)},
        {"rspare", Cli(10)},
        {"rraid50 p0:1:2:3", Cli(26)},
        {"rraid6 p0:1:2:3", Cli(26)},
        {"rsingle p0", Cli(26)},
        {"rraid5x p0:1:2", Cli(26)},
        // A later r-word replaces an earlier one.
        {"rraid0 rraid50 p0:1", Cli(26)},
        {"rraid50 rraid0 p0", Cli(10)},
        {"p0:1:2", Cli(16)},
        {"r p0:1:2", Cli(16)},
        {"", Cli(16)},
    };
    for (const auto& [line, expected] : cases) {
        SCOPED_TRACE(line);
        std::istringstream words(line);
        EXPECT_EQ(ErrorOf([&] { prane->createUnitCommand(words); }), expected);
    }

    // "help" and "?" print the old-style create-unit help, whatever else
    // the words hold.
    const std::string help = Output([] { theShell->getHelp()->showMaintCreateUnitHelp(); });
    ASSERT_NE(help, "");
    for (const char* line : {"help", "rraid50 ?", "p0:1 help rraid5"}) {
        SCOPED_TRACE(line);
        std::istringstream words(line);
        int result = -1;
        EXPECT_EQ(Output([&] { result = prane->createUnitCommand(words); }), help);
        EXPECT_EQ(result, 0);
    }

    // The controller's "add type=" reaches the same creation.
    std::istringstream none;
    EXPECT_EQ(ErrorOf([&] { prane->createUnit(none, "raid10", "new"); }), Cli(10));
    EXPECT_EQ(ErrorOf([&] { prane->createUnit(none, "raid50", "new"); }), Cli(26));
}

}  // namespace
}  // namespace controller_prane_test
