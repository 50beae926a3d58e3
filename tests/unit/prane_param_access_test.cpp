// Older-family parameter packets as they reach the seam.
#include <gtest/gtest.h>

#include <cstring>

#include "api/api.h"
#include "api/api_error.h"
#include "api/bytes.h"
#include "api/driver.h"
#include "api/prane/prane_family.h"
#include "fake_host.h"
#include "test_support.h"
#include "transport_fake_firmware.h"

namespace prane_param_access_test {
namespace {

class PraneParamAccess : public ::testing::Test {
  protected:
    void SetUp() override {
        test_support::ResetLibrary();
        fw_ = AddPraneController(*host_, "\\\\?\\p0", 80);
        ObjectIdList16 list;
        ASSERT_EQ(Api::GetControllerIdList(&list), 0);
        ASSERT_EQ(list.count, 1u);
        controller_ = list.ids[0];
        host_->ioctls.clear();
    }
    void TearDown() override { TheDriver().Reset(); }

    ScopedFakeHost host_;
    std::shared_ptr<FakeFirmware> fw_;
    ObjectId controller_{};
};

TEST_F(PraneParamAccess, ReadPacketDataAreaAndReply) {
    fw_->setText(0x402, 9, "PRANE-SERIAL-0000001", 20);
    char serial[20];
    ASSERT_EQ(PraneFamily::GetParam(controller_, 0x402, 9, 20, serial, 0), 0);
    EXPECT_EQ(std::string(serial, 20), "PRANE-SERIAL-0000001");

    ASSERT_EQ(host_->ioctls.size(), 1u);
    const auto& sent = host_->ioctls[0].in;
    ASSERT_EQ(sent.size(), 1056u);
    const uint8_t packet[8] = {0x52, 0x02, 0x00, 0x00, 0x00, 0x00, 0x01, 0x00};
    EXPECT_EQ(std::memcmp(sent.data() + 32, packet, 8), 0);
    const uint8_t header[4] = {0x02, 0x04, 0x09, 0x14};
    EXPECT_EQ(std::memcmp(sent.data() + 544, header, 4), 0);
    for (size_t i = 548; i < sent.size(); ++i)
        ASSERT_EQ(sent[i], 0) << i;
    EXPECT_EQ(host_->openHandleCount(), 0u);
}

TEST_F(PraneParamAccess, FailedReadCopiesNothing) {
    fw_->tamper = [](std::vector<uint8_t>& b) {
        b[36] = 0x20;
        b[548] = 'X';
    };
    uint8_t buf[4] = {9, 9, 9, 9};
    EXPECT_EQ(PraneFamily::GetParam(controller_, 0x403, 3, 1, buf, 0), -1);
    EXPECT_EQ(buf[0], 9);
    ApiErrorRecord r{};
    Api::GetLastErrorRecord(&r);
    EXPECT_EQ(r.flags, 0x10004u);
    EXPECT_EQ(r.driverCode, 0x20u);
    EXPECT_EQ(host_->openHandleCount(), 0u);
}

TEST_F(PraneParamAccess, WriteCarriesHostByteAndLowSizeByte) {
    std::vector<uint8_t> descriptor(512, 0x61);
    ASSERT_EQ(PraneFamily::SetParam(controller_, 0x302, 6, 512, descriptor.data(), 7), 0);
    const auto& sent = host_->ioctls[0].in;
    ASSERT_EQ(sent.size(), 544u + 1024);
    EXPECT_EQ(sent[32], 0x53);
    EXPECT_EQ(sent[35], 7);  // host byte
    EXPECT_EQ(bytes::GetU16(sent.data(), sent.size(), 544), 0x302);
    EXPECT_EQ(sent[547], 0);  // 512 travels as its low 8 bits
    EXPECT_EQ(sent[548], 0x61);
    EXPECT_EQ(sent[548 + 511], 0x61);

    EXPECT_EQ(PraneFamily::SetParam(controller_, 0x302, 6, 513, descriptor.data(), 0), -1);
    EXPECT_EQ(ApiError::GetApiCode(), 122u);
}

}  // namespace
}  // namespace prane_param_access_test
