// The library's public operations on an older-family controller: each
// reaches the older family's back end through its route, sends its command
// packets, and reports a packet that the controller answers with a nonzero
// status byte as the driver error of that byte.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "api/api.h"
#include "api/bytes.h"
#include "prane_emulated_host.h"

namespace pranewire_routes_test {
namespace {

using namespace prane_emulated;

// Eight drives; u0 an OK RAID-5 on p0-p2, u1 a RAID-1 missing its second
// drive (p4), u2 a RAID-1 rebuilding onto p6; p3 and p7 are free.
json RoutesHost() {
    json drives = json::array();
    for (int p = 0; p < 8; ++p)
        drives.push_back(Drive(p));
    json ctl = OlderController(
        8, drives,
        json::array(
            {{{"number", 0}, {"type", "raid5"}, {"members", {0, 1, 2}}, {"stripe", 7}},
             {{"number", 1}, {"type", "raid1"}, {"members", {4, nullptr}}, {"state", "degraded"}},
             {{"number", 2},
              {"type", "raid1"},
              {"members", {5, 6}},
              {"state", "rebuilding"},
              {"member", 1}}}));
    ctl["events"] = json::array({{{"code", 0x0A}, {"parameter", 3}}, {{"code", 0x01}}});
    ctl["error_log"] = "E0001 port 1 timeout";
    return ctl;
}

ObjectId Controller() {
    ObjectId id = ObjectId::Blank();
    EXPECT_EQ(Api::MakeControllerId(0, &id), 0);
    return id;
}

ObjectIdList128 DriveList(std::initializer_list<int> ports) {
    ObjectIdList128 list;
    list.clear();
    for (int port : ports)
        EXPECT_TRUE(list.add(DriveId(static_cast<uint8_t>(port))));
    return list;
}

ApiErrorRecord LastRecord() {
    ApiErrorRecord record;
    ApiError::Get(&record, nullptr, 0);
    return record;
}

class PranewireRoutes : public PraneEmulatedTest {};

// One public operation: the command packets it sends (parameter reads and
// writes left out), one byte of the last packet that carries its meaning,
// and the change it makes to the controller's state.
struct RouteCase {
    const char* what;
    std::function<int()> call;
    std::vector<int> opcodes;
    size_t byteAt;
    int byteValue;
    std::function<bool(const json&)> effect;
};

TEST_F(PranewireRoutes, EachOperationSendsItsPacketsAndReportsTheStatusByte) {
    static uint8_t log[32768];
    static uint8_t smart[512];
    static const uint8_t image[16] = {1, 2, 3};
    static AenRecord event;
    auto unitNumbered = [](const json& ctl, int n) -> const json* {
        for (const json& u : ctl["units"]) {
            if (u["number"] == n)
                return &u;
        }
        return nullptr;
    };
    auto stateOf = [&](const json& ctl, int n) {
        const json* u = unitNumbered(ctl, n);
        return u == nullptr ? std::string("gone") : u->value("state", std::string("ok"));
    };
    const RouteCase cases[] = {
        {"commit",
         [] { return Api::CommitTransactions(Controller()); },
         {0x1E},
         2,
         0x67,
         [](const json&) { return true; }},
        {"media scan start",
         [] { return Api::StartMediaScan(Controller()); },
         {0x18},
         6,
         1,
         [](const json& c) { return c["media_scan"] == true; }},
        {"media scan stop",
         [] { return Api::StopMediaScan(Controller()); },
         {0x18},
         6,
         0,
         [](const json& c) { return c["media_scan"] == false; }},
        {"flush",
         [] { return Api::FlushWriteCache(UnitId(0)); },
         {0x0E},
         3,
         0,
         [](const json&) { return true; }},
        {"verify start",
         [] { return Api::VerifyUnit(UnitId(0)); },
         {0x05, 0x17},
         6,
         4,
         [&](const json& c) { return stateOf(c, 0) == "verifying"; }},
        {"pause rebuild",
         [] { return Api::PauseRebuild(UnitId(2)); },
         {0x17},
         6,
         2,
         [&](const json& c) { return unitNumbered(c, 2)->value("paused", false); }},
        {"resume rebuild",
         [] { return Api::ResumeRebuild(UnitId(2)); },
         {0x17},
         6,
         4,
         [&](const json& c) { return !unitNumbered(c, 2)->value("paused", false); }},
        {"delete",
         [] { return Api::DeleteUnit(UnitId(0), 0); },
         {0x15},
         7,
         0x80,
         [&](const json& c) { return stateOf(c, 0) == "gone"; }},
        {"export",
         [] { return Api::ExportUnit(UnitId(0), 0); },
         {0x15},
         7,
         0,
         [&](const json& c) { return stateOf(c, 0) == "gone"; }},
        {"remove drive",
         [] { return Api::RemoveDrive(DriveId(7)); },
         {0x0A},
         7,
         7,
         [](const json& c) { return c["drives"].size() == 7; }},
        {"rebuild onto a free drive",
         [] {
             ObjectIdList128 drives = DriveList({3});
             return Api::RebuildUnit(UnitId(1), &drives, 1);
         },
         {0x54, 0x09, 0x17},
         6,
         0xC4,
         [&](const json& c) { return stateOf(c, 1) == "rebuilding"; }},
        {"create",
         [] {
             ObjectIdList128 drives = DriveList({3, 7});
             ObjectId unit = ObjectId::Blank();
             return Api::CreateUnit(&drives, 0, 7, 0, &unit);
         },
         {0x54},
         0,
         0x54,
         [&](const json& c) { return stateOf(c, 3) == "ok"; }},
        {"create with a group, which the family does not use",
         [] {
             ObjectIdList128 drives = DriveList({3, 7});
             ObjectId unit = ObjectId::Blank();
             return Api::CreateUnitWithGroup(&drives, 0, 7, 0, &unit, 3);
         },
         {0x54},
         0,
         0x54,
         [&](const json& c) { return stateOf(c, 3) == "ok"; }},
        {"firmware image",
         [] { return Api::DownloadFirmwareImage(Controller(), image, 16); },
         {0x56},
         6,
         8,
         [](const json& c) { return c.contains("firmware_image"); }},
        {"error log",
         [] { return Api::GetControllerErrorLog(Controller(), log); },
         {0x59},
         6,
         2,
         [](const json&) {
             return std::strcmp(reinterpret_cast<char*>(log), "E0001 port 1 timeout") == 0;
         }},
        {"SMART data",
         [] { return Api::GetDriveSmartData(DriveId(4), smart); },
         {0xB1},
         3,
         4,
         [](const json&) { return true; }},
        {"first event",
         [] { return Api::GetFirstAen(Controller(), &event); },
         {0x5C},
         1,
         4,
         [](const json& c) { return c["events"].size() == 1; }},
        {"next event",
         [] { return Api::GetNextAen(Controller(), 77, &event); },
         {0x5C},
         1,
         4,
         [](const json& c) { return c["events"].size() == 1; }},
    };
    for (const RouteCase& c : cases) {
        SCOPED_TRACE(c.what);
        emulator::EmulatedHost& host = Start(json::array({RoutesHost()}));
        ClearTraffic();
        ASSERT_EQ(c.call(), 0) << LastMessage();
        EXPECT_EQ(CommandOpcodes(), c.opcodes);
        const auto packets = Commands();
        ASSERT_FALSE(packets.empty());
        EXPECT_EQ(packets.back()[c.byteAt], c.byteValue);
        EXPECT_TRUE(c.effect(HostController(host)));

        // The last packet answered with status byte 0xC3: the driver error
        // of that byte, nothing reported as done.
        char opcode[8];
        std::snprintf(opcode, sizeof opcode, "0x%02X", c.opcodes.back() & 0x1F);
        Start(json::array({RoutesHost()}),
              json::array({integration::Fault({{"layer", "firmware"}, {"opcode", opcode}},
                                              {{"code", "0x20C3"}})}));
        EXPECT_EQ(c.call(), -1);
        const ApiErrorRecord record = LastRecord();
        EXPECT_EQ(record.flags, 0x10004u);
        EXPECT_EQ(record.driverCode, 0xC3u);
    }
}

// The event walk hands the older family's 369-byte record over as the
// library's AenRecord: code, severity, parameter and message with their
// lengths; no id and no time. The next step takes the next queued event
// whatever id it is given, and an empty queue answers code 0.
TEST_F(PranewireRoutes, EventWalkDecodesTheQueuedEvents) {
    Start(json::array({RoutesHost()}));
    AenRecord record;
    std::memset(&record, 0x5A, sizeof record);
    ASSERT_EQ(Api::GetFirstAen(Controller(), &record), 0) << LastMessage();
    EXPECT_EQ(record.eventId, 0u);
    EXPECT_EQ(record.time, 0u);
    EXPECT_EQ(record.code, 10);
    EXPECT_EQ(record.severity, kAenError);
    EXPECT_STREQ(record.params, "3");
    EXPECT_EQ(record.paramLength, 1);
    const std::string message = "(0x0F:0x000A): Drive error: Port #3";
    EXPECT_EQ(std::string(record.message), message);
    EXPECT_EQ(record.messageLength, message.size());

    ASSERT_EQ(Api::GetNextAen(Controller(), 123456, &record), 0);
    EXPECT_EQ(record.code, 1);
    EXPECT_EQ(record.severity, kAenInfo);
    EXPECT_EQ(record.paramLength, 0);
    EXPECT_STREQ(record.params, "");
    EXPECT_EQ(std::string(record.message, record.messageLength),
              "(0x0F:0x0001): Soft reset occurred");

    ASSERT_EQ(Api::GetNextAen(Controller(), 0, &record), 0);
    EXPECT_EQ(record.code, 0);

    // A failed read leaves the caller's record as it was.
    Start(json::array({RoutesHost()}),
          json::array({integration::Fault({{"layer", "firmware"}, {"opcode", "0x1C"}},
                                          {{"code", "0x20C3"}})}));
    std::memset(&record, 0x5A, sizeof record);
    EXPECT_EQ(Api::GetFirstAen(Controller(), &record), -1);
    EXPECT_EQ(record.code, 0x5A5A);
    EXPECT_EQ(LastRecord().driverCode, 0xC3u);
}

// The rescan brings back the drives taken off their ports and imports the
// unit a drive carries; the drive addition refuses a port in use.
TEST_F(PranewireRoutes, RescanAddDriveAndImport) {
    json ctl = RoutesHost();
    ctl["drives"][3]["import"] = {{"type", "single"}};
    emulator::EmulatedHost& host = Start(json::array({ctl}));
    ObjectIdList128 units;
    ObjectIdList128 drives;

    ASSERT_EQ(Api::RemoveDrive(DriveId(7)), 0) << LastMessage();
    ObjectId added = ObjectId::Blank();
    EXPECT_EQ(Api::AddDrive(DriveId(4), &added), -1);
    EXPECT_EQ(LastApiCode(), 23u);
    ClearTraffic();
    ASSERT_EQ(Api::AddDrive(DriveId(7), &added), 0) << LastMessage();
    EXPECT_EQ(added, DriveId(7));
    ASSERT_EQ(CommandOpcodes(), std::vector<int>({0x06}));
    EXPECT_EQ(bytes::GetU32(Commands()[0].data(), 512, 8), 1u << 7);

    ASSERT_EQ(Api::RemoveDrive(DriveId(7)), 0);
    ASSERT_EQ(Api::RescanController(Controller(), 0, &units, &drives), 0) << LastMessage();
    ASSERT_EQ(drives.size(), 1u);
    EXPECT_EQ(drives.ids[0], DriveId(7));
    EXPECT_EQ(units.size(), 0u);
    EXPECT_EQ(HostController(host)["drives"].size(), 8u);

    // Importing p3 brings in the unit it carries as the lowest free number.
    ObjectIdList128 list = DriveList({3});
    ASSERT_EQ(Api::ImportUnit(&list, 0, &units), 0) << LastMessage();
    ASSERT_EQ(units.size(), 1u);
    EXPECT_EQ(units.ids[0], UnitId(3));
    list.clear();
    EXPECT_EQ(Api::ImportUnit(&list, 0, &units), -1);
    EXPECT_EQ(LastApiCode(), 36u);
}

// An exported unit's drives keep its configuration: importing one of them
// brings the whole unit back under the lowest free number, and the other
// drives no longer carry it. A unit created on such drives replaces what
// they carried.
TEST_F(PranewireRoutes, ExportedUnitComesBackWithAnImport) {
    emulator::EmulatedHost& host = Start(json::array({RoutesHost()}));
    ASSERT_EQ(Api::ExportUnit(UnitId(0), 0), 0) << LastMessage();
    ObjectIdList128 list = DriveList({1});
    ObjectIdList128 units;
    ASSERT_EQ(Api::ImportUnit(&list, 0, &units), 0) << LastMessage();
    ASSERT_EQ(units.size(), 1u);
    EXPECT_EQ(units.ids[0], UnitId(0));
    uint32_t type = 0;
    ASSERT_EQ(Api::GetUnitType(UnitId(0), &type), 0);
    EXPECT_EQ(type, kUnitRaid5);
    ObjectIdList128 members;
    ASSERT_EQ(Api::GetUnitDriveList(UnitId(0), &members), 0);
    EXPECT_EQ(members.size(), 3u);
    for (const json& d : HostController(host)["drives"])
        EXPECT_FALSE(d.contains("import")) << d;

    ASSERT_EQ(Api::ExportUnit(UnitId(0), 0), 0);
    list = DriveList({0, 1});
    ObjectId unit = ObjectId::Blank();
    ASSERT_EQ(Api::CreateUnit(&list, kUnitRaid1Mirror, 0, 0, &unit), 0) << LastMessage();
    list = DriveList({2});
    ASSERT_EQ(Api::ImportUnit(&list, 0, &units), 0) << LastMessage();
    // The RAID-5 comes back from p2, without p0 and p1, which the new
    // mirror holds now: it does not run.
    ASSERT_EQ(units.size(), 1u);
    uint8_t status = 0;
    ASSERT_EQ(Api::GetUnitStatus(units.ids[0], &status), 0);
    EXPECT_NE(status, kUnitStatusOk);
    EXPECT_NE(status, kUnitStatusDegraded);
    ASSERT_EQ(Api::GetUnitDriveList(units.ids[0], &members), 0);
    size_t present = 0;
    for (size_t i = 0; i < members.size(); ++i)
        present += members.ids[i][ObjectId::kNumber] != ObjectId::kNone ? 1 : 0;
    EXPECT_EQ(present, 1u);
    for (const json& d : HostController(host)["drives"]) {
        if (d["port"] == 0 || d["port"] == 1) {
            EXPECT_FALSE(d.contains("import")) << d;
        }
    }
}

// Removing a unit exports it and takes each of its drives off its port;
// volumes are the newer family's alone.
TEST_F(PranewireRoutes, RemoveUnitAndTheFormsTheFamilyLacks) {
    emulator::EmulatedHost& host = Start(json::array({RoutesHost()}));
    ClearTraffic();
    ASSERT_EQ(Api::RemoveUnit(UnitId(0), 0), 0) << LastMessage();
    EXPECT_EQ(CommandOpcodes(), std::vector<int>({0x15, 0x0A, 0x0A, 0x0A}));
    EXPECT_EQ(Commands()[0][7], 0);  // an export
    EXPECT_EQ(HostController(host)["drives"].size(), 5u);

    ObjectIdList128 drives = DriveList({3, 7});
    ObjectId unit = ObjectId::Blank();
    const uint64_t sizes[] = {10ull << 20};
    EXPECT_EQ(Api::CreateUnitWithVolumes(&drives, 0, 7, 0, &unit, sizes, 1), -1);
    EXPECT_EQ(LastApiCode(), 2u);
    ObjectIdList128 found;
    EXPECT_EQ(Api::SplitMirror(UnitId(1), 0, &found), -1);
    EXPECT_EQ(LastApiCode(), 2u);
    AenRecord record{};
    EXPECT_EQ(Api::GetPreviousAen(Controller(), 1, &record), -1);
    EXPECT_EQ(LastApiCode(), 2u);
}

// Removing the drive a mirror rebuilds onto ends the rebuild: the unit is
// degraded again and the drive comes back with the next port detection.
TEST_F(PranewireRoutes, RemovingTheRebuildTargetLeavesTheUnitDegraded) {
    emulator::EmulatedHost& host = Start(json::array({RoutesHost()}));
    ASSERT_EQ(Api::RemoveDrive(DriveId(6)), 0) << LastMessage();
    uint8_t status = 0;
    ASSERT_EQ(Api::GetUnitStatus(UnitId(2), &status), 0);
    EXPECT_EQ(status, kUnitStatusDegraded);
    // The good member of the now degraded mirror stays.
    EXPECT_EQ(Api::RemoveDrive(DriveId(5)), -1);
    EXPECT_EQ(LastApiCode(), 48u);
    ObjectId added = ObjectId::Blank();
    ASSERT_EQ(Api::AddDrive(DriveId(6), &added), 0) << LastMessage();
    uint8_t drive = 0;
    ASSERT_EQ(Api::GetDriveStatus(DriveId(6), &drive), 0);
    EXPECT_EQ(drive, 255);
    EXPECT_TRUE(HostController(host)["removed_drives"].empty());
}

}  // namespace
}  // namespace pranewire_routes_test
