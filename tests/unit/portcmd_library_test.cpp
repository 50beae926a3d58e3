// The library's drive removal and addition, SMART data read and drive
// performance monitor through the emulated host: the packets sent, the
// controller's checks, the statistics arithmetic and the clears.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "api/api.h"
#include "api/dpm_records.h"
#include "api/rhosk/rhosk_family.h"
#include "rhosk_emulated_host.h"

namespace portcmd_library_test {
namespace {

using integration::json;
using rhosk_emulated::DriveId;
using rhosk_emulated::FamilyController;
using rhosk_emulated::LastApiCode;

constexpr size_t kPacketAt = rhosk_request::kPayload + FirmwareCommandBuffer::kHeaderSize;

class PortcmdLibrary : public rhosk_emulated::RhoskEmulatedTest {
  protected:
    // The firmware requests of the traffic with opcode `opcode`.
    std::vector<json> Commands(int opcode) const {
        std::vector<json> out;
        for (const json& r : Requests()) {
            if (r.value("kind", "") == "firmware" && r.value("opcode", -1) == opcode)
                out.push_back(r);
        }
        return out;
    }
};

json Drive(int port, const json& extra = json::object()) {
    json drive = {{"port", port}, {"capacity", 976773168}, {"interface", 1}};
    drive.merge_patch(extra);
    return drive;
}

// --- SMART data ---

TEST_F(PortcmdLibrary, SmartReadSendsTheAtaSmartReadDataPacketWithOneSector) {
    Start(json::array({FamilyController(8, 37, {{"drives", {Drive(3)}}})}));
    uint8_t data[kSmartDataSize] = {};
    ASSERT_EQ(Api::GetDriveSmartData(DriveId(3), data), 0) << LastMessage();
    ASSERT_EQ(sent_.size(), 1u);
    const std::vector<uint8_t>& b = sent_[0].bytes;
    const uint8_t expected[] = {0xB1, 5, 0xFF, 3, 0,    0x01, 13,   0, 0xD0, 0,
                                1,    0, 0,    0, 0x4F, 0,    0xC2, 0, 0,    0xB0};
    EXPECT_EQ(std::vector<uint8_t>(b.begin() + kPacketAt, b.begin() + kPacketAt + sizeof expected),
              std::vector<uint8_t>(std::begin(expected), std::end(expected)));
    EXPECT_EQ(sent_[0].size(), rhosk_request::kPayload + rhosk_request::kShortCommand + 512);
    // The emulated drive's sector: revision 0x10, a valid checksum.
    EXPECT_EQ(data[0], 0x10);
    uint8_t sum = 0;
    for (uint8_t byte : data)
        sum = static_cast<uint8_t>(sum + byte);
    EXPECT_EQ(sum, 0);
}

TEST_F(PortcmdLibrary, AtaTimeoutClassesAndTheLargestTransferForSectorCount0) {
    Start(json::array({FamilyController(8, 37, {{"drives", {Drive(0)}}})}));
    struct Case {
        uint32_t timeout;
        uint8_t byte5;
    };
    for (const Case& c : {Case{9, 0x01}, Case{10, 0x11}, Case{200, 0xF1}, Case{150, 0xF1}}) {
        SCOPED_TRACE(c.timeout);
        ClearTraffic();
        uint16_t features = 0, count = 0, low = 0, mid = 0, high = 0;
        uint8_t device = 0, command = 0xEC;
        std::vector<uint8_t> data(131072, 0);
        // Not SMART READ DATA: the drive refuses it, the registers come back.
        EXPECT_EQ(RhoskFamily::SendAtaCommand(DriveId(0), 1, 13, &features, &count, &low, &mid,
                                              &high, &device, &command, data.data(), c.timeout),
                  -1);
        ASSERT_EQ(sent_.size(), 1u);
        EXPECT_EQ(sent_[0].bytes[kPacketAt + 5], c.byte5);
        EXPECT_EQ(sent_[0].size(), rhosk_request::kPayload + rhosk_request::kShortCommand + 131072);
        EXPECT_EQ(command, 0xEC);
    }
}

TEST_F(PortcmdLibrary, SmartDataOfASasDriveOrAnOlderFamilyControllerIsRefused) {
    Start(json::array({FamilyController(8, 37, {{"drives", {Drive(0, {{"interface", 3}})}}}),
                       FamilyController(3, 0)}));
    uint8_t data[kSmartDataSize] = {};
    EXPECT_EQ(Api::GetDriveSmartData(DriveId(0), data), -1);
    EXPECT_NE(LastMessage().find("0x010D"), std::string::npos) << LastMessage();
    // The older family sends its own pass-through; port 0 holds no drive.
    EXPECT_EQ(Api::GetDriveSmartData(DriveId(0, 1), data), -1);
    EXPECT_NE(LastMessage().find("(0x12:0x00C4)"), std::string::npos) << LastMessage();
}

// --- Drive removal and addition ---

struct RemovalCase {
    const char* name;
    json unit;
    int port;
    uint32_t apiCode;  // 0: the remove-drive command is sent
};

TEST_F(PortcmdLibrary, RemovalFollowsTheUnitsStateAndTheMembersOwnState) {
    const RemovalCase cases[] = {
        {"free drive", json(), 0, 0},
        {"member of an OK RAID-5", {{"type", "raid5"}, {"members", {0, 1, 2}}}, 1, 0},
        {"member of a RAID-5 in recovery",
         {{"type", "raid5"}, {"members", {0, 1, 2}}, {"state", "recovery"}, {"member", 2}},
         1,
         85},
        {"OK member of a degraded RAID-5",
         {{"type", "raid5"}, {"members", {0, 1, 2}}, {"state", "degraded"}, {"member", 2}},
         1,
         48},
        {"degraded member of a degraded RAID-5",
         {{"type", "raid5"}, {"members", {0, 1, 2}}, {"state", "degraded"}, {"member", 2}},
         2,
         0},
        {"member of a RAID-0", {{"type", "raid0"}, {"members", {0, 1}}}, 1, 48},
        {"single-drive unit", {{"type", "single"}, {"members", {0}}}, 0, 20},
    };
    for (const RemovalCase& c : cases) {
        SCOPED_TRACE(c.name);
        ResetLibrary();
        json ctl = FamilyController(8, 37, {{"drives", {Drive(0), Drive(1), Drive(2)}}});
        if (!c.unit.is_null()) {
            json unit = c.unit;
            unit["number"] = 0;
            ctl["units"] = json::array({unit});
        }
        emulator::EmulatedHost& host = Start(json::array({ctl}));
        const int result = Api::RemoveDrive(DriveId(static_cast<uint8_t>(c.port)));
        if (c.apiCode == 0) {
            EXPECT_EQ(result, 0) << LastMessage();
            ASSERT_EQ(Commands(0x0A).size(), 1u);
            EXPECT_EQ(sent_.back().bytes[kPacketAt + 7], c.port);
            uint8_t status = 0xAA;
            ASSERT_EQ(Api::GetDriveStatus(DriveId(static_cast<uint8_t>(c.port)), &status), 0);
            EXPECT_EQ(status, kDriveNone);
            EXPECT_EQ(HostController(host)["removed_drives"].size(), 1u);
        } else {
            EXPECT_EQ(result, -1);
            EXPECT_EQ(LastApiCode(), c.apiCode) << LastMessage();
            EXPECT_TRUE(Commands(0x0A).empty());
        }
    }
}

TEST_F(PortcmdLibrary, AnEmptyPortHasNoDriveToRemoveAndAnOccupiedOneNoneToAdd) {
    Start(json::array({FamilyController(8, 37, {{"drives", {Drive(0)}}})}));
    EXPECT_EQ(Api::RemoveDrive(DriveId(1)), -1);
    EXPECT_EQ(LastApiCode(), 46u);
    ObjectId added = ObjectId::Blank();
    EXPECT_EQ(Api::AddDrive(DriveId(0), &added), -1);
    EXPECT_EQ(LastApiCode(), 23u);
    EXPECT_EQ(added, ObjectId::Blank());
    EXPECT_TRUE(Requests().size() >= 1 && Commands(0x0A).empty() && Commands(0x06).empty());
}

TEST_F(PortcmdLibrary, PortDetectionBringsARemovedDriveBackWithTheMaskOfItsPort) {
    for (int level : {33, 37}) {
        SCOPED_TRACE(level);
        ResetLibrary();
        emulator::EmulatedHost& host = Start(json::array(
            {FamilyController(8, level, {{"settings", {{"ports", 16}}}, {"drives", {Drive(9)}}})}));
        ASSERT_EQ(Api::RemoveDrive(DriveId(9)), 0) << LastMessage();
        ClearTraffic();
        ObjectId added = ObjectId::Blank();
        ASSERT_EQ(Api::AddDrive(DriveId(9), &added), 0) << LastMessage();
        EXPECT_EQ(added, DriveId(9));
        ASSERT_EQ(Commands(0x06).size(), 1u);
        const std::vector<uint8_t>& b = sent_.back().bytes;
        EXPECT_EQ(b[kPacketAt + 1], level < 35 ? 3 : 6);
        EXPECT_EQ(b[kPacketAt + 8], 0);
        EXPECT_EQ(b[kPacketAt + 9], 0x02);
        uint8_t status = 0;
        ASSERT_EQ(Api::GetDriveStatus(DriveId(9), &status), 0);
        EXPECT_EQ(status, kDriveOk);
        EXPECT_TRUE(HostController(host)["removed_drives"].empty());
    }
}

// --- The drive performance monitor ---

json Sample(uint32_t start, uint32_t end, uint32_t depth = 1, uint32_t size = 1024,
            bool valid = true) {
    return {
        {"start", start}, {"end", end}, {"queue_depth", depth}, {"size", size}, {"valid", valid}};
}

json MonitoredController(const json& config, const json& samples) {
    return FamilyController(8, 37,
                            {{"perf", {{"config", config}}},
                             {"drives", {Drive(0, {{"stats", {{"samples", samples}}}})}}});
}

struct InstantCase {
    const char* name;
    json config;
    json samples;
    DpmStats expected;
    bool readsSamples;
};

TEST_F(PortcmdLibrary, InstantaneousStatisticsFromTheSampleWindow) {
    const json tick1ms = {{"samples", 4}, {"tick_ns", 1000000}};
    const InstantCase cases[] = {
        {"no samples configured", {{"samples", 0}, {"tick_ns", 1000}}, json::array(), {}, false},
        {"no tick length", {{"samples", 4}, {"tick_ns", 0}}, json::array(), {}, false},
        {"no valid sample", tick1ms, json::array({Sample(0, 10, 1, 1, false)}), {}, true},
        {"all within one tick", tick1ms, {Sample(5, 5), Sample(5, 5)}, {}, true},
        {"two samples",
         tick1ms,
         {Sample(1000, 1500, 2, 65536), Sample(1200, 2000, 4, 65536)},
         {2, 128, 650, 3},
         true},
        // Ticks longer than a second: no whole tick per second, so every
        // rate and the response time stay 0.
        {"a tick above a second",
         {{"samples", 4}, {"tick_ns", 2000000000}},
         json::array({Sample(1000, 1500, 2, 65536)}),
         {0, 0, 0, 2},
         true},
        // The second sample's counter wrapped: it adds 0xFFFFFFFF - start + end.
        {"a wrapped sample",
         tick1ms,
         {Sample(0, 1000), Sample(0xFFFFFF00u, 100)},
         {0, 0, 0, 0},
         true},
    };
    for (const InstantCase& c : cases) {
        SCOPED_TRACE(c.name);
        ResetLibrary();
        Start(json::array({MonitoredController(c.config, c.samples)}));
        DpmStats stats{1, 1, 1, 1};
        ASSERT_EQ(Api::GetDriveInstantStats(DriveId(0), &stats), 0) << LastMessage();
        if (std::string(c.name) == "a wrapped sample") {
            // The interval runs from the smallest start (0) to the largest
            // end (1000); the elapsed ticks are 1000 and 0xFF + 100.
            EXPECT_EQ(stats.iops, 2u);
            EXPECT_EQ(stats.responseMs, (1000u + 0xFFu + 100u) * 1000u / 2u / 1000u);
        } else {
            EXPECT_EQ(stats.iops, c.expected.iops);
            EXPECT_EQ(stats.kbPerSecond, c.expected.kbPerSecond);
            EXPECT_EQ(stats.responseMs, c.expected.responseMs);
            EXPECT_EQ(stats.queueDepth, c.expected.queueDepth);
        }
        bool read = false;
        for (const auto& a : ParamTraffic())
            read = read || (a.table == 0x100 && a.parameter == 2);
        EXPECT_EQ(read, c.readsSamples);
    }
}

TEST_F(PortcmdLibrary, IopsProductWrapsAt32Bits) {
    // 1 ns ticks: 1e9 ticks per second; 5 samples x 1e9 wraps to 705032704.
    json samples = json::array();
    for (int i = 0; i < 5; ++i)
        samples.push_back(Sample(0, 1));
    Start(json::array({MonitoredController({{"samples", 5}, {"tick_ns", 1}}, samples)}));
    DpmStats stats{};
    ASSERT_EQ(Api::GetDriveInstantStats(DriveId(0), &stats), 0) << LastMessage();
    EXPECT_EQ(stats.iops, static_cast<uint32_t>(5ull * 1000000000ull));
    // The transfer rate does not wrap: 5 KiB in one tick of 1 ns.
    EXPECT_EQ(stats.kbPerSecond, static_cast<uint32_t>(5ull * 1024 * 1000000000ull / 1 / 1024));
}

TEST_F(PortcmdLibrary, ACountAboveTheBuffersIsRefusedUnread) {
    Start(json::array({MonitoredController(
        {{"samples", 1001}, {"long_commands", 1001}, {"tick_ns", 1}}, json::array())}));
    DpmStats stats{};
    EXPECT_EQ(Api::GetDriveInstantStats(DriveId(0), &stats), -1);
    EXPECT_EQ(LastApiCode(), 122u);
    std::vector<DpmLongCommand> records(kDpmMaxRecords);
    EXPECT_EQ(Api::GetDriveLongCommandTimes(DriveId(0), records.data(), kDpmLive), -1);
    EXPECT_EQ(LastApiCode(), 122u);
    EXPECT_EQ(Api::ClearDriveStats(DriveId(0), kDpmClearLongCommands, kDpmLive), -1);
    for (const auto& a : ParamTraffic())
        EXPECT_FALSE(a.table == 0x100) << rhosk_emulated::Describe(a);
}

TEST_F(PortcmdLibrary, AnUnknownSourceIsRefusedBeforeRouting) {
    Start(json::array({MonitoredController(json::object(), json::array())}));
    DpmHistogram histogram{};
    DpmStats stats{};
    std::vector<DpmLongCommand> records(kDpmMaxRecords);
    EXPECT_EQ(Api::GetDriveHistogram(DriveId(0), &histogram, 2), -1);
    EXPECT_EQ(LastApiCode(), 2u);
    EXPECT_EQ(Api::GetDriveRunningAverage(DriveId(0), &stats, 7), -1);
    EXPECT_EQ(Api::GetDriveLongCommandTimes(DriveId(0), records.data(), 2), -1);
    EXPECT_TRUE(sent_.empty());
}

TEST_F(PortcmdLibrary, ClearsWriteZerosAndStopAtTheFirstFailure) {
    const json extended = {{"sectors_read", 1}, {"sectors_written", 2}, {"sectors_written_fua", 3},
                           {"reads", 4},        {"writes", 5},          {"writes_fua", 6},
                           {"flushes", 7}};
    json ctl =
        FamilyController(8, 37, {{"drives", {Drive(0, {{"stats", {{"extended", extended}}}})}}});
    // The write of parameter 9 fails.
    Start(json::array({ctl}),
          json::array({integration::Fault(
              {{"layer", "firmware"}, {"table", 0x100}, {"parameter", 9}, {"opcode", 0x13}},
              {{"status", 1}, {"code", "0x0204"}})}));
    // The write of parameter 9 fails.
    Start(json::array({ctl}),
          json::array({integration::Fault(
              {{"layer", "firmware"}, {"table", 0x100}, {"parameter", 9}, {"opcode", 0x13}},
              {{"status", 1}, {"code", "0x0204"}})}));

    // A kind the controller does not know clears nothing and succeeds.
    EXPECT_EQ(Api::ClearDriveStats(DriveId(0), 3, kDpmLive), 0);
    EXPECT_TRUE(sent_.empty());

    EXPECT_EQ(Api::ClearDriveStats(DriveId(0), kDpmClearExtended, kDpmLive), -1);
    DpmExtendedStats after{};
    ASSERT_EQ(Api::GetDriveExtendedStats(DriveId(0), &after), 0) << LastMessage();
    EXPECT_EQ(after.sectorsRead, 0u);
    EXPECT_EQ(after.sectorsWritten, 0u);
    EXPECT_EQ(after.sectorsWrittenFua, 3u);
    EXPECT_EQ(after.flushCommands, 7u);
}

}  // namespace
}  // namespace portcmd_library_test
