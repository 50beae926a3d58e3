// Edge cases of the newer family's codes, accessors and task settings that
// the broader accessor tables do not reach: the ECC policy of units without
// redundancy, the flags of a subunit, the rate and mode bytes at the ends of
// their ranges, a blank-padded model text and the drive capacity of a
// controller whose compatibility level cannot be read.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <iterator>
#include <string>
#include <vector>

#include "api/api.h"
#include "api/api_error.h"
#include "api/rhosk/rhosk_codes.h"
#include "rhosk_query_fake.h"

namespace rhosk_query_edges_test {
namespace {

using Access = RhoskQueryFirmware::Access;

constexpr uint16_t kUnitSummary = 0x003;
constexpr uint16_t kUnit0 = 0x300;
constexpr uint16_t kTasks = 0x840C;

ObjectId UnitId(uint8_t depth2Index = 0xFF) {
    ObjectId id;
    EXPECT_EQ(Api::MakeUnitId(0, 0xFF, 0, depth2Index, 0xFF, &id), 0);
    return id;
}

// One descriptor: children, type, port (drives) and status.
std::vector<uint8_t> Descriptor(uint8_t children, uint8_t type, uint8_t port) {
    std::vector<uint8_t> d(20, 0);
    d[0] = children;
    d[1] = type;
    d[3] = port;
    d[5] = kUnitStatusOk;
    return d;
}

// Unit 0 on the fake controller: one element of `type` over `drives`
// drives (a single-drive type is its own drive).
void PutUnit0(RhoskQueryFirmware& fw, uint8_t type, uint8_t drives) {
    std::vector<uint8_t> summary(32, 0);
    summary[0] = 1;
    fw.put(kUnitSummary, 3, summary);
    std::vector<uint8_t> table = Descriptor(drives, type, drives == 0 ? 4 : 0);
    for (uint8_t p = 0; p < drives; ++p) {
        std::vector<uint8_t> member = Descriptor(0, kUnitCbod, p);
        table.insert(table.end(), member.begin(), member.end());
    }
    fw.putValue(kUnit0, 9, drives + 1u, 2);
    fw.putValue(kUnit0, 10, 20, 1);
    fw.put(kUnit0, 11, table);
    fw.putValue(kUnit0, 15, 1, 1);
}

bool Touched(const RhoskQueryFirmware& fw, uint16_t table, uint16_t parameter) {
    for (const Access& a : fw.accesses) {
        if (a.table == RhoskQueryFirmware::Key(table) && a.parameter == parameter)
            return true;
    }
    return false;
}

TEST(RhoskQueryAccessorEdges, EccPolicyBelongsToRedundantUnitsOnly) {
    struct Case {
        const char* name;
        uint8_t type;
        uint8_t drives;
        bool redundant;
    } cases[] = {
        {"single disk", kUnitSingle, 0, false}, {"CBOD", kUnitCbod, 0, false},
        {"spare", kUnitSpare, 0, false},        {"JBOD", kUnitJbod, 0, false},
        {"RAID-0", kUnitRaid0, 2, false},       {"RAID-1", kUnitRaid1Mirror, 2, true},
        {"RAID-5", kUnitRaid5, 3, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RhoskQueryFirmware fw(6, 30);
        PutUnit0(fw, c.type, c.drives);
        fw.accesses.clear();
        uint8_t policy = 0xAA;
        const int get = Api::GetEccPolicy(UnitId(), &policy);
        const int set = Api::ContinueOnEccErrors(UnitId());
        if (c.redundant) {
            EXPECT_EQ(get, 0);
            EXPECT_EQ(policy, 1);
            EXPECT_EQ(set, 0);
            continue;
        }
        EXPECT_EQ(get, -1);
        EXPECT_EQ(set, -1);
        EXPECT_EQ(ApiError::GetApiCode(), static_cast<uint32_t>(rhosk::kApiEccPolicyInvalidConfig));
        EXPECT_EQ(policy, 0xAA);
        EXPECT_FALSE(Touched(fw, kUnit0, 15)) << "the policy is neither read nor written";
    }
}

TEST(RhoskQueryAccessorEdges, SubunitFlagsAre127WithoutAskingTheController) {
    RhoskQueryFirmware fw(4, 30);
    PutUnit0(fw, kUnitRaid5, 3);
    fw.putValue(kUnit0, 3, 1, 1);
    fw.accesses.clear();
    uint8_t flags = 0;
    EXPECT_EQ(Api::GetUnitFlags(UnitId(1), &flags), 0);
    EXPECT_EQ(flags, 127);
    EXPECT_TRUE(fw.accesses.empty());
    EXPECT_EQ(Api::GetUnitFlags(UnitId(), &flags), 0);
    EXPECT_EQ(flags, 1);
}

TEST(RhoskQueryTaskEdges, RateAndModeBytesAtTheEndsOfTheirRanges) {
    // Rates come from the stored byte by unsigned division of 270 - byte.
    const std::array<std::pair<uint8_t, int32_t>, 7> rates = {
        {{220, 1}, {170, 2}, {120, 3}, {70, 4}, {20, 5}, {0, 5}, {255, 0}}};
    // Any nonzero mode byte reads back as low latency.
    const std::array<std::pair<uint8_t, uint8_t>, 4> modes = {{{0, 0}, {1, 1}, {2, 1}, {7, 1}}};
    RhoskQueryFirmware fw(8, 37);
    for (const auto& [stored, rate] : rates) {
        fw.putValue(kTasks, 5, stored, 1);
        fw.putValue(kTasks, 6, stored, 1);
        int32_t rebuild = -9, verify = -9;
        EXPECT_EQ(Api::GetRebuildRate(fw.controller(), &rebuild), 0);
        EXPECT_EQ(Api::GetVerifyRate(fw.controller(), &verify), 0);
        EXPECT_EQ(rebuild, rate) << "byte " << +stored;
        EXPECT_EQ(verify, rate) << "byte " << +stored;
    }
    for (const auto& [stored, mode] : modes) {
        fw.putValue(kTasks, 13, stored, 1);
        fw.putValue(kTasks, 14, stored, 1);
        uint8_t rebuild = 9, verify = 9;
        EXPECT_EQ(Api::GetRebuildMode(fw.controller(), &rebuild), 0);
        EXPECT_EQ(Api::GetVerifyMode(fw.controller(), &verify), 0);
        EXPECT_EQ(rebuild, mode) << "byte " << +stored;
        EXPECT_EQ(verify, mode) << "byte " << +stored;
    }
}

TEST(RhoskQueryTaskEdges, ARateChangeWithoutAReadableLevelLeavesTheModeAlone) {
    // The level counts as 30 then, below the level at which the mode follows
    // the rate: only the rate byte is written.
    RhoskQueryFirmware fw(8, 37);
    fw.remove(0x402, 11);
    fw.putValue(kTasks, 13, 1, 1);
    fw.accesses.clear();
    const int32_t rate = 1;
    EXPECT_EQ(Api::SetRebuildRate(fw.controller(), &rate), 0);
    EXPECT_EQ(fw.value(kTasks, 5), 220u);
    EXPECT_EQ(fw.value(kTasks, 13), 1u);
    EXPECT_FALSE(Touched(fw, kTasks, 13));
}

TEST(RhoskQueryAccessorEdges, BlankPaddedModelComesBackTrimmedInTheWholeBuffer) {
    RhoskQueryFirmware fw(6, 30);
    const std::string stored = "  KV-V820-4HB   ";  // 16 characters
    ASSERT_EQ(stored.size(), 16u);
    fw.put(0x402, 8, std::vector<uint8_t>(stored.begin(), stored.end()));
    fw.accesses.clear();
    char model[64];
    std::memset(model, 'x', sizeof model);
    ASSERT_EQ(Api::GetControllerModel(fw.controller(), model), 0);
    EXPECT_STREQ(model, "KV-V820-4HB");
    // The whole 64-byte buffer is the operation's: nothing of the caller's
    // old content survives, and past the 16 bytes read it is all zero.
    for (std::size_t i = 0; i < sizeof model; ++i) {
        ASSERT_NE(model[i], 'x') << "byte " << i;
        if (i >= stored.size()) {
            ASSERT_EQ(model[i], '\0') << "byte " << i;
        }
    }
    ASSERT_EQ(fw.accesses.size(), 1u);
    EXPECT_EQ(fw.accesses[0].size, 16);
}

TEST(RhoskQueryAccessorEdges, DriveCapacityWithoutAReadableLevelUsesTheOldParameter) {
    RhoskQueryFirmware fw(4, 40);
    fw.remove(0x402, 11);
    fw.putValue(0x205, 2, 0x12345678u, 4);
    fw.putValue(0x205, 23, 0x1122334455ull, 8);
    fw.accesses.clear();
    ObjectId drive;
    ASSERT_EQ(Api::MakeDriveId(0, 5, &drive), 0);
    uint64_t sectors = 0;
    EXPECT_EQ(Api::GetDriveCapacity(drive, &sectors), 0);
    EXPECT_EQ(sectors, 0x12345678u);
    EXPECT_TRUE(Touched(fw, 0x205, 2));
    EXPECT_FALSE(Touched(fw, 0x205, 23));
}

TEST(RhoskQueryAccessorEdges, AStatusByteWithBit7ClearIsNoDriveWhateverItsValue) {
    // Ports 0-5: three bytes without the present bit, then three with it.
    const uint8_t stored[] = {0x7F, kDriveOfflineJbod, kDriveRemoved, 0x80, kDriveOk, kDriveOrphan};
    RhoskQueryFirmware fw(6, 30);
    std::vector<uint8_t> ports(128, 0);
    std::copy(std::begin(stored), std::end(stored), ports.begin());
    fw.put(0x002, 3, ports);
    ObjectIdList128 drives;
    ASSERT_EQ(Api::GetDriveIdList(fw.controller(), &drives), 0);
    ASSERT_EQ(drives.count, 3u);
    for (uint8_t i = 0; i < 3; ++i)
        EXPECT_EQ(drives.ids[i][ObjectId::kNumber], i + 3);
    for (uint8_t port = 0; port < 6; ++port) {
        SCOPED_TRACE("port " + std::to_string(port));
        const bool present = port >= 3;
        ObjectId drive;
        ASSERT_EQ(Api::MakeDriveId(0, port, &drive), 0);
        uint8_t status = 0xEE;
        EXPECT_EQ(Api::GetDriveStatus(drive, &status), 0);
        EXPECT_EQ(status, stored[port]) << "the status itself is reported as stored";
        fw.putValue(static_cast<uint16_t>(0x200 + port), 11, 0xFF, 1);  // no unit
        ObjectId unit;
        const int result = Api::GetDriveUnitId(drive, &unit);
        EXPECT_EQ(unit, ObjectId::Blank());
        if (present) {
            EXPECT_EQ(result, 0);
        } else {
            EXPECT_EQ(result, -1);
            EXPECT_EQ(ApiError::GetApiCode(), static_cast<uint32_t>(rhosk::kApiPortEmpty));
        }
    }
}

TEST(RhoskQueryLinkAndIoEdges, FailedReadsOfLinkSpeedsAndIoStatistics) {
    RhoskQueryFirmware fw(7, 37);
    ObjectId drive;
    ASSERT_EQ(Api::MakeDriveId(0, 5, &drive), 0);
    // The drive table answers neither link speed: both reads fail and
    // leave the caller's value as it was.
    for (auto read : {Api::GetDriveLinkSpeedSupported, Api::GetDriveLinkSpeed}) {
        uint8_t speed = 0x5A;
        EXPECT_EQ(read(drive, &speed), -1);
        EXPECT_EQ(speed, 0x5A);
    }
    // A failing count list fails the whole record, which stays zero even
    // though the controller's own count was read.
    fw.putValue(0x009, 2, 7, 2);
    IoStatTable table;
    std::memset(&table, 0xEE, sizeof table);
    EXPECT_EQ(Api::GetControllerIoStat(fw.controller(), &table), -1);
    const auto* raw = reinterpret_cast<const uint8_t*>(&table);
    EXPECT_TRUE(std::all_of(raw, raw + sizeof table, [](uint8_t b) { return b == 0; }));
    std::vector<uint8_t> counts(512, 0);
    counts[2] = 3;
    fw.put(0x009, 3, counts);
    ASSERT_EQ(Api::GetControllerIoStat(fw.controller(), &table), 0);
    EXPECT_EQ(table.controllerCount, 7);
    EXPECT_EQ(table.portCounts[1], 3);
}

}  // namespace
}  // namespace rhosk_query_edges_test
