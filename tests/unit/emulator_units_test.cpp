// The emulated newer-family firmware's ports, drives, units, settings,
// schedules and battery, read and written through hand-built requests.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "emulator/emulated_host.h"
#include "emulator_requests.h"

namespace emulator_units_test {
namespace {

using namespace emulator_requests;

constexpr uint16_t kUnitTable = 0x8300;
constexpr uint16_t kDriveTable = 0x8200;

json drive(unsigned port, uint64_t capacity = 1000) {
    return {{"port", port}, {"capacity", capacity}, {"model", "Torvex TX1000-S7"}};
}

// One controller at compatibility level 37 with 20 ports: drives on ports
// 0-18 but 15, and one unit of each shape the firmware lays out.
json unitsHost() {
    json state = emulator::EmulatedHost::defaultHost();
    json drives = json::array();
    for (unsigned p = 0; p < 19; ++p) {
        if (p != 15)
            drives.push_back(drive(p, p == 4 ? 900 : 1000));
    }
    json units = json::array({
        {{"number", 0},
         {"type", "raid10"},
         {"members", {0, 1, 2, 3}},
         {"subunits",
          {{{"state", "degraded"}, {"member", 1}},
           {{"state", "rebuilding"}, {"progress", 50}, {"member", 0}}}}},
        {{"number", 1}, {"type", "raid50"}, {"stripe", 9}, {"members", {4, 5, 6, 7, 8, 9}}},
        {{"number", 2},
         {"type", "raid6"},
         {"stripe", 5},
         {"members", {10, 11, 12, 13}},
         {"state", "degraded"},
         {"member", 2},
         {"extension", {{"state", "rebuilding"}, {"progress", 25}, {"member", 3}}}},
        {{"number", 3}, {"type", "raid5"}, {"members", {14, nullptr, 15}}, {"state", "degraded"}},
        {{"number", 4},
         {"type", "raid1"},
         {"members", {16, 17}},
         {"state", "initializing"},
         {"progress", 30},
         {"paused", true},
         {"volumes", {600, 400}}},
        {{"number", 6}, {"type", "spare"}, {"members", {18}}},
        {{"number", 7}, {"type", "single"}, {"members", {19}}, {"os_visible", false}},
    });
    json controller = {{"device_type", 5},
                       {"identity", {{"compat_level", 37}, {"model_code", 8}}},
                       {"settings", {{"ports", 20}}},
                       {"drives", drives},
                       {"units", units},
                       {"bbu", json::object()}};
    state["machine"]["controllers"] = json::array({controller});
    state["machine"]["disks"] = json::array();
    return state;
}

// One UnitDescriptor as the walk reads it.
struct Row {
    uint8_t children, type, stripe, member, status;
    uint16_t task;
    uint32_t capacity;
    uint8_t extensions, initialised;
};

class EmulatorUnits : public EmulatedControllers {
  protected:
    void SetUp() override { open(unitsHost()); }

    // Reads a parameter of controller 0; its ReturnCode in *code.
    Bytes get(uint16_t table, uint16_t param, uint16_t size, uint32_t* code = nullptr) {
        Bytes b = rhoskParam(0x52, table, param, size);
        EXPECT_TRUE(send(0, b));
        if (code != nullptr)
            *code = get32(b, 20);
        else
            EXPECT_EQ(get32(b, 20), 0u) << std::hex << table << " " << param;
        return Bytes(b.begin() + kParamValue, b.begin() + kParamValue + size);
    }
    uint64_t number(uint16_t table, uint16_t param, uint16_t size) {
        return getLe(get(table, param, size), 0, size);
    }
    uint32_t set(uint16_t table, uint16_t param, const Bytes& value) {
        Bytes b = rhoskParam(0x53, table, param, static_cast<uint16_t>(value.size()), value);
        EXPECT_TRUE(send(0, b));
        return get32(b, 20);
    }
    // The UnitDescriptor array of `unit` holds exactly `rows`.
    void expectDescriptors(uint8_t unit, const std::vector<Row>& rows) {
        uint16_t table = kUnitTable + unit;
        uint16_t count = static_cast<uint16_t>(number(table, 9, 2));
        ASSERT_EQ(count, rows.size());
        ASSERT_EQ(number(table, 10, 1), 20u);
        Bytes d = get(table, 11, static_cast<uint16_t>(count * 20));
        for (size_t i = 0; i < rows.size(); ++i) {
            SCOPED_TRACE(i);
            const Row& r = rows[i];
            size_t at = i * 20;
            EXPECT_EQ(d[at], r.children);
            EXPECT_EQ(d[at + 1], r.type);
            EXPECT_EQ(d[at + 2], r.stripe);
            EXPECT_EQ(d[at + 3], r.member);
            EXPECT_EQ(d[at + 5], r.status);
            EXPECT_EQ(getLe(d, at + 6, 2), r.task);
            EXPECT_EQ(getLe(d, at + 12, 4), r.capacity);
            EXPECT_EQ(d[at + 18], r.extensions);
            EXPECT_EQ(d[at + 19], r.initialised);
        }
    }
};

TEST_F(EmulatorUnits, DescriptorArraysLayOutEachUnitInPreOrder) {
    const uint16_t running = 0x8000;
    struct Case {
        const char* name;
        uint8_t unit;
        std::vector<Row> rows;
    };
    const Case cases[] = {
        {"RAID-10: a RAID-0 over two RAID-1, one degraded, one rebuilding",
         0,
         {{2, 0, 7, 0, 239, 0, 2000, 0, 0x80},
          {2, 2, 0, 1, 239, 0, 1000, 0, 0x80},
          {0, 12, 0, 0, 255, 0, 1000, 0, 0x80},
          {0, 12, 0, 1, 255, 0, 1000, 0, 0x80},
          {2, 2, 0, 0, 223, running | 512, 1000, 0, 0x80},
          {0, 12, 0, 2, 255, 0, 1000, 0, 0x80},
          {0, 12, 0, 3, 255, 0, 1000, 0, 0x80}}},
        {"RAID-50: the smallest member sizes its RAID-5 element",
         1,
         {{2, 0, 9, 0, 255, 0, 3800, 0, 0x80},
          {3, 5, 9, 0, 255, 0, 1800, 0, 0x80},
          {0, 12, 0, 4, 255, 0, 900, 0, 0x80},
          {0, 12, 0, 5, 255, 0, 1000, 0, 0x80},
          {0, 12, 0, 6, 255, 0, 1000, 0, 0x80},
          {3, 5, 9, 0, 255, 0, 2000, 0, 0x80},
          {0, 12, 0, 7, 255, 0, 1000, 0, 0x80},
          {0, 12, 0, 8, 255, 0, 1000, 0, 0x80},
          {0, 12, 0, 9, 255, 0, 1000, 0, 0x80}}},
        {"RAID-6: the extension descriptor follows before the drives",
         2,
         {{4, 7, 5, 2, 239, 0, 2000, 1, 0x80},
          {0, 0x30, 0, 3, 223, running | 256, 2000, 0, 0x80},
          {0, 12, 0, 10, 255, 0, 1000, 0, 0x80},
          {0, 12, 0, 11, 255, 0, 1000, 0, 0x80},
          {0, 12, 0, 12, 255, 0, 1000, 0, 0x80},
          {0, 12, 0, 13, 255, 0, 1000, 0, 0x80}}},
        {"degraded RAID-5: the missing member has port 255 and status 0",
         3,
         {{3, 5, 7, 1, 239, 0, 2000, 0, 0x80},
          {0, 12, 0, 14, 255, 0, 1000, 0, 0x80},
          {0, 12, 0, 255, 0, 0, 0, 0, 0x80},
          {0, 12, 0, 15, 0, 0, 0, 0, 0x80}}},
        {"paused initialisation: progress without the running bit, not initialised",
         4,
         {{2, 2, 0, 0, 247, 308, 1000, 0, 0},
          {0, 12, 0, 16, 255, 0, 1000, 0, 0x80},
          {0, 12, 0, 17, 255, 0, 1000, 0, 0x80}}},
        {"spare: one descriptor that is its own drive", 6, {{0, 13, 0, 18, 255, 0, 1000, 0, 0x80}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        expectDescriptors(c.unit, c.rows);
    }
    // The descriptor array travels only with its exact size.
    uint32_t code = 0;
    get(kUnitTable + 2, 11, 100, &code);
    EXPECT_EQ(code, 0x8006010Fu);
}

// RAID-6 units with any number of extension elements, a migrating unit
// over three layouts, and an element that reports another type code.
TEST_F(EmulatorUnits, ExtensionsLayoutsAndTypeCodesOfAnyShape) {
    json state = unitsHost();
    state["machine"]["controllers"][0]["units"] = json::array({
        {{"number", 0},
         {"type", "raid6"},
         {"stripe", 5},
         {"members", {10, 11, 12, 13, 14}},
         {"state", "degraded"},
         {"member", 1},
         {"extensions",
          {{{"state", "rebuilding"}, {"progress", 20}, {"member", 2}, {"paused", true}},
           {{"state", "verifying"}, {"progress", 60}}}}},
        {{"number", 1},
         {"type", "raid6"},
         {"members", {5, 6, 7, 8, 9}},
         {"extensions", json::array()}},
        {{"number", 2},
         {"type", "migrating"},
         {"layouts",
          {{{"type", "raid1"}, {"members", {0, 1}}},
           {{"type", "raid5"}, {"members", {0, 1, 2}}},
           {{"type", "single"}, {"members", {3}}}}}},
        {{"number", 3},
         {"type", "raid10"},
         {"members", {16, 17, 18, 4}},
         {"subunits", {{{"code", 1}}, json::object()}}},
    });
    open(state);
    const uint16_t running = 0x8000;
    expectDescriptors(0, {{5, 7, 5, 1, 239, 0, 3000, 2, 0x80},
                          {0, 0x30, 0, 2, 223, 205, 3000, 0, 0x80},
                          {0, 0x30, 0, 0, 251, running | 615, 3000, 0, 0x80},
                          {0, 12, 0, 10, 255, 0, 1000, 0, 0x80},
                          {0, 12, 0, 11, 255, 0, 1000, 0, 0x80},
                          {0, 12, 0, 12, 255, 0, 1000, 0, 0x80},
                          {0, 12, 0, 13, 255, 0, 1000, 0, 0x80},
                          {0, 12, 0, 14, 255, 0, 1000, 0, 0x80}});
    expectDescriptors(1, {{5, 7, 7, 0, 255, 0, 3000, 0, 0x80},
                          {0, 12, 0, 5, 255, 0, 1000, 0, 0x80},
                          {0, 12, 0, 6, 255, 0, 1000, 0, 0x80},
                          {0, 12, 0, 7, 255, 0, 1000, 0, 0x80},
                          {0, 12, 0, 8, 255, 0, 1000, 0, 0x80},
                          {0, 12, 0, 9, 255, 0, 1000, 0, 0x80}});
    expectDescriptors(2, {{3, 0x20, 0, 0, 175, running, 1000, 0, 0x80},
                          {2, 2, 0, 0, 255, 0, 1000, 0, 0x80},
                          {0, 12, 0, 0, 255, 0, 1000, 0, 0x80},
                          {0, 12, 0, 1, 255, 0, 1000, 0, 0x80},
                          {3, 5, 7, 0, 255, 0, 2000, 0, 0x80},
                          {0, 12, 0, 0, 255, 0, 1000, 0, 0x80},
                          {0, 12, 0, 1, 255, 0, 1000, 0, 0x80},
                          {0, 12, 0, 2, 255, 0, 1000, 0, 0x80},
                          {0, 11, 0, 3, 255, 0, 1000, 0, 0x80}});
    expectDescriptors(3, {{2, 0, 7, 0, 255, 0, 1900, 0, 0x80},
                          {2, 1, 0, 0, 255, 0, 1000, 0, 0x80},
                          {0, 12, 0, 16, 255, 0, 1000, 0, 0x80},
                          {0, 12, 0, 17, 255, 0, 1000, 0, 0x80},
                          {2, 2, 0, 0, 255, 0, 900, 0, 0x80},
                          {0, 12, 0, 18, 255, 0, 1000, 0, 0x80},
                          {0, 12, 0, 4, 255, 0, 900, 0, 0x80}});
    // The migrating unit is as large as its first layout, becomes its
    // second, and holds the drives of all three.
    EXPECT_EQ(number(kUnitTable + 2, 12, 8), 1000u);
    EXPECT_EQ(number(kUnitTable + 2, 19, 8), 2000u);
    EXPECT_EQ(number(kDriveTable + 3, 11, 1), 2u);
}

TEST_F(EmulatorUnits, SummariesDriveUnitNumbersAndVolumesFollowTheUnits) {
    Bytes ports = get(0x8002, 3, 128);
    EXPECT_EQ(ports[0], 255);
    EXPECT_EQ(ports[15], 0) << "an empty port";
    EXPECT_EQ(ports[19], 0) << "a unit member without a drive";
    EXPECT_EQ(number(0x8002, 2, 2), 18u);
    Bytes units = get(0x8003, 3, 32);
    for (size_t u = 0; u < 32; ++u)
        EXPECT_EQ(units[u] != 0, u <= 4 || u == 6 || u == 7) << u;

    const std::pair<uint16_t, uint8_t> holders[] = {{0, 0},  {3, 0},  {9, 1},
                                                    {13, 2}, {14, 3}, {18, 6}};
    for (auto [port, unit] : holders)
        EXPECT_EQ(number(kDriveTable + port, 11, 1), unit) << port;

    EXPECT_EQ(number(kUnitTable + 1, 12, 8), 3800u);
    EXPECT_EQ(number(kUnitTable + 4, 16, 1), 2u);
    Bytes volumes = get(kUnitTable + 4, 25, 40);
    EXPECT_EQ(volumes[1], 0x80);
    EXPECT_EQ(volumes[20 + 1], 0x80);
    EXPECT_EQ(volumes[20 + 2], 1);
    EXPECT_EQ(getLe(volumes, 20 + 4, 8), 600u) << "the second volume starts after the first";
    EXPECT_EQ(getLe(volumes, 20 + 12, 8), 400u);
    EXPECT_EQ(number(kUnitTable + 0, 16, 1), 1u);
    EXPECT_EQ(getLe(get(kUnitTable + 0, 25, 20), 12, 8), 2000u) << "one volume: the whole unit";

    uint32_t code = 0;
    get(kUnitTable + 5, 12, 8, &code);
    EXPECT_EQ(code, 0x8006010Bu) << "a free unit number has no table";
}

TEST_F(EmulatorUnits, ParametersFollowTheCompatibilityLevel) {
    struct Case {
        uint32_t level;
        uint16_t table;
        uint16_t param;
        uint16_t size;
        bool exists;
    };
    const Case cases[] = {
        {37, kDriveTable, 23, 8, true}, {32, kDriveTable, 23, 8, false},
        {32, kDriveTable, 2, 4, true},  {36, kUnitTable, 27, 1, true},
        {35, kUnitTable, 27, 1, false}, {35, kUnitTable, 28, 1, false},
    };
    for (const Case& c : cases) {
        json state = unitsHost();
        state["machine"]["controllers"][0]["identity"]["compat_level"] = c.level;
        open(state);
        uint32_t code = 0;
        get(c.table, c.param, c.size, &code);
        EXPECT_EQ(code, c.exists ? 0u : 0x8006010Cu) << c.level << " " << c.param;
    }
}

TEST_F(EmulatorUnits, BatteryStatusWordAndStatusCodes) {
    struct Case {
        const char* name;
        json bbu;
        uint32_t word;
        uint8_t status;
    };
    const uint32_t present = 0x80000000u, battery = 0x40000000u, ready = 8;
    const Case cases[] = {
        {"healthy", json::object(), present | battery | ready, 0},
        {"charging, voltage too low, warm",
         {{"ready", false}, {"voltage", "TooLow"}, {"temperature", "High"}, {"status", "Charging"}},
         present | battery | 3 << 4 | 2 << 8,
         4},
        {"no battery in it", {{"battery", false}, {"status", "NoBattery"}}, present | ready, 2},
        {"failed, voltage too high, by number",
         {{"status", 8}, {"voltage", 4}},
         present | battery | ready | 4 << 4,
         8},
        {"no BBU", nullptr, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        json state = unitsHost();
        if (c.bbu.is_null())
            state["machine"]["controllers"][0].erase("bbu");
        else
            state["machine"]["controllers"][0]["bbu"] = c.bbu;
        open(state);
        EXPECT_EQ(number(0x8006, 2, 4), c.word);
        EXPECT_EQ(number(0x8006, 65, 1), c.status);
    }
    EXPECT_EQ(set(0x8006, 64, {0}), 0u);
    EXPECT_EQ(number(0x8006, 64, 1), 0u);
}

TEST_F(EmulatorUnits, TaskRatesAndScheduleSlots) {
    EXPECT_EQ(number(0x840C, 5, 1), 120u) << "rate 3 by default";
    EXPECT_EQ(set(0x840C, 5, {220}), 0u);
    EXPECT_EQ(host_->state()["machine"]["controllers"][0]["tasks"]["rebuild_rate"], 1);
    EXPECT_EQ(number(0x840C, 5, 1), 220u);
    EXPECT_EQ(set(0x840C, 6, {100}), 0x8006010Du) << "not a rate value";
    EXPECT_EQ(number(0x840C, 6, 1), 120u);

    for (uint16_t slot = 0; slot < 7; ++slot) {
        EXPECT_EQ(number(0x8410 + slot, 2, 2), slot * 1440u) << slot;
        EXPECT_EQ(number(0x8410 + slot, 4, 4), slot * 1440u | 1440u << 16) << slot;
    }
    EXPECT_EQ(set(0x8412, 3, {0x10, 0x27, 0x3C, 0x00}), 0u);  // start 10000, 60 minutes
    EXPECT_EQ(number(0x8412, 3, 4), 10000u | 60u << 16);
    uint32_t code = 0;
    get(0x8417, 2, 2, &code);
    EXPECT_EQ(code, 0x8006010Bu) << "there are seven slots";
}

TEST_F(EmulatorUnits, WindowsSeesOneDiskPerVolumeOfEachVisibleUnit) {
    platform::DevInfoSet set = host_->getClassDevs(platform::InterfaceClass::Disk);
    std::vector<uint8_t> targets;
    char path[512];
    platform::DeviceInfo info;
    for (uint32_t i = 0; host_->getDeviceInterfaceDetail(set, i, path, sizeof path, &info); ++i) {
        platform::Handle h = host_->createFile(path, platform::kGenericRead, 1);
        uint8_t address[8] = {};
        uint32_t returned = 0;
        ASSERT_TRUE(host_->deviceIoControl(h, 0x41018, nullptr, 0, address, 8, &returned));
        EXPECT_TRUE(host_->closeHandle(h));
        targets.push_back(address[6]);
        uint32_t parent = 0;
        ASSERT_TRUE(host_->getParent(info.devInst, &parent));
        EXPECT_EQ(parent, 0x100u);
    }
    host_->destroyDeviceInfoList(set);
    // Units 0-4; unit 4 has two volumes; no disk for the spare (6) or the
    // hidden unit (7).
    EXPECT_EQ(targets, (std::vector<uint8_t>{0, 1, 2, 3, 4, 4}));
}

TEST(EmulatorUnitsStore, ParameterWritesSurviveAReload) {
    std::filesystem::path folder =
        std::filesystem::temp_directory_path() /
        ("kv_units_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()));
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    std::string file = (folder / "host.json").string();
    { std::ofstream(file) << unitsHost().dump(); }
    auto setAndReload = [&](uint16_t table, uint16_t param, const Bytes& value) {
        {
            auto host = emulator::EmulatedHost::fromFile(file);
            Bytes b = rhoskParam(0x53, table, param, static_cast<uint16_t>(value.size()), value);
            ASSERT_EQ(sendTo(*host, 0, b), 0u);
        }
        auto host = emulator::EmulatedHost::fromFile(file);
        Bytes b = rhoskParam(0x52, table, param, static_cast<uint16_t>(value.size()));
        ASSERT_EQ(sendTo(*host, 0, b), 0u);
        EXPECT_EQ(Bytes(b.begin() + kParamValue, b.begin() + kParamValue + value.size()), value)
            << std::hex << table << " " << param;
    };
    // Names are bytes: each byte value from 1 to 255 (20 to a name), a
    // Latin-1 name, and bytes that look like stand-ins or cut UTF-8.
    std::vector<std::string> names = {"payroll", "B\xfcro", "\xf4\x8f\xbf\xbc", "caf\xc3",
                                      "\xed\xa0\x80\xc0\xaf"};
    for (int first = 1; first < 256; first += 20) {
        std::string name;
        for (int byte = first; byte < first + 20 && byte < 256; ++byte)
            name.push_back(static_cast<char>(byte));
        names.push_back(name);
    }
    for (const std::string& text : names) {
        Bytes name(21, 0);
        std::memcpy(name.data(), text.data(), text.size());
        setAndReload(kUnitTable + 1, 17, name);
    }
    setAndReload(kUnitTable + 1, 13, {0x05});
    setAndReload(0x840C, 6, {20});
    setAndReload(0x8415, 4, {0x00, 0x01, 0x78, 0x00});
    std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace emulator_units_test
