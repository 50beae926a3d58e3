// Unit creation and migration through the real library over the emulated
// host: the request checks and their API errors (nothing sent when one
// fails), the descriptor array each RAID type sends, the new unit as the
// emulated controller keeps it, and the in-place update of a migration.
#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>
#include <string>
#include <vector>

#include "api/api.h"
#include "api/dispatch.h"
#include "api/rhosk/rhosk_family.h"
#include "rhosk_emulated_host.h"

namespace unitcreate_backend_test {
namespace {

using rhosk_emulated::DriveId;
using rhosk_emulated::FamilyController;
using rhosk_emulated::json;
using rhosk_emulated::LastApiCode;

constexpr size_t kPacket = 28 + 128;  // SRB header, then the command header
constexpr size_t kData = 28 + 152;    // the data after the short command

json Drive(int port, int iface = 1, int status = 255) {
    return {{"port", port},
            {"capacity", 976773168},
            {"serial", "S" + std::to_string(port)},
            {"interface", iface},
            {"status", status}};
}

// A family-8 controller of 16 ports: SATA drives 0-11, a SAS drive on 12,
// a present but failed drive on 13, port 15 empty; a RAID-5 unit u0 on
// drives 0-2, a CBOD unit u1 on drive 10 and a single disk u2 on drive 11.
json Controller(int features = 2) {
    json drives = json::array();
    for (int p = 0; p < 12; ++p)
        drives.push_back(Drive(p));
    drives.push_back(Drive(12, 3));
    drives.push_back(Drive(13, 1, 0x80));
    drives.push_back(Drive(14));
    return FamilyController(
        8, 37,
        {{"identity", {{"features", features}}},
         {"settings", {{"ports", 16}}},
         {"drives", drives},
         {"units",
          {{{"number", 0}, {"type", "raid5"}, {"stripe", 9}, {"members", {0, 1, 2}}},
           {{"number", 1}, {"type", "cbod"}, {"members", {10}}},
           {{"number", 2}, {"type", "single"}, {"members", {11}}}}}});
}

ObjectIdList128 Drives(std::initializer_list<int> ports) {
    ObjectIdList128 list;
    list.clear();
    for (int port : ports)
        EXPECT_TRUE(list.add(DriveId(static_cast<uint8_t>(port))));
    return list;
}

class UnitCreateBackendTest : public rhosk_emulated::RhoskEmulatedTest {
  protected:
    // The raw firmware commands of an opcode sent so far.
    std::vector<std::vector<uint8_t>> Commands(uint8_t opcode) const {
        std::vector<std::vector<uint8_t>> out;
        for (const auto& sent : sent_) {
            if (sent.bytes.size() > kPacket && (sent.bytes[kPacket] & 0x1F) == opcode)
                out.push_back(sent.bytes);
        }
        return out;
    }
    static int Word(const std::vector<uint8_t>& b, size_t at) { return b[at] | (b[at + 1] << 8); }
    // Entry `i` of the descriptor array of a command.
    static std::vector<uint8_t> Entry(const std::vector<uint8_t>& b, size_t i) {
        auto first = b.begin() + static_cast<std::ptrdiff_t>(kData + 20 * i);
        return std::vector<uint8_t>(first, first + 20);
    }
    json Unit(emulator::EmulatedHost& host, int number) {
        for (const json& u : HostController(host)["units"]) {
            if (u.value("number", -1) == number)
                return u;
        }
        return nullptr;
    }
};

// Each refused request records its API error and sends no create command.
TEST_F(UnitCreateBackendTest, RefusedRequestsSendNothing) {
    struct Case {
        const char* what;
        std::initializer_list<int> ports;
        uint32_t type;
        uint32_t stripe;
        uint32_t group;
        uint32_t code;
    };
    const Case cases[] = {
        {"RAID-1 of three drives", {3, 4, 5}, 2, 0, 0, 26},
        {"RAID-10 of five drives", {3, 4, 5, 6, 7}, 6, 9, 0, 26},
        {"RAID-6 of four drives", {3, 4, 5, 6}, 7, 9, 0, 26},
        {"RAID-50 of five drives", {3, 4, 5, 6, 7}, 8, 9, 3, 26},
        {"single disk of two drives", {3, 4}, 11, 0, 0, 26},
        {"RAID-5 with 32K stripes", {3, 4, 5}, 5, 6, 0, 27},
        {"RAID-6 with 16K stripes", {3, 4, 5, 6, 7}, 7, 5, 0, 27},
        {"RAID-50 of 12 drives in groups of 5",
         {3, 4, 5, 6, 7, 8, 9, 14, 0, 1, 2, 11},
         8,
         9,
         5,
         35},
        {"RAID-50 of 7 drives", {3, 4, 5, 6, 7, 8, 9}, 8, 9, 3, 35},
        // The grouping is refused before the CBOD unit on drive 10 goes.
        {"RAID-50 of 7 drives, one of a CBOD unit", {3, 4, 5, 6, 7, 8, 10}, 8, 9, 3, 35},
        {"type 3", {3, 4}, 3, 9, 0, 33},
        {"type 16", {3, 4}, 16, 9, 0, 33},
        {"a drive twice", {3, 3, 4}, 5, 9, 0, 29},
        {"an empty port", {3, 4, 15}, 5, 9, 0, 30},
        {"a failed drive", {3, 4, 13}, 5, 9, 0, 32},
        {"a drive of another unit", {3, 4, 2}, 5, 9, 0, 31},
        {"JBOD on a SAS drive", {12}, 15, 0, 0, 133},
    };
    Start(json::array({Controller()}));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ClearTraffic();
        ObjectIdList128 list = Drives(c.ports);
        ObjectId unit = ObjectId::Blank();
        EXPECT_EQ(Api::CreateUnitWithGroup(&list, c.type, c.stripe, 1, &unit, c.group), -1);
        EXPECT_EQ(LastApiCode(), c.code);
        EXPECT_TRUE(Commands(0x14).empty());
        EXPECT_TRUE(Commands(0x15).empty());
    }
}

TEST_F(UnitCreateBackendTest, RequestChecksBeyondTheDriveList) {
    // RAID-6 needs the controller's feature bit.
    emulator::EmulatedHost& host = Start(json::array({Controller(0)}));
    ObjectIdList128 list = Drives({3, 4, 5, 6, 7});
    ObjectId unit = ObjectId::Blank();
    EXPECT_EQ(Api::CreateUnit(&list, 7, 9, 1, &unit), -1);
    EXPECT_EQ(LastApiCode(), 2u);
    // Drives of two controllers.
    list = Drives({3, 4});
    list.ids[1][ObjectId::kController] = 1;
    EXPECT_EQ(Api::CreateUnit(&list, 0, 9, 1, &unit), -1);
    EXPECT_EQ(LastApiCode(), 28u);
    // An empty list names no controller at all.
    list.clear();
    EXPECT_EQ(Api::CreateUnit(&list, 0, 9, 1, &unit), -1);
    EXPECT_EQ(LastApiCode(), 36u);
    // A volume whose sectors run past 64 bits fits no unit.
    list = Drives({3, 4});
    const uint64_t huge[] = {1ull << 62, 1ull << 63};
    EXPECT_EQ(Api::CreateUnitWithVolumes(&list, 0, 9, 1, &unit, huge, 2), -1);
    EXPECT_EQ(LastApiCode(), 33u);
    EXPECT_TRUE(Commands(0x14).empty());
    EXPECT_EQ(HostController(host)["units"].size(), 3u);
}

TEST_F(UnitCreateBackendTest, VolumesAndOlderFamiliesAreRouted) {
    Start(json::array(
        {FamilyController(4, 30, {{"drives", {Drive(0), Drive(1)}}}), FamilyController(3, 0)}));
    ObjectIdList128 list = Drives({0, 1});
    ObjectId unit = ObjectId::Blank();
    const uint64_t sizes[] = {10ull << 20};
    EXPECT_EQ(Api::CreateUnitWithVolumes(&list, 0, 9, 1, &unit, sizes, 1), -1);
    EXPECT_EQ(LastApiCode(), 2u);
    // The older family's own creation checks the drives: its ports 0 and 1
    // are empty (API error 30).
    list.ids[0][ObjectId::kController] = 1;
    list.ids[1][ObjectId::kController] = 1;
    EXPECT_EQ(Api::CreateUnit(&list, 0, 9, 1, &unit), -1);
    EXPECT_EQ(LastApiCode(), 30u);
}

TEST_F(UnitCreateBackendTest, RaidFiveSendsItsDescriptorsAndTheUnitExists) {
    emulator::EmulatedHost& host = Start(json::array({Controller()}));
    ObjectIdList128 list = Drives({3, 4, 5, 6});
    ObjectId unit = ObjectId::Blank();
    ASSERT_EQ(Api::CreateUnit(&list, 5, 7, 0, &unit), 0) << LastMessage();
    const auto sent = Commands(0x14);
    ASSERT_EQ(sent.size(), 1u);
    const std::vector<uint8_t>& b = sent[0];
    EXPECT_EQ(b[kPacket], 0x74);
    EXPECT_EQ(b[kPacket + 1], 3);
    EXPECT_EQ(Word(b, kPacket + 6), 100);
    EXPECT_EQ(b[kPacket + 8], 1);
    EXPECT_EQ(Entry(b, 0),
              std::vector<uint8_t>({4, 5, 7, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
    for (size_t i = 1; i < 5; ++i) {
        EXPECT_EQ(Entry(b, i)[1], 12);
        EXPECT_EQ(Entry(b, i)[3], 2 + i);
    }
    EXPECT_EQ(unit[ObjectId::kKind], kKindUnit);
    EXPECT_EQ(unit[ObjectId::kUnit], 3);  // the lowest free number
    EXPECT_EQ(Unit(host, 3),
              json({{"number", 3}, {"type", "raid5"}, {"members", {3, 4, 5, 6}}, {"stripe", 7}}));
    // The library reads it back like any unit.
    uint32_t type = 0;
    EXPECT_EQ(Api::GetUnitType(unit, &type), 0);
    EXPECT_EQ(type, 5u);
}

TEST_F(UnitCreateBackendTest, LayoutsOfTheOtherTypes) {
    emulator::EmulatedHost& host = Start(json::array({Controller()}));
    ObjectId unit = ObjectId::Blank();

    // RAID-6: the unit entry (byte 18 set), its extension, five drives.
    ObjectIdList128 list = Drives({3, 4, 5, 6, 7});
    ASSERT_EQ(Api::CreateUnit(&list, 7, 9, 0, &unit), 0) << LastMessage();
    std::vector<uint8_t> b = Commands(0x14).back();
    EXPECT_EQ(Word(b, kPacket + 6), 140);
    EXPECT_EQ(Entry(b, 0)[18], 1);
    EXPECT_EQ(Entry(b, 1)[1], 0x30);
    EXPECT_EQ(Unit(host, 3).value("type", ""), "raid6");

    // RAID-1 takes any stripe and sends 0; with two volumes, 5 entries.
    list = Drives({8, 9});
    const uint64_t sizes[] = {10ull << 20, 20ull << 20};
    ASSERT_EQ(Api::CreateUnitWithVolumes(&list, 2, 7, 0, &unit, sizes, 2), 0) << LastMessage();
    b = Commands(0x14).back();
    EXPECT_EQ(Word(b, kPacket + 6), 100);
    EXPECT_EQ(Entry(b, 0)[2], 0);
    const std::vector<uint8_t> v1 = Entry(b, 4);
    EXPECT_EQ(v1[1], 0x80);
    EXPECT_EQ(v1[2], 1);
    EXPECT_EQ(Word(v1, 4) | (Word(v1, 6) << 16), 10 << 21);  // starts after volume 0
    EXPECT_EQ(Word(v1, 12) | (Word(v1, 14) << 16), 20 << 21);
    const json mirror = Unit(host, 4);
    EXPECT_EQ(mirror["volumes"][0], 10ull << 21);
    EXPECT_EQ(mirror["volumes"][1], 20ull << 21);
    EXPECT_EQ(mirror["volumes"].size(), 3u);  // and what they leave
}

TEST_F(UnitCreateBackendTest, NestedLayouts) {
    struct Case {
        const char* what;
        uint32_t type;
        uint32_t group;
        int groups;
        int perGroup;
        uint8_t groupType;
        const char* model;
    };
    const Case cases[] = {
        {"RAID-10 of six drives", 6, 0, 3, 2, 2, "raid10"},
        {"RAID-50 of six drives", 8, 7, 2, 3, 5, "raid50"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        emulator::EmulatedHost& host = Start(json::array({Controller()}));
        ClearTraffic();
        ObjectIdList128 list = Drives({3, 4, 5, 6, 7, 8});
        ObjectId unit = ObjectId::Blank();
        ASSERT_EQ(Api::CreateUnitWithGroup(&list, c.type, 9, 0, &unit, c.group), 0)
            << LastMessage();
        const std::vector<uint8_t> b = Commands(0x14).back();
        const std::vector<uint8_t> top = Entry(b, 0);
        EXPECT_EQ(top[0], c.groups);
        EXPECT_EQ(top[1], 0);
        EXPECT_EQ(top[2], c.type == 6 ? 9 : 0);
        const std::vector<uint8_t> first = Entry(b, 1);
        EXPECT_EQ(first[0], c.perGroup);
        EXPECT_EQ(first[1], c.groupType);
        EXPECT_EQ(first[2], c.type == 8 ? 9 : 0);
        EXPECT_EQ(Word(b, kPacket + 6), 20 * (1 + c.groups + 6));
        const json made = Unit(host, 3);
        EXPECT_EQ(made.value("type", ""), c.model);
        EXPECT_EQ(made.value("group", 0), c.perGroup);
    }
}

TEST_F(UnitCreateBackendTest, ACbodUnitOnADriveIsDeletedFirst) {
    Start(json::array({Controller()}));
    ObjectIdList128 list = Drives({9, 10});
    ObjectId unit = ObjectId::Blank();
    (void)Api::CreateUnit(&list, 0, 9, 0, &unit);
    const auto deletes = Commands(0x15);
    ASSERT_EQ(deletes.size(), 1u);
    EXPECT_EQ(deletes[0][kPacket + 1], 2);
    EXPECT_EQ(deletes[0][kPacket + 3], 1);  // the CBOD unit u1
    EXPECT_EQ(deletes[0][kPacket + 7], 0x80);
}

TEST_F(UnitCreateBackendTest, MigrationChecksAndTheMigratingUnit) {
    emulator::EmulatedHost& host = Start(json::array({Controller()}));
    ObjectId source = rhosk_emulated::UnitId(0);
    ObjectIdList128 same = Drives({0, 1, 2});
    EXPECT_EQ(Api::StartMigrateUnit(source, &same, 5, 9, 0, 0), -1);
    EXPECT_EQ(LastApiCode(), 91u);
    ObjectIdList128 fewer = Drives({0, 1});
    EXPECT_EQ(Api::StartMigrateUnit(source, &fewer, 0, 9, 0, 0), -1);
    EXPECT_EQ(LastApiCode(), 105u);
    // A destination without stripes compares as a change of stripe size.
    EXPECT_EQ(Api::StartMigrateUnit(source, &fewer, 2, 0, 0, 0), -1);
    EXPECT_EQ(LastApiCode(), 105u);
    EXPECT_TRUE(Commands(0x0F).empty());

    ObjectIdList128 grown = Drives({0, 1, 2, 3});
    ASSERT_EQ(Api::StartMigrateUnit(source, &grown, 5, 9, 0, 0), 0) << LastMessage();
    const auto updates = Commands(0x0F);
    ASSERT_EQ(updates.size(), 1u);
    EXPECT_EQ(updates[0][kPacket], 0x6F);
    EXPECT_EQ(updates[0][kPacket + 3], 0);
    EXPECT_EQ(updates[0][kPacket + 10], 0);
    EXPECT_EQ(Word(updates[0], kPacket + 6), 100);  // no volume entries
    EXPECT_TRUE(Commands(0x14).empty());

    const json migrating = Unit(host, 0);
    EXPECT_EQ(migrating.value("type", ""), "migrating");
    EXPECT_EQ(migrating["source"]["members"], json({0, 1, 2}));
    EXPECT_EQ(migrating["destination"],
              json({{"type", "raid5"}, {"members", {0, 1, 2, 3}}, {"stripe", 9}}));
    uint32_t type = 0;
    EXPECT_EQ(Api::GetUnitType(source, &type), 0);
    EXPECT_EQ(type, 32u);
    // A migrating unit takes no second migration.
    ObjectIdList128 more = Drives({0, 1, 2, 3, 4});
    EXPECT_EQ(Api::StartMigrateUnit(source, &more, 5, 9, 0, 0), -1);
}

TEST_F(UnitCreateBackendTest, ASingleDiskBecomesAMirror) {
    emulator::EmulatedHost& host = Start(json::array({Controller()}));
    ObjectIdList128 pair = Drives({11, 9});
    ASSERT_EQ(Api::StartMigrateUnit(rhosk_emulated::UnitId(2), &pair, 2, 0, 0, 0), 0)
        << LastMessage();
    // A CBOD unit on the free drive, then the add-mirror update.
    const auto creates = Commands(0x14);
    ASSERT_EQ(creates.size(), 1u);
    EXPECT_EQ(Entry(creates[0], 0)[1], 12);
    EXPECT_EQ(Entry(creates[0], 0)[3], 9);
    const auto updates = Commands(0x0F);
    ASSERT_EQ(updates.size(), 1u);
    EXPECT_EQ(updates[0][kPacket + 3], 2);
    EXPECT_EQ(updates[0][kPacket + 10], 8);
    EXPECT_EQ(updates[0][kPacket + 11], 3);
    const json unit = Unit(host, 2);
    EXPECT_EQ(unit.value("type", ""), "migrating");
    EXPECT_EQ(unit["destination"]["members"], json({11, 9}));
    EXPECT_TRUE(Unit(host, 3).is_null());  // the CBOD unit joined the mirror
}

}  // namespace
}  // namespace unitcreate_backend_test

namespace unitcreate_backend_test {
namespace {

// The create data holds 107 entries: a RAID-0 of 100 drives takes six
// volumes, not seven, and a request that does not fit sends nothing.
TEST_F(UnitCreateBackendTest, TheCreateDataHolds107Entries) {
    json drives = json::array();
    for (int p = 0; p < 100; ++p)
        drives.push_back(Drive(p));
    emulator::EmulatedHost& host = Start(json::array(
        {FamilyController(8, 37, {{"settings", {{"ports", 100}}}, {"drives", drives}})}));
    ObjectIdList128 list;
    list.clear();
    for (int p = 0; p < 100; ++p)
        ASSERT_TRUE(list.add(DriveId(static_cast<uint8_t>(p))));
    uint64_t sizes[7];
    for (uint64_t& size : sizes)
        size = 1ull << 20;
    ObjectId unit = ObjectId::Blank();
    EXPECT_EQ(Api::CreateUnitWithVolumes(&list, 0, 9, 0, &unit, sizes, 7), -1);
    EXPECT_EQ(LastApiCode(), 33u);
    EXPECT_TRUE(Commands(0x14).empty());
    ASSERT_EQ(Api::CreateUnitWithVolumes(&list, 0, 9, 0, &unit, sizes, 6), 0) << LastMessage();
    EXPECT_EQ(Word(Commands(0x14).back(), kPacket + 6), 20 * 107);
    EXPECT_EQ(Unit(host, 0)["members"].size(), 100u);
}

}  // namespace
}  // namespace unitcreate_backend_test

namespace unitcreate_backend_test {
namespace {

uint32_t LastControllerCode() {
    ApiErrorRecord record;
    ApiError::Get(&record, nullptr, 0);
    return record.controllerCode;
}

// The emulated controller holds a create command to its own rules even
// when no library check came first.
TEST_F(UnitCreateBackendTest, TheControllerRefusesWhatItCannotBuild) {
    struct Case {
        const char* what;
        std::vector<std::vector<uint8_t>> entries;
        uint16_t length;  // 0: 20 per entry
        uint32_t code;
    };
    auto drive = [](uint8_t port) { return std::vector<uint8_t>{0, 12, 0, port}; };
    const Case cases[] = {
        {"a drive of another unit", {{3, 5, 9, 0}, drive(3), drive(4), drive(0)}, 0, 0x0255},
        {"32K stripes", {{3, 5, 6, 0}, drive(3), drive(4), drive(5)}, 0, 0x025C},
        {"RAID-5 of two drives", {{2, 5, 9, 0}, drive(3), drive(4)}, 0, 0x025A},
        {"fewer drive entries than children", {{3, 5, 9, 0}, drive(3), drive(4)}, 0, 0x025A},
        {"a port twice", {{3, 5, 9, 0}, drive(3), drive(4), drive(3)}, 0, 0x0271},
        {"an empty port", {{0, 11, 0, 15}}, 0, 0x010E},
        {"a failed drive", {{0, 11, 0, 13}}, 0, 0x010E},
        {"a JBOD on a SAS drive", {{0, 15, 0, 12}}, 0, 0x025D},
        {"SATA and SAS", {{2, 0, 9, 0}, drive(3), drive(12)}, 0, 0x012F},
        {"a length of 30", {{0, 11, 0, 3}}, 30, 0x0250},
    };
    emulator::EmulatedHost& host = Start(json::array({Controller()}));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<uint8_t> data(std::max<size_t>(20 * c.entries.size(), c.length), 0);
        for (size_t i = 0; i < c.entries.size(); ++i)
            std::copy(c.entries[i].begin(), c.entries[i].end(), data.begin() + 20 * i);
        uint8_t number = 0;
        EXPECT_EQ(RhoskFamily::SendCreateUnit(integration::ControllerId(0), data.data(),
                                              static_cast<uint32_t>(data.size()), &number),
                  -1);
        EXPECT_EQ(LastControllerCode(), c.code);
    }
    EXPECT_EQ(HostController(host)["units"].size(), 3u);
}

}  // namespace
}  // namespace unitcreate_backend_test
