#include <gtest/gtest.h>

#include <string>

#include "emulator/emulated_host.h"

namespace emulated_host_machine_test {
namespace {

using nlohmann::json;

json machineWith(const json& facts) {
    json state = emulator::EmulatedHost::defaultHost();
    if (facts.is_object())
        state["machine"].update(facts);
    return state;
}

TEST(EmulatedHostMachine, ComputerNameShortAndFullyQualified) {
    auto host = emulator::EmulatedHost::fromJson(
        machineWith({{"host_name", "node7"}, {"domain", "lab.example"}}), "/tmp");
    char name[64];
    uint32_t size = sizeof name;
    ASSERT_TRUE(host->getComputerNameEx(true, name, &size));
    EXPECT_STREQ(name, "node7.lab.example");
    EXPECT_EQ(size, 17u);
    size = sizeof name;
    ASSERT_TRUE(host->getComputerNameEx(false, name, &size));
    EXPECT_STREQ(name, "node7");
}

TEST(EmulatedHostMachine, ComputerNameThatDoesNotFitFails) {
    auto host =
        emulator::EmulatedHost::fromJson(machineWith({{"host_name", "averylongname"}}), "/tmp");
    char name[4];
    uint32_t size = sizeof name;
    EXPECT_FALSE(host->getComputerNameEx(false, name, &size));
    EXPECT_EQ(size, 14u);
}

// The emulated machine's folders are the folders of the system the program
// runs on: Windows paths join with a backslash, as PathAppendA joins them;
// Linux paths join with a slash.
#ifdef _WIN32
const std::string kFolder = "C:\\h";
const std::string kSeparator = "\\";
#else
const std::string kFolder = "/tmp/h";
const std::string kSeparator = "/";
#endif

TEST(EmulatedHostMachine, PathsJoinWithTheSystemsSeparator) {
    struct Case {
        std::string path, more, joined;
    };
    const std::string data = kFolder + kSeparator + "ProgramData";
    const Case cases[] = {
        {data, "Orvo", data + kSeparator + "Orvo"},
        {data + kSeparator, "Orvo", data + kSeparator + "Orvo"},
        {data, kSeparator + "Orvo", data + kSeparator + "Orvo"},
        {data, "", data},
    };
    auto host = emulator::EmulatedHost::fromJson(machineWith(json::object()), kFolder);
    for (const Case& c : cases) {
        char path[platform::kMaxPath] = {};
        c.path.copy(path, sizeof path - 1);
        ASSERT_TRUE(host->pathAppend(path, c.more.c_str())) << c.path << " + " << c.more;
        EXPECT_EQ(path, c.joined) << c.path << " + " << c.more;
    }
}

TEST(EmulatedHostMachine, PathsInsideTheHostFolderHaveItAsTheirRoot) {
    const std::string inside[] = {kFolder + kSeparator + "Windows", kFolder};
    auto host = emulator::EmulatedHost::fromJson(machineWith(json::object()), kFolder);
    for (const std::string& each : inside) {
        char path[platform::kMaxPath] = {};
        each.copy(path, sizeof path - 1);
        ASSERT_TRUE(host->pathStripToRoot(path)) << each;
        EXPECT_EQ(path, kFolder) << each;
    }
    char outside[platform::kMaxPath] = {};
    (kFolder + "x" + kSeparator + "Windows").copy(outside, sizeof outside - 1);
    ASSERT_TRUE(host->pathStripToRoot(outside));
    EXPECT_EQ(outside, kSeparator);
}

}  // namespace
}  // namespace emulated_host_machine_test
