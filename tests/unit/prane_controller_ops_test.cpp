// The older family's controller-wide commands and its event read, over an
// emulated older-family controller: the packets as the controller receives
// them and what it answers.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "api/api.h"
#include "api/bytes.h"
#include "prane_emulated_host.h"

namespace prane_controller_ops_test {
namespace {

using namespace prane_emulated;

class PraneControllerOps : public PraneEmulatedTest {
  protected:
    static ObjectId Controller() {
        ObjectId id = ObjectId::Blank();
        EXPECT_EQ(Api::MakeControllerId(0, &id), 0);
        return id;
    }
    static uint16_t U16(const std::vector<uint8_t>& packet, size_t at) {
        return bytes::GetU16(packet.data(), packet.size(), at);
    }
};

TEST_F(PraneControllerOps, CommandPacketsAndTheirEffect) {
    json ctl = OlderController(2, json::array({Drive(0), Drive(1)}), json::array());
    ctl["error_log"] = "E0001 port 1 timeout";
    emulator::EmulatedHost& host = Start(json::array({ctl}));
    const ObjectId c = Controller();

    ASSERT_EQ(PraneFamily::CommitTransactions(c), 0);
    ASSERT_EQ(PraneFamily::StartMediaScan(c), 0);
    EXPECT_EQ(HostController(host)["media_scan"], true);
    ASSERT_EQ(PraneFamily::StopMediaScan(c), 0);
    EXPECT_EQ(HostController(host)["media_scan"], false);
    std::vector<uint8_t> log(32768, 0xAA);
    ASSERT_EQ(PraneFamily::GetControllerErrorLog(c, log.data()), 0);
    EXPECT_STREQ(reinterpret_cast<const char*>(log.data()), "E0001 port 1 timeout");
    const uint8_t image[] = {1, 2, 3, 4, 5};
    ASSERT_EQ(PraneFamily::DownloadFirmwareImage(c, image, sizeof image), 0);
    EXPECT_EQ(HostController(host)["firmware_image"]["size"], 512);
    EXPECT_EQ(PraneFamily::DownloadFirmwareImage(c, image, 0), -1);

    const auto packets = Commands();
    ASSERT_EQ(packets.size(), 5u);
    // byte 0, byte 1, byte 2, byte 5, u16 at 6
    struct Expected {
        int b0, b1, b2, b5, f6;
    };
    const Expected expected[] = {
        {0x1E, 0, 0x67, 0, 0}, {0x18, 2, 0, 4, 1}, {0x18, 2, 0, 4, 0},
        {0x59, 2, 0, 0, 2},    {0x56, 2, 0, 0, 8},
    };
    for (size_t i = 0; i < packets.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(packets[i][0], expected[i].b0);
        EXPECT_EQ(packets[i][1], expected[i].b1);
        EXPECT_EQ(packets[i][2], expected[i].b2);
        EXPECT_EQ(packets[i][5], expected[i].b5);
        EXPECT_EQ(U16(packets[i], 6), expected[i].f6);
    }
    EXPECT_TRUE(integration::OpensAreClosed(Log()));
}

TEST_F(PraneControllerOps, EventReadTakesTheNextQueuedEvent) {
    json ctl = OlderController(2, json::array(), json::array());
    ctl["events"] = json::array({{{"code", 0x0A}, {"parameter", 3}}, {{"code", 0x01}}});
    emulator::EmulatedHost& host = Start(json::array({ctl}));
    uint8_t record[prane_event::kRecordSize];
    std::memset(record, 0xEE, sizeof record);
    ASSERT_EQ(PraneFamily::GetFirstAen(Controller(), record), 0);
    EXPECT_EQ(bytes::GetU32(record, sizeof record, 0), 0u);  // id
    EXPECT_EQ(bytes::GetU32(record, sizeof record, 4), 0u);  // time
    EXPECT_EQ(bytes::GetU16(record, sizeof record, prane_event::kCode), 10);
    EXPECT_EQ(record[prane_event::kSeverity], 1);
    EXPECT_STREQ(reinterpret_cast<const char*>(record + prane_event::kParamText), "3");
    EXPECT_EQ(record[prane_event::kParamLength], 1);
    const std::string message = "(0x0F:0x000A): Drive error: Port #3";
    EXPECT_EQ(reinterpret_cast<const char*>(record + prane_event::kMessageText), message);
    EXPECT_EQ(record[prane_event::kMessageLength], message.size());
    const auto packets = Commands();
    ASSERT_EQ(packets.size(), 1u);
    EXPECT_EQ(packets[0][0], 0x5C);
    EXPECT_EQ(packets[0][1], 4);

    // A text without "#" has no parameter; the queue then reports none.
    ASSERT_EQ(PraneFamily::GetFirstAen(Controller(), record), 0);
    EXPECT_EQ(record[prane_event::kSeverity], 3);
    EXPECT_STREQ(reinterpret_cast<const char*>(record + prane_event::kMessageText),
                 "(0x0F:0x0001): Soft reset occurred");
    EXPECT_EQ(record[prane_event::kParamLength], 0);
    ASSERT_EQ(PraneFamily::GetFirstAen(Controller(), record), 0);
    EXPECT_EQ(bytes::GetU16(record, sizeof record, prane_event::kCode), 0);
    EXPECT_TRUE(HostController(host)["events"].empty());
}

TEST_F(PraneControllerOps, SmartDataThroughTheAtaPassThrough) {
    json smart = json::array({0x10, 0x00, 0x01, 0x0F});
    Start(json::array({OlderController(2, json::array({Drive(1, kDriveBlocks, {{"smart", smart}})}),
                                       json::array())}));
    std::vector<uint8_t> data(512, 0xAA);
    ASSERT_EQ(PraneFamily::GetDriveSmartData(DriveId(1), data.data()), 0);
    EXPECT_EQ(data[2], 0x01);
    EXPECT_EQ(data[3], 0x0F);
    EXPECT_EQ(data[4], 0);
    const auto packets = Commands();
    ASSERT_EQ(packets.size(), 1u);
    const auto& p = packets[0];
    EXPECT_EQ(p[0], 0xB1);
    EXPECT_EQ(p[1], 5);
    EXPECT_EQ(p[2], 0xFF);
    EXPECT_EQ(p[3], 1);  // the port
    EXPECT_EQ(p[5], 1);  // protocol
    EXPECT_EQ(U16(p, 6), 13);
    EXPECT_EQ(U16(p, 8), 0xD0);
    EXPECT_EQ(U16(p, 10), 1);
    EXPECT_EQ(U16(p, 14), 0x4F);
    EXPECT_EQ(U16(p, 16), 0xC2);
    EXPECT_EQ(p[19], 0xB0);
    // An empty port answers with the controller's error.
    EXPECT_EQ(PraneFamily::GetDriveSmartData(DriveId(0), data.data()), -1);
    ApiErrorRecord record;
    ApiError::Get(&record, nullptr, 0);
    EXPECT_EQ(record.flags, 0x10004u);
}

}  // namespace
}  // namespace prane_controller_ops_test
