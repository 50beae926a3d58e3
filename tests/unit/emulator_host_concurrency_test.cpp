// Processes that change one host file at the same time (POSIX only: the
// test forks them).
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "emulator/emulated_host.h"
#include "platform/host_system.h"
#include "test_folder.h"

namespace emulator_host_concurrency_test {
namespace {

namespace fs = std::filesystem;
using emulator::EmulatedHost;

// Runs that change one host file at the same time take turns: each change
// lands on the latest version, and none is lost.
TEST(EmulatorHostConcurrency, ChangesOfManyProcessesAtOnceLoseNothing) {
    constexpr int kProcesses = 6;
    constexpr int kChanges = 15;
    const ScratchFolder folder("host_concurrency");
    const fs::path file = folder.path() / "host.json";
    (void)EmulatedHost::fromFile(file.string());
    const auto keyName = [](int process, int change) {
        return "SOFTWARE\\Kivra\\P" + std::to_string(process) + "C" + std::to_string(change);
    };
    std::vector<pid_t> children;
    for (int process = 0; process < kProcesses; ++process) {
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            int status = 0;
            try {
                auto host = EmulatedHost::fromFile(file.string());
                for (int change = 0; change < kChanges; ++change) {
                    platform::RegKey key = 0;
                    if (host->regCreateKey(keyName(process, change).c_str(), 0, &key) !=
                        platform::kErrorSuccess)
                        status = 1;
                    (void)host->regCloseKey(key);
                }
            } catch (...) {
                status = 2;
            }
            _exit(status);
        }
        children.push_back(child);
    }
    for (pid_t child : children) {
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    }
    const nlohmann::json registry =
        nlohmann::json::parse(std::ifstream(file))["machine"]["registry"];
    for (int process = 0; process < kProcesses; ++process) {
        for (int change = 0; change < kChanges; ++change)
            EXPECT_TRUE(registry.contains(keyName(process, change))) << keyName(process, change);
    }
}

}  // namespace
}  // namespace emulator_host_concurrency_test
