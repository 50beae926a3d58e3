// The newer family's unit descriptor walk and the unit state derived from
// it, on descriptor byte arrays as the controller delivers them.
#include <gtest/gtest.h>

#include <initializer_list>
#include <vector>

#include "api/api_codes.h"
#include "api/api_error.h"
#include "api/rhosk/rhosk_codes.h"
#include "api/rhosk/rhosk_descriptors.h"

namespace rhosk_descriptor_tree_test {
namespace {

using rhosk::CapacitySource;
using rhosk::UnitDescriptorTable;
using rhosk::UnitTree;

constexpr uint8_t kCtl = 2;
constexpr uint8_t kUnit = 3;

// One descriptor, by its interpreted fields.
struct Desc {
    uint8_t children = 0;
    uint8_t type = 12;
    uint8_t stripe = 0;
    uint8_t port = 0;
    uint8_t status = 255;
    uint16_t progress = 0;
    uint32_t capacity = 0;
    uint8_t extensions = 0;
    uint8_t flags = 0x80;
};

Desc Drive(uint8_t port, uint8_t status = 255) {
    Desc d;
    d.port = port;
    d.status = status;
    return d;
}

Desc Array(uint8_t children, uint8_t type, uint8_t status = 255, uint8_t stripe = 0) {
    Desc d;
    d.children = children;
    d.type = type;
    d.status = status;
    d.stripe = stripe;
    return d;
}

// An array whose troubled state concerns member `member`.
Desc Troubled(uint8_t children, uint8_t type, uint8_t status, uint8_t member) {
    Desc d = Array(children, type, status);
    d.port = member;
    return d;
}

Desc Extension(uint8_t status, uint8_t member, uint16_t progress = 0) {
    Desc d;
    d.type = rhosk::kDescriptorExtension;
    d.status = status;
    d.port = member;
    d.progress = progress;
    return d;
}

UnitDescriptorTable Table(const std::vector<Desc>& descs) {
    UnitDescriptorTable table;
    for (size_t i = 0; i < descs.size(); ++i) {
        const Desc& d = descs[i];
        std::array<uint8_t, rhosk::kDescriptorSize> b{};
        b[0] = d.children;
        b[1] = d.type;
        b[2] = d.stripe;
        b[3] = d.port;
        b[5] = d.status;
        b[6] = static_cast<uint8_t>(d.progress);
        b[7] = static_cast<uint8_t>(d.progress >> 8);
        for (int k = 0; k < 4; ++k)
            b[12 + k] = static_cast<uint8_t>(d.capacity >> (8 * k));
        b[18] = d.extensions;
        b[19] = d.flags;
        table.put(i, b);
    }
    table.markEnd(static_cast<uint32_t>(descs.size()));
    return table;
}

// A unit element id: the unit and up to three child indexes.
ObjectId Unit(std::initializer_list<uint8_t> levels = {}) {
    ObjectId id = ObjectId::Blank();
    id[0] = kKindUnit;
    id[1] = kCtl;
    id[3] = static_cast<uint8_t>(1 + levels.size());
    id[4] = kUnit;
    size_t at = 5;
    for (uint8_t level : levels)
        id[at++] = level;
    return id;
}

ObjectId Raid6Subunit(uint8_t index) {
    return rhosk::MakeRaid6SubunitId(Unit(), index);
}

// RAID-10: a RAID-0 element over two RAID-1 elements of two drives each.
std::vector<Desc> Raid10(uint8_t s0, uint8_t s1, uint16_t p0 = 0, uint16_t p1 = 0) {
    Desc m0 = Array(2, 2, s0);
    m0.progress = p0;
    Desc m1 = Array(2, 2, s1);
    m1.progress = p1;
    return {Array(2, 0, 255, 7), m0, Drive(0), Drive(1), m1, Drive(2), Drive(3)};
}

// RAID-6 over four drives with one extension element.
std::vector<Desc> Raid6(Desc extension, uint8_t status = 255, uint16_t progress = 0) {
    Desc top = Array(4, 7, status, 5);
    top.extensions = 1;
    top.progress = progress;
    return {top, extension, Drive(4), Drive(5), Drive(6), Drive(7)};
}

class DescriptorTreeTest : public ::testing::Test {
  protected:
    void SetUp() override { ApiError::Clear(); }
};

TEST(DescriptorCombineTest, SubunitStatusTable) {
    struct Case {
        std::vector<uint8_t> statuses;
        uint8_t expected;
    } cases[] = {
        {{}, 17},
        {{255, 255}, 255},
        {{239, 223}, 239},  // degraded wins over
                            // rebuilding
        {{223, 239}, 239},
        {{251, 247}, 251},  // verifying wins over initializing
        {{247, 251}, 251},
        {{255, 191, 0}, 191},  // recovery ends the combination
        {{0, 191}, 191},
        {{17, 255}, 239},  // an undetermined subunit degrades the unit
        {{255, 17}, 239},
        {{239, 0}, 0},
        {{0, 239}, 0},
        {{175, 255}, 175},
        {{223, 175}, 223},
        {{255, 175}, 175},
        {{255, 99}, 17},  // a state outside the codes
        {{99, 255}, 255},
        {{251, 223}, 223},
        {{223, 251}, 223},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(rhosk::CombineSubunitStatuses(c.statuses.data(), c.statuses.size()), c.expected)
            << ::testing::PrintToString(std::vector<int>(c.statuses.begin(), c.statuses.end()));
    }
}

TEST(DescriptorTableTest, DeclaredShapeMustFitTheBuffer) {
    EXPECT_TRUE(UnitDescriptorTable::Fits(99, 20));
    EXPECT_TRUE(UnitDescriptorTable::Fits(0, 20));
    EXPECT_FALSE(UnitDescriptorTable::Fits(100, 20));
    EXPECT_FALSE(UnitDescriptorTable::Fits(10, 19));
    EXPECT_FALSE(UnitDescriptorTable::Fits(10, 24));
}

TEST_F(DescriptorTreeTest, FullTableWithoutEndMarkerEndsTheWalkAtTheBuffer) {
    // 99 single drives hanging off one array: no room for an end marker;
    // neither the walk nor the drive scan reads past the buffer.
    std::vector<Desc> descs{Array(98, 0, 255, 7)};
    for (uint8_t p = 0; p < 98; ++p)
        descs.push_back(Drive(p));
    UnitDescriptorTable table = Table(descs);
    UnitTree tree(table, kCtl, kUnit);
    size_t index = 0;
    EXPECT_EQ(tree.find(Unit({97}), &index), 0);
    EXPECT_EQ(index, 98u);
    EXPECT_EQ(tree.find(Unit({98}), &index), -1);
    ObjectIdList128 drives;
    ASSERT_EQ(tree.driveList(Unit(), &drives), 0);
    EXPECT_EQ(drives.count, 98u);
}

TEST_F(DescriptorTreeTest, TypeOfRaid0DependsOnItsFirstChild) {
    struct Case {
        std::vector<Desc> descs;
        uint32_t expected;
    } cases[] = {
        {{Array(2, 0, 255, 7), Drive(0), Drive(1)}, kUnitRaid0},
        {Raid10(255, 255), kUnitRaid10},
        {{Array(2, 0), Array(2, 1), Drive(0), Drive(1), Array(2, 1), Drive(2), Drive(3)},
         kUnitRaid10},
        {{Array(2, 0), Array(3, 5), Drive(0), Drive(1), Drive(2), Array(3, 5), Drive(3), Drive(4),
          Drive(5)},
         kUnitRaid50},
        {{Drive(9)}, kUnitCbod},
        {{Array(0, 11)}, kUnitSingle},
    };
    for (const Case& c : cases) {
        UnitDescriptorTable table = Table(c.descs);
        uint32_t type = 99;
        ASSERT_EQ(UnitTree(table, kCtl, kUnit).type(Unit(), &type), 0);
        EXPECT_EQ(type, c.expected);
    }
}

TEST_F(DescriptorTreeTest, FindFollowsPreOrderPathsAndRejectsOtherKinds) {
    UnitDescriptorTable table = Table(Raid10(255, 255));
    UnitTree tree(table, kCtl, kUnit);
    struct Case {
        ObjectId id;
        int result;
        size_t index;
    } cases[] = {
        {Unit(), 0, 0},     {Unit({0}), 0, 1},     {Unit({0, 1}), 0, 3},
        {Unit({1}), 0, 4},  {Unit({1, 0}), 0, 5},  {Unit({1, 1}), 0, 6},
        {Unit({2}), -1, 0}, {Unit({0, 2}), -1, 0}, {Unit({1, 1, 0}), -1, 0},
    };
    for (const Case& c : cases) {
        size_t index = 0;
        EXPECT_EQ(tree.find(c.id, &index), c.result);
        if (c.result == 0) {
            EXPECT_EQ(index, c.index);
        }
    }
    // A drive is found by its port, and its path is its unit id.
    ObjectId drive = ObjectId::Blank();
    drive[0] = kKindDrive;
    drive[1] = kCtl;
    drive[2] = 2;
    size_t index = 0;
    ObjectId path;
    ASSERT_EQ(tree.find(drive, &index, &path), 0);
    EXPECT_EQ(path, Unit({1, 0}));
    // Any other kind records API error 34.
    ObjectId enclosure = drive;
    enclosure[0] = kKindEnclosure;
    EXPECT_EQ(tree.find(enclosure, &index), -1);
    EXPECT_EQ(ApiError::GetApiCode(), 34u);
}

TEST_F(DescriptorTreeTest, SubunitListsHoldTheChildrenInOrder) {
    UnitDescriptorTable table = Table(Raid10(255, 255));
    UnitTree tree(table, kCtl, kUnit);
    ObjectIdList128 subs;
    tree.subunits(Unit(), &subs);
    ASSERT_EQ(subs.count, 2u);
    EXPECT_EQ(subs.ids[0], Unit({0}));
    EXPECT_EQ(subs.ids[1], Unit({1}));
    EXPECT_EQ(subs.ids[2], ObjectId::Blank());
    tree.subunits(Unit({0, 1}), &subs);  // a drive has no children
    EXPECT_EQ(subs.count, 0u);
}

TEST_F(DescriptorTreeTest, UnitStatusOfArraysMembersAndRaid6Subunits) {
    struct Case {
        const char* name;
        std::vector<Desc> descs;
        ObjectId id;
        uint8_t expected;
    } cases[] = {
        {"raid10 degraded+rebuilding", Raid10(239, 223), Unit(), 239},
        {"raid10 verifying+initializing", Raid10(251, 247), Unit(), 251},
        {"raid10 one subunit in recovery", Raid10(255, 191), Unit(), 191},
        {"raid10 undetermined subunit", Raid10(17, 255), Unit(), 239},
        {"raid10 subunit itself", Raid10(223, 255), Unit({0}), 223},
        {"member byte 0 reads degraded", {Array(2, 2), Drive(0, 0), Drive(1)}, Unit({0}), 239},
        {"member named by its degraded parent",
         {Troubled(3, 5, 239, 1), Drive(0), Drive(1), Drive(2)},
         Unit({1}),
         239},
        {"other member of a degraded parent",
         {Troubled(3, 5, 239, 1), Drive(0), Drive(1), Drive(2)},
         Unit({0}),
         255},
        {"member of a healthy parent", {Array(2, 2, 255), Drive(0), Drive(1)}, Unit({0}), 255},
        {"raid6 member named by a troubled extension", Raid6(Extension(223, 2)), Unit({2}), 239},
        {"raid6 member not named", Raid6(Extension(223, 2)), Unit({1}), 255},
        {"raid6 member, extension healthy", Raid6(Extension(255, 2)), Unit({2}), 255},
        {"raid6 unit", Raid6(Extension(223, 2), 239), Unit(), 239},
        {"raid6 subunit 0 is the raid6 element", Raid6(Extension(223, 2), 239), Raid6Subunit(0),
         239},
        {"raid6 subunit 1 is the extension", Raid6(Extension(223, 2), 239), Raid6Subunit(1), 223},
        {"single disk", {Array(0, 11, 247)}, Unit(), 247},
    };
    for (const Case& c : cases) {
        UnitDescriptorTable table = Table(c.descs);
        uint8_t status = 1;
        ASSERT_EQ(UnitTree(table, kCtl, kUnit).status(c.id, &status), 0) << c.name;
        EXPECT_EQ(status, c.expected) << c.name;
    }
}

TEST_F(DescriptorTreeTest, StatusFailsForMissingElements) {
    UnitDescriptorTable table = Table(Raid6(Extension(223, 2)));
    UnitTree tree(table, kCtl, kUnit);
    uint8_t status = 42;
    EXPECT_EQ(tree.status(Unit({4}), &status), -1);
    EXPECT_EQ(tree.status(Raid6Subunit(2), &status), -1);  // past the extension range
    EXPECT_EQ(status, 42);
}

TEST_F(DescriptorTreeTest, PercentCompleteByUnitKind) {
    struct Case {
        const char* name;
        std::vector<Desc> descs;
        ObjectId id;
        int result;
        uint32_t expected;  // percent, or the API error on failure
    } cases[] = {
        {"512 of 1024",
         {[] {
              Desc d = Array(3, 5, 251);
              d.progress = 0x8000 | 512;
              return d;
          }(),
          Drive(0), Drive(1), Drive(2)},
         Unit(),
         0,
         50},
        {"1024 is 100",
         {[] {
             Desc d = Array(0, 11, 247);
             d.progress = 1024;
             return d;
         }()},
         Unit(),
         0,
         100},
        {"1025 fails",
         {[] {
             Desc d = Array(0, 11, 247);
             d.progress = 1025;
             return d;
         }()},
         Unit(),
         -1,
         17},
        {"raid10 averages busy subunits, others count 100", Raid10(223, 255, 256, 0), Unit(), 0,
         (25 + 100) / 2},
        {"raid10 idle subunits count 100 whatever their progress", Raid10(255, 239, 512, 512),
         Unit(), 0, 100},
        // A striped element without children has no type to average over:
        // it fails (no error of its own) instead of dividing by zero.
        {"raid10 without subunits", {Array(0, 0, 255, 7)}, Unit(), -1, 0},
        {"raid6 subunit", Raid6(Extension(223, 1, 768)), Raid6Subunit(1), 0, 75},
        {"raid6 member being rebuilt", Raid6(Extension(223, 1, 256)), Unit({1}), 0, 25},
        {"raid6 member not rebuilding", Raid6(Extension(223, 1, 256)), Unit({0}), -1, 112},
        {"raid5 member", {Array(3, 5, 223), Drive(0), Drive(1), Drive(2)}, Unit({0}), -1, 55},
        {"cbod unit", {Drive(4)}, Unit(), -1, 55},
    };
    for (const Case& c : cases) {
        ApiError::Clear();
        UnitDescriptorTable table = Table(c.descs);
        uint32_t percent = 999;
        ASSERT_EQ(UnitTree(table, kCtl, kUnit).percentComplete(c.id, &percent), c.result) << c.name;
        if (c.result == 0) {
            EXPECT_EQ(percent, c.expected) << c.name;
        } else {
            EXPECT_EQ(ApiError::GetApiCode(), c.expected) << c.name;
            EXPECT_EQ(percent, 999u) << c.name;
        }
    }
}

TEST_F(DescriptorTreeTest, CapacitySourceByDepthAndMigration) {
    Desc source = Array(2, 2);
    source.capacity = 1000;
    Desc d0 = Drive(0);
    d0.capacity = 500;
    std::vector<Desc> migrating{Array(2, 32), source,   d0,       Drive(1),
                                Array(3, 5),  Drive(0), Drive(1), Drive(2)};
    std::vector<Desc> raid10 = Raid10(255, 255);
    raid10[1].capacity = 4096;
    struct Case {
        std::vector<Desc> descs;
        ObjectId id;
        CapacitySource expected;
    } cases[] = {
        {raid10, Unit(), {true, 12, 0}},
        {raid10, Unit({0}), {false, 0, 4096}},
        {migrating, Unit({0}), {true, 12, 0}},
        {migrating, Unit({1}), {true, 19, 0}},
        {migrating, Unit({0, 0}), {false, 0, 500}},
    };
    for (const Case& c : cases) {
        UnitDescriptorTable table = Table(c.descs);
        CapacitySource got{};
        ASSERT_EQ(UnitTree(table, kCtl, kUnit).capacity(c.id, &got), 0);
        EXPECT_EQ(got.fromParam, c.expected.fromParam);
        EXPECT_EQ(got.param, c.expected.param);
        EXPECT_EQ(got.sectors, c.expected.sectors);
    }
    UnitDescriptorTable table = Table(raid10);
    CapacitySource got{};
    EXPECT_EQ(UnitTree(table, kCtl, kUnit).capacity(Unit({5}), &got), -1);
}

TEST_F(DescriptorTreeTest, StripeSizeByRaidType) {
    std::vector<Desc> raid50{Array(2, 0, 255, 9),
                             Array(3, 5, 255, 5),
                             Drive(0),
                             Drive(1),
                             Drive(2),
                             Array(3, 5, 255, 5),
                             Drive(3),
                             Drive(4),
                             Drive(5)};
    struct Case {
        const char* name;
        std::vector<Desc> descs;
        int result;
        uint32_t expected;
    } cases[] = {
        {"raid0 64K", {Array(2, 0, 255, 7), Drive(0), Drive(1)}, 0, 64},
        {"raid5 16K", {Array(3, 5, 255, 5), Drive(0), Drive(1), Drive(2)}, 0, 16},
        {"raid10 top element", Raid10(255, 255), 0, 64},
        {"raid6", Raid6(Extension(255, 0)), 0, 16},
        {"raid50 first raid5 element", raid50, 0, 16},
        {"raid0 1024K", {Array(2, 0, 255, 11), Drive(0), Drive(1)}, 0, 1024},
        {"raid0 without stripe code", {Array(2, 0, 255, 0), Drive(0), Drive(1)}, 0, 0},
        {"raid0 code too large to shift", {Array(2, 0, 255, 40), Drive(0), Drive(1)}, -1, 60},
        {"raid1 has no stripe", {Array(2, 2), Drive(0), Drive(1)}, -1, 60},
        {"single disk has no stripe", {Array(0, 11)}, -1, 60},
    };
    for (const Case& c : cases) {
        ApiError::Clear();
        UnitDescriptorTable table = Table(c.descs);
        uint32_t kib = 7;
        ASSERT_EQ(UnitTree(table, kCtl, kUnit).stripeSize(Unit(), &kib), c.result) << c.name;
        if (c.result == 0) {
            EXPECT_EQ(kib, c.expected) << c.name;
        } else {
            EXPECT_EQ(ApiError::GetApiCode(), c.expected) << c.name;
        }
    }
}

TEST_F(DescriptorTreeTest, InitialisationAndTaskState) {
    std::vector<Desc> raid10 = Raid10(251, 255);
    raid10[1].progress = 0x8000 | 10;
    raid10[4].flags = 0;  // the second RAID-1 element is not initialised
    UnitDescriptorTable table = Table(raid10);
    UnitTree tree(table, kCtl, kUnit);
    uint8_t v = 9;
    ASSERT_EQ(tree.initialized(Unit({0}), &v), 0);
    EXPECT_EQ(v, 1);
    ASSERT_EQ(tree.initialized(Unit(), &v), 0);
    EXPECT_EQ(v, 0);
    ASSERT_EQ(tree.taskRunning(Unit(), &v), 0);
    EXPECT_EQ(v, 1);
    ASSERT_EQ(tree.taskRunning(Unit({1}), &v), 0);
    EXPECT_EQ(v, 0);
    // A member drive has neither.
    EXPECT_EQ(tree.initialized(Unit({0, 0}), &v), -1);
    EXPECT_EQ(ApiError::GetApiCode(), 77u);
    EXPECT_EQ(tree.taskRunning(Unit({0, 0}), &v), -1);
    EXPECT_EQ(ApiError::GetApiCode(), 79u);

    // RAID-6: the extension element carries the rebuild of its member.
    UnitDescriptorTable r6 = Table(Raid6(Extension(223, 3, 0x8000 | 100)));
    UnitTree raid6(r6, kCtl, kUnit);
    ASSERT_EQ(raid6.taskRunning(Unit({3}), &v), 0);
    EXPECT_EQ(v, 1);
    ASSERT_EQ(raid6.taskRunning(Raid6Subunit(1), &v), 0);
    EXPECT_EQ(v, 1);
    EXPECT_EQ(raid6.taskRunning(Unit({2}), &v), -1);
    EXPECT_EQ(ApiError::GetApiCode(), 17u);
}

TEST_F(DescriptorTreeTest, Raid6StateAndSubunitList) {
    UnitDescriptorTable table = Table(Raid6(Extension(223, 3), 239));
    UnitTree tree(table, kCtl, kUnit);
    Raid6UnitState state{};
    ASSERT_EQ(tree.raid6State(Unit(), &state), 0);
    EXPECT_EQ(state.unitStatus, 239);
    EXPECT_EQ(state.extensionStatus, 223);
    ObjectIdList128 subs;
    ASSERT_EQ(tree.raid6Subunits(Unit(), &subs), 0);
    ASSERT_EQ(subs.count, 2u);
    EXPECT_EQ(subs.ids[0], Raid6Subunit(0));
    EXPECT_EQ(subs.ids[1], Raid6Subunit(1));

    // Not a RAID-6 unit: no state (no error of its own) and API 2 for the list.
    UnitDescriptorTable r5 = Table({Array(3, 5), Drive(0), Drive(1), Drive(2)});
    UnitTree raid5(r5, kCtl, kUnit);
    ApiError::Clear();
    EXPECT_EQ(raid5.raid6State(Unit(), &state), -1);
    EXPECT_EQ(ApiError::GetApiCode(), 0u);
    EXPECT_EQ(raid5.raid6Subunits(Unit(), &subs), -1);
    EXPECT_EQ(ApiError::GetApiCode(), 2u);
}

std::vector<int> Ports(const ObjectIdList128& list) {
    std::vector<int> ports;
    for (size_t i = 0; i < list.size(); ++i)
        ports.push_back(list.ids[i][2]);
    return ports;
}

TEST_F(DescriptorTreeTest, DriveListsStayInsideTheirSubtree) {
    // Migrating RAID-1 (ports 0, 1) to RAID-5 (ports 0, 1, 2): the longer
    // layout's drives.
    std::vector<Desc> migrating{Array(2, 32), Array(2, 2), Drive(0), Drive(1),
                                Array(3, 5),  Drive(0),    Drive(1), Drive(2)};
    // A migration whose source is a RAID-10: its first RAID-1 element is not
    // the last child of its parent, but the second one is, and its scan must
    // not run into the destination's drives.
    std::vector<Desc> nested{Array(2, 32), Array(2, 0), Array(2, 2), Drive(0),    Drive(1),
                             Array(2, 2),  Drive(2),    Drive(3),    Array(4, 0), Drive(0),
                             Drive(1),     Drive(2),    Drive(3)};
    struct Case {
        const char* name;
        std::vector<Desc> descs;
        ObjectId id;
        std::vector<int> ports;
    } cases[] = {
        {"raid10 unit", Raid10(255, 255), Unit(), {0, 1, 2, 3}},
        {"raid10 first subunit", Raid10(255, 255), Unit({0}), {0, 1}},
        {"raid10 member", Raid10(255, 255), Unit({1, 1}), {3}},
        {"raid6 extension is no drive", Raid6(Extension(239, 0)), Unit(), {4, 5, 6, 7}},
        {"missing members listed each time",
         {Array(3, 5, 239), Drive(0), Drive(255, 0), Drive(255, 0)},
         Unit(),
         {0, 255, 255}},
        {"migrating unit: the longer layout", migrating, Unit(), {0, 1, 2}},
        {"migrating source half", migrating, Unit({0}), {0, 1}},
        {"last element of a nested source", nested, Unit({0, 1}), {2, 3}},
        {"single disk is its own drive", {Array(0, 11)}, Unit(), {0}},
    };
    for (const Case& c : cases) {
        UnitDescriptorTable table = Table(c.descs);
        ObjectIdList128 drives;
        ASSERT_EQ(UnitTree(table, kCtl, kUnit).driveList(c.id, &drives), 0) << c.name;
        EXPECT_EQ(Ports(drives), c.ports) << c.name;
        for (size_t i = 0; i < drives.size(); ++i) {
            EXPECT_EQ(drives.ids[i][0], kKindDrive);
            EXPECT_EQ(drives.ids[i][1], kCtl);
        }
        EXPECT_EQ(drives.ids[drives.size()], ObjectId::Blank()) << c.name;
    }
}

TEST_F(DescriptorTreeTest, MigratingUnitWalk) {
    std::vector<Desc> migrating{Array(2, 32, 175), Array(2, 2), Drive(0), Drive(1),
                                Array(3, 5),       Drive(0),    Drive(1), Drive(5)};
    UnitDescriptorTable table = Table(migrating);
    UnitTree tree(table, kCtl, kUnit);
    uint32_t type = 0;
    ASSERT_EQ(tree.type(Unit(), &type), 0);
    EXPECT_EQ(type, kUnitMigrating);
    ASSERT_EQ(tree.type(Unit({1}), &type), 0);
    EXPECT_EQ(type, kUnitRaid5);
    uint8_t status = 0;
    ASSERT_EQ(tree.status(Unit(), &status), 0);
    EXPECT_EQ(status, 175);
    size_t index = 0;
    ASSERT_EQ(tree.find(Unit({1, 2}), &index), 0);
    EXPECT_EQ(index, 7u);
    ObjectId drive = ObjectId::Blank();
    drive[0] = kKindDrive;
    drive[1] = kCtl;
    drive[2] = 5;
    ObjectId path;
    ASSERT_EQ(tree.find(drive, &index, &path), 0);
    EXPECT_EQ(path, Unit({1, 2}));
}

}  // namespace
}  // namespace rhosk_descriptor_tree_test
