// Building enclosure objects from what the library reports over the
// emulated host: the element maps, the lookups and their codes, the lists
// that cannot be read (with the host's fault rules on the enclosure's SCSI
// pass-through), and the host-level enclosures' controller lookup.
#include <gtest/gtest.h>

#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "base/kv_exception.h"
#include "controllers/controller_mgr.h"
#include "devices/enclosure.h"
#include "enclosure_emulated_test.h"
#include "shell/shell.h"
#include "test_support.h"

namespace enclosure_obj_build_test {
namespace {

using enclosure_test::EnclosureTest;
using integration::json;
using test_support::Cli;
using test_support::ErrorOf;
using test_support::Output;

// The SAF-TE enclosure of the shared host: behind port 1 of controller 1,
// with 2 fans, 4 slots, 1 power supply, 2 temperature sensors, 1 alarm and
// 1 door lock. Its element lists are read with one READ BUFFER each, in the
// order fans, slots, power supplies, temperature sensors, alarms, doors.
constexpr uint8_t kSafteController = enclosure_test::kSafte;
constexpr uint8_t kSaftePort = 1;
constexpr int kPassThroughOpcode = 0x10;

class EnclosureObjectTest : public EnclosureTest {
  protected:
    void SetUp() override {
        EnclosureTest::SetUp();
        shell_ = std::make_unique<Shell>();
        theShell = shell_.get();
    }
    void TearDown() override {
        theShell = nullptr;
        EnclosureTest::TearDown();
    }

    // The SAF-TE enclosure's id, listed before any fault rule is set. The
    // host reads its host file, so that later fault rules reach it.
    ObjectId SafteEnclosure() {
        InstallFile(enclosure_test::FixtureHost());
        ObjectIdList16 controllers;
        EXPECT_EQ(Api::GetControllerIdList(&controllers), 0);
        return EnclosureId(kSafteController, kSaftePort);
    }

    // Fails `count` pass-through requests of the SAF-TE controller after
    // letting `skip` of them through.
    void FailPassThrough(int skip, int count) {
        SetFaults(json::array(
            {{{"match", {{"layer", "firmware"}, {"opcode", kPassThroughOpcode}, {"controller", 1}}},
              {"action", {{"status", 1}, {"code", "0x0204"}}},
              {"count", count},
              {"skip", skip}}}));
    }

  private:
    std::unique_ptr<Shell> shell_;
};

struct MapSizes {
    size_t fans, slots, powerSupplies, tempSensors, alarms, doors;
    bool operator==(const MapSizes& o) const {
        return fans == o.fans && slots == o.slots && powerSupplies == o.powerSupplies &&
               tempSensors == o.tempSensors && alarms == o.alarms && doors == o.doors;
    }
};

MapSizes SizesOf(const Enclosure& e) {
    return {e.getFans().size(),        e.getSlots().size(),  e.getPowerSupplies().size(),
            e.getTempSensors().size(), e.getAlarms().size(), e.getDoors().size()};
}

TEST_F(EnclosureObjectTest, BuildsEveryElementOfTheEnclosure) {
    const ObjectId id = SafteEnclosure();
    Enclosure enclosure("e0", 1, id);
    EXPECT_EQ(enclosure.getProtocol(), "SAF-TE");
    EXPECT_EQ(enclosure.getPath(), "/e0");
    EXPECT_EQ(enclosure.getNoElements(), 0u);
    EXPECT_TRUE((SizesOf(enclosure) == MapSizes{2, 4, 1, 2, 1, 1}));
    EXPECT_EQ(enclosure.getControllerNumber(), 1u);
}

// Each lookup finds its elements by the exact name and refuses any other
// with its own code; alarms and doors answer "Device not found.".
TEST_F(EnclosureObjectTest, LookupsFindExactNamesAndRefuseOthersWithTheirCodes) {
    const ObjectId id = SafteEnclosure();
    Enclosure enclosure("e0", 1, id);
    using Lookup = Object* (Enclosure::*)(const std::string&);
    struct Case {
        Lookup lookup;
        const char* present;
        const char* missing;
        int code;
    };
    const Case cases[] = {
        {&Enclosure::getSlot, "slot3", "slot4", 113},
        {&Enclosure::getFan, "fan1", "fan2", 114},
        {&Enclosure::getTempSensor, "temp1", "temp2", 127},
        {&Enclosure::getPowerSupply, "pwrs0", "pwrs1", 129},
        {&Enclosure::getAlarm, "alm0", "alm7", 111},
        {&Enclosure::getDoor, "edr0", "door0", 111},
    };
    for (const Case& c : cases) {
        EXPECT_NE((enclosure.*c.lookup)(c.present), nullptr) << c.present;
        EXPECT_EQ(ErrorOf([&] { (enclosure.*c.lookup)(c.missing); }), Cli(c.code)) << c.missing;
        EXPECT_EQ(ErrorOf([&] { (enclosure.*c.lookup)(std::string("0") + c.present); }),
                  Cli(c.code))
            << "the name is not normalised";
    }
}

// A list that cannot be read prints its line and leaves its map empty; only
// when the fan, slot, power-supply and temperature-sensor lists all fail is
// the enclosure flagged, and its summary row says so.
TEST_F(EnclosureObjectTest, UnreadableListsPrintTheirLineAndFlagOnlyWhenAllFourFail) {
    struct Case {
        const char* what;
        int skip;
        int count;
        const char* lines;
        MapSizes sizes;
        uint32_t noElements;
    };
    const Case cases[] = {
        {"fan list", 0, 1, "Error: Cannot get fan ID list from API\n", {0, 4, 1, 2, 1, 1}, 0},
        {"slot and power-supply lists",
         1,
         2,
         "Error: Cannot get slot ID list from API\n"
         "Error: Cannot get power supply ID list from API\n",
         {2, 0, 0, 2, 1, 1},
         0},
        {"the four lists",
         0,
         4,
         "Error: Cannot get fan ID list from API\n"
         "Error: Cannot get slot ID list from API\n"
         "Error: Cannot get power supply ID list from API\n"
         "Error: Cannot get temp sensor ID list from API\n",
         {0, 0, 0, 0, 1, 1},
         1},
        {"door list", 5, 1, "Error: Cannot get door ID list from API\n", {2, 4, 1, 2, 1, 0}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const ObjectId id = SafteEnclosure();
        FailPassThrough(c.skip, c.count);
        std::unique_ptr<Enclosure> enclosure;
        EXPECT_EQ(Output([&] { enclosure = std::make_unique<Enclosure>("/c1/e1", 1, id); }),
                  c.lines);
        ASSERT_NE(enclosure, nullptr);
        EXPECT_TRUE(SizesOf(*enclosure) == c.sizes);
        EXPECT_EQ(enclosure->getNoElements(), c.noElements);
    }
}

TEST_F(EnclosureObjectTest, FlaggedEnclosureSummaryRowReportsTheFailedDiscovery) {
    const ObjectId id = SafteEnclosure();
    FailPassThrough(0, 4);
    std::unique_ptr<Enclosure> enclosure;
    (void)Output([&] { enclosure = std::make_unique<Enclosure>("/c1/e1", 1, id); });
    EXPECT_EQ(Output([&] { enclosure->showSummaryRow(false); }),
              "Error: Enclosure elements discovery fail.\n");
    // The legacy row of the host-level enclosures has no such test.
    EXPECT_EQ(Output([&] { enclosure->showLegacySummaryRow(false); }),
              "/c1/e1        0      0       0     0        0        \n");
}

// An alarm list that cannot be read ends the building with the library's
// error; the elements loaded before it are released with the enclosure
// (the sanitizer build checks that nothing leaks).
TEST_F(EnclosureObjectTest, UnreadableAlarmListEndsTheBuildingWithTheLibraryError) {
    const ObjectId id = SafteEnclosure();
    FailPassThrough(4, 1);
    const std::string error = ErrorOf([&] { Enclosure enclosure("e0", 1, id); });
    EXPECT_NE(error.find("(0x"), std::string::npos) << error;
    EXPECT_EQ(error.find("CLI"), std::string::npos) << error;
}

TEST_F(EnclosureObjectTest, EmptyListsAreNotAFailedDiscovery) {
    StartHost([](json& state) {
        json& e3 = enclosure_test::EnclosureOf(state, enclosure_test::kSes, 3);
        for (const char* list : {"fans", "power_supplies", "temp_sensors", "alarms", "door_locks"})
            e3.erase(list);
        e3["slots"] = 0;
    });
    const ObjectId id = EnclosureId(enclosure_test::kSes, 3);
    Enclosure enclosure("/c0/e3", 3, id);
    EXPECT_TRUE((SizesOf(enclosure) == MapSizes{0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(enclosure.getNoElements(), 0u);
    EXPECT_EQ(Output([&] { enclosure.showSummaryRow(false); }),
              "/c0/e3        0      0       0     0        0        0        \n");
}

// A host-level enclosure takes its controller's family as the manager
// hands it; a controller the manager does not hold is code 3.
TEST_F(EnclosureObjectTest, HostLevelEnclosureNeedsItsControllerInTheManager) {
    const ObjectId id = SafteEnclosure();
    std::unique_ptr<ControllerMgr> mgr;
    {
        const test_support::StreamCapture discoveryErrors(std::cerr);
        (void)Output([&] { mgr = std::make_unique<ControllerMgr>(); });
    }

    EnclosureTevrin enclosure("e0", 1, 1, mgr->getController("c1")->getFamily(), id);
    EXPECT_EQ(enclosure.getFamily(), 6);
    EXPECT_EQ(enclosure.getControllerNumber(), 1u);
    EXPECT_EQ(ErrorOf([&] { (void)mgr->getController("c9"); }), Cli(3));
}

}  // namespace
}  // namespace enclosure_obj_build_test
