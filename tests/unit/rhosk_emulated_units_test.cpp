// Unit state through the library over the emulated firmware's unit model:
// small hosts of one unit each, read back through the public unit
// operations. The emulator lays each unit out as descriptors from a
// compact description; the back end walks them. Both must agree on types,
// the status combination of RAID-10 and RAID-50 subunits, member drives,
// the RAID-6 element and its extension, progress, capacity, stripe,
// volumes and the migrating unit's two layouts.
#include <string>
#include <tuple>
#include <vector>

#include "api/api.h"
#include "api/rhosk/rhosk_codes.h"
#include "api/rhosk/rhosk_family.h"
#include "rhosk_emulated_host.h"

namespace rhosk_emulated::rhosk_emulated_units_test {
namespace {

// Drives below 32 bits, so that descriptor capacities are exact.
constexpr uint64_t kDrive = 1953525168;
// A drive above 32 bits: its descriptor reads as the largest 32-bit value.
constexpr uint64_t kBigDrive = 5860533168ull;

constexpr uint8_t kUnit = 1;

// The result of a read and, on success, its value.
struct Read {
    int result;
    uint64_t value;
    bool operator==(const Read& o) const { return result == o.result && value == o.value; }
};
// A failure that records API error `code`.
Read Fails(uint32_t code) {
    return {-1, code};
}
Read Ok(uint64_t value) {
    return {0, value};
}

template <typename T>
Read ReadOf(int (*fn)(ObjectId, T*), ObjectId id) {
    T value{};
    const int result = fn(id, &value);
    return result == 0 ? Read{0, static_cast<uint64_t>(value)} : Read{-1, LastApiCode()};
}

::std::ostream& operator<<(::std::ostream& os, const Read& r) {
    return os << (r.result == 0 ? "ok " : "fails with API ") << r.value;
}

class RhoskEmulatedUnits : public RhoskEmulatedTest {
  protected:
    // A family-8 controller at level 37 with drives on ports 0-11 (of
    // `capacity` sectors) and these units.
    void StartUnits(const json& units, uint64_t capacity = kDrive) {
        ResetLibrary();
        json drives = json::array();
        for (int port = 0; port < 12; ++port)
            drives.push_back({{"port", port}, {"capacity", capacity}});
        Start(json::array({FamilyController(
            8, 37, {{"settings", {{"ports", 12}}}, {"drives", drives}, {"units", units}})}));
    }
    void StartUnit(json unit, uint64_t capacity = kDrive) {
        unit["number"] = kUnit;
        StartUnits(json::array({unit}), capacity);
    }
};

TEST_F(RhoskEmulatedUnits, CompoundUnitsCombineTheStatesOfTheirSubunits) {
    struct Case {
        const char* what;
        const char* type;
        json subunits;
        Read status;
        Read percent;
        Read running;
        Read initialized;
    } cases[] = {
        {"all OK", "raid10", json::array({{{"state", "ok"}}, {{"state", "ok"}}}), Ok(255), Ok(100),
         Ok(0), Ok(1)},
        {"degraded and rebuilding", "raid10",
         json::array({{{"state", "degraded"}}, {{"state", "rebuilding"}, {"progress", 50}}}),
         Ok(239), Ok(75), Ok(1), Ok(1)},
        {"rebuilding and degraded", "raid50",
         json::array({{{"state", "rebuilding"}, {"progress", 50}}, {{"state", "degraded"}}}),
         Ok(239), Ok(75), Ok(1), Ok(1)},
        {"verifying and initializing", "raid10",
         json::array({{{"state", "verifying"}, {"progress", 25}},
                      {{"state", "initializing"}, {"progress", 50}}}),
         Ok(251), Ok(37), Ok(1), Ok(0)},
        {"initializing and verifying", "raid50",
         json::array({{{"state", "initializing"}, {"progress", 50}},
                      {{"state", "verifying"}, {"progress", 25}}}),
         Ok(251), Ok(37), Ok(1), Ok(0)},
        {"recovery wins at once", "raid50",
         json::array({{{"state", "recovery"}}, {{"state", "inoperable"}}}), Ok(191), Ok(100), Ok(0),
         Ok(1)},
        {"recovery after inoperable", "raid10",
         json::array({{{"state", "inoperable"}}, {{"state", "recovery"}}}), Ok(191), Ok(100), Ok(0),
         Ok(1)},
        {"an undetermined subunit degrades", "raid10",
         json::array({{{"state", "ok"}}, {{"state", "unknown"}}}), Ok(239), Ok(100), Ok(0), Ok(1)},
        {"inoperable over degraded", "raid50",
         json::array({{{"state", "degraded"}}, {{"state", "inoperable"}}}), Ok(0), Ok(100), Ok(0),
         Ok(1)},
        {"migrating under verifying", "raid10",
         json::array({{{"state", "migrating"}}, {{"state", "verifying"}, {"progress", 50}}}),
         Ok(251), Ok(75), Ok(1), Ok(1)},
        {"a paused rebuild runs no task", "raid10",
         json::array(
             {{{"state", "rebuilding"}, {"progress", 50}, {"paused", true}}, {{"state", "ok"}}}),
         Ok(223), Ok(75), Ok(0), Ok(1)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const bool raid10 = std::string(c.type) == "raid10";
        StartUnit({{"type", c.type},
                   {"members", raid10 ? json{0, 1, 2, 3} : json{0, 1, 2, 3, 4, 5}},
                   {"subunits", c.subunits}});
        const ObjectId unit = UnitId(kUnit);
        EXPECT_EQ(ReadOf(Api::GetUnitType, unit), Ok(raid10 ? 6 : 8));
        ObjectIdList128 subs;
        ASSERT_EQ(Api::GetSubunitIdList(unit, &subs), 0);
        ASSERT_EQ(subs.count, 2u);
        EXPECT_EQ(subs.ids[1][ObjectId::kLevel2], 1);
        EXPECT_EQ(ReadOf(Api::GetUnitStatus, unit), c.status);
        EXPECT_EQ(ReadOf(Api::GetUnitPercentComplete, unit), c.percent);
        EXPECT_EQ(ReadOf(Api::IsUnitTaskRunning, unit), c.running);
        EXPECT_EQ(ReadOf(Api::IsUnitInitialized, unit), c.initialized);
        EXPECT_TRUE(integration::OpensAreClosed(Log()));
    }
}

TEST_F(RhoskEmulatedUnits, MemberDrivesTakeTheStateTheirArrayNamesThemIn) {
    const Read notRebuilding = Fails(rhosk::kApiNotRebuilding);
    const Read invalidConfig = Fails(rhosk::kApiPercentInvalidConfig);
    struct Case {
        const char* what;
        json unit;
        std::vector<uint8_t> path;  // below the unit
        Read status;
        Read percent;
    } cases[] = {
        {"the missing member of a degraded RAID-5",
         {{"type", "raid5"}, {"members", {0, 1, nullptr}}, {"state", "degraded"}},
         {2},
         Ok(239),
         invalidConfig},
        {"a present member of a degraded RAID-5",
         {{"type", "raid5"}, {"members", {0, 1, nullptr}}, {"state", "degraded"}},
         {0},
         Ok(255),
         invalidConfig},
        {"the member a RAID-5 rebuilds",
         {{"type", "raid5"}, {"members", {0, 1, 2}}, {"state", "rebuilding"}, {"member", 1}},
         {1},
         Ok(239),
         invalidConfig},
        {"the member an inoperable mirror names",
         {{"type", "raid1"}, {"members", {0, 1}}, {"state", "inoperable"}, {"member", 0}},
         {0},
         Ok(239),
         invalidConfig},
        {"the member a RAID-6 extension rebuilds",
         {{"type", "raid6"},
          {"members", {0, 1, 2, 3}},
          {"extension", {{"state", "rebuilding"}, {"progress", 50}, {"member", 2}}}},
         {2},
         Ok(239),
         Ok(50)},
        {"another member of that RAID-6",
         {{"type", "raid6"},
          {"members", {0, 1, 2, 3}},
          {"extension", {{"state", "rebuilding"}, {"progress", 50}, {"member", 2}}}},
         {0},
         Ok(255),
         notRebuilding},
        {"the member the RAID-6 element itself names",
         {{"type", "raid6"}, {"members", {0, 1, 2, 3}}, {"state", "degraded"}, {"member", 3}},
         {3},
         Ok(239),
         notRebuilding},
        {"the missing member of a degraded RAID-10 subunit",
         {{"type", "raid10"},
          {"members", {0, 1, 2, nullptr}},
          {"subunits", json::array({{{"state", "ok"}}, {{"state", "degraded"}}})}},
         {1, 1},
         Ok(239),
         invalidConfig},
        {"a member of the other RAID-10 subunit",
         {{"type", "raid10"},
          {"members", {0, 1, 2, nullptr}},
          {"subunits", json::array({{{"state", "ok"}}, {{"state", "degraded"}}})}},
         {0, 1},
         Ok(255),
         invalidConfig},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        StartUnit(c.unit);
        ObjectId member = UnitId(kUnit);
        for (uint8_t level : c.path) {
            member[ObjectId::kLevel2 + member[ObjectId::kDepth] - 1] = level;
            ++member[ObjectId::kDepth];
        }
        EXPECT_EQ(ReadOf(Api::GetUnitType, member), Ok(kUnitCbod));
        EXPECT_EQ(ReadOf(Api::GetUnitStatus, member), c.status);
        EXPECT_EQ(ReadOf(Api::GetUnitPercentComplete, member), c.percent);
    }
}

TEST_F(RhoskEmulatedUnits, Raid6ElementAndExtensionKeepTheirOwnStates) {
    struct Case {
        const char* what;
        json unit;
        json extension;
        uint8_t unitStatus;
        uint8_t extensionStatus;
        Read extensionPercent;
        Read initialized;
    } cases[] = {
        {"both OK", {{"state", "ok"}}, {{"state", "ok"}}, 255, 255, Ok(0), Ok(1)},
        {"verifying while the extension rebuilds",
         {{"state", "verifying"}, {"progress", 25}},
         {{"state", "rebuilding"}, {"progress", 50}, {"member", 1}},
         251,
         223,
         Ok(50),
         Ok(1)},
        {"degraded twice",
         {{"state", "degraded"}, {"member", 3}},
         {{"state", "degraded"}, {"member", 1}},
         239,
         239,
         Ok(0),
         Ok(1)},
        {"initializing",
         {{"state", "initializing"}, {"progress", 25}},
         {{"state", "ok"}},
         247,
         255,
         Ok(0),
         Ok(0)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        json unit = {{"type", "raid6"}, {"members", {0, 1, 2, 3, 4}}, {"extension", c.extension}};
        unit.merge_patch(c.unit);
        StartUnit(unit);
        const ObjectId id = UnitId(kUnit);
        Raid6UnitState state{};
        ASSERT_EQ(RhoskFamily::GetRaid6UnitState(id, &state), 0);
        EXPECT_EQ(state.unitStatus, c.unitStatus);
        EXPECT_EQ(state.extensionStatus, c.extensionStatus);
        EXPECT_EQ(ReadOf(Api::GetUnitStatus, id), Ok(c.unitStatus));
        EXPECT_EQ(ReadOf(Api::IsUnitInitialized, id), c.initialized);

        ObjectIdList128 subs;
        ASSERT_EQ(Api::GetRaid6SubunitIdList(id, &subs), 0);
        ASSERT_EQ(subs.count, 2u);
        EXPECT_EQ(ReadOf(Api::GetUnitParityNumber, id), Ok(2));
        EXPECT_EQ(ReadOf(Api::GetUnitStatus, subs.ids[0]), Ok(c.unitStatus));
        EXPECT_EQ(ReadOf(Api::GetUnitStatus, subs.ids[1]), Ok(c.extensionStatus));
        EXPECT_EQ(ReadOf(Api::GetUnitPercentComplete, subs.ids[1]), c.extensionPercent);
        ObjectId beyond = subs.ids[1];
        beyond[ObjectId::kNumber] = 2;
        EXPECT_EQ(Api::GetUnitStatus(beyond, &state.unitStatus), -1);
    }
    // Only a RAID-6 unit has RAID-6 subunits.
    StartUnit({{"type", "raid5"}, {"members", {0, 1, 2}}});
    ObjectIdList128 subs;
    EXPECT_EQ(Api::GetRaid6SubunitIdList(UnitId(kUnit), &subs), -1);
    EXPECT_EQ(LastApiCode(), static_cast<uint32_t>(kApiNotSupported));
}

TEST_F(RhoskEmulatedUnits, CapacityStripeAndDrivesOfEachRaidType) {
    const uint64_t c = kDrive;
    const Read noStripe = Fails(rhosk::kApiInvalidStripeForUnit);
    struct Case {
        const char* what;
        json unit;
        uint64_t driveCapacity;
        uint32_t type;
        uint64_t capacity;
        Read stripe;
        uint32_t drives;
        Read firstChildCapacity;  // the element at level index 0, from its descriptor
    } cases[] = {
        {"RAID-0",
         {{"type", "raid0"}, {"members", {0, 1, 2}}, {"stripe", 9}},
         c,
         0,
         3 * c,
         Ok(256),
         3,
         Ok(c)},
        {"RAID-1", {{"type", "raid1"}, {"members", {0, 1}}}, c, 2, c, noStripe, 2, Ok(c)},
        {"RAID-5",
         {{"type", "raid5"}, {"members", {0, 1, 2}}, {"stripe", 7}},
         c,
         5,
         2 * c,
         Ok(64),
         3,
         Ok(c)},
        {"RAID-6",
         {{"type", "raid6"}, {"members", {0, 1, 2, 3, 4}}, {"stripe", 5}},
         c,
         7,
         3 * c,
         Ok(16),
         5,
         Ok(c)},
        {"RAID-10",
         {{"type", "raid10"}, {"members", {0, 1, 2, 3}}, {"stripe", 8}},
         c,
         6,
         2 * c,
         Ok(128),
         4,
         Ok(c)},
        {"RAID-50",
         {{"type", "raid50"}, {"members", {0, 1, 2, 3, 4, 5}}, {"stripe", 4}},
         c,
         8,
         4 * c,
         Ok(8),
         6,
         Ok(2 * c)},
        {"single", {{"type", "single"}, {"members", {4}}}, c, 11, c, noStripe, 1, Fails(0)},
        {"spare", {{"type", "spare"}, {"members", {5}}}, c, 13, c, noStripe, 1, Fails(0)},
        {"JBOD", {{"type", "jbod"}, {"members", {6}}}, c, 15, c, noStripe, 1, Fails(0)},
        {"CBOD", {{"type", "cbod"}, {"members", {7}}}, c, 12, c, noStripe, 1, Fails(0)},
        {"a degraded RAID-5 lists its missing member",
         {{"type", "raid5"}, {"members", {0, nullptr, 2}}, {"state", "degraded"}},
         c,
         5,
         2 * c,
         Ok(64),
         3,
         Ok(c)},
        // Parameter 12 has all 64 bits; a descriptor only 32.
        {"RAID-0 of drives above 32 bits",
         {{"type", "raid0"}, {"members", {0, 1}}},
         kBigDrive,
         0,
         2 * kBigDrive,
         Ok(64),
         2,
         Ok(0xFFFFFFFFu)},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.what);
        StartUnit(k.unit, k.driveCapacity);
        const ObjectId unit = UnitId(kUnit);
        EXPECT_EQ(ReadOf(Api::GetUnitType, unit), Ok(k.type));
        EXPECT_EQ(ReadOf(Api::GetUnitCapacity, unit), Ok(k.capacity));
        EXPECT_EQ(ReadOf(Api::GetUnitStripeSize, unit), k.stripe);
        ObjectIdList128 drives;
        ASSERT_EQ(Api::GetUnitDriveList(unit, &drives), 0);
        EXPECT_EQ(drives.count, k.drives);
        // A single-drive unit has no children: its level 0 does not exist.
        const Read child = ReadOf(Api::GetUnitCapacity, UnitId(kUnit, {0}));
        EXPECT_EQ(child.result, k.firstChildCapacity.result);
        if (child.result == 0) {
            EXPECT_EQ(child.value, k.firstChildCapacity.value);
        }
        // The volume Windows sees is the whole unit.
        uint32_t volumes = 0;
        ASSERT_EQ(Api::GetUnitVolumeCount(unit, &volumes), 0);
        EXPECT_EQ(volumes, 1u);
    }
    // A missing member is listed by the port byte 255, once per member.
    StartUnit({{"type", "raid5"}, {"members", {nullptr, 1, nullptr}}, {"state", "inoperable"}});
    ObjectIdList128 drives;
    ASSERT_EQ(Api::GetUnitDriveList(UnitId(kUnit), &drives), 0);
    ASSERT_EQ(drives.count, 3u);
    EXPECT_EQ(drives.ids[0][ObjectId::kNumber], 0xFF);
    EXPECT_EQ(drives.ids[1][ObjectId::kNumber], 1);
    EXPECT_EQ(drives.ids[2][ObjectId::kNumber], 0xFF);
}

TEST_F(RhoskEmulatedUnits, VolumesAndUnitListsFollowTheControllersTables) {
    StartUnits(json::array({{{"number", 0}, {"type", "single"}, {"members", {8}}},
                            {{"number", 2},
                             {"type", "raid5"},
                             {"members", {0, 1, 2}},
                             {"volumes", {1000, 2000, 3000}}},
                            {{"number", 5}, {"type", "spare"}, {"members", {9}}}}));
    ObjectIdList128 units;
    ASSERT_EQ(Api::GetUnitIdList(integration::ControllerId(0), &units), 0);
    ASSERT_EQ(units.count, 3u);
    EXPECT_EQ(units.ids[1][ObjectId::kUnit], 2);
    EXPECT_EQ(units.ids[2][ObjectId::kUnit], 5);
    EXPECT_EQ(units.ids[3][ObjectId::kUnit], 0xFF) << "entries past the count are blank";

    ObjectIdList128 volumes;
    ASSERT_EQ(Api::GetUnitVolumeList(UnitId(2), &volumes), 0);
    ASSERT_EQ(volumes.count, 3u);
    EXPECT_EQ(ReadOf(Api::GetVolumeCapacity, volumes.ids[1]), Ok(2000));
    ObjectId beyond = volumes.ids[2];
    beyond[ObjectId::kNumber] = 3;
    EXPECT_EQ(ReadOf(Api::GetVolumeCapacity, beyond), Fails(rhosk::kApiInvalidLunId));

    // A drive's unit: its element's path; a free drive: no unit; an empty
    // port: API error 62.
    struct DriveCase {
        uint8_t port;
        int result;
        ObjectId unit;
    } drives[] = {
        {1, 0, UnitId(2, {1})},
        {8, 0, UnitId(0)},
        {10, 0, ObjectId::Blank()},
        {12, -1, ObjectId::Blank()},
    };
    for (const DriveCase& d : drives) {
        SCOPED_TRACE("port " + std::to_string(d.port));
        ObjectId unit = UnitId(31);
        EXPECT_EQ(Api::GetDriveUnitId(DriveId(d.port), &unit), d.result);
        EXPECT_EQ(unit, d.unit);
    }
    EXPECT_EQ(LastApiCode(), static_cast<uint32_t>(rhosk::kApiPortEmpty));

    // A level index that has no element, and a unit that does not exist.
    EXPECT_EQ(ReadOf(Api::GetUnitStatus, UnitId(2, {5})).result, -1);
    EXPECT_EQ(ReadOf(Api::GetUnitStatus, UnitId(3)), Fails(rhosk::kApiNoUnit));
}

TEST_F(RhoskEmulatedUnits, AMigratingUnitShowsBothLayouts) {
    StartUnit({{"type", "migrating"},
               {"progress", 50},
               {"source", {{"type", "raid1"}, {"members", {0, 1}}}},
               {"destination", {{"type", "raid5"}, {"members", {0, 1, 2}}, {"stripe", 7}}}});
    const ObjectId unit = UnitId(kUnit);
    const ObjectId source = UnitId(kUnit, {0});
    const ObjectId destination = UnitId(kUnit, {1});
    EXPECT_EQ(ReadOf(Api::GetUnitType, unit), Ok(kUnitMigrating));
    EXPECT_EQ(ReadOf(Api::GetUnitStatus, unit), Ok(175));
    EXPECT_EQ(ReadOf(Api::GetUnitPercentComplete, unit), Ok(50));
    EXPECT_EQ(ReadOf(Api::IsUnitTaskRunning, unit), Ok(1));
    EXPECT_EQ(ReadOf(Api::IsUnitInitialized, unit), Ok(1));
    EXPECT_EQ(ReadOf(Api::GetUnitStripeSize, unit), Fails(rhosk::kApiInvalidStripeForUnit));

    ObjectIdList128 subs;
    ASSERT_EQ(Api::GetSubunitIdList(unit, &subs), 0);
    ASSERT_EQ(subs.count, 2u);
    EXPECT_EQ(subs.ids[0], source);
    EXPECT_EQ(subs.ids[1], destination);
    EXPECT_EQ(ReadOf(Api::GetUnitType, source), Ok(kUnitRaid1Mirror));
    EXPECT_EQ(ReadOf(Api::GetUnitType, destination), Ok(kUnitRaid5));
    EXPECT_EQ(ReadOf(Api::GetUnitStripeSize, destination), Ok(64));

    // The unit and its source half read parameter 12, the destination
    // half parameter 19.
    for (const auto& [id, param, sectors] :
         {std::tuple{unit, 12, kDrive}, std::tuple{source, 12, kDrive},
          std::tuple{destination, 19, 2 * kDrive}}) {
        ClearTraffic();
        EXPECT_EQ(ReadOf(Api::GetUnitCapacity, id), Ok(sectors));
        const std::vector<Access> traffic = ParamTraffic();
        ASSERT_FALSE(traffic.empty());
        EXPECT_EQ(traffic.back().parameter, param);
    }

    // The unit holds the drives of its longer layout; each drive is found
    // in the first layout that holds it.
    ObjectIdList128 drives;
    ASSERT_EQ(Api::GetUnitDriveList(unit, &drives), 0);
    EXPECT_EQ(drives.count, 3u);
    ObjectId found = ObjectId::Blank();
    ASSERT_EQ(Api::GetDriveUnitId(DriveId(2), &found), 0);
    EXPECT_EQ(found, UnitId(kUnit, {1, 2}));
    ASSERT_EQ(Api::GetDriveUnitId(DriveId(0), &found), 0);
    EXPECT_EQ(found, UnitId(kUnit, {0, 0}));
}

}  // namespace
}  // namespace rhosk_emulated::rhosk_emulated_units_test
