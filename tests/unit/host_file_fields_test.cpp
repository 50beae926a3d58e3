// A host file with a field of the wrong type or out of range, or one that
// is not JSON, is refused in one line naming the file and the field, on the
// first load and on a reload after another process wrote it; the file
// stays as it was.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "emulator/emulated_host.h"
#include "emulator/host_store.h"
#include "platform/host_system.h"
#include "test_folder.h"

namespace host_file_fields_test {
namespace {

namespace fs = std::filesystem;
using nlohmann::json;

struct Row {
    const char* text;   // the host file
    const char* error;  // what follows "<file>: "
};

const Row kRows[] = {
    {R"({"format": 1, "machine": {"controllers": [{"units": [{"type": "raid1"}, {"type": 5}]}]}})",
     "machine.controllers[0].units[1].type: expected a text"},
    {R"({"format": 1, "machine": {"controllers": [{"drives": [{"port": 128}]}]}})",
     "machine.controllers[0].drives[0].port: 128 is out of range (0 to 127)"},
    {R"({"format": 1, "machine": {"controllers": [{"drives": [{"port": 1}, {"status": 256}]}]}})",
     "machine.controllers[0].drives[1].status: 256 is out of range (0 to 255)"},
    {R"({"format": 1, "machine": {"controllers": [{"units": [{"volumes": [10, -5]}]}]}})",
     "machine.controllers[0].units[0].volumes[1]: -5 is out of range (0 to 18446744073709551615)"},
    {R"({"format": 1, "machine": {"controllers": [{"units": [{"members": [0, "1"]}]}]}})",
     "machine.controllers[0].units[0].members[1]: expected a whole number or null"},
    {R"({"format": 1, "machine": {"controllers": [{"units": [{"progress": 40.5}]}]}})",
     "machine.controllers[0].units[0].progress: expected a whole number"},
    {R"({"format": 1, "machine": {"controllers": [{"units": [{"source": {"members": [200]}}]}]}})",
     "machine.controllers[0].units[0].source.members[0]: 200 is out of range (0 to 127)"},
    {R"({"format": 1, "machine": {"controllers": [{"new_drives": [{"capacity": "big"}]}]}})",
     "machine.controllers[0].new_drives[0].capacity: expected a whole number"},
    {R"({"format": 1, "machine": {"controllers": [{"enclosures": {"list": [{"fans": [{}, {"speed": "fast"}]}]}}]}})",
     "machine.controllers[0].enclosures.list[0].fans[1].speed: expected a whole number"},
    {R"({"format": 1, "machine": {"controllers": [{"enclosures": {"list": [{"sub_enclosures": [{"slots": 4}, {"slots": -1}]}]}}]}})",
     "machine.controllers[0].enclosures.list[0].sub_enclosures[1].slots: -1 is out of range (0 to "
     "255)"},
    {R"({"format": 1, "machine": {"controllers": [{"enclosures": {"list": [{"enclosure": true}]}}]}})",
     "machine.controllers[0].enclosures.list[0].enclosure: expected an object or false"},
    {R"({"format": 1, "machine": {"controllers": [{"events": ["degraded"]}]}})",
     "machine.controllers[0].events[0]: expected a whole number or an object"},
    {R"({"format": 1, "machine": {"controllers": [{"schedule": {"3": {"rebuild": {"start": 70000}}}}]}})",
     "machine.controllers[0].schedule.3.rebuild.start: 70000 is out of range (0 to 65535)"},
    {R"({"format": 1, "machine": {"controllers": [{"identity": 5}]}})",
     "machine.controllers[0].identity: expected an object"},
    {R"({"format": 1, "machine": {"controllers": "none"}})",
     "machine.controllers: expected a list"},
    {R"({"format": 1, "machine": {"administrator": "yes"}})",
     "machine.administrator: expected true or false"},
    {R"({"format": 1, "machine": {"disks": [{"target": 300}]}})",
     "machine.disks[0].target: 300 is out of range (0 to 255)"},
    {R"({"format": 1, "machine": {"registry": {"SYSTEM\\Kivra": {"Cache": "1"}}}})",
     "machine.registry.SYSTEM\\Kivra.Cache: expected a whole number"},
    {R"({"format": 1, "faults": [{"match": {"layer": "firmware", "opcode": "zz"}}]})",
     "faults[0].match.opcode: expected a whole number or a \"0x...\" text"},
    {R"({"format": 1, "faults": [{"match": {"layer": "os"}, "count": true}]})",
     "faults[0].count: expected a whole number or a text"},
    {R"({"format": 2})", "format: expected 1, not 2"},
    {R"({"machine": {}})", "format: missing"},
    {R"([1, 2])", "expected an object at the top level"},
    {"{\"format\": 1,\n \"machine\": {\n", "not valid JSON at line 3, column 1"},
    {"{\"format\": 1,\n \"size\": 2e2000}",
     "not valid JSON at line 2, column 10 (a number too large)"},
};

class HostFileFields : public ::testing::Test {
  protected:
    void SetUp() override {
        folder_ = FreshTestFolder("kv_host_fields");
        file_ = (folder_ / "host.json").string();
    }
    void TearDown() override {
        std::error_code ignored;
        fs::remove_all(folder_, ignored);
    }

    void write(const std::string& text) const { std::ofstream(file_, std::ios::binary) << text; }
    // Writes the file under the lock and counted, as another run would: the
    // host sees it with its next call, however soon that comes.
    void writeAsAnotherRun(const std::string& text) const {
        emulator::HostFileLock lock(file_);
        emulator::HostFileCopy copy;
        copy.countWrites(file_);
        copy.write(file_, text);
    }
    std::string contents() const {
        std::ifstream in(file_, std::ios::binary);
        std::ostringstream all;
        all << in.rdbuf();
        return all.str();
    }

    fs::path folder_;
    std::string file_;
};

TEST_F(HostFileFields, AFieldOfTheWrongTypeOrOutOfRangeIsNamedInOneLine) {
    for (const Row& row : kRows) {
        SCOPED_TRACE(row.text);
        write(row.text);
        try {
            (void)emulator::EmulatedHost::fromFile(file_);
            ADD_FAILURE() << "loaded";
        } catch (const platform::HostUnusable& e) {
            EXPECT_EQ(std::string(e.what()), file_ + ": " + row.error);
        }
        EXPECT_EQ(contents(), row.text);
    }
}

TEST_F(HostFileFields, AReloadAfterAnotherProcessWroteABadFieldIsRefusedTheSameWay) {
    write(emulator::EmulatedHost::defaultHost().dump(2));
    auto host = emulator::EmulatedHost::fromFile(file_);
    json state = emulator::EmulatedHost::defaultHost();
    state["machine"]["controllers"][0]["drives"][0]["port"] = "four";
    const std::string bad = state.dump(2);
    writeAsAnotherRun(bad);
    try {
        (void)host->getClassDevs(platform::InterfaceClass::StoragePort);
        ADD_FAILURE() << "reloaded";
    } catch (const platform::HostUnusable& e) {
        EXPECT_EQ(std::string(e.what()),
                  file_ + ": machine.controllers[0].drives[0].port: expected a whole number");
    }
    EXPECT_EQ(contents(), bad);
}

}  // namespace
}  // namespace host_file_fields_test
