// The older family's unit operations over an emulated older-family
// controller: the checks before anything is sent, the packets, and the
// controller's configuration afterwards.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "api/api.h"
#include "api/bytes.h"
#include "prane_emulated_host.h"

namespace prane_unit_ops_test {
namespace {

using namespace prane_emulated;

ObjectIdList128 DriveList(std::initializer_list<int> ports) {
    ObjectIdList128 list;
    list.clear();
    for (int port : ports)
        EXPECT_TRUE(list.add(DriveId(static_cast<uint8_t>(port))));
    return list;
}

// Ten drives; unit 0 a RAID-5 over ports 0-2, unit 1 a single drive on
// port 3; ports 4-9 free, port 8 holding only the 2048 blocks every drive
// keeps back and port 9 one block more.
json CreateHost() {
    json drives = json::array();
    for (int p = 0; p < 8; ++p)
        drives.push_back(Drive(p));
    drives.push_back(Drive(8, 2048));
    drives.push_back(Drive(9, 2049));
    return OlderController(10, drives,
                           json::array({{{"number", 0}, {"type", "raid5"}, {"members", {0, 1, 2}}},
                                        {{"number", 1}, {"type", "single"}, {"members", {3}}}}));
}

class PraneUnitOps : public PraneEmulatedTest {};

TEST_F(PraneUnitOps, CreateRefusalsComeBeforeAnyChange) {
    emulator::EmulatedHost& host = Start(json::array({CreateHost()}));
    struct Case {
        const char* what;
        ObjectIdList128 drives;
        uint32_t type;
        uint32_t stripe;
        uint32_t api;
    };
    const Case cases[] = {
        {"RAID-50 is no older-family type", DriveList({4, 5, 6}), 8, 7, 25},
        {"RAID-10 of five drives", DriveList({3, 4, 5, 6, 7}), 6, 7, 26},
        {"RAID-1 of three drives", DriveList({4, 5, 6}), 2, 0, 26},
        {"RAID-5 with a 32K stripe", DriveList({4, 5, 6}), 5, 6, 27},
        {"RAID-0 with stripe code 12", DriveList({4, 5}), 0, 12, 27},
        {"the same port twice", DriveList({4, 5, 4}), 5, 7, 29},
        {"an empty port", DriveList({4, 5, 12}), 5, 7, 30},
        {"a RAID-5 member", DriveList({4, 0}), 0, 7, 31},
        // The single-drive unit of port 3 would give up its drive, but the
        // RAID-5 member after it fails the list: unit 1 stays.
        {"a single drive, then a RAID-5 member", DriveList({3, 1}), 0, 7, 31},
        // A unit of no blocks at all: the drive is too small, as for a
        // rebuild, and the single-drive unit of port 3 stays.
        {"a mirror over a drive of the reserved blocks", DriveList({3, 8}), 2, 0, 54},
        {"a RAID-5 over a drive of the reserved blocks", DriveList({4, 5, 8}), 5, 7, 54},
        {"a RAID-10 over a drive of the reserved blocks", DriveList({4, 5, 6, 8}), 6, 7, 54},
        {"a RAID-0 whose stripes round one block away", DriveList({4, 9}), 0, 7, 54},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ClearTraffic();
        ObjectId unit = ObjectId::Blank();
        EXPECT_EQ(PraneFamily::CreateUnit(&c.drives, c.type, c.stripe, 0, &unit), -1);
        EXPECT_EQ(LastApiCode(), c.api);
        EXPECT_TRUE(Commands().empty());
        EXPECT_EQ(Units(host).size(), 2u);
    }
}

TEST_F(PraneUnitOps, CreateRaid5BuildsTheDescriptorAndTheCapacity) {
    emulator::EmulatedHost& host = Start(json::array({CreateHost()}));
    ObjectIdList128 drives = DriveList({4, 5, 6});
    ObjectId unit = ObjectId::Blank();
    ASSERT_EQ(PraneFamily::CreateUnit(&drives, 5, 7, 0, &unit), 0);
    EXPECT_EQ(unit, UnitId(2));  // the lowest free number

    const auto packets = Commands();
    ASSERT_EQ(packets.size(), 1u);
    EXPECT_EQ(packets[0][0], 0x54);
    EXPECT_EQ(bytes::GetU16(packets[0].data(), 512, 6), 12 + 12 * 3);
    // The descriptor as sent: behind the packet in the request.
    const std::vector<uint8_t>* sent = nullptr;
    for (const integration::SentRequest& r : sent_) {
        if (r.size() > 544 && r.bytes[32] == 0x54)
            sent = &r.bytes;
    }
    ASSERT_NE(sent, nullptr);
    const uint8_t* d = sent->data() + 544;
    const size_t n = sent->size() - 544;
    const uint64_t t = 2 * (kDriveBlocks - 2048) - (2 * (kDriveBlocks - 2048)) % 256;
    EXPECT_EQ(d[0], 3);
    EXPECT_EQ(d[1], 5);
    EXPECT_EQ(d[2], 7);
    EXPECT_EQ(bytes::GetU32(d, n, 8), t);
    for (size_t i = 0; i < 3; ++i) {
        const size_t at = 12 + 12 * i;
        EXPECT_EQ(d[at + 1], 12);
        EXPECT_EQ(d[at + 2], 4 + i);
        EXPECT_EQ(d[at + 3], i);
        EXPECT_EQ(bytes::GetU32(d, n, at + 8), t / 2);
    }

    const json& created = Units(host)[2];
    EXPECT_EQ(created["type"], "raid5");
    EXPECT_EQ(created["members"], json({4, 5, 6}));
    uint64_t capacity = 0;
    ASSERT_EQ(Api::GetUnitCapacity(unit, &capacity), 0);
    EXPECT_EQ(capacity, t);
    ASSERT_EQ(Api::GetUnitCapacity(UnitId(2, {1}), &capacity), 0);
    EXPECT_EQ(capacity, t / 2);
    // The new unit's write cache was turned on.
    EXPECT_EQ(created["write_cache"], 1);
}

TEST_F(PraneUnitOps, CreateTakesTheDriveOfASingleDriveUnit) {
    emulator::EmulatedHost& host = Start(json::array({CreateHost()}));
    ObjectIdList128 drives = DriveList({3, 4, 5, 6});
    ObjectId unit = ObjectId::Blank();
    ASSERT_EQ(PraneFamily::CreateUnit(&drives, 6, 8, 0, &unit), 0);
    // Unit 1 was deleted first, so the new unit takes its number.
    EXPECT_EQ(unit, UnitId(1));
    EXPECT_EQ(CommandOpcodes(), std::vector<int>({0x15, 0x54}));
    ASSERT_EQ(Units(host).size(), 2u);
    EXPECT_EQ(Units(host)[1]["type"], "raid10");
    EXPECT_EQ(Units(host)[1]["members"], json({3, 4, 5, 6}));
    uint32_t type = 0;
    ASSERT_EQ(Api::GetUnitType(UnitId(1, {1}), &type), 0);
    EXPECT_EQ(type, 2u);
}

TEST_F(PraneUnitOps, DeleteAndExport) {
    emulator::EmulatedHost& host = Start(json::array({CreateHost()}));
    ASSERT_EQ(PraneFamily::DeleteUnit(UnitId(1), 0, 0), 0);
    ASSERT_EQ(PraneFamily::DeleteUnit(UnitId(0), 0, 0x80), 0);
    const auto packets = Commands();
    ASSERT_EQ(packets.size(), 2u);
    EXPECT_EQ(packets[0][0], 0x15);
    EXPECT_EQ(packets[0][3], 1);
    EXPECT_EQ(packets[0][7], 0);
    EXPECT_EQ(packets[1][3], 0);
    EXPECT_EQ(packets[1][7], 0x80);
    EXPECT_TRUE(Units(host).empty());
    ObjectIdList128 list;
    ASSERT_EQ(Api::GetUnitIdList(UnitId(0), &list), 0);
    EXPECT_EQ(list.count, 0u);
    EXPECT_EQ(PraneFamily::DeleteUnit(UnitId(0), 0, 0x80), -1);
    EXPECT_EQ(LastApiCode(), 59u);
}

// Unit 0 a RAID-5 over ports 0-2 whose member 1 failed; unit 1 an OK
// RAID-1 over ports 3 and 4; port 5 free.
json DegradedHost() {
    json drives = json::array();
    for (int p = 0; p < 6; ++p)
        drives.push_back(Drive(p));
    return OlderController(8, drives,
                           json::array({{{"number", 0},
                                         {"type", "raid5"},
                                         {"members", {0, 1, 2}},
                                         {"state", "degraded"},
                                         {"member", 1}},
                                        {{"number", 1}, {"type", "raid1"}, {"members", {3, 4}}}}));
}

TEST_F(PraneUnitOps, RemoveDrive) {
    emulator::EmulatedHost& host = Start(json::array({DegradedHost()}));
    EXPECT_EQ(PraneFamily::RemoveDrive(DriveId(0)), -1);  // a good member
    EXPECT_EQ(LastApiCode(), 48u);
    EXPECT_EQ(PraneFamily::RemoveDrive(DriveId(7)), -1);
    EXPECT_EQ(LastApiCode(), 46u);
    EXPECT_TRUE(Commands().empty());

    ASSERT_EQ(PraneFamily::RemoveDrive(DriveId(1)), 0);  // the failed member
    ASSERT_EQ(PraneFamily::RemoveDrive(DriveId(5)), 0);  // a free drive
    ASSERT_EQ(PraneFamily::RemoveDrive(DriveId(4)), 0);  // a member of an OK mirror
    const auto packets = Commands();
    ASSERT_EQ(packets.size(), 3u);
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(packets[i][0], 0x0A);
        EXPECT_EQ(packets[i][3], 0);
        EXPECT_EQ(packets[i][6], 0);
    }
    EXPECT_EQ(packets[0][7], 1);
    EXPECT_EQ(packets[2][7], 4);
    EXPECT_EQ(HostController(host)["drives"].size(), 3u);
    EXPECT_EQ(Units(host)[0]["members"], json({0, nullptr, 2}));
    EXPECT_EQ(Units(host)[1]["state"], "degraded");
    uint8_t status = 0;
    ASSERT_EQ(Api::GetUnitStatus(UnitId(1), &status), 0);
    EXPECT_EQ(status, 239);
}

TEST_F(PraneUnitOps, RebuildRefusals) {
    json host = DegradedHost();
    host["drives"][5]["capacity"] = kDriveBlocks - 100;
    emulator::EmulatedHost& emulated = Start(json::array({host}));
    ObjectIdList128 replacement = DriveList({5});
    EXPECT_EQ(PraneFamily::RebuildUnit(UnitId(1), &replacement, 0), -1);
    EXPECT_EQ(LastApiCode(), 49u);
    ObjectIdList128 member = DriveList({3});
    EXPECT_EQ(PraneFamily::RebuildUnit(UnitId(0), &member, 0), -1);
    EXPECT_EQ(LastApiCode(), 53u);
    // Too small: refused before the replacement becomes a unit.
    EXPECT_EQ(PraneFamily::RebuildUnit(UnitId(0), &replacement, 0), -1);
    EXPECT_EQ(LastApiCode(), 54u);
    EXPECT_TRUE(Commands().empty());
    EXPECT_EQ(Units(emulated).size(), 2u);
}

TEST_F(PraneUnitOps, RebuildAttachesTheReplacementAndStarts) {
    emulator::EmulatedHost& host = Start(json::array({DegradedHost()}));
    ASSERT_EQ(PraneFamily::RemoveDrive(DriveId(1)), 0);
    ClearTraffic();
    ObjectIdList128 replacement = DriveList({5});
    ASSERT_EQ(PraneFamily::RebuildUnit(UnitId(0), &replacement, 1), 0);
    EXPECT_EQ(CommandOpcodes(), std::vector<int>({0x54, 0x09, 0x17}));
    const auto packets = Commands();
    EXPECT_EQ(packets[1][3], 0);
    EXPECT_EQ(packets[1][6], 2);  // the replacement's single-drive unit
    EXPECT_EQ(packets[1][7], 1);  // the member
    EXPECT_EQ(packets[2][3], 0);
    EXPECT_EQ(packets[2][6], 0xC4);
    EXPECT_EQ(packets[2][7], 0);
    ASSERT_EQ(Units(host).size(), 2u);
    EXPECT_EQ(Units(host)[0]["members"], json({0, 5, 2}));
    uint8_t status = 0;
    ASSERT_EQ(Api::GetUnitStatus(UnitId(0), &status), 0);
    EXPECT_EQ(status, 223);
    EXPECT_EQ(PraneFamily::RebuildUnit(UnitId(0), &replacement, 0), -1);
    EXPECT_EQ(LastApiCode(), 50u);
}

TEST_F(PraneUnitOps, RebuildOfARaid10SubunitUsesTheSubunitIndex) {
    json drives = json::array();
    for (int p = 0; p < 5; ++p)
        drives.push_back(Drive(p));
    emulator::EmulatedHost& host =
        Start(json::array({OlderController(8, drives,
                                           json::array({{{"number", 0},
                                                         {"type", "raid10"},
                                                         {"members", {0, 1, nullptr, 3}},
                                                         {"state", "degraded"}}}))}));
    ObjectIdList128 replacement = DriveList({4});
    ASSERT_EQ(PraneFamily::RebuildUnit(UnitId(0), &replacement, 0), 0);
    const auto packets = Commands();
    ASSERT_EQ(packets.size(), 3u);
    EXPECT_EQ(packets[1][7], 2);  // member 0 of subunit 1
    EXPECT_EQ(packets[2][6], 0x84);
    EXPECT_EQ(packets[2][7], 1);  // subunit 1
    EXPECT_EQ(Units(host)[0]["members"], json({0, 1, 4, 3}));
}

TEST_F(PraneUnitOps, PauseResumeAndVerify) {
    json host = DegradedHost();
    host["units"][0]["state"] = "rebuilding";
    host["units"][0]["progress"] = 10;
    emulator::EmulatedHost& emulated = Start(json::array({host}));
    ASSERT_EQ(PraneFamily::PauseRebuild(UnitId(0)), 0);
    EXPECT_EQ(Units(emulated)[0]["paused"], true);
    ASSERT_EQ(PraneFamily::ResumeRebuild(UnitId(0)), 0);
    EXPECT_EQ(Units(emulated)[0]["paused"], false);
    auto packets = Commands();
    ASSERT_EQ(packets.size(), 2u);
    EXPECT_EQ(packets[0][0], 0x17);
    EXPECT_EQ(packets[0][6], 2);
    EXPECT_EQ(packets[1][6], 4);
    EXPECT_EQ(PraneFamily::PauseRebuild(UnitId(1)), -1);
    EXPECT_EQ(LastApiCode(), 64u);

    ClearTraffic();
    EXPECT_EQ(PraneFamily::VerifyUnit(UnitId(1), 1), -1);  // not verifying
    EXPECT_EQ(LastApiCode(), 72u);
    EXPECT_EQ(PraneFamily::VerifyUnit(UnitId(0), 0), -1);  // not OK
    EXPECT_EQ(LastApiCode(), 72u);
    EXPECT_TRUE(Commands().empty());
    ASSERT_EQ(PraneFamily::VerifyUnit(UnitId(1), 0), 0);
    EXPECT_EQ(Units(emulated)[1]["state"], "verifying");
    ASSERT_EQ(PraneFamily::VerifyUnit(UnitId(1), 1), 0);
    EXPECT_EQ(Units(emulated)[1]["state"], "ok");
    packets = Commands();
    ASSERT_EQ(packets.size(), 3u);
    EXPECT_EQ(packets[0][0], 0x05);
    EXPECT_EQ(packets[0][7], 1);
    EXPECT_EQ(packets[1][0], 0x17);
    EXPECT_EQ(packets[1][6], 4);
    EXPECT_EQ(packets[2][7], 0x80);
}

TEST_F(PraneUnitOps, VerifyOfARaid0IsRefused) {
    Start(json::array(
        {OlderController(4, json::array({Drive(0), Drive(1)}),
                         json::array({{{"number", 0}, {"type", "raid0"}, {"members", {0, 1}}}}))}));
    EXPECT_EQ(PraneFamily::VerifyUnit(UnitId(0), 0), -1);
    EXPECT_EQ(LastApiCode(), 73u);
}

TEST_F(PraneUnitOps, RescanFindsNewDrivesAndImportsTheirUnits) {
    json drives =
        json::array({Drive(0), Drive(1, kDriveBlocks, {{"status", 0}}),
                     Drive(2, kDriveBlocks, {{"status", 0}, {"import", {{"type", "jbod"}}}})});
    emulator::EmulatedHost& host = Start(json::array({OlderController(4, drives, json::array())}));
    ObjectId controller = ObjectId::Blank();
    ASSERT_EQ(Api::MakeControllerId(0, &controller), 0);
    ObjectIdList128 units;
    ObjectIdList128 free;
    ASSERT_EQ(PraneFamily::RescanController(controller, 0, &units, &free), 0);
    ASSERT_EQ(units.count, 1u);
    EXPECT_EQ(units.ids[0], UnitId(0));
    ASSERT_EQ(free.count, 1u);
    EXPECT_EQ(free.ids[0], DriveId(1));
    // Every empty port is asked (port 3 holds nothing); each found drive
    // is imported alone.
    EXPECT_EQ(CommandOpcodes(), std::vector<int>({0x06, 0x06, 0x06, 0x07, 0x07}));
    const auto packets = Commands();
    EXPECT_EQ(packets[0][1], 3);
    EXPECT_EQ(bytes::GetU32(packets[0].data(), 512, 8), 1u << 1);
    EXPECT_EQ(bytes::GetU32(packets[2].data(), 512, 8), 1u << 3);
    EXPECT_EQ(bytes::GetU32(packets[4].data(), 512, 8), 1u << 2);
    EXPECT_EQ(Units(host)[0]["type"], "jbod");

    ObjectId drive;
    EXPECT_EQ(PraneFamily::AddDrive(DriveId(1), &drive), -1);
    EXPECT_EQ(LastApiCode(), 23u);
    EXPECT_EQ(PraneFamily::AddDrive(DriveId(6), &drive), -1);
    EXPECT_EQ(LastApiCode(), 24u);

    ObjectIdList128 none;
    none.clear();
    EXPECT_EQ(PraneFamily::ImportUnit(&none, 0, &units), -1);
    EXPECT_EQ(LastApiCode(), 36u);
    ObjectIdList128 used = DriveList({2});
    EXPECT_EQ(PraneFamily::ImportUnit(&used, 0, &units), -1);
    EXPECT_EQ(LastApiCode(), 41u);
}

}  // namespace
}  // namespace prane_unit_ops_test

namespace prane_unit_ops_test {
namespace {

// Changes persist in the host file: the next run finds the deleted unit
// gone, its drives free, and the event that was read off the queue gone.
TEST_F(PraneUnitOps, ChangesPersistInTheHostFile) {
    json ctl = CreateHost();
    ctl["events"] = json::array({{{"code", 0x29}}, {{"code", 0x2B}}});
    InstallFile(Machine(json::array({ctl})));
    ObjectIdList16 controllers;
    ASSERT_EQ(Api::GetControllerIdList(&controllers), 0);
    ASSERT_EQ(PraneFamily::DeleteUnit(UnitId(0), 0, 0x80), 0);
    uint8_t record[prane_event::kRecordSize];
    ASSERT_EQ(PraneFamily::GetFirstAen(controllers.ids[0], record), 0);

    Reload();
    ASSERT_EQ(Api::GetControllerIdList(&controllers), 0);
    ObjectIdList128 units;
    ASSERT_EQ(Api::GetUnitIdList(controllers.ids[0], &units), 0);
    ASSERT_EQ(units.count, 1u);
    EXPECT_EQ(units.ids[0], UnitId(1));
    ObjectId holder;
    ASSERT_EQ(Api::GetDriveUnitId(DriveId(1), &holder), 0);
    EXPECT_EQ(holder[ObjectId::kController], 0xFF);
    ASSERT_EQ(PraneFamily::GetFirstAen(controllers.ids[0], record), 0);
    EXPECT_EQ(bytes::GetU16(record, sizeof record, prane_event::kCode), 0x2B);
}

}  // namespace
}  // namespace prane_unit_ops_test
