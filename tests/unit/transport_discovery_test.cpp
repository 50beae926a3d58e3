// Discovery, classification and the controller table of the transport.
#include <gtest/gtest.h>

#include "api/api.h"
#include "api/api_error.h"
#include "api/device_io.h"
#include "api/driver.h"
#include "fake_host.h"
#include "test_support.h"
#include "transport_fake_firmware.h"

namespace transport_discovery_test {
namespace {

class TransportDiscovery : public ::testing::Test {
  protected:
    void SetUp() override { test_support::ResetLibrary(); }
    void TearDown() override { TheDriver().Reset(); }

    ObjectId Controller(uint8_t n) {
        ObjectId id = ObjectId::Blank();
        id[0] = kKindController;
        id[1] = n;
        return id;
    }
    ScopedFakeHost host_;
};

// Firmware reads of ControllerInfoTable parameter `number` sent so far.
size_t ParamReads(const FakeHost& host, uint16_t number) {
    size_t n = 0;
    for (const auto& call : host.ioctls) {
        if (call.in.size() > 28 + 152 + 4 && call.in[28 + 128] == 0x52 &&
            call.in[28 + 152] == 0x02 && call.in[28 + 153] == 0x84 && call.in[28 + 154] == number) {
            ++n;
        }
    }
    return n;
}

TEST_F(TransportDiscovery, FamilyFromDeviceTypeModelCodeAndBusBits) {
    struct Case {
        const char* what;
        int deviceType;
        std::optional<uint32_t> model;  // none: the model read fails
        std::optional<uint32_t> bus;    // none: the bus read fails
        int32_t family;
    } cases[] = {
        {"older family", 1, std::nullopt, std::nullopt, 3},
        {"model 4", 3, 4, std::nullopt, 4},
        {"model 5", 2, 5, std::nullopt, 4},
        {"model 6, no bus bits", 4, 6, 0x0, 6},
        {"model 6, bus bit 0x100", 4, 6, 0x100, 7},
        {"model 7, bus bit 0x200", 5, 7, 0x200, 7},
        {"model 7, other bus bits", 5, 7, 0xC00, 6},
        {"model 6, bus read fails", 4, 6, std::nullopt, 6},
        {"model 8", 6, 8, std::nullopt, 8},
        {"model 10", 6, 10, std::nullopt, 8},
        {"model 9", 6, 9, std::nullopt, -1},
        {"model read fails", 3, std::nullopt, std::nullopt, -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        FakeHost& host = host_.reset();
        TheDriver().Reset();
        auto fw = AddFirmwareController(host, "\\\\?\\ctl0", c.deviceType, 10);
        fw->setText(0x402, 9, "SERIAL0", 20);
        if (c.model)
            fw->setU32(0x402, 14, *c.model);
        if (c.bus)
            fw->setU32(0x403, 26, *c.bus);

        ObjectIdList16 list;
        ASSERT_EQ(Api::GetControllerIdList(&list), 0);
        ASSERT_EQ(list.count, 1u);
        EXPECT_EQ(DeviceIo::GetControllerFamily(list.ids[0]), c.family);
        EXPECT_STREQ(TheDriver().slot(0)->serialNumber, "SERIAL0");
        EXPECT_EQ(host.openHandleCount(), 0u);
    }
}

TEST_F(TransportDiscovery, ControllerThatDoesNotAnswerItsProbeGetsNoNumber) {
    auto silent = AddRhoskController(*host_, "\\\\?\\ctlA", 4, std::nullopt, 10);
    silent->params.clear();  // the serial-number probe fails
    AddRhoskController(*host_, "\\\\?\\ctlB", 8, std::nullopt, 11);

    ObjectIdList16 list;
    ASSERT_EQ(Api::GetControllerIdList(&list), 0);
    ASSERT_EQ(list.count, 1u);
    EXPECT_EQ(list.ids[0][1], 0);
    EXPECT_STREQ(TheDriver().slot(0)->devicePath, "\\\\?\\ctlB");
    EXPECT_EQ(TheDriver().slot(0)->osIndex, 1);
    EXPECT_EQ(DeviceIo::GetControllerFamily(list.ids[0]), 8);
    // Entries past the count are zero.
    EXPECT_EQ(list.ids[1][0], 0);
    EXPECT_STREQ(TheDriver().slot(1)->devicePath, "");
}

TEST_F(TransportDiscovery, ControllersAreNumberedBySlotUnlessASlotQueryFails) {
    struct Case {
        const char* what;
        std::optional<uint16_t> slots[3];
        const char* order[3];
    } cases[] = {
        // Discovery order is the OS list order c0, c1, c2; by slot it is
        // c1 (1), c2 (3), c0 (5).
        {"all slots known", {5, 1, 3}, {"\\\\?\\c1", "\\\\?\\c2", "\\\\?\\c0"}},
        {"one slot query fails", {5, std::nullopt, 3}, {"\\\\?\\c0", "\\\\?\\c1", "\\\\?\\c2"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        FakeHost& host = host_.reset();
        TheDriver().Reset();
        for (int i = 0; i < 3; ++i) {
            auto fw =
                AddRhoskController(host, "\\\\?\\c" + std::to_string(i), 4, std::nullopt, 20 + i);
            fw->slot = c.slots[i];
        }
        ObjectIdList16 list;
        ASSERT_EQ(Api::GetControllerIdList(&list), 0);
        ASSERT_EQ(list.count, 3u);
        for (int i = 0; i < 3; ++i)
            EXPECT_STREQ(TheDriver().slot(i)->devicePath, c.order[i]);
    }
}

TEST_F(TransportDiscovery, OnlyTheFirstSixteenOsEntriesAreOffered) {
    for (int i = 0; i < 18; ++i) {
        AddRhoskController(*host_, "\\\\?\\c" + std::to_string(i), 4, std::nullopt, 30 + i)->slot =
            static_cast<uint16_t>(i);
    }
    ObjectIdList16 list;
    ASSERT_EQ(Api::GetControllerIdList(&list), 0);
    EXPECT_EQ(list.count, 16u);
    EXPECT_EQ(TheDriver().count(), 16);
}

TEST_F(TransportDiscovery, FirstOpenDiscoversAndClassifiesOnceWithoutRecursion) {
    AddRhoskController(*host_, "\\\\?\\c0", 4, std::nullopt, 40);
    AddRhoskController(*host_, "\\\\?\\c1", 6, 0x300, 41);

    uint32_t handle = 0;
    const ObjectId c1 = Controller(1);
    ASSERT_EQ(DeviceIo::OpenController(&c1, &handle), 0);
    ASSERT_EQ(DeviceIo::CloseController(handle), 0);
    EXPECT_TRUE(TheDriver().enumerated());
    EXPECT_TRUE(TheDriver().classified());
    EXPECT_EQ(DeviceIo::GetControllerFamily(Controller(0)), 4);
    EXPECT_EQ(DeviceIo::GetControllerFamily(c1), 7);
    // One model-code read per controller: classified exactly once.
    EXPECT_EQ(ParamReads(*host_, 14), 2u);
    // A second open does not classify again.
    ASSERT_EQ(DeviceIo::OpenController(&c1, &handle), 0);
    ASSERT_EQ(DeviceIo::CloseController(handle), 0);
    EXPECT_EQ(ParamReads(*host_, 14), 2u);
    EXPECT_EQ(host_->openHandleCount(), 0u);
}

TEST_F(TransportDiscovery, ControllerNumberWithoutAValidSlotFailsCleanly) {
    AddRhoskController(*host_, "\\\\?\\c0", 4, std::nullopt, 50);
    AddRhoskController(*host_, "\\\\?\\c1", 4, std::nullopt, 51);
    ObjectIdList16 list;
    ASSERT_EQ(Api::GetControllerIdList(&list), 0);
    ASSERT_EQ(list.count, 2u);

    for (uint8_t number : {uint8_t{2}, uint8_t{3}, uint8_t{15}, uint8_t{16}, uint8_t{255}}) {
        SCOPED_TRACE(static_cast<int>(number));
        const size_t opensBefore = host_->opens.size();
        const ObjectId id = Controller(number);
        uint32_t handle = 7;
        EXPECT_EQ(DeviceIo::OpenController(&id, &handle), -1);
        EXPECT_EQ(handle, 0xFFFFFFFFu);
        ApiErrorRecord record{};
        Api::GetLastErrorRecord(&record);
        EXPECT_EQ(record.flags, kApiErrorApi);
        EXPECT_EQ(record.apiCode, 81u);
        EXPECT_EQ(host_->opens.size(), opensBefore);  // nothing was opened
        EXPECT_EQ(DeviceIo::GetControllerFamily(id), -1);
    }
}

TEST_F(TransportDiscovery, NoControllerFailsClassificationAndEveryOpen) {
    ObjectIdList16 list;
    ASSERT_EQ(Api::GetControllerIdList(&list), 0);
    EXPECT_EQ(list.count, 0u);
    EXPECT_EQ(TheDriver().ClassifyControllers(), -1);
    EXPECT_EQ(ApiError::GetApiCode(), 1u);
    EXPECT_EQ(DeviceIo::GetControllerFamily(Controller(0)), -1);
    const ObjectId c0 = Controller(0);
    uint32_t handle = 0;
    EXPECT_EQ(DeviceIo::OpenController(&c0, &handle), -1);
    EXPECT_EQ(ApiError::GetApiCode(), 81u);
}

TEST_F(TransportDiscovery, EveryListingRediscovers) {
    auto fw = AddRhoskController(*host_, "\\\\?\\c0", 4, std::nullopt, 60);
    ObjectIdList16 list;
    ASSERT_EQ(Api::GetControllerIdList(&list), 0);
    EXPECT_EQ(DeviceIo::GetControllerFamily(list.ids[0]), 4);
    fw->setU32(0x402, 14, 8);  // the controller now reports another model
    ASSERT_EQ(Api::GetControllerIdList(&list), 0);
    EXPECT_EQ(DeviceIo::GetControllerFamily(list.ids[0]), 8);
}

}  // namespace
}  // namespace transport_discovery_test
