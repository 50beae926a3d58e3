#include <gtest/gtest.h>

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

TEST(EmulatedHostMachine, PathsJoinWithSlash) {
    auto host = emulator::EmulatedHost::fromJson(machineWith(json::object()), "/tmp/h");
    char path[platform::kMaxPath] = "/tmp/h/ProgramData";
    ASSERT_TRUE(host->pathAppend(path, "Orvo"));
    EXPECT_STREQ(path, "/tmp/h/ProgramData/Orvo");
    ASSERT_TRUE(host->pathStripToRoot(path));
    EXPECT_STREQ(path, "/tmp/h");
}

}  // namespace
}  // namespace emulated_host_machine_test
