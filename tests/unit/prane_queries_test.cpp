// The older family's controller, drive and unit queries through the
// library's public operations over an emulated older-family controller:
// the requests they send, the answers they decode and their API errors.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "api/api.h"
#include "prane_emulated_host.h"

namespace prane_queries_test {
namespace {

using namespace prane_emulated;

class PraneQueries : public PraneEmulatedTest {
  protected:
    ObjectId Controller() const {
        ObjectId id = ObjectId::Blank();
        EXPECT_EQ(Api::MakeControllerId(0, &id), 0);
        return id;
    }
};

TEST_F(PraneQueries, IdentityTextsAreTrimmedAndCountsRead) {
    json ctl = OlderController(4, json::array({Drive(0), Drive(2)}), json::array());
    ctl["identity"] = {{"model", "  KV-P300-2HB   "},
                       {"serial", "KVS19004-120043"},
                       {"firmware", "KF31 3.02.00.094"},
                       {"bios", "KB30 3.04"},
                       {"boot_loader", "KL30 3.03"},
                       {"pcb", "Rev 5"},
                       {"achip", "1.10"},
                       {"pchip", "1.20"},
                       {"memory", 32768}};
    ctl["driver"] = {{"version", {1, 26, 2, 4}}};
    Start(json::array({ctl}));
    const ObjectId c = Controller();
    struct TextCase {
        int (*get)(ObjectId, char*);
        const char* text;
    };
    const TextCase texts[] = {
        {Api::GetControllerModel, "KV-P300-2HB"},
        {Api::GetControllerSerial, "KVS19004-120043"},
        {Api::GetControllerFirmwareVersion, "KF31 3.02.00.094"},
        {Api::GetBiosVersion, "KB30 3.04"},
        {Api::GetBootLoaderVersion, "KL30 3.03"},
        {Api::GetPcbVersion, "Rev 5"},
        {Api::GetAchipVersion, "1.10"},
        {Api::GetPchipVersion, "1.20"},
        {Api::GetDriverVersion, "1.26.2.4"},
    };
    for (const TextCase& t : texts) {
        char text[kDriverVersionTextSize];
        std::memset(text, 'x', sizeof text);
        ASSERT_EQ(t.get(c, text), 0) << t.text;
        EXPECT_STREQ(text, t.text);
    }
    uint32_t value = 0;
    ASSERT_EQ(Api::GetAvailableMemory(c, &value), 0);
    EXPECT_EQ(value, 32768u);
    ASSERT_EQ(Api::GetNumPorts(c, &value), 0);
    EXPECT_EQ(value, 4u);
    ASSERT_EQ(Api::GetMaxUnitCount(c, &value), 0);
    EXPECT_EQ(value, 4u);
    ASSERT_EQ(Api::GetNumDrives(c, &value), 0);
    EXPECT_EQ(value, 2u);
    // Every request was an older-family packet on a device opened for it.
    for (const json& r : Requests())
        EXPECT_EQ(r.value("kind", ""), "prane");
    EXPECT_TRUE(integration::OpensAreClosed(Log()));
}

TEST_F(PraneQueries, DriveQueriesAndLists) {
    Start(json::array({OlderController(
        4, json::array({Drive(0), Drive(2, 1000000, {{"status", 1}}), Drive(3)}), json::array())}));
    const ObjectId c = Controller();
    ObjectIdList128 list;
    ASSERT_EQ(Api::GetDriveIdList(c, &list), 0);
    ASSERT_EQ(list.count, 2u);  // port 2's drive is offline (status 1)
    EXPECT_EQ(list.ids[0], DriveId(0));
    EXPECT_EQ(list.ids[1], DriveId(3));
    EXPECT_EQ(list.ids[2][0], 0xFF);
    ASSERT_EQ(Api::GetPortIdList(c, &list), 0);
    EXPECT_EQ(list.count, 4u);

    uint64_t blocks = 0;
    ASSERT_EQ(Api::GetDriveCapacity(DriveId(3), &blocks), 0);
    EXPECT_EQ(blocks, kDriveBlocks);
    char text[kModelTextSize];
    ASSERT_EQ(Api::GetDriveModel(DriveId(3), text), 0);
    EXPECT_STREQ(text, "Torvex TX500-S5");
    ASSERT_EQ(Api::GetDriveSerial(DriveId(3), text), 0);
    EXPECT_STREQ(text, "TQ0A001203");
    ASSERT_EQ(Api::GetDriveFirmwareVersion(DriveId(3), text), 0);
    EXPECT_STREQ(text, "TX0.93");

    uint8_t status = 9;
    ASSERT_EQ(Api::GetDriveStatus(DriveId(1), &status), 0);
    EXPECT_EQ(status, 0);
    // Port 255 is no port: 0 without a request.
    ClearTraffic();
    status = 9;
    ASSERT_EQ(Api::GetDriveStatus(DriveId(255), &status), 0);
    EXPECT_EQ(status, 0);
    EXPECT_TRUE(Requests().empty());

    ObjectId unit;
    ASSERT_EQ(Api::GetDriveUnitId(DriveId(3), &unit), 0);
    EXPECT_EQ(unit[0], 2);
    for (size_t i = 1; i < 8; ++i)
        EXPECT_EQ(unit[i], 0xFF) << i;
    EXPECT_EQ(Api::GetDriveUnitId(DriveId(1), &unit), -1);
    EXPECT_EQ(LastApiCode(), 62u);
}

TEST_F(PraneQueries, TaskRateIsOneForRebuildAndVerify) {
    json ctl = OlderController(2, json::array(), json::array());
    ctl["tasks"] = {{"rate_code_a", 16}, {"rate_code_b", 20}};
    emulator::EmulatedHost& host = Start(json::array({ctl}));
    const ObjectId c = Controller();
    int32_t rate = 0;
    ASSERT_EQ(Api::GetRebuildRate(c, &rate), 0);
    EXPECT_EQ(rate, -1);  // 20 is no rate's code

    const int32_t three = 3;
    ASSERT_EQ(Api::SetVerifyRate(c, &three), 0);
    EXPECT_EQ(HostController(host)["tasks"]["rate_code_a"], 16);
    EXPECT_EQ(HostController(host)["tasks"]["rate_code_b"], 25);
    ASSERT_EQ(Api::GetRebuildRate(c, &rate), 0);
    EXPECT_EQ(rate, 3);
    ASSERT_EQ(Api::GetVerifyRate(c, &rate), 0);
    EXPECT_EQ(rate, 3);

    ClearTraffic();
    for (int32_t bad : {0, 6, -1}) {
        EXPECT_EQ(Api::SetRebuildRate(c, &bad), -1);
        EXPECT_EQ(LastApiCode(), 45u);
    }
    EXPECT_TRUE(Requests().empty());
}

// Units 0 (RAID-10 over ports 0-3, subunit 0 rebuilding at 40 %), 1
// (RAID-5 over ports 4-6), 2 (a single drive on port 7) and 3, whose raw
// state byte 242 is no state the library knows.
json UnitsHost() {
    json drives = json::array();
    for (int p = 0; p < 9; ++p)
        drives.push_back(Drive(p));
    json units = json::array(
        {{{"number", 0},
          {"type", "raid10"},
          {"members", {0, 1, 2, 3}},
          {"stripe", 8},
          {"state", "rebuilding"},
          {"subunits", {{{"state", "rebuilding"}, {"progress", 40}}, {{"state", "ok"}}}}},
         {{"number", 1}, {"type", "raid5"}, {"members", {4, 5, 6}}, {"stripe", 7}},
         {{"number", 2}, {"type", "single"}, {"members", {7}}},
         {{"number", 3}, {"type", "jbod"}, {"members", {8}}, {"status_byte", 242}}});
    return OlderController(16, drives, units);
}

TEST_F(PraneQueries, UnitListStatusTypeAndDescriptorParts) {
    Start(json::array({UnitsHost()}));
    ObjectIdList128 list;
    ASSERT_EQ(Api::GetUnitIdList(Controller(), &list), 0);
    ASSERT_EQ(list.count, 4u);
    EXPECT_EQ(list.ids[3], UnitId(3));

    struct Case {
        ObjectId unit;
        uint32_t type;
        uint8_t status;
        uint64_t capacity;
        uint32_t stripe;
    };
    const uint64_t u = kDriveBlocks - 2048;
    const uint64_t raid10 = (2 * u) - (2 * u) % (2 << 8);
    const uint64_t raid5 = (2 * u) - (2 * u) % (2 << 7);
    const Case cases[] = {
        {UnitId(0), 6, 223, raid10, 128},
        {UnitId(0, {0}), 2, 223, u, 0xFFFFFFFF},
        {UnitId(0, {1}), 2, 255, u, 0xFFFFFFFF},
        {UnitId(0, {1, 1}), 12, 255, raid10 / 2, 0xFFFFFFFF},
        {UnitId(1), 5, 255, raid5, 64},
        {UnitId(1, {2}), 12, 255, raid5 / 2, 0xFFFFFFFF},
        {UnitId(2), 12, 255, kDriveBlocks, 0xFFFFFFFF},
        {UnitId(3), 15, 17, kDriveBlocks, 0xFFFFFFFF},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.unit[3]) + ":" + std::to_string(c.unit[4]) + ":" +
                     std::to_string(c.unit[5]) + ":" + std::to_string(c.unit[6]));
        uint32_t type = 0;
        ASSERT_EQ(Api::GetUnitType(c.unit, &type), 0);
        EXPECT_EQ(type, c.type);
        uint8_t status = 0;
        ASSERT_EQ(Api::GetUnitStatus(c.unit, &status), 0);
        EXPECT_EQ(status, c.status);
        uint64_t capacity = 0;
        ASSERT_EQ(Api::GetUnitCapacity(c.unit, &capacity), 0);
        EXPECT_EQ(capacity, c.capacity);
        uint32_t stripe = 0;
        ASSERT_EQ(Api::GetUnitStripeSize(c.unit, &stripe), 0);
        EXPECT_EQ(stripe, c.stripe);
    }
    // A free unit number and a part the descriptor does not have.
    uint32_t type = 0;
    EXPECT_EQ(Api::GetUnitType(UnitId(9), &type), -1);
    EXPECT_EQ(LastApiCode(), 9u);
    EXPECT_EQ(Api::GetUnitType(UnitId(1, {0, 0}), &type), -1);
    EXPECT_EQ(LastApiCode(), 13u);
    uint8_t status = 0;
    EXPECT_EQ(Api::GetUnitStatus(UnitId(1, {0, 0}), &status), -1);
    EXPECT_EQ(LastApiCode(), 43u);
}

// A RAID-0 the host file gives no members reads as a unit of no size
// (found by the host-file fuzz target: its member size divided by zero).
TEST_F(PraneQueries, RaidZeroWithoutMembersHasNoSize) {
    Start(json::array({OlderController(
        4, json::array({Drive(0)}),
        json::array({{{"number", 0}, {"type", "raid0"}, {"members", json::array()}}}))}));
    uint64_t capacity = 1;
    ASSERT_EQ(Api::GetUnitCapacity(UnitId(0), &capacity), 0) << LastApiCode();
    EXPECT_EQ(capacity, 0u);
}

TEST_F(PraneQueries, PercentCompleteAndSubunits) {
    json host = UnitsHost();
    host["units"][1]["state"] = "verifying";
    host["units"][1]["progress"] = 35;
    Start(json::array({host}));
    uint32_t percent = 0;
    ASSERT_EQ(Api::GetUnitPercentComplete(UnitId(0), &percent), 0);
    EXPECT_EQ(percent, (40u + 100u) / 2);
    ASSERT_EQ(Api::GetUnitPercentComplete(UnitId(1), &percent), 0);
    EXPECT_EQ(percent, 35u);
    EXPECT_EQ(Api::GetUnitPercentComplete(UnitId(2), &percent), -1);
    EXPECT_EQ(LastApiCode(), 17u);

    ObjectIdList128 list;
    ASSERT_EQ(Api::GetSubunitIdList(UnitId(0), &list), 0);
    ASSERT_EQ(list.count, 2u);
    EXPECT_EQ(list.ids[1], UnitId(0, {1}));
    ASSERT_EQ(Api::GetSubunitIdList(UnitId(0, {1}), &list), 0);
    ASSERT_EQ(list.count, 2u);
    EXPECT_EQ(list.ids[0], UnitId(0, {1, 0}));

    ASSERT_EQ(Api::GetUnitDriveList(UnitId(0), &list), 0);
    ASSERT_EQ(list.count, 4u);
    EXPECT_EQ(list.ids[3], DriveId(3));
    ASSERT_EQ(Api::GetUnitDriveList(UnitId(0, {1}), &list), 0);
    ASSERT_EQ(list.count, 2u);
    EXPECT_EQ(list.ids[0], DriveId(2));
    EXPECT_EQ(Api::GetUnitDriveList(UnitId(9), &list), -1);
    EXPECT_EQ(LastApiCode(), 61u);

    ObjectId unit;
    ASSERT_EQ(Api::GetDriveUnitId(DriveId(3), &unit), 0);
    EXPECT_EQ(unit, UnitId(0, {1, 1}));
    ASSERT_EQ(Api::GetDriveUnitId(DriveId(5), &unit), 0);
    EXPECT_EQ(unit, UnitId(1, {1}));
    ASSERT_EQ(Api::GetDriveUnitId(DriveId(7), &unit), 0);
    EXPECT_EQ(unit, UnitId(2));
}

TEST_F(PraneQueries, RaidTenWithoutATaskReportsZero) {
    json host = UnitsHost();
    host["units"][0].erase("subunits");
    host["units"][0]["state"] = "ok";
    Start(json::array({host}));
    uint32_t percent = 7;
    ASSERT_EQ(Api::GetUnitPercentComplete(UnitId(0), &percent), 0);
    EXPECT_EQ(percent, 0u);
}

TEST_F(PraneQueries, WriteCache) {
    emulator::EmulatedHost& host = Start(json::array({UnitsHost()}));
    uint8_t on = 0;
    ASSERT_EQ(Api::GetUnitWriteCache(UnitId(1), &on), 0);
    EXPECT_EQ(on, 1);
    ASSERT_EQ(Api::DisableWriteCache(UnitId(1)), 0);
    EXPECT_EQ(Units(host)[1]["write_cache"], 0);
    ASSERT_EQ(Api::GetUnitWriteCache(UnitId(1), &on), 0);
    EXPECT_EQ(on, 0);
    ASSERT_EQ(Api::EnableWriteCache(UnitId(1)), 0);
    EXPECT_EQ(Units(host)[1]["write_cache"], 1);
    // A single drive has no write cache.
    ClearTraffic();
    EXPECT_EQ(Api::GetUnitWriteCache(UnitId(2), &on), -1);
    EXPECT_EQ(LastApiCode(), 42u);
    EXPECT_EQ(Api::EnableWriteCache(UnitId(2)), -1);
    EXPECT_EQ(LastApiCode(), 42u);
    EXPECT_TRUE(Commands().empty());
}

TEST_F(PraneQueries, FailedPacketGivesTheStatusByteAsDriverError) {
    Start(json::array({OlderController(2, json::array(), json::array())}),
          json::array({integration::Fault(
              {{"layer", "firmware"}, {"opcode", "0x12"}, {"table", "0x0402"}, {"parameter", 8}},
              {{"code", "0x0EC1"}}, "always")}));
    char text[kModelTextSize];
    EXPECT_EQ(Api::GetControllerModel(Controller(), text), -1);
    EXPECT_STREQ(text, "");
    ApiErrorRecord record;
    ApiError::Get(&record, nullptr, 0);
    EXPECT_EQ(record.flags, 0x10004u);
    EXPECT_EQ(record.driverCode, 0xC1u);
    EXPECT_TRUE(integration::OpensAreClosed(Log()));
}

}  // namespace
}  // namespace prane_queries_test
