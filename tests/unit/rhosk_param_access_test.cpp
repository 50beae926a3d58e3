// Newer-family parameter access, the management lock and the commit
// request, as the packets reach the seam.
#include <gtest/gtest.h>

#include <cstring>

#include "api/api.h"
#include "api/api_error.h"
#include "api/bytes.h"
#include "api/driver.h"
#include "api/rhosk/param_tables.h"
#include "api/rhosk/rhosk_family.h"
#include "fake_host.h"
#include "test_support.h"
#include "transport_fake_firmware.h"

namespace rhosk_param_access_test {
namespace {

class RhoskParamAccess : public ::testing::Test {
  protected:
    void SetUp() override {
        test_support::ResetLibrary();
        fw_ = AddRhoskController(*host_, "\\\\?\\c0", 4, std::nullopt, 70);
        ObjectIdList16 list;
        ASSERT_EQ(Api::GetControllerIdList(&list), 0);
        ASSERT_EQ(list.count, 1u);
        controller_ = list.ids[0];
        host_->ioctls.clear();
    }
    void TearDown() override { TheDriver().Reset(); }

    const std::vector<uint8_t>& Last() { return host_->ioctls.back().in; }

    ScopedFakeHost host_;
    std::shared_ptr<FakeFirmware> fw_;
    ObjectId controller_{};
};

TEST_F(RhoskParamAccess, GetParamPacketShapeAndZeroedTail) {
    fw_->setText(0x402, 8, "MODEL-16-CHARSXX", 16);
    char model[64];
    std::memset(model, 'z', sizeof model);
    ObjectId unit = controller_;
    unit[0] = kKindUnit;  // any id of the controller will do
    ASSERT_EQ(RhoskFamily::GetParam(unit, model, sizeof model, 0x402, 8, 16), 0);
    EXPECT_EQ(std::string(model, 16), "MODEL-16-CHARSXX");
    for (size_t i = 16; i < sizeof model; ++i)
        ASSERT_EQ(model[i], 0) << i;

    ASSERT_EQ(host_->ioctls.size(), 1u);
    const auto& sent = Last();
    ASSERT_EQ(sent.size(), 28u + 152 + 512);
    EXPECT_EQ(bytes::GetU32(sent.data(), sent.size(), 16), 0xF000E000u);
    const uint8_t packet[8] = {0x52, 2, 0, 0, 0, 0, 1, 0};
    EXPECT_EQ(std::memcmp(sent.data() + 28 + 128, packet, 8), 0);
    const uint8_t header[8] = {0x02, 0x84, 8, 0, 16, 0, 0, 0};
    EXPECT_EQ(std::memcmp(sent.data() + 180, header, 8), 0);
    EXPECT_EQ(host_->openHandleCount(), 0u);
}

TEST_F(RhoskParamAccess, TableIdAlwaysTravelsWithBit15) {
    struct Case {
        uint16_t table;
        uint16_t onWire;
    } cases[] = {{rhosk_tables::UnitTable(3), 0x8303},
                 {rhosk_tables::kBackgroundTaskTable, 0x840C},
                 {rhosk_tables::kPortSummaryTable, 0x8002}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.table);
        uint8_t value = 0;
        (void)RhoskFamily::GetParam(controller_, &value, 1, c.table, 3, 1);
        EXPECT_EQ(bytes::GetU16(Last().data(), Last().size(), 180), c.onWire);
    }
}

TEST_F(RhoskParamAccess, FailedGetLeavesBufferZeroAfterOpenAndUntouchedBefore) {
    uint8_t buf[8];
    std::memset(buf, 0xAA, sizeof buf);
    EXPECT_EQ(RhoskFamily::GetParam(controller_, buf, sizeof buf, 0x402, 99, 4), -1);
    for (uint8_t b : buf)
        EXPECT_EQ(b, 0);
    EXPECT_EQ(ApiError::GetApiCode(), 0u);
    ApiErrorRecord r{};
    Api::GetLastErrorRecord(&r);
    EXPECT_EQ(r.flags, 0x20008u);
    EXPECT_EQ(r.controllerCode, 0x10Cu);

    std::memset(buf, 0xAA, sizeof buf);
    ObjectId absent = controller_;
    absent[1] = 5;
    EXPECT_EQ(RhoskFamily::GetParam(absent, buf, sizeof buf, 0x402, 9, 4), -1);
    EXPECT_EQ(ApiError::GetApiCode(), 81u);
    for (uint8_t b : buf)
        EXPECT_EQ(b, 0xAA);
}

TEST_F(RhoskParamAccess, SizesBeyondTheCallersBufferAreRefused) {
    uint8_t buf[4] = {1, 1, 1, 1};
    EXPECT_EQ(RhoskFamily::GetParam(controller_, buf, sizeof buf, 0x402, 9, 20), -1);
    EXPECT_EQ(ApiError::GetApiCode(), 122u);
    EXPECT_EQ(buf[0], 1);
    EXPECT_EQ(RhoskFamily::GetParam(controller_, buf, sizeof buf, 0x402, 9, -1), -1);
    EXPECT_EQ(RhoskFamily::SetParam(controller_, buf, sizeof buf, 0x403, 17, 8), -1);
    EXPECT_EQ(ApiError::GetApiCode(), 122u);
    EXPECT_TRUE(host_->ioctls.empty());
}

TEST_F(RhoskParamAccess, SetSendsExactlyParamSizeBytes) {
    uint8_t value[16];
    std::memset(value, 0x5C, sizeof value);
    ASSERT_EQ(RhoskFamily::SetParam(controller_, value, sizeof value, 0x403, 17, 1), 0);
    const auto& sent = Last();
    EXPECT_EQ(sent[28 + 128], 0x53);
    EXPECT_EQ(bytes::GetU16(sent.data(), sent.size(), 184), 1);
    EXPECT_EQ(sent[188], 0x5C);
    EXPECT_EQ(sent[189], 0);
    ASSERT_EQ(fw_->sets.size(), 1u);
    EXPECT_EQ(std::get<2>(fw_->sets[0]), std::vector<uint8_t>{0x5C});
}

TEST_F(RhoskParamAccess, LockIsTriedTenTimesAndGivesUpWithTheLastError) {
    fw_->tamper = [](std::vector<uint8_t>& b) {
        if (bytes::GetU32(b.data(), b.size(), 16) == 0xD0000000u) {
            bytes::PutU32(b.data(), b.size(), 20, 2);
        }
    };
    EXPECT_EQ(RhoskFamily::LockController(controller_, 5000), -1);
    EXPECT_EQ(host_->ioctls.size(), 10u);
    const auto& sent = Last();
    EXPECT_EQ(bytes::GetU32(sent.data(), sent.size(), 28), 5000u);
    ApiErrorRecord r{};
    Api::GetLastErrorRecord(&r);
    EXPECT_EQ(r.driverCode, 0x1002u);
    EXPECT_EQ(host_->openHandleCount(), 0u);

    // A lock that succeeds on the third try stops there.
    int tries = 0;
    host_->ioctls.clear();
    fw_->tamper = [&tries](std::vector<uint8_t>& b) {
        if (++tries < 3)
            bytes::PutU32(b.data(), b.size(), 20, 2);
    };
    EXPECT_EQ(RhoskFamily::LockController(controller_, 1000), 0);
    EXPECT_EQ(host_->ioctls.size(), 3u);
}

TEST_F(RhoskParamAccess, UnlockAndCommit) {
    fw_->tamper = [](std::vector<uint8_t>& b) { bytes::PutU32(b.data(), b.size(), 20, 0x77); };
    EXPECT_EQ(RhoskFamily::UnlockController(controller_), 0);
    EXPECT_EQ(bytes::GetU32(Last().data(), Last().size(), 16), 0xD0000001u);

    fw_->tamper = nullptr;
    EXPECT_EQ(RhoskFamily::CommitTransactions(controller_), 0);
    const auto& sent = Last();
    EXPECT_EQ(sent.size(), 512u);
    EXPECT_EQ(bytes::GetU32(sent.data(), sent.size(), 16), 0xFFFF0002u);
    for (size_t i = 28; i < sent.size(); ++i)
        ASSERT_EQ(sent[i], 0) << i;
    EXPECT_EQ(host_->openHandleCount(), 0u);
}

TEST(RhoskParamCatalogue, SizesOfObjectAndFixedTables) {
    struct Case {
        uint16_t table;
        uint16_t number;
        int32_t size;
    } cases[] = {
        {0x0402, 9, 20},  {0x0402, 6, 8},     {0x0402, 14, 4},  {0x0403, 26, 4}, {0x027F, 3, 40},
        {0x0200, 23, 8},  {0x031F, 17, 21},   {0x0300, 11, 0},  {0x0085, 6, 8},  {0x8416, 4, 4},
        {0x840C, 9, 2},   {0x0407, 6, 32832}, {0x0320, 17, -1},  // unit 32 is past the unit table
        {0x8417, 2, -1},                                         // schedule slot 7 does not exist
        {0x0402, 99, -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << std::hex << c.table << ":" << std::dec << c.number);
        EXPECT_EQ(rhosk_tables::ParamSize(c.table, c.number), c.size);
    }
}

}  // namespace
}  // namespace rhosk_param_access_test
