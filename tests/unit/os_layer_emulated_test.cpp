// The OS layer against the emulated host: the same enumeration, registry
// and removal paths as on Windows, answered by the machine model.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "api/os/os_layer.h"
#include "emulator/emulated_host.h"
#include "test_support.h"

namespace os_layer_emulated_test {
namespace {

using nlohmann::json;

// Controllers in discovery order: slot 5 (type 5), slot 2 (type 1),
// another maker's device, no slot query answer or slot 2 (type 2).
json Machine(bool lastAnswersSlot) {
    json last = {{"device_type", 2}};
    if (lastAnswersSlot)
        last["slot"] = 2;
    return {{"format", 1},
            {"machine",
             {{"controllers",
               {{{"device_type", 5}, {"slot", 5}, {"ui_number", 3}},
                {{"device_type", 1}, {"slot", 2}},
                {{"device_type", 3}, {"slot", 1}, {"instance_id", "PCI\\VEN_8086&DEV_2822\\3&0"}},
                last}},
              {"disks",
               {{{"controller", 0}, {"target", 0}, {"disk_number", 1}},
                {{"controller", 0}, {"target", 0}, {"disk_number", 2}, {"needs_restart", true}},
                {{"controller", 0}, {"target", 1}, {"disk_number", 3}},
                {{"controller", -1}, {"target", 0}, {"disk_number", 0}}}},
              {"volumes",
               {{{"name", "C:"}, {"extents", {{{"disk_number", 0}}}}},
                {{"name", "D:"}, {"extents", {{{"disk_number", 2}}}}}}}}}};
}

class OsLayerEmulatedTest : public ::testing::Test {
  protected:
    void SetUp() override { OsLayer::ResetProcessState(); }
    void TearDown() override {
        OsLayer::ResetProcessState();
        platform::SetHost(nullptr);
    }
    OsLayer os;
};

TEST_F(OsLayerEmulatedTest, ListsTheMakersControllersInSlotOrder) {
    test_support::InstallEmulatedHost(Machine(true));
    ASSERT_EQ(os.EnumerateControllers(), kOsSuccess);
    ASSERT_EQ(os.GetControllerCount(), 3);
    EXPECT_TRUE(os.IsSortedBySlot());
    // Slots 5, 2, 2 end as 2 (the later one first), 2, 5.
    EXPECT_EQ(os.GetDeviceType(0), 2u);
    EXPECT_EQ(os.GetDeviceType(1), 1u);
    EXPECT_EQ(os.GetDeviceType(2), 5u);
    const OsControllerEntry* withDisks = os.GetEntry(2);
    ASSERT_NE(withDisks, nullptr);
    EXPECT_EQ(withDisks->uiNumber, 3);
    EXPECT_EQ(withDisks->diskCount, 3);
    EXPECT_EQ(withDisks->targetCount, 2);
    EXPECT_EQ(os.GetEntry(0)->diskCount, 0);
}

TEST_F(OsLayerEmulatedTest, AControllerWithoutSlotKeepsDiscoveryOrder) {
    test_support::InstallEmulatedHost(Machine(false));
    ASSERT_EQ(os.EnumerateControllers(), kOsSuccess);
    EXPECT_FALSE(os.IsSortedBySlot());
    EXPECT_EQ(os.GetDeviceType(0), 5u);
    EXPECT_EQ(os.GetDeviceType(1), 1u);
    EXPECT_EQ(os.GetDeviceType(2), 2u);
}

TEST_F(OsLayerEmulatedTest, CacheValueAndRemovalReachTheMachine) {
    emulator::EmulatedHost& host = test_support::InstallEmulatedHost(Machine(false));
    ASSERT_EQ(os.EnumerateControllers(), kOsSuccess);
    ASSERT_EQ(os.SetCacheSetting(0, 0, 1), kOsSuccess);
    bool written = false;
    for (const auto& [key, values] : host.state()["machine"]["registry"].items()) {
        if (key.find("Device Parameters\\Disk") != std::string::npos &&
            values.value("UserWriteCacheSetting", 0) == 1) {
            written = true;
        }
    }
    EXPECT_TRUE(written);
    EXPECT_EQ(os.DelCacheSetting(0, 0), kOsSuccess);
    EXPECT_EQ(os.DelCacheSetting(0, 0), kOsSuccess);  // value already gone

    // Unit 0's second disk carries volume D: and needs a restart to go.
    EXPECT_EQ(os.RemoveUnitDisks(0, 0), kOsNeedsRestart);
    const json& disks = host.state()["machine"]["disks"];
    EXPECT_FALSE(disks[0].value("present", true));
    EXPECT_FALSE(disks[1].value("present", true));
    EXPECT_TRUE(disks[2].value("present", true));
    EXPECT_EQ(os.RemoveUnitDisks(0, 5), kOsNoSuchUnit);
}

}  // namespace
}  // namespace os_layer_emulated_test
