// Controller discovery and classification through the real library over
// the emulated host: which controllers get numbers, in which order, and
// which family each one is.
#include <optional>

#include "api/api.h"
#include "api/device_io.h"
#include "integration_host.h"

namespace integration::integration_discovery_test {
namespace {

class IntegrationDiscovery : public IntegrationTest {
  protected:
    // The serial numbers of the listed controllers, in controller order.
    std::vector<std::string> ListedSerials() {
        ObjectIdList16 list;
        EXPECT_EQ(Api::GetControllerIdList(&list), 0);
        std::vector<std::string> serials;
        for (size_t i = 0; i < list.size(); ++i) {
            EXPECT_EQ(list.ids[i][ObjectId::kController], i);
            serials.push_back(TheDriver().slot(static_cast<int32_t>(i))->serialNumber);
        }
        return serials;
    }
};

TEST_F(IntegrationDiscovery, FamilyFromDeviceTypeModelCodeAndHostBusBits) {
    const json probe26 = {{"layer", "firmware"}, {"table", "0x0403"}, {"parameter", 26}};
    const json probe14 = {{"layer", "firmware"}, {"table", "0x0402"}, {"parameter", 14}};
    const json failing = {{"status", 1}, {"code", "0x010C"}};
    struct Case {
        const char* what;
        json controller;
        json faults;
        int32_t family;
    } cases[] = {
        {"older family", PraneController("P0"), json::array(), 3},
        {"model 4", RhoskController(2, 4, "R4"), json::array(), 4},
        {"model 5", RhoskController(3, 5, "R5"), json::array(), 4},
        {"model 6 without bus bits", RhoskController(4, 6, "S6"), json::array(), 6},
        {"model 6, bus bit 0x100",
         RhoskController(4, 6, "T6", {{"settings", {{"host_bus", 0x100}}}}), json::array(), 7},
        {"model 7, bus bit 0x200",
         RhoskController(5, 7, "T7", {{"settings", {{"host_bus", 0x200}}}}), json::array(), 7},
        {"model 7, other bus bits",
         RhoskController(5, 7, "S7", {{"settings", {{"host_bus", 0x0C00}}}}), json::array(), 6},
        {"model 6, bus read fails",
         RhoskController(4, 6, "S6b", {{"settings", {{"host_bus", 0x300}}}}),
         json::array({Fault(probe26, failing, "always")}), 6},
        {"model 8", RhoskController(6, 8, "V8"), json::array(), 8},
        {"model 10", RhoskController(6, 10, "V10"), json::array(), 8},
        {"model 9", RhoskController(6, 9, "X9"), json::array(), -1},
        {"model 0", RhoskController(2, 0, "X0"), json::array(), -1},
        {"model read fails", RhoskController(6, 8, "X8"),
         json::array({Fault(probe14, failing, "always")}), -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ResetLibrary();
        Install(Machine(json::array({c.controller}), c.faults));
        ObjectIdList16 list;
        ASSERT_EQ(Api::GetControllerIdList(&list), 0);
        ASSERT_EQ(list.count, 1u);
        EXPECT_EQ(DeviceIo::GetControllerFamily(list.ids[0]), c.family);
        EXPECT_STREQ(TheDriver().slot(0)->serialNumber,
                     c.controller["identity"]["serial"].get<std::string>().c_str());
        uint32_t family = 0xAA;
        ApiError::Clear();
        int result = Api::GetControllerFamily(list.ids[0], &family);
        if (c.family < 0) {
            // Not classified: the operation fails without recording an error.
            EXPECT_EQ(result, -1);
            EXPECT_EQ(LastMessage(), "");
        } else {
            EXPECT_EQ(result, 0);
            EXPECT_EQ(family, static_cast<uint32_t>(c.family));
        }
        EXPECT_TRUE(OpensAreClosed(Log()));
        ClearTraffic();
    }
}

TEST_F(IntegrationDiscovery, AControllerThatDoesNotAnswerItsProbeGetsNoNumber) {
    const json first = {{"controller", 0}};
    struct Case {
        const char* what;
        json match;
        json action;
    } cases[] = {
        {"firmware rejects the serial read",
         {{"layer", "firmware"}, {"opcode", "0x12"}, {"table", "0x0402"}, {"parameter", 9}},
         {{"status", 1}, {"code", "0x0204"}}},
        {"driver answers a ReturnCode",
         {{"layer", "driver"}, {"kind", "firmware"}},
         {{"return_code", "0x8003"}}},
        {"device cannot be opened", {{"layer", "os"}, {"kind", "open"}}, {{"os_error", 5}}},
        {"request fails in Windows",
         {{"layer", "os"}, {"kind", "ioctl"}, {"code", "0x4D008"}},
         {{"os_error", 1117}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ResetLibrary();
        json match = c.match;
        match.update(first);
        Install(Machine(json::array({RhoskController(6, 8, "SILENT"), PraneController("OLDER"),
                                     RhoskController(4, 6, "MIDDLE")}),
                        json::array({Fault(match, c.action, "always")})));
        EXPECT_EQ(ListedSerials(), (std::vector<std::string>{"OLDER", "MIDDLE"}));
        // The controllers after the silent one moved up; each keeps its
        // place in the OS layer's list.
        EXPECT_EQ(TheDriver().slot(0)->osIndex, 1);
        EXPECT_EQ(TheDriver().slot(1)->osIndex, 2);
        EXPECT_EQ(TheDriver().slot(0)->deviceType, 1);
        ObjectIdList16 list;
        ASSERT_EQ(Api::GetControllerIdList(&list), 0);
        EXPECT_EQ(DeviceIo::GetControllerFamily(list.ids[0]), 3);
        EXPECT_EQ(DeviceIo::GetControllerFamily(list.ids[1]), 6);
        EXPECT_TRUE(OpensAreClosed(Log()));
        ClearTraffic();
    }
}

TEST_F(IntegrationDiscovery, ControllersAreNumberedBySlotUnlessASlotQueryFails) {
    const json slotQueryFails =
        Fault({{"layer", "driver"}, {"kind", "driver_info"}, {"controller", 1}},
              {{"return_code", "0x8001"}}, "always");
    const json slotQueryOsError =
        Fault({{"layer", "os"}, {"kind", "ioctl"}, {"controller", 1}}, {{"os_error", 31}}, "once");
    struct Case {
        const char* what;
        std::optional<int> slots[3];
        json faults;
        std::vector<std::string> order;
    } cases[] = {
        // Discovery order A, B, C; slots 5, 2, 2: B and C share a slot and
        // the later one moves in front of the earlier.
        {"every slot known", {5, 2, 2}, json::array(), {"C", "B", "A"}},
        {"ascending slots", {1, 2, 3}, json::array(), {"A", "B", "C"}},
        {"one driver knows no slot", {5, std::nullopt, 2}, json::array(), {"A", "B", "C"}},
        {"one slot query answers an error",
         {5, 2, 1},
         json::array({slotQueryFails}),
         {"A", "B", "C"}},
        {"one slot query fails in Windows",
         {5, 2, 1},
         json::array({slotQueryOsError}),
         {"A", "B", "C"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ResetLibrary();
        json controllers = json::array();
        const char* serials[] = {"A", "B", "C"};
        for (int i = 0; i < 3; ++i) {
            json ctl = RhoskController(2 + i, 8, serials[i]);
            if (c.slots[i])
                ctl["slot"] = *c.slots[i];
            controllers.push_back(ctl);
        }
        Install(Machine(controllers, c.faults));
        EXPECT_EQ(ListedSerials(), c.order);
        ClearTraffic();
    }
}

TEST_F(IntegrationDiscovery, OnlyTheFirstSixteenOsEntriesAreOffered) {
    json controllers = json::array();
    std::vector<std::string> first16;
    for (int i = 0; i < 17; ++i) {
        controllers.push_back(RhoskController(6, 8, "N" + std::to_string(i), {{"slot", i}}));
        if (i < 16)
            first16.push_back("N" + std::to_string(i));
    }
    Install(Machine(controllers));
    EXPECT_EQ(ListedSerials(), first16);
    // The seventeenth controller is never probed.
    for (const json& r : Requests()) {
        if (r.value("kind", "") == "firmware") {
            EXPECT_NE(r.value("controller", -1), 16) << r.dump();
        }
    }
}

TEST_F(IntegrationDiscovery, ControllerNumbersWithoutAControllerFail) {
    struct Case {
        const char* what;
        json controllers;
        uint8_t number;
        const char* message;
    } cases[] = {
        // "No controller" is replaced by the failed open of the empty slot.
        {"no controller present",
         json::array({RhoskController(2, 8, "GONE", {{"present", false}})}), 0,
         "(0x0B:0x0051): Controller is disabled"},
        {"number past the table",
         json::array({RhoskController(2, 8, "A"), RhoskController(3, 8, "B")}), 3,
         "(0x0B:0x0051): Controller is disabled"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ResetLibrary();
        Install(Machine(c.controllers));
        ObjectIdList16 list;
        ASSERT_EQ(Api::GetControllerIdList(&list), 0);
        ObjectId id = ControllerId(c.number);
        uint32_t handle = 0;
        EXPECT_EQ(DeviceIo::OpenController(&id, &handle), -1);
        EXPECT_EQ(handle, 0xFFFFFFFFu);
        EXPECT_EQ(LastMessage(), c.message);
        EXPECT_TRUE(OpensAreClosed(Log()));
        ClearTraffic();
    }
}

}  // namespace
}  // namespace integration::integration_discovery_test
