// Unit-change notifications: the probe of the controller and the OS-layer
// work on the unit's own controller.
#include <gtest/gtest.h>

#include "api/api.h"
#include "api/api_error.h"
#include "api/bytes.h"
#include "api/device_io.h"
#include "api/driver.h"
#include "fake_host.h"
#include "test_support.h"
#include "transport_fake_firmware.h"

namespace transport_notify_test {
namespace {

const char* const kDiskKey = "SYSTEM\\CurrentControlSet\\Enum\\DISK\\U0\\Device Parameters\\Disk";

// Two controllers listed by Windows; the first does not answer its probe,
// so the second becomes controller 0. Unit 0's disk hangs under the second.
class TransportNotify : public ::testing::Test {
  protected:
    void SetUp() override {
        test_support::ResetLibrary();
        silent_ = AddRhoskController(*host_, "\\\\?\\silent", 4, std::nullopt, 90);
        silent_->params.clear();
        fw_ = AddRhoskController(*host_, "\\\\?\\live", 4, std::nullopt, 91);
        auto& disk = host_->addDisk("\\\\?\\disk0", "DISK\\U0", 200, 91, 0, 3);
        disk.parent = 91;
        host_->addRegistryKey(kDiskKey);
        ObjectIdList16 list;
        ASSERT_EQ(Api::GetControllerIdList(&list), 0);
        ASSERT_EQ(list.count, 1u);
        controller_ = list.ids[0];
        ASSERT_EQ(Api::MakeUnitId(0, 0xFF, 0, 0xFF, 0xFF, &unit_), 0);
    }
    void TearDown() override { TheDriver().Reset(); }

    ScopedFakeHost host_;
    std::shared_ptr<FakeFirmware> silent_, fw_;
    ObjectId controller_{}, unit_{};
};

TEST_F(TransportNotify, CacheSettingReachesTheUnitsOwnController) {
    ASSERT_EQ(DeviceIo::NotifyOs(&controller_, &unit_, kNotifyJbodWriteCacheOn), 0);
    EXPECT_EQ(host_->registry[kDiskKey]["UserWriteCacheSetting"], 1u);
    ASSERT_EQ(DeviceIo::NotifyOs(&controller_, &unit_, kNotifyJbodWriteCacheOff), 0);
    EXPECT_EQ(host_->registry[kDiskKey]["UserWriteCacheSetting"], 0u);
    ASSERT_EQ(DeviceIo::NotifyOs(&controller_, &unit_, kNotifyWriteCacheOn), 0);
    EXPECT_EQ(host_->registry[kDiskKey].count("UserWriteCacheSetting"), 0u);
}

TEST_F(TransportNotify, RemovalFailuresAndUnknownCodes) {
    host_->devices(platform::InterfaceClass::Disk)[0].installFlags = platform::kDiNeedRestart;
    EXPECT_EQ(DeviceIo::NotifyOs(&controller_, &unit_, kNotifyUnitRemoving), -1);
    EXPECT_EQ(ApiError::GetApiCode(), 69u);
    // The removal reached the unit's disk under the second OS entry.
    ASSERT_EQ(host_->removedDevices.size(), 1u);
    EXPECT_EQ(host_->removedDevices[0], 200u);

    EXPECT_EQ(DeviceIo::NotifyOs(&controller_, &unit_, 8), -1);
    EXPECT_EQ(ApiError::GetApiCode(), 21u);
}

TEST_F(TransportNotify, UnitAddedProbesTheControllerAndWaits) {
    host_->ioctls.clear();
    ASSERT_EQ(DeviceIo::NotifyOs(&controller_, &unit_, kNotifyUnitAdded), 0);
    ASSERT_EQ(host_->ioctls.size(), 1u);
    const auto& sent = host_->ioctls[0].in;
    EXPECT_EQ(host_->ioctls[0].path, "\\\\?\\live");
    EXPECT_EQ(bytes::GetU32(sent.data(), sent.size(), 16), 0xF0001000u);
    EXPECT_EQ(sent[28 + 128], 0);
    EXPECT_EQ(sent[28 + 129], 2);
    EXPECT_EQ(host_->sleptMilliseconds, 500u);
    EXPECT_EQ(host_->openHandleCount(), 0u);

    // A controller that refuses the firmware command is asked with an
    // older-family parameter read instead.
    host_->ioctls.clear();
    fw_->tamper = [](std::vector<uint8_t>& b) {
        if (b.size() > 28 + 132 && bytes::GetU32(b.data(), b.size(), 16) == 0xF0001000u) {
            b[28 + 132] = 1;
        }
    };
    ASSERT_EQ(DeviceIo::NotifyOs(&controller_, &unit_, kNotifyUnitDeleted), 0);
    ASSERT_EQ(host_->ioctls.size(), 2u);
    const auto& fallback = host_->ioctls[1].in;
    ASSERT_EQ(fallback.size(), 1056u);
    const uint8_t packet[8] = {0x52, 2, 0, 0, 0, 0x80, 1, 0};
    EXPECT_EQ(std::memcmp(fallback.data() + 32, packet, 8), 0);
    const uint8_t header[4] = {0x02, 0x04, 0x09, 0x14};
    EXPECT_EQ(std::memcmp(fallback.data() + 544, header, 4), 0);
}

}  // namespace
}  // namespace transport_notify_test
