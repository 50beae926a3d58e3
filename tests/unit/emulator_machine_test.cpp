// The emulated Windows machine: device interfaces, disks and volumes,
// device removal, the registry, and the host file that keeps it all.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cctype>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "emulator/emulated_host.h"
#include "emulator/host_text.h"

namespace emulator_machine_test {
namespace {

using nlohmann::json;
namespace fs = std::filesystem;

// Two controllers, two unit disks under the first and one disk of another
// maker; two volumes on the first unit disk.
json machine() {
    json state = emulator::EmulatedHost::defaultHost();
    json& m = state["machine"];
    m["controllers"] = json::array({
        {{"device_type", 5}, {"ui_number", 4}, {"slot", 3}},
        {{"device_type", 1}},
        {{"device_type", 3}, {"present", false}},
        {{"device_type", 2}, {"instance_id", "PCI\\VEN_8086&DEV_2922\\3&11583659&0&FA"}},
    });
    m["disks"] = json::array({
        {{"controller", 0}, {"target", 0}, {"disk_number", 1}},
        {{"controller", 0},
         {"target", 1},
         {"disk_number", 2},
         {"needs_restart", true},
         {"disk_parameters_key", false}},
        {{"controller", -1}, {"target", 0}, {"disk_number", 0}, {"parent_dev_inst", 32}},
    });
    m["volumes"] = json::array({
        {{"name", "D:"}, {"extents", {{{"disk_number", 1}}}}},
        {{"name", "E:"},
         {"in_use", true},
         {"extents", {{{"disk_number", 1}}, {{"disk_number", 2}}}}},
    });
    return state;
}

struct Device {
    std::string path;
    std::string instanceId;
    platform::DeviceInfo info;
};

std::vector<Device> devices(emulator::EmulatedHost& host, platform::InterfaceClass cls,
                            platform::DevInfoSet* keep = nullptr) {
    platform::DevInfoSet set = host.getClassDevs(cls);
    std::vector<Device> list;
    char path[512];
    char id[512];
    platform::DeviceInfo info;
    for (uint32_t i = 0; host.enumDeviceInterfaces(set, i); ++i) {
        EXPECT_TRUE(host.getDeviceInterfaceDetail(set, i, path, sizeof path, &info));
        EXPECT_TRUE(host.getDeviceInstanceId(set, info, id, sizeof id));
        list.push_back({path, id, info});
    }
    if (keep != nullptr) {
        *keep = set;
    } else {
        host.destroyDeviceInfoList(set);
    }
    return list;
}

TEST(EmulatorMachine, StoragePortInterfacesOfPresentControllers) {
    auto host = emulator::EmulatedHost::fromJson(machine(), "/tmp");
    platform::DevInfoSet set = 0;
    std::vector<Device> ports = devices(*host, platform::InterfaceClass::StoragePort, &set);
    ASSERT_EQ(ports.size(), 3u);  // the absent controller is not listed
    EXPECT_EQ(ports[0].instanceId.rfind("PCI\\VEN_1D9F&DEV_1005", 0), 0u);
    EXPECT_EQ(ports[1].instanceId.rfind("PCI\\VEN_1D9F&DEV_1001", 0), 0u);
    EXPECT_EQ(ports[2].instanceId, "PCI\\VEN_8086&DEV_2922\\3&11583659&0&FA");
    EXPECT_EQ(ports[0].path.rfind("\\\\?\\pci#ven_1d9f&dev_1005", 0), 0u);
    EXPECT_NE(ports[0].path.find("#{2accfe60-c130-11d2-b082-00a0c91efb8b}"), std::string::npos);

    uint32_t ui = 0;
    EXPECT_TRUE(host->getUiNumber(set, ports[0].info, &ui));
    EXPECT_EQ(ui, 4u);
    EXPECT_FALSE(host->getUiNumber(set, ports[1].info, &ui));

    char small[16];
    EXPECT_FALSE(host->getDeviceInterfaceDetail(set, 0, small, sizeof small, nullptr));
    EXPECT_EQ(host->getLastError(), platform::kErrorInsufficientBuffer);
    EXPECT_FALSE(host->enumDeviceInterfaces(set, 3));
    EXPECT_EQ(host->getLastError(), platform::kErrorNoMoreItems);
    host->destroyDeviceInfoList(set);
}

TEST(EmulatorMachine, DisksAnswerAddressNumberAndParent) {
    auto host = emulator::EmulatedHost::fromJson(machine(), "/tmp");
    std::vector<Device> ports = devices(*host, platform::InterfaceClass::StoragePort);
    std::vector<Device> disks = devices(*host, platform::InterfaceClass::Disk);
    ASSERT_EQ(disks.size(), 3u);
    struct Expect {
        uint8_t target;
        uint32_t number;
        uint32_t parent;
    };
    const Expect expected[] = {
        {0, 1, ports[0].info.devInst}, {1, 2, ports[0].info.devInst}, {0, 0, 32}};
    for (size_t i = 0; i < disks.size(); ++i) {
        SCOPED_TRACE(i);
        platform::Handle h = host->createFile(disks[i].path.c_str(), platform::kGenericRead, 1);
        ASSERT_NE(h, platform::kInvalidHandle);
        uint8_t address[8] = {};
        uint32_t returned = 0;
        ASSERT_TRUE(host->deviceIoControl(h, 0x41018, nullptr, 0, address, 8, &returned));
        EXPECT_EQ(returned, 8u);
        EXPECT_EQ(address[6], expected[i].target);
        uint8_t number[12] = {};
        ASSERT_TRUE(host->deviceIoControl(h, 0x2D1080, nullptr, 0, number, 12, &returned));
        EXPECT_EQ(number[0], 7);  // FILE_DEVICE_DISK
        EXPECT_EQ(number[4], expected[i].number);
        EXPECT_FALSE(host->deviceIoControl(h, 0x2D1080, nullptr, 0, number, 8, &returned));
        EXPECT_TRUE(host->closeHandle(h));
        uint32_t parent = 0;
        ASSERT_TRUE(host->getParent(disks[i].info.devInst, &parent));
        EXPECT_EQ(parent, expected[i].parent);
    }
    EXPECT_FALSE(host->closeHandle(0x7777));
    EXPECT_EQ(host->getLastError(), platform::kErrorInvalidHandle);
    EXPECT_EQ(host->createFile("\\\\?\\nothing", 0, 0), platform::kInvalidHandle);
    EXPECT_EQ(host->getLastError(), platform::kErrorFileNotFound);
}

TEST(EmulatorMachine, VolumesReportExtentsAndLockOnlyWhenFree) {
    auto host = emulator::EmulatedHost::fromJson(machine(), "/tmp");
    std::vector<Device> volumes = devices(*host, platform::InterfaceClass::Volume);
    ASSERT_EQ(volumes.size(), 2u);
    uint8_t extents[272] = {};
    uint32_t returned = 0;
    platform::Handle e = host->createFile(volumes[1].path.c_str(), 0xC0000000u, 3);
    ASSERT_TRUE(host->deviceIoControl(e, 0x560000, nullptr, 0, extents, sizeof extents, &returned));
    EXPECT_EQ(returned, 8u + 2 * 24);
    EXPECT_EQ(extents[0], 2);
    EXPECT_EQ(extents[8], 1);
    EXPECT_EQ(extents[32], 2);
    // The volume in use refuses the lock.
    EXPECT_FALSE(host->deviceIoControl(e, 0x90018, nullptr, 0, nullptr, 0, &returned));
    EXPECT_EQ(host->getLastError(), platform::kErrorAccessDenied);
    // Too small for both extents: the count and "more data".
    EXPECT_FALSE(host->deviceIoControl(e, 0x560000, nullptr, 0, extents, 32, &returned));
    EXPECT_EQ(host->getLastError(), 234u);
    EXPECT_EQ(extents[0], 2);
    host->closeHandle(e);

    platform::Handle d = host->createFile(volumes[0].path.c_str(), 0xC0000000u, 3);
    platform::Handle d2 = host->createFile(volumes[0].path.c_str(), 0xC0000000u, 3);
    EXPECT_FALSE(host->deviceIoControl(d, 0x9001C, nullptr, 0, nullptr, 0, &returned));
    EXPECT_TRUE(host->deviceIoControl(d, 0x90018, nullptr, 0, nullptr, 0, &returned));
    EXPECT_FALSE(host->deviceIoControl(d2, 0x90018, nullptr, 0, nullptr, 0, &returned));
    EXPECT_TRUE(host->deviceIoControl(d, 0x90020, nullptr, 0, nullptr, 0, &returned));
    EXPECT_TRUE(host->deviceIoControl(d, 0x9001C, nullptr, 0, nullptr, 0, &returned));
    EXPECT_TRUE(host->deviceIoControl(d2, 0x90018, nullptr, 0, nullptr, 0, &returned));
    host->closeHandle(d);
    host->closeHandle(d2);
}

TEST(EmulatorMachine, RemovedDiskLeavesTheMachineAndMayNeedARestart) {
    auto host = emulator::EmulatedHost::fromJson(machine(), "/tmp");
    platform::DevInfoSet set = 0;
    std::vector<Device> disks = devices(*host, platform::InterfaceClass::Disk, &set);
    // The class installer needs the remove parameters first.
    EXPECT_FALSE(host->callClassInstallerRemove(set, disks[0].info));
    for (size_t i : {0u, 1u}) {
        ASSERT_TRUE(host->setRemoveInstallParams(set, disks[i].info));
        ASSERT_TRUE(host->callClassInstallerRemove(set, disks[i].info));
        uint32_t flags = 0xFFFF;
        ASSERT_TRUE(host->getDeviceInstallFlags(set, disks[i].info, &flags));
        EXPECT_EQ(flags, i == 0 ? 0u : platform::kDiNeedRestart);
    }
    host->destroyDeviceInfoList(set);
    std::vector<Device> left = devices(*host, platform::InterfaceClass::Disk);
    ASSERT_EQ(left.size(), 1u);
    EXPECT_EQ(left[0].instanceId, disks[2].instanceId);
}

TEST(EmulatorMachine, DiskParametersKeyHoldsTheCacheValue) {
    auto host = emulator::EmulatedHost::fromJson(machine(), "/tmp");
    std::vector<Device> disks = devices(*host, platform::InterfaceClass::Disk);
    const std::string enumKey = "SYSTEM\\CurrentControlSet\\Enum\\";
    std::string first = enumKey + disks[0].instanceId + "\\Device Parameters\\Disk";
    std::string second = enumKey + disks[1].instanceId + "\\Device Parameters\\Disk";

    platform::RegKey key = 0;
    ASSERT_EQ(host->regOpenKey(first.c_str(), platform::kKeyRead | platform::kKeyWrite, &key), 0u);
    EXPECT_EQ(host->regDeleteValue(key, "UserWriteCacheSetting"), platform::kErrorFileNotFound);
    EXPECT_EQ(host->regSetDword(key, "UserWriteCacheSetting", 1), 0u);
    EXPECT_EQ(host->regCloseKey(key), 0u);
    EXPECT_EQ(host->state()["machine"]["registry"][first]["UserWriteCacheSetting"], 1);

    // Keys compare without case.
    std::string lower = first;
    for (char& c : lower)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    ASSERT_EQ(host->regOpenKey(lower.c_str(), platform::kKeyAllAccess, &key), 0u);
    EXPECT_EQ(host->regDeleteValue(key, "UserWriteCacheSetting"), 0u);
    EXPECT_EQ(host->regCloseKey(key), 0u);
    EXPECT_EQ(host->regCloseKey(key), platform::kErrorInvalidHandle);

    // The second disk has "Device Parameters" but no "Disk" key until one
    // is created.
    EXPECT_EQ(host->regOpenKey(second.c_str(), platform::kKeyRead, &key),
              platform::kErrorFileNotFound);
    std::string parameters = second.substr(0, second.size() - 5);
    ASSERT_EQ(host->regOpenKey(parameters.c_str(), platform::kKeyRead, &key), 0u);
    host->regCloseKey(key);
    ASSERT_EQ(host->regCreateKey(second.c_str(), platform::kKeyAllAccess, &key), 0u);
    host->regCloseKey(key);
    EXPECT_EQ(host->regOpenKey(second.c_str(), platform::kKeyRead, &key), 0u);
}

// --- the host file ---

class EmulatorStore : public ::testing::Test {
  protected:
    void SetUp() override {
        folder_ = fs::temp_directory_path() /
                  ("kv_emulator_store_" + std::to_string(getpid()) + "_" +
                   ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder_);
        fs::create_directories(folder_);
        file_ = (folder_ / "host.json").string();
    }
    void TearDown() override { fs::remove_all(folder_); }

    void write(const json& state) { std::ofstream(file_) << state.dump(2); }
    json read() { return json::parse(std::ifstream(file_)); }

    fs::path folder_;
    std::string file_;
};

// A newer-family set of ControllerSettingsTable parameter `param` (1 byte).
bool setSetting(emulator::EmulatedHost& host, uint16_t param, uint8_t value) {
    std::vector<Device> ports = devices(host, platform::InterfaceClass::StoragePort);
    std::vector<uint8_t> b(28 + 152 + 512, 0);
    const uint8_t header[] = {28, 0, 0,    0,    '<', 'K',  'i', 'v', 'r', 'a', '>',  0,    60, 0,
                              0,  0, 0x00, 0xE0, 0,   0xF0, 0,   0,   0,   0,   0x98, 0x02, 0,  0};
    std::memcpy(b.data(), header, sizeof header);
    b[28 + 124] = 0x80;
    b[28 + 128] = 0x53;
    b[28 + 129] = 2;
    b[28 + 134] = 1;
    const uint8_t param8[] = {0x03, 0x84, static_cast<uint8_t>(param), 0, 1, 0, 0, 0, value};
    std::memcpy(b.data() + 180, param8, sizeof param8);
    platform::Handle h = host.createFile(ports.at(0).path.c_str(), 0xC0000000u, 3);
    uint32_t returned = 0;
    bool ok = host.deviceIoControl(h, 0x4D008, b.data(), 692, b.data(), 692, &returned);
    host.closeHandle(h);
    return ok && b[20] == 0 && b[23] == 0;
}

TEST_F(EmulatorStore, MissingFileIsCreatedFromTheDefaultHost) {
    auto host = emulator::EmulatedHost::fromFile(file_);
    json saved = read();
    EXPECT_EQ(saved["format"], 1);
    const json& controllers = saved["machine"]["controllers"];
    ASSERT_GE(controllers.size(), 3u);
    bool vantor37 = false, solvaneOrTevrin = false, prane = false;
    for (const json& c : controllers) {
        int64_t model = c["identity"].value("model_code", 0);
        int64_t level = c["identity"].value("compat_level", 0);
        vantor37 |= (model == 8 || model == 10) && level == 37;
        solvaneOrTevrin |= model == 6 || model == 7;
        prane |= c["device_type"] == 1;
    }
    EXPECT_TRUE(vantor37 && solvaneOrTevrin && prane);
    EXPECT_TRUE(saved["machine"]["administrator"].get<bool>());
}

TEST_F(EmulatorStore, WritesSurviveAReloadAndTwoHostsLoseNeither) {
    write(machine());
    auto first = emulator::EmulatedHost::fromFile(file_);
    auto second = emulator::EmulatedHost::fromFile(file_);
    // Both loaded the same file; each changes another setting.
    ASSERT_TRUE(setSetting(*first, 8, 17));
    ASSERT_TRUE(setSetting(*second, 7, 3));
    json settings = read()["machine"]["controllers"][0]["settings"];
    EXPECT_EQ(settings["stagger"], 17);
    EXPECT_EQ(settings["spinups"], 3);
    auto third = emulator::EmulatedHost::fromFile(file_);
    EXPECT_EQ(third->state()["machine"]["controllers"][0]["settings"]["stagger"], 17);
    // Leftovers of the atomic write are gone.
    for (const auto& entry : fs::directory_iterator(folder_)) {
        EXPECT_EQ(entry.path().string().find(".tmp"), std::string::npos) << entry.path();
    }
}

TEST_F(EmulatorStore, ParallelProcessesLoseNoChange) {
    write(machine());
    constexpr int kWriters = 4;
    std::vector<pid_t> children;
    for (int i = 0; i < kWriters; ++i) {
        pid_t pid = fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            auto host = emulator::EmulatedHost::fromFile(file_);
            // Spin-ups, stagger, AV mode, export-JBOD policy: one each.
            const uint16_t params[] = {7, 8, 10, 17};
            _exit(setSetting(*host, params[i], static_cast<uint8_t>(40 + i)) ? 0 : 1);
        }
        children.push_back(pid);
    }
    for (pid_t pid : children) {
        int status = 0;
        waitpid(pid, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    json settings = read()["machine"]["controllers"][0]["settings"];
    EXPECT_EQ(settings["spinups"], 40);
    EXPECT_EQ(settings["stagger"], 41);
    EXPECT_EQ(settings["av_mode"], 42);
    EXPECT_EQ(settings["export_jbod"], 43);
}

TEST_F(EmulatorStore, RequestLogHasOneLinePerOpenRequestAndClose) {
    json state = machine();
    state["request_log"] = "requests.jsonl";
    write(state);
    auto host = emulator::EmulatedHost::fromFile(file_);
    ASSERT_TRUE(setSetting(*host, 8, 9));
    ASSERT_FALSE(setSetting(*host, 3, 9));  // read-only: the number of ports
    std::ifstream log(folder_ / "requests.jsonl");
    std::vector<json> lines;
    for (std::string line; std::getline(log, line);)
        lines.push_back(json::parse(line));
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(lines[0]["op"], "open");
    EXPECT_EQ(lines[0]["controller"], 0);
    EXPECT_EQ(lines[1]["op"], "request");
    EXPECT_EQ(lines[1]["kind"], "firmware");
    EXPECT_EQ(lines[1]["opcode"], 0x13);
    EXPECT_EQ(lines[1]["table"], 0x403);
    EXPECT_EQ(lines[1]["parameter"], 8);
    EXPECT_EQ(lines[1]["size"], 1);
    EXPECT_EQ(lines[1]["result"], "ok");
    EXPECT_EQ(lines[1]["handle"], lines[0]["handle"]);
    EXPECT_EQ(lines[2]["op"], "close");
    EXPECT_EQ(lines[2]["handle"], lines[0]["handle"]);
    EXPECT_EQ(lines[4]["result"], "firmware_error");
    EXPECT_EQ(lines[4]["error"], 0x800601D2u);
}

// A path of any bytes (a volume named in the ANSI code page) is logged
// with the host file's stand-ins, and the line reads back as the path.
TEST_F(EmulatorStore, RequestLogTakesAPathOfAnyBytes) {
    json state = machine();
    state["request_log"] = "requests.jsonl";
    write(state);
    auto host = emulator::EmulatedHost::fromFile(file_);
    const std::string path = "\\\\.\\B\xfcro:";
    EXPECT_EQ(host->createFile(path.c_str(), 0xC0000000u, 3), platform::kInvalidHandle);
    std::ifstream log(folder_ / "requests.jsonl");
    std::string line;
    ASSERT_TRUE(std::getline(log, line));
    EXPECT_NE(line.find("B\\udbff\\udffcro"), std::string::npos) << line;
    json record = json::parse(line);
    emulator::restoreTextBytes(record, line);
    EXPECT_EQ(record["path"], path);
}

// The bytes of each controller request join its log record only when the
// host file asks for them, each field cut to the bound; what the caller
// did not get back is not shown as received.
TEST_F(EmulatorStore, RequestLogShowsTheBytesOnlyWhenAsked) {
    // The stagger write of setSetting: packet 0x53 with 1 at byte 6; data
    // the table, the parameter, the size 1 and the value.
    const std::string packet = "530200000000010000000000" + std::string(24, '0');
    const std::string data = "038408000100000009" + std::string(1024 - 18, '0');
    const json none = json::array();
    const json lost = {
        {{"match", {{"layer", "driver"}, {"kind", "firmware"}}}, {"action", {{"os_error", 31}}}}};
    const json shortReply = {{{"match", {{"layer", "driver"}, {"kind", "firmware"}}},
                              {"action", {{"short_reply", 100}}}}};
    struct Case {
        const char* name;
        json option;  // "request_log_data"; null: not given
        json faults;
        json packet, sent, received;  // null: no such field
    };
    const Case cases[] = {
        {"not given", nullptr, none, nullptr, nullptr, nullptr},
        {"false", false, none, nullptr, nullptr, nullptr},
        {"0", 0, none, nullptr, nullptr, nullptr},
        {"true: 1024 bytes, the whole sector", true, none, packet, data, data},
        {"a bound of 4 bytes", 4, none, "53020000", "03840800", "03840800"},
        {"a request that fails without its reply", 4, lost, "53020000", "03840800", nullptr},
        {"a reply cut short before its data", 4, shortReply, "53020000", "03840800", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        json state = machine();
        state["request_log"] = "requests.jsonl";
        if (!c.option.is_null())
            state["request_log_data"] = c.option;
        state["faults"] = c.faults;
        write(state);
        fs::remove(folder_ / "requests.jsonl");
        auto host = emulator::EmulatedHost::fromFile(file_);
        (void)setSetting(*host, 8, 9);
        std::ifstream log(folder_ / "requests.jsonl");
        json request;
        for (std::string line; std::getline(log, line);) {
            json record = json::parse(line);
            if (record["op"] == "request")
                request = record;
        }
        ASSERT_TRUE(request.is_object());
        for (const char* field : {"packet", "sent", "received"}) {
            const json& want = field == std::string("packet") ? c.packet
                               : field == std::string("sent") ? c.sent
                                                              : c.received;
            EXPECT_EQ(request.value(field, json()), want) << field;
        }
        EXPECT_FALSE(request.contains("cdb"));
    }
}

}  // namespace
}  // namespace emulator_machine_test
