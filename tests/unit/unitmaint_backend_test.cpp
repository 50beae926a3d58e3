// Unit maintenance through the library over the emulated controller: the
// command packets the newer family sends for delete, export, verify,
// rebuild, flush and drive removal, the refusals before anything is sent,
// the model's change as the host keeps it, and the dispatcher's removal
// and rebuild built from those steps.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "api/api.h"
#include "api/driver.h"
#include "api/rhosk/rhosk_family.h"
#include "rhosk_emulated_host.h"

namespace rhosk_emulated::unitmaint_backend_test {
namespace {

constexpr uint64_t kDrive = 976773168;

// Firmware opcodes (low 5 bits) of the maintenance commands.
constexpr int kOpVerify = 0x05;
constexpr int kOpDetect = 0x06;
constexpr int kOpAttach = 0x09;
constexpr int kOpRemoveDrive = 0x0A;
constexpr int kOpFlush = 0x0E;
constexpr int kOpCreate = 0x14;
constexpr int kOpDelete = 0x15;
constexpr int kOpRebuild = 0x17;
constexpr int kOpProbe = 0x00;

// The packet of a firmware command as the driver received it.
struct Packet {
    std::vector<uint8_t> bytes;
    int opcode() const { return bytes[0] & 0x1F; }
    int at(size_t i) const { return bytes[i]; }
};

class UnitMaintBackend : public RhoskEmulatedTest {
  protected:
    // A controller of `family` and `level` with drives on ports 0-9 and
    // these units; `extra` is merged over the controller.
    emulator::EmulatedHost& StartUnits(const json& units, int family = 6, int level = 33,
                                       const json& extra = json::object(),
                                       const json& faults = json::array()) {
        json drives = json::array();
        for (int port = 0; port < 10; ++port)
            drives.push_back({{"port", port}, {"capacity", kDrive}});
        json ctl = FamilyController(
            family, level, {{"settings", {{"ports", 12}}}, {"drives", drives}, {"units", units}});
        ctl.merge_patch(extra);
        return Start(json::array({ctl}), faults);
    }

    // The maintenance packets sent so far (parameter reads left out).
    std::vector<Packet> Commands() const {
        std::vector<Packet> out;
        for (const integration::SentRequest& r : sent_) {
            const uint32_t code = r.controlCode();
            if (r.signature() != "<Kivra>" || (code >> 28) != 0xF || code == 0xFFFF0002)
                continue;
            // The packet's bytes as far as the request carries them.
            const size_t at = rhosk_request::kPayload + FirmwareCommandBuffer::kHeaderSize;
            Packet p{std::vector<uint8_t>(40, 0)};
            for (size_t i = 0; i < p.bytes.size() && at + i < r.bytes.size(); ++i)
                p.bytes[i] = r.bytes[at + i];
            if (p.opcode() != 0x12 && p.opcode() != 0x13)
                out.push_back(p);
        }
        return out;
    }
    std::vector<int> Opcodes() const {
        std::vector<int> out;
        for (const Packet& p : Commands())
            out.push_back(p.opcode());
        return out;
    }

    static const json* UnitOf(emulator::EmulatedHost& host, int number) {
        for (const json& u : HostController(host)["units"]) {
            if (u.value("number", -1) == number)
                return &u;
        }
        return nullptr;
    }
};

json Unit(int number, const char* type, json members, const char* state = "ok") {
    return {{"number", number}, {"type", type}, {"members", members}, {"state", state}};
}

TEST_F(UnitMaintBackend, DeleteAndExportSendTheirModeAndTheUnitLeaves) {
    struct Case {
        int (*op)(ObjectId, uint8_t);
        int mode;
        bool kept;  // the unit's configuration stays with its drives
    } cases[] = {{Api::DeleteUnit, 0x80, false}, {Api::ExportUnit, 0x40, true}};
    for (const Case& c : cases) {
        emulator::EmulatedHost& host =
            StartUnits(json::array({Unit(1, "raid5", {0, 1, 2}), Unit(2, "raid1", {3, 4})}));
        ASSERT_EQ(c.op(UnitId(1), 0), 0) << LastMessage();
        ASSERT_EQ(Commands().size(), 1u);
        const Packet p = Commands()[0];
        EXPECT_EQ(p.at(0), kOpDelete);
        EXPECT_EQ(p.at(1), 2);
        EXPECT_EQ(p.at(3), 1);
        EXPECT_EQ(p.at(7), c.mode);
        EXPECT_EQ(UnitOf(host, 1), nullptr);
        EXPECT_NE(UnitOf(host, 2), nullptr);
        EXPECT_EQ(HostController(host).contains("exported_units"), c.kept);
        ObjectId owner;
        ASSERT_EQ(Api::GetDriveUnitId(DriveId(0), &owner), 0);
        EXPECT_EQ(owner, ObjectId::Blank());  // the drive is free
    }
}

TEST_F(UnitMaintBackend, DeletingAnAbsentUnitFailsBeforeAnyNotification) {
    StartUnits(json::array({Unit(1, "raid1", {0, 1})}));
    EXPECT_EQ(Api::DeleteUnit(UnitId(4), 1), -1);
    EXPECT_EQ(LastApiCode(), 59u);
    EXPECT_TRUE(Commands().empty());
}

// Windows takes part for a unit whose flag bit 0 is set: its disk goes
// first; Windows 6.x and later need no deleted notice afterwards, 5.1 does.
TEST_F(UnitMaintBackend, WindowsLetsTheDiskGoAndOnlyOldVersionsHearOfTheDeletion) {
    for (int minor : {1, 2}) {
        const int major = minor == 1 ? 5 : 10;
        json state = Machine(json::array({FamilyController(
            6, 33,
            {{"drives", {{{"port", 0}, {"capacity", kDrive}}, {{"port", 1}, {"capacity", kDrive}}}},
             {"units", {Unit(1, "raid1", {0, 1})}}})}));
        state["machine"]["version"] = {{"major", major}, {"minor", minor}, {"platform_id", 2}};
        emulator::EmulatedHost& host = InstallListed(state);
        ASSERT_EQ(Api::DeleteUnit(UnitId(1), 1), 0) << LastMessage();
        const json& disks = host.state()["machine"]["disks"];
        ASSERT_EQ(disks.size(), 1u);
        EXPECT_FALSE(disks[0].value("present", true));
        const std::vector<int> withNotice = {kOpDelete, kOpProbe};
        const std::vector<int> without = {kOpDelete};
        EXPECT_EQ(Opcodes(), minor == 1 ? withNotice : without) << "Windows " << major;
    }
}

// A volume that cannot be locked keeps the unit: Windows keeps its disk,
// the removal's error is reported and no delete command is sent.
TEST_F(UnitMaintBackend, AVolumeInUseKeepsTheUnit) {
    json state = Machine(json::array({FamilyController(
        6, 33,
        {{"drives", {{{"port", 0}, {"capacity", kDrive}}, {{"port", 1}, {"capacity", kDrive}}}},
         {"units", {Unit(1, "raid1", {0, 1})}}})}));
    state["machine"]["disks"] = {
        {{"controller", 0}, {"target", 1}, {"disk_number", 3}, {"unit_disk", true}}};
    state["machine"]["volumes"] = {
        {{"name", "E:"}, {"extents", {{{"disk_number", 3}, {"length", 1024}}}}, {"in_use", true}}};
    emulator::EmulatedHost& host = InstallListed(state);
    EXPECT_EQ(Api::DeleteUnit(UnitId(1), 1), -1);
    EXPECT_EQ(LastApiCode(), 69u);
    EXPECT_NE(UnitOf(host, 1), nullptr);
    EXPECT_TRUE(host.state()["machine"]["disks"][0].value("present", true));
    EXPECT_EQ(Opcodes(), std::vector<int>({kOpProbe}));  // the undo notice only
    // Without the make-OS-aware flag Windows is not asked and the unit goes.
    EXPECT_EQ(Api::DeleteUnit(UnitId(1), 0), 0) << LastMessage();
    EXPECT_EQ(UnitOf(host, 1), nullptr);
}

TEST_F(UnitMaintBackend, VerifyStartsAndStopsOnlyFromTheRightState) {
    struct Case {
        const char* state;
        bool stop;
        int result;
        uint32_t api;
        const char* after;
    } cases[] = {
        {"ok", false, 0, 0, "verifying"},
        {"degraded", false, -1, 72, "degraded"},
        {"ok", true, -1, 72, "ok"},
        {"verifying", true, 0, 0, "ok"},
        {"verifying", false, -1, 72, "verifying"},
    };
    for (const Case& c : cases) {
        emulator::EmulatedHost& host =
            StartUnits(json::array({Unit(1, "raid5", {0, 1, 2}, c.state)}));
        const int result = c.stop ? Api::StopVerifyUnit(UnitId(1)) : Api::VerifyUnit(UnitId(1));
        EXPECT_EQ(result, c.result) << c.state << (c.stop ? " stop" : " start");
        if (c.result != 0) {
            EXPECT_EQ(LastApiCode(), c.api);
            EXPECT_TRUE(Commands().empty());
        } else {
            ASSERT_EQ(Commands().size(), 1u);
            EXPECT_EQ(Commands()[0].at(0), kOpVerify);
            EXPECT_EQ(Commands()[0].at(3), 1);
            EXPECT_EQ(Commands()[0].at(7), c.stop ? 0x80 : 1);
        }
        EXPECT_EQ(UnitOf(host, 1)->value("state", "ok"), c.after);
    }
}

TEST_F(UnitMaintBackend, Raid6VerifyNeedsTheFeatureAndLooksAtEitherElement) {
    json unit = Unit(1, "raid6", {0, 1, 2, 3, 4}, "ok");
    unit["extension"] = {{"state", "verifying"}};
    StartUnits(json::array({unit}), 6, 33, {{"identity", {{"features", 0}}}});
    EXPECT_EQ(Api::StopVerifyUnit(UnitId(1)), -1);
    EXPECT_EQ(LastApiCode(), 2u);
    emulator::EmulatedHost& host =
        StartUnits(json::array({unit}), 6, 33, {{"identity", {{"features", 2}}}});
    EXPECT_EQ(Api::StopVerifyUnit(UnitId(1)), 0) << LastMessage();
    EXPECT_EQ((*UnitOf(host, 1))["extension"].value("state", ""), "ok");
    // A degraded RAID-6 unit still verifies on its element in normal state.
    json degraded = Unit(1, "raid6", {0, 1, 2, 3, nullptr}, "degraded");
    emulator::EmulatedHost& again =
        StartUnits(json::array({degraded}), 6, 33, {{"identity", {{"features", 2}}}});
    ASSERT_EQ(Api::VerifyUnit(UnitId(1)), 0) << LastMessage();
    EXPECT_EQ(UnitOf(again, 1)->value("state", ""), "degraded");
    EXPECT_EQ((*UnitOf(again, 1))["extension"].value("state", ""), "verifying");
}

TEST_F(UnitMaintBackend, RebuildRefusesUnitsThatAreNotDegraded) {
    struct Case {
        const char* state;
        uint32_t api;
    } cases[] = {{"ok", 49}, {"rebuilding", 50}, {"initializing", 51}, {"verifying", 51}};
    for (const Case& c : cases) {
        StartUnits(json::array({Unit(1, "raid5", {0, 1, 2}, c.state)}));
        ObjectId drive = DriveId(5);
        EXPECT_EQ(RhoskFamily::RebuildUnit(UnitId(1), &drive), -1) << c.state;
        EXPECT_EQ(LastApiCode(), c.api) << c.state;
        EXPECT_TRUE(Commands().empty());
    }
}

// A free drive becomes a CBOD unit first, which is attached in place of the
// missing member; the unit rebuilds and the host keeps the new member.
TEST_F(UnitMaintBackend, RebuildOntoAFreeDriveCreatesAttachesAndStarts) {
    emulator::EmulatedHost& host =
        StartUnits(json::array({Unit(1, "raid5", {0, nullptr, 2}, "degraded")}));
    ObjectIdList128 drives;
    drives.clear();
    ASSERT_TRUE(drives.add(DriveId(5)));
    ASSERT_EQ(Api::RebuildUnit(UnitId(1), &drives, 1), 0) << LastMessage();
    const std::vector<Packet> sent = Commands();
    ASSERT_EQ(Opcodes(), std::vector<int>({kOpCreate, kOpAttach, kOpRebuild}));
    EXPECT_EQ(sent[0].at(0), 0x74);
    EXPECT_EQ(sent[0].at(8), 1);
    EXPECT_EQ(sent[1].at(3), 1);
    EXPECT_EQ(sent[1].at(6), 0);  // the new CBOD unit's number
    EXPECT_EQ(sent[2].at(3), 1);
    EXPECT_EQ(sent[2].at(6), 0x80);
    const json& unit = *UnitOf(host, 1);
    EXPECT_EQ(unit["members"], json({0, 5, 2}));
    EXPECT_EQ(unit.value("state", ""), "rebuilding");
    EXPECT_EQ(UnitOf(host, 0), nullptr);  // the CBOD unit became the member
    uint8_t status = 0;
    ASSERT_EQ(Api::GetUnitStatus(UnitId(1), &status), 0);
    EXPECT_EQ(status, kUnitStatusRebuilding);
    uint8_t ecc = 0;
    ASSERT_EQ(Api::GetEccPolicy(UnitId(1), &ecc), 0);
    EXPECT_EQ(ecc, 1);
}

TEST_F(UnitMaintBackend, RebuildTakesASpareAsItIsAndRefusesAnArraysMember) {
    emulator::EmulatedHost& host =
        StartUnits(json::array({Unit(1, "raid1", {0, nullptr}, "degraded"), Unit(3, "spare", {5}),
                                Unit(4, "raid1", {6, 7})}));
    ObjectId member = DriveId(6);
    EXPECT_EQ(RhoskFamily::RebuildUnit(UnitId(1), &member), -1);
    EXPECT_EQ(LastApiCode(), 53u);
    EXPECT_TRUE(Commands().empty());
    ObjectId spare = DriveId(5);
    ASSERT_EQ(RhoskFamily::RebuildUnit(UnitId(1), &spare), 0) << LastMessage();
    ASSERT_EQ(Opcodes(), std::vector<int>({kOpAttach, kOpRebuild}));
    EXPECT_EQ(Commands()[0].at(6), 3);
    EXPECT_EQ(UnitOf(host, 3), nullptr);
}

// Two drives: the second start meets a unit already rebuilding, which is
// forgiven; a first start that meets it is not. Any other failure gives
// the started drives back as plain drives (removed and found again).
TEST_F(UnitMaintBackend, DispatcherRebuildForgivesOnlyALaterRebuildingAndUndoesOtherwise) {
    ObjectIdList128 drives;
    drives.clear();
    ASSERT_TRUE(drives.add(DriveId(5)));
    ASSERT_TRUE(drives.add(DriveId(6)));

    json raid6 = Unit(1, "raid6", {0, 1, 2, nullptr, nullptr}, "degraded");
    raid6["extension"] = {{"state", "degraded"}};
    emulator::EmulatedHost& first =
        StartUnits(json::array({raid6}), 6, 33, {{"identity", {{"features", 2}}}});
    EXPECT_EQ(Api::RebuildUnit(UnitId(1), &drives, 0), 0) << LastMessage();
    EXPECT_EQ((*UnitOf(first, 1))["members"], json({0, 1, 2, 5, nullptr}));
    EXPECT_EQ(Opcodes(), std::vector<int>({kOpCreate, kOpAttach, kOpRebuild}));

    StartUnits(json::array({Unit(1, "raid5", {0, 1, 2}, "rebuilding")}));
    EXPECT_EQ(Api::RebuildUnit(UnitId(1), &drives, 0), -1);
    EXPECT_EQ(LastApiCode(), 50u);
    EXPECT_TRUE(Commands().empty());

    // With its extension element OK the unit is busy, not rebuilding, when
    // the second drive comes: the first drive is given back (removed and
    // detected again) and the second start's own error is reported.
    raid6["extension"] = {{"state", "ok"}};
    emulator::EmulatedHost& undone =
        StartUnits(json::array({raid6}), 6, 33, {{"identity", {{"features", 2}}}});
    EXPECT_EQ(Api::RebuildUnit(UnitId(1), &drives, 0), -1);
    EXPECT_EQ(LastApiCode(), 51u) << LastMessage();
    EXPECT_EQ(Opcodes(),
              std::vector<int>({kOpCreate, kOpAttach, kOpRebuild, kOpRemoveDrive, kOpDetect}));
    EXPECT_EQ(Commands()[3].at(7), 5);
    EXPECT_EQ((*UnitOf(undone, 1))["members"], json({0, 1, 2, nullptr, nullptr}));
    EXPECT_EQ(UnitOf(undone, 1)->value("state", ""), "degraded");
}

TEST_F(UnitMaintBackend, FlushSendsTheUnitAndAnOfflineUnitRefuses) {
    StartUnits(
        json::array({Unit(2, "raid0", {0, 1}), Unit(3, "raid0", {2, nullptr}, "inoperable")}));
    ASSERT_EQ(Api::FlushWriteCache(UnitId(2)), 0) << LastMessage();
    ASSERT_EQ(Commands().size(), 1u);
    EXPECT_EQ(Commands()[0].at(0), kOpFlush);
    EXPECT_EQ(Commands()[0].at(3), 2);
    EXPECT_EQ(Api::FlushWriteCache(UnitId(3)), -1);
    EXPECT_NE(LastMessage().find("Unit offline"), std::string::npos) << LastMessage();
}

TEST_F(UnitMaintBackend, RemovingADriveLooksAtItsUnitFirst) {
    struct Case {
        const char* what;
        json unit;
        int port;
        uint32_t api;  // 0: the remove command is sent
    } cases[] = {
        {"member of an OK RAID-5", Unit(1, "raid5", {0, 1, 2}), 1, 0},
        {"member of a RAID-5 in recovery", Unit(1, "raid5", {0, 1, 2}, "recovery"), 1, 85},
        {"OK member of a degraded RAID-5", Unit(1, "raid5", {0, 1, nullptr}, "degraded"), 1, 48},
        {"a spare", Unit(1, "spare", {1}), 1, 0},
        {"a free drive", Unit(1, "raid1", {0, 2}), 1, 0},
        {"an empty port", Unit(1, "raid1", {0, 2}), 11, 46},
    };
    for (const Case& c : cases) {
        emulator::EmulatedHost& host = StartUnits(json::array({c.unit}));
        const int result = Api::RemoveDrive(DriveId(static_cast<uint8_t>(c.port)));
        if (c.api != 0) {
            EXPECT_EQ(result, -1) << c.what;
            EXPECT_EQ(LastApiCode(), c.api) << c.what;
            continue;
        }
        ASSERT_EQ(result, 0) << c.what << ": " << LastMessage();
        const Packet last = Commands().back();
        EXPECT_EQ(last.at(0), kOpRemoveDrive) << c.what;
        EXPECT_EQ(last.at(7), c.port) << c.what;
        uint8_t status = 0xAA;
        ASSERT_EQ(Api::GetDriveStatus(DriveId(static_cast<uint8_t>(c.port)), &status), 0);
        EXPECT_EQ(status, 0) << c.what;
        EXPECT_EQ(HostController(host)["removed_drives"].size(), 1u) << c.what;
    }
}

// The removal of a unit: export, then each member drive; one failed drive
// removal does not keep the others.
TEST_F(UnitMaintBackend, RemoveUnitRemovesTheOtherDrivesWhenOneFails) {
    emulator::EmulatedHost& host = StartUnits(
        json::array({Unit(1, "raid5", {0, 1, 2})}), 6, 33, json::object(),
        json::array({integration::Fault({{"layer", "firmware"}, {"opcode", kOpRemoveDrive}},
                                        {{"status", 1}, {"code", "0x0204"}})}));
    EXPECT_EQ(Api::RemoveUnit(UnitId(1), 0), -1);
    EXPECT_NE(LastMessage().find("0x0204"), std::string::npos) << LastMessage();
    EXPECT_EQ(Opcodes(),
              std::vector<int>({kOpDelete, kOpRemoveDrive, kOpRemoveDrive, kOpRemoveDrive}));
    EXPECT_EQ(UnitOf(host, 1), nullptr);
    EXPECT_EQ(HostController(host)["removed_drives"].size(), 2u);
}

// A drive taken off its port is found again by a port detection whose
// mask holds only that port; the command size follows the firmware level.
TEST_F(UnitMaintBackend, AddDriveDetectsThePortAgain) {
    for (int level : {33, 35}) {
        emulator::EmulatedHost& host = StartUnits(json::array(), 6, level);
        EXPECT_EQ(Api::AddDrive(DriveId(3), nullptr), -1);
        EXPECT_EQ(LastApiCode(), 23u);
        ASSERT_EQ(Api::RemoveDrive(DriveId(9)), 0) << LastMessage();
        ClearTraffic();
        ObjectId port = DriveId(9);
        ObjectId added = ObjectId::Blank();
        ASSERT_EQ(Api::AddDrive(port, &added), 0) << LastMessage();
        EXPECT_EQ(added, DriveId(9));
        const Packet p = Commands().back();
        EXPECT_EQ(p.at(0), kOpDetect);
        EXPECT_EQ(p.at(1), level < 35 ? 3 : 6);
        EXPECT_EQ(p.at(8 + 1), 0x02);  // port 9: byte 1, bit 1
        EXPECT_EQ(p.at(8), 0);
        EXPECT_FALSE(HostController(host).contains("removed_drives") &&
                     !HostController(host)["removed_drives"].empty());
    }
}

TEST_F(UnitMaintBackend, RoutesOfTheOlderFamilyAndOfTheOlderOnlyOperations) {
    Start(json::array({FamilyController(3, 0), FamilyController(6, 33)}));
    ObjectId older = UnitId(0, {}, 0);
    ObjectId newer = UnitId(0, {}, 1);
    ObjectId newerController = newer.controllerId();
    struct Case {
        const char* what;
        int result;
    } cases[] = {
        {"delete on the older family", Api::DeleteUnit(older, 0)},
        {"flush on the older family", Api::FlushWriteCache(older)},
        {"pause on the newer family", Api::PauseRebuild(newer)},
        {"resume on the newer family", Api::ResumeRebuild(newer)},
        {"media scan on the newer family", Api::StartMediaScan(newerController)},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.result, -1) << c.what;
    }
    EXPECT_EQ(Api::StopMediaScan(older.controllerId()), 0) << LastMessage();
    EXPECT_EQ(Api::StartMediaScan(newerController), -1);
    EXPECT_EQ(LastApiCode(), 2u);
    EXPECT_EQ(Api::CommitTransactions(newerController), 0) << LastMessage();
    EXPECT_EQ(CountKind("commit"), 1u);
}

TEST_F(UnitMaintBackend, ImportChecksItsDrivesAndBringsBackAnExportedUnit) {
    emulator::EmulatedHost& host =
        StartUnits(json::array({Unit(1, "raid5", {0, 1, 2}), Unit(2, "raid1", {3, 4})}));
    ASSERT_EQ(Api::ExportUnit(UnitId(1), 0), 0) << LastMessage();
    ObjectIdList128 found;
    found.clear();
    struct Case {
        const char* what;
        std::vector<int> ports;
        uint32_t api;
    } refusals[] = {
        {"no drives", {}, 36},
        {"the same port twice", {0, 1, 0}, 65},
        {"a drive of a unit", {0, 3}, 41},
        {"an empty port", {0, 11}, 39},
    };
    for (const Case& c : refusals) {
        ClearTraffic();
        ObjectIdList128 drives;
        drives.clear();
        for (int port : c.ports)
            ASSERT_TRUE(drives.add(DriveId(static_cast<uint8_t>(port))));
        EXPECT_EQ(Api::ImportUnit(&drives, 0, &found), -1) << c.what;
        EXPECT_EQ(LastApiCode(), c.api) << c.what;
        EXPECT_TRUE(Commands().empty()) << c.what;
    }
    ObjectIdList128 drives;
    drives.clear();
    for (uint8_t port : {0, 1, 2})
        ASSERT_TRUE(drives.add(DriveId(port)));
    ASSERT_EQ(Api::ImportUnit(&drives, 0, &found), 0) << LastMessage();
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found.ids[0][ObjectId::kUnit], 1);
    EXPECT_NE(UnitOf(host, 1), nullptr);
    EXPECT_TRUE(HostController(host)["exported_units"].empty());
    const Packet scan = Commands().back();
    EXPECT_EQ(scan.at(0), 0x07);
    EXPECT_EQ(scan.at(8), 0x07);  // ports 0, 1 and 2
}

TEST_F(UnitMaintBackend, AutoDetectTakesDrivePortsUpTo127) {
    StartUnits(json::array());
    ObjectIdList128 ports;
    ports.clear();
    ObjectId controller = DriveId(0).controllerId();
    EXPECT_EQ(Api::EnableAutoDetect(controller, &ports), 0);
    EXPECT_TRUE(Commands().empty());
    ObjectId beyond = DriveId(0);
    beyond[ObjectId::kNumber] = 128;
    ASSERT_TRUE(ports.add(DriveId(2)));
    ASSERT_TRUE(ports.add(beyond));
    EXPECT_EQ(Api::DisableAutoDetect(controller, &ports), -1);
    EXPECT_EQ(LastApiCode(), 24u);
    ports.clear();
    ASSERT_TRUE(ports.add(DriveId(2)));
    ASSERT_EQ(Api::DisableAutoDetect(controller, &ports), 0) << LastMessage();
    EXPECT_EQ(Commands().back().at(0), kOpDetect);
    EXPECT_EQ(Commands().back().at(6), 1);
    EXPECT_EQ(Commands().back().at(8), 0x04);
}

TEST_F(UnitMaintBackend, SplitMirrorLeavesTwoSingleDisks) {
    emulator::EmulatedHost& host =
        StartUnits(json::array({Unit(1, "raid1", {0, 1}), Unit(2, "raid5", {2, 3, 4})}));
    ObjectIdList128 found;
    found.clear();
    EXPECT_EQ(Api::SplitMirror(UnitId(2), 0, &found), -1);
    EXPECT_EQ(LastApiCode(), 80u);
    ASSERT_EQ(Api::SplitMirror(UnitId(1), 0, &found), 0) << LastMessage();
    const Packet split = Commands().back();
    EXPECT_EQ(split.at(0), 0x6F);
    EXPECT_EQ(split.at(3), 1);
    EXPECT_EQ(split.at(8), 1);
    EXPECT_EQ(split.at(10), 2);
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found.ids[0][ObjectId::kUnit], 0);
    EXPECT_EQ(UnitOf(host, 1)->value("type", ""), "single");
    EXPECT_EQ((*UnitOf(host, 0))["members"], json({1}));
}

// A removed unit comes back with the rescan: its drives are found on their
// ports again and its configuration imported; a free drive found on an
// empty port is listed as a drive.
TEST_F(UnitMaintBackend, RescanFindsRemovedUnitsAndDrives) {
    // Unit 2's flags (4) say the controller keeps it only for the operating
    // system: the rescan releases it, takes its drives off and finds it
    // again with them.
    json kept = Unit(2, "raid1", {4, 5});
    kept["flags"] = 4;
    emulator::EmulatedHost& host = StartUnits(json::array({Unit(1, "raid1", {0, 1}), kept}));
    ASSERT_EQ(Api::RemoveUnit(UnitId(1), 0), 0) << LastMessage();
    ASSERT_EQ(Api::RemoveDrive(DriveId(7)), 0) << LastMessage();
    ObjectIdList128 units;
    ObjectIdList128 drives;
    ObjectId controller = DriveId(0).controllerId();
    ClearTraffic();
    ASSERT_EQ(Api::RescanController(controller, 0, &units, &drives), 0) << LastMessage();
    ASSERT_EQ(units.size(), 2u);
    EXPECT_EQ(units.ids[0][ObjectId::kUnit], 1);
    EXPECT_EQ(units.ids[1][ObjectId::kUnit], 2);
    ASSERT_EQ(drives.size(), 1u);
    EXPECT_EQ(drives.ids[0], DriveId(7));
    EXPECT_NE(UnitOf(host, 1), nullptr);
    EXPECT_EQ((*UnitOf(host, 2))["members"], json({4, 5}));
    const std::vector<int> sent = Opcodes();
    EXPECT_EQ(std::count(sent.begin(), sent.end(), kOpDelete), 1);  // the release of unit 2
    EXPECT_EQ(Commands()[1].at(7), 0);                              // mode 0: release
    // Nothing new the second time but unit 2 again, which the controller
    // still keeps only for the operating system.
    ASSERT_EQ(Api::RescanController(controller, 0, &units, &drives), 0) << LastMessage();
    EXPECT_EQ(units.size(), 1u);
    EXPECT_EQ(drives.size(), 0u);
}

// A controller that cannot be opened fails the rescan instead of finding
// nothing.
TEST_F(UnitMaintBackend, RescanOfAnUnreachableControllerFails) {
    InstallFile(Machine(json::array({FamilyController(6, 33)})));
    ObjectIdList16 listed;
    ASSERT_EQ(Api::GetControllerIdList(&listed), 0);
    SetFaults(json::array(
        {integration::Fault({{"layer", "os"}, {"kind", "open"}}, {{"os_error", 5}}, "always")}));
    ObjectIdList128 units;
    ObjectIdList128 drives;
    EXPECT_EQ(Api::RescanController(listed.ids[0], 0, &units, &drives), -1);
}

}  // namespace
}  // namespace rhosk_emulated::unitmaint_backend_test
