// Unsafe inputs of the newer family's queries: what a controller declares
// (descriptor counts and sizes, log sizes, volume counts, a port count of
// 0), what a caller passes (schedule slots, modes, rates, stagger times)
// and reads that fail. Each case shows the bounded behaviour: nothing is
// read or written past a buffer, nothing out of range reaches the
// controller, and a failed read fails its query and leaves the caller's
// value defined.
#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <functional>
#include <type_traits>
#include <vector>

#include "api/api.h"
#include "api/api_error.h"
#include "api/rhosk/rhosk_codes.h"
#include "api/rhosk/rhosk_descriptors.h"
#include "api/rhosk/rhosk_family.h"
#include "rhosk_emulated_host.h"
#include "rhosk_query_fake.h"

namespace rhosk_emulated::rhosk_faults_test {
namespace {

using rhosk::kDescriptorSize;
using rhosk::kDescriptorTableSize;
using rhosk::kUnitSlots;
using rhosk::UnitDescriptorTable;
using rhosk::UnitTree;

constexpr uint8_t kUnit = 1;
constexpr uint16_t kUnitTable = 0x300 + kUnit;
constexpr uint16_t kUnitSummary = 0x0003;
constexpr uint16_t kSettings = 0x0403;

// One descriptor: children, type, port (or member), stripe; state OK and
// initialised.
std::array<uint8_t, kDescriptorSize> Descriptor(uint8_t children, uint8_t type, uint8_t port = 0,
                                                uint8_t stripe = 0) {
    std::array<uint8_t, kDescriptorSize> d{};
    d[0] = children;
    d[1] = type;
    d[2] = stripe;
    d[3] = port;
    d[5] = kUnitStatusOk;
    d[19] = 0x80;
    return d;
}

// Unit `kUnit` of a fake controller with `count` descriptors of `size`
// bytes declared and `descriptors` as parameter 11.
void PutDescriptors(RhoskQueryFirmware& fw, uint16_t count, uint8_t size,
                    const std::vector<uint8_t>& descriptors) {
    std::vector<uint8_t> summary(kUnitSlots, 0);
    summary[kUnit] = 1;
    fw.put(kUnitSummary, 3, summary);
    fw.putValue(kUnitTable, 9, count, 2);
    fw.putValue(kUnitTable, 10, size, 1);
    fw.put(kUnitTable, 11, descriptors);
}

// The reads of one table parameter among the fake controller's accesses.
std::vector<uint16_t> ReadSizes(const RhoskQueryFirmware& fw, uint16_t table, uint16_t parameter) {
    std::vector<uint16_t> sizes;
    for (const RhoskQueryFirmware::Access& a : fw.accesses) {
        if (!a.set && a.table == RhoskQueryFirmware::Key(table) && a.parameter == parameter)
            sizes.push_back(a.size);
    }
    return sizes;
}

std::vector<int> Ports(const ObjectIdList128& list) {
    std::vector<int> ports;
    for (size_t i = 0; i < list.size(); ++i)
        ports.push_back(list.ids[i][ObjectId::kNumber]);
    return ports;
}

ApiErrorRecord Record() {
    ApiErrorRecord record;
    ApiError::Get(&record, nullptr, 0);
    return record;
}

// --- The descriptor table ---

TEST(RhoskFaultsDescriptors, EndMarkerIsWrittenOnlyInsideTheBuffer) {
    // A 1980-byte table followed by guard bytes: the four end-marker bytes
    // go right after the last descriptor, and only where they fit.
    struct Case {
        uint32_t count;
        size_t markerAt;  // first marker byte, or the table size for none
    } cases[] = {
        {0, 0},
        {98, 98 * kDescriptorSize},
        {99, kDescriptorTableSize},  // a full table: its end is the buffer's end
        {100, kDescriptorTableSize},
        {0xFFFF, kDescriptorTableSize},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("count " + std::to_string(c.count));
        std::vector<uint8_t> buffer(kDescriptorTableSize + 8, 0xAA);
        UnitDescriptorTable::MarkEnd(buffer.data(), c.count);
        for (size_t i = 0; i < buffer.size(); ++i) {
            const bool marker = i >= c.markerAt && i < c.markerAt + 4 && i < kDescriptorTableSize;
            ASSERT_EQ(buffer[i], marker ? 0xFF : 0xAA) << "byte " << i;
        }
    }
}

TEST(RhoskFaultsDescriptors, ATableThatDoesNotFitTheBufferIsRefusedUnread) {
    struct Case {
        const char* name;
        uint16_t count;
        uint8_t size;
    } cases[] = {
        {"100 descriptors", 100, 20},
        {"descriptors of 24 bytes", 5, 24},
        {"descriptors of 19 bytes", 5, 19},
        {"descriptors of 0 bytes", 5, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RhoskQueryFirmware fw(8, 37);
        PutDescriptors(fw, c.count, c.size, std::vector<uint8_t>(c.count * c.size, 0));
        uint32_t type = 99;
        EXPECT_EQ(Api::GetUnitType(UnitId(kUnit), &type), -1);
        EXPECT_EQ(ApiError::GetApiCode(), rhosk::kApiRetrievingDescriptor);
        EXPECT_EQ(type, 99u);
        EXPECT_TRUE(ReadSizes(fw, kUnitTable, 11).empty());
    }
}

TEST(RhoskFaultsDescriptors, AFullTableOf99DescriptorsIsReadAndWalked) {
    // A RAID-0 unit over 98 drives fills the buffer to its last byte.
    std::vector<uint8_t> bytes;
    auto append = [&bytes](const std::array<uint8_t, kDescriptorSize>& d) {
        bytes.insert(bytes.end(), d.begin(), d.end());
    };
    append(Descriptor(98, kUnitRaid0, 0, 7));
    std::vector<int> ports;
    for (uint8_t p = 0; p < 98; ++p) {
        append(Descriptor(0, kUnitCbod, p));
        ports.push_back(p);
    }
    RhoskQueryFirmware fw(8, 37);
    PutDescriptors(fw, 99, 20, bytes);
    uint32_t type = 99;
    ASSERT_EQ(Api::GetUnitType(UnitId(kUnit), &type), 0);
    EXPECT_EQ(type, kUnitRaid0);
    ObjectIdList128 drives;
    ASSERT_EQ(Api::GetUnitDriveList(UnitId(kUnit), &drives), 0);
    EXPECT_EQ(Ports(drives), ports);
    EXPECT_EQ(ReadSizes(fw, kUnitTable, 11).back(), kDescriptorTableSize);
}

TEST(RhoskFaultsDescriptors, PercentOfACompoundUnitWithoutSubunitsFails) {
    // A descriptor that calls itself RAID-10 or RAID-50 but has no
    // children: there is nothing to average, and no division by zero.
    for (uint8_t type : {kUnitRaid10, kUnitRaid50}) {
        SCOPED_TRACE("type " + std::to_string(type));
        ApiError::Clear();
        UnitDescriptorTable table;
        table.put(0, Descriptor(0, type, 0, 7));
        table.markEnd(1);
        UnitTree tree(table, 0, kUnit);
        uint32_t percent = 999;
        EXPECT_EQ(tree.percentComplete(UnitId(kUnit), &percent), -1);
        EXPECT_EQ(ApiError::GetApiCode(), rhosk::kApiPercentFailed);
        EXPECT_EQ(percent, 999u);
        uint8_t status = 0;
        ASSERT_EQ(tree.status(UnitId(kUnit), &status), 0);
        EXPECT_EQ(status, kUnitStatusOther);
    }
}

// --- Controller logs and volume tables larger than the caller's buffer ---

TEST(RhoskFaultsBuffers, AControllerLogIsReadOnlyAsFarAsTheBufferHolds) {
    constexpr size_t kBuffer = 32768;
    struct Case {
        const char* name;
        bool sizeReadable;
        uint16_t logSize;
        uint16_t requested;
    } cases[] = {
        {"small log", true, 100, 100},
        {"log of the buffer's size", true, 32768, 32768},
        {"log larger than the buffer", true, 40000, 32768},
        {"largest log size", true, 65535, 32768},
        {"unreadable size", false, 0, 8192},
    };
    using Reader = int32_t (*)(ObjectId, uint8_t*);
    const struct {
        uint16_t parameter;
        Reader read;
    } logs[] = {{13, RhoskFamily::GetControllerErrorLog}, {14, RhoskFamily::GetControllerLog}};
    for (const Case& c : cases) {
        for (const auto& log : logs) {
            SCOPED_TRACE(std::string(c.name) + ", parameter " + std::to_string(log.parameter));
            RhoskQueryFirmware fw(8, 37);
            if (c.sizeReadable)
                fw.putValue(kSettings, 15, c.logSize, 2);
            std::vector<uint8_t> stored(65535);
            for (size_t i = 0; i < stored.size(); ++i)
                stored[i] = static_cast<uint8_t>('a' + i % 26);
            fw.put(kSettings, log.parameter, stored);
            // The caller's buffer, followed by guard bytes.
            std::vector<uint8_t> buffer(kBuffer + 16, 0xEE);
            ASSERT_EQ(log.read(fw.controller(), buffer.data()), 0);
            EXPECT_EQ(ReadSizes(fw, kSettings, log.parameter), std::vector<uint16_t>{c.requested});
            EXPECT_EQ(std::memcmp(buffer.data(), stored.data(), c.requested), 0);
            for (size_t i = c.requested; i < kBuffer; ++i)
                ASSERT_EQ(buffer[i], 0) << "byte " << i;  // the rest of the buffer is zeroed
            for (size_t i = kBuffer; i < buffer.size(); ++i)
                ASSERT_EQ(buffer[i], 0xEE) << "guard byte " << i;
        }
    }
}

TEST(RhoskFaultsBuffers, VolumeCountsAndIndexesBeyondTheVolumeTableAreClamped) {
    // The volume count is one byte; the lists take at most 64 volumes and a
    // volume id names one of the first 65 entries.
    struct Case {
        uint8_t count;
        size_t listed;
        std::vector<std::pair<uint8_t, int>> capacities;  // index, result
    } cases[] = {
        {64, 64, {{63, 0}, {64, -1}}},
        {65, 64, {{64, 0}, {65, -1}}},
        {70, 64, {{64, 0}, {65, -1}, {69, -1}}},
        {255, 64, {{0, 0}, {64, 0}, {65, -1}, {254, -1}, {255, -1}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("count " + std::to_string(c.count));
        RhoskQueryFirmware fw(8, 37);
        std::vector<uint8_t> summary(kUnitSlots, 0);
        summary[kUnit] = 1;
        fw.put(kUnitSummary, 3, summary);
        fw.putValue(kUnitTable, 16, c.count, 1);
        fw.putValue(kUnitTable, 24, 0, 2);
        std::vector<uint8_t> entries(c.count * 20u, 0);
        for (size_t i = 0; i < c.count; ++i) {
            entries[i * 20 + 1] = 0x80;
            entries[i * 20 + 2] = static_cast<uint8_t>(i);
            entries[i * 20 + 12] = static_cast<uint8_t>(i + 1);  // size: index + 1 sectors
        }
        fw.put(kUnitTable, 25, entries);

        ObjectIdList128 volumes;
        ASSERT_EQ(Api::GetUnitVolumeList(UnitId(kUnit), &volumes), 0);
        ASSERT_EQ(volumes.size(), c.listed);
        EXPECT_EQ(volumes.ids[c.listed - 1], rhosk::MakeVolumeId(UnitId(kUnit), 63));
        EXPECT_EQ(ReadSizes(fw, kUnitTable, 25).back(), c.count * 20u);
        for (const auto& [index, result] : c.capacities) {
            SCOPED_TRACE("volume " + std::to_string(index));
            ApiError::Clear();
            uint64_t sectors = 0;
            EXPECT_EQ(Api::GetVolumeCapacity(rhosk::MakeVolumeId(UnitId(kUnit), index), &sectors),
                      result);
            if (result == 0) {
                EXPECT_EQ(sectors, index + 1u);
            } else {
                EXPECT_EQ(ApiError::GetApiCode(), rhosk::kApiInvalidLunId);
            }
        }
    }
}

// --- Through the emulated host ---

class RhoskFaultsEmulated : public RhoskEmulatedTest {};

TEST_F(RhoskFaultsEmulated, PortsAreListedUpToTheCountAndNoneForACountOf0) {
    for (int ports : {0, 1, 12}) {
        SCOPED_TRACE(std::to_string(ports) + " ports");
        ResetLibrary();
        Start(json::array({FamilyController(8, 37, {{"settings", {{"ports", ports}}}})}));
        ObjectIdList128 list;
        ASSERT_EQ(Api::GetPortIdList(integration::ControllerId(0), &list), 0);
        ASSERT_EQ(list.size(), static_cast<size_t>(ports));
        for (int p = 0; p < ports; ++p) {
            ObjectId id;
            ASSERT_EQ(Api::MakePortId(0, static_cast<uint8_t>(p), &id), 0);
            EXPECT_EQ(list.ids[p], id);
        }
        EXPECT_EQ(list.ids[ports], ObjectId::Blank());
    }
}

// The port status list, or the BBU status word, cannot be read.
json FailingRead(int table, int parameter) {
    return integration::Fault({{"layer", "firmware"}, {"table", table}, {"parameter", parameter}},
                              {{"status", 1}, {"code", "0x0204"}}, "always");
}

// One query of `id` into a result of type T, preset to 0x5A where it is a
// byte: a failed query must leave the preset as it was.
template <typename T>
std::function<int()> Query(int (*query)(ObjectId, T*), ObjectId id) {
    return [query, id] {
        T result{};
        if constexpr (std::is_same_v<T, uint8_t>)
            result = 0x5A;
        const int code = query(id, &result);
        if constexpr (std::is_same_v<T, uint8_t>) {
            EXPECT_EQ(result, 0x5A);
        }
        return code;
    };
}

// A read that fails fails the query with the controller's error: no list
// reads as empty, no count skips what it could not read, no missing unit,
// empty port or phy stands in for the failure, and a value the caller
// preset stays as it was.
TEST_F(RhoskFaultsEmulated, AFailedReadFailsTheQueryWithItsOwnError) {
    const ObjectId ctl = integration::ControllerId(0);
    const json drives = json::array({{{"port", 3}}, {{"port", 4}}});
    const json units = json::array({{{"number", 0}, {"type", "raid1"}, {"members", {3, 4}}}});
    struct Case {
        const char* name;
        int table;
        int parameter;
        std::function<int()> query;
    } cases[] = {
        {"drive status", 0x0002, 3, Query(Api::GetDriveStatus, DriveId(3))},
        {"drive's unit", 0x0002, 3, Query(Api::GetDriveUnitId, DriveId(3))},
        {"drive list", 0x0002, 3, Query(Api::GetDriveIdList, ctl)},
        {"connections, port list", 0x0002, 3, Query(Api::GetNumConnections, ctl)},
        {"connections, one drive", 0x0204, 26, Query(Api::GetNumConnections, ctl)},
        {"phy of a port", 0x0002, 3, Query(Api::GetPortPhyId, DriveId(3))},
        {"port list", 0x0403, 3, Query(Api::GetPortIdList, ctl)},
        {"unit list", 0x0003, 3, Query(Api::GetUnitIdList, ctl)},
        {"unit type", 0x0003, 3, Query(Api::GetUnitType, UnitId(0))},
        {"volume list", 0x0003, 3, Query(Api::GetUnitVolumeList, UnitId(0))},
        {"subunit list", 0x0300, 11, Query(Api::GetSubunitIdList, UnitId(0))},
        {"active drives", 0x0300, 11, Query(Api::GetNumActiveDrives, ctl)},
        {"link speed", 0x0203, 17, Query(Api::GetDriveLinkSpeedSupported, DriveId(3))},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ResetLibrary();
        Start(json::array({FamilyController(8, 37, {{"drives", drives}, {"units", units}})}),
              json::array({FailingRead(c.table, c.parameter)}));
        EXPECT_EQ(c.query(), -1);
        EXPECT_EQ(Record().controllerCode, 0x0204u);
        EXPECT_EQ(LastApiCode(), 0u);
    }
}

TEST_F(RhoskFaultsEmulated, AFailedStatusWordReadReadsAsNoBbu) {
    struct Case {
        const char* name;
        bool enabled;
        bool failing;
        int result;
        uint32_t mask;  // the bits of the word that are looked at
        uint32_t word;  // the preset 0xDEADBEEF stays on failure
        uint32_t api;
    } cases[] = {
        {"readable: a BBU without battery", true, false, 0, 0xC0000000u, 0x80000000u, 0},
        {"failing read", true, true, 0, 0xFFFFFFFFu, 0, 0},
        {"disabled", false, false, -1, 0xFFFFFFFFu, 0xDEADBEEFu, 90},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ResetLibrary();
        const json bbu = {{"present", true}, {"battery", false}, {"enabled", c.enabled}};
        Start(json::array({FamilyController(8, 37, {{"bbu", bbu}})}),
              c.failing ? json::array({FailingRead(0x0006, 2)}) : json::array());
        uint32_t word = 0xDEADBEEFu;
        EXPECT_EQ(Api::GetBbuStatusWord(integration::ControllerId(0), &word), c.result);
        EXPECT_EQ(word & c.mask, c.word);
        EXPECT_EQ(LastApiCode(), c.api);
        EXPECT_EQ(Record().controllerCode, c.failing ? 0x0204u : 0u);
        if (c.result == 0) {
            uint32_t present = 7;
            ASSERT_EQ(Api::IsBbuPresent(integration::ControllerId(0), &present), 0);
            EXPECT_EQ(present, c.failing ? 0u : 1u);
        }
    }
}

TEST_F(RhoskFaultsEmulated, ValuesOutOfRangeAreRefusedBeforeAnyRequest) {
    const ObjectId ctl = integration::ControllerId(0);
    uint16_t first = 0, second = 0;
    const int32_t rate0 = 0, rate6 = 6, rateNegative = -1;
    struct Case {
        const char* name;
        std::function<int()> call;
        uint32_t api;
    } cases[] = {
        {"rebuild slot 7", [&] { return Api::SetRebuildTask(ctl, 7, 0, 60); }, 122},
        {"rebuild slot 65535", [&] { return Api::SetRebuildTask(ctl, 0xFFFF, 0, 60); }, 122},
        {"verify slot 7", [&] { return Api::SetVerifyTask(ctl, 7, 0, 60); }, 122},
        {"self-test slot 7", [&] { return Api::SetSelftestTask(ctl, 7, 0); }, 122},
        {"read rebuild slot 7",
         [&] { return RhoskFamily::GetRebuildTask(ctl, 7, &first, &second); }, 122},
        {"read verify slot 7", [&] { return RhoskFamily::GetVerifyTask(ctl, 7, &first, &second); },
         122},
        {"read self-test slot 7", [&] { return RhoskFamily::GetSelftestTask(ctl, 7, &first); },
         122},
        {"rebuild mode 2", [&] { return Api::SetRebuildMode(ctl, 2); }, 122},
        {"verify mode 255", [&] { return Api::SetVerifyMode(ctl, 255); }, 122},
        {"rebuild rate 0", [&] { return Api::SetRebuildRate(ctl, &rate0); }, 45},
        {"verify rate 6", [&] { return Api::SetVerifyRate(ctl, &rate6); }, 45},
        {"rebuild rate -1", [&] { return Api::SetRebuildRate(ctl, &rateNegative); }, 45},
        {"stagger -1", [&] { return Api::SetStaggerTime(ctl, -1); }, 58},
        {"stagger -256 (low byte 0)", [&] { return Api::SetStaggerTime(ctl, -256); }, 58},
        {"stagger lowest", [&] { return Api::SetStaggerTime(ctl, INT_MIN); }, 58},
        {"stagger 61", [&] { return Api::SetStaggerTime(ctl, 61); }, 58},
    };
    emulator::EmulatedHost& host = Start(json::array({FamilyController(8, 37)}));
    const json before = HostController(host);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ClearTraffic();
        ApiError::Clear();
        EXPECT_EQ(c.call(), -1);
        EXPECT_EQ(LastApiCode(), c.api);
        // Only the route's own read of the firmware level may go out.
        for (const Access& a : ParamTraffic())
            EXPECT_EQ(a, (Access{kGet, 0x0402, 11, 4})) << Describe(a);
    }
    EXPECT_EQ(HostController(host), before);
    // The edges of the ranges are written.
    EXPECT_EQ(Api::SetStaggerTime(ctl, 0), 0);
    EXPECT_EQ(Api::SetRebuildTask(ctl, 6, 10, 60), 0);
    EXPECT_EQ(HostController(host)["settings"].value("stagger", -1), 0);
}

}  // namespace
}  // namespace rhosk_emulated::rhosk_faults_test
