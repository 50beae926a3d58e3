#include "test_support.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "api/api_error.h"
#include "api/driver.h"
#include "api/os/os_layer.h"
#include "emulator/emulated_host.h"
#include "platform/host_system.h"

namespace test_support {

std::string Cli(int code) {
    return KV_Exception(code).getMessage();
}

void ResetLibrary() {
    TheDriver().Reset();
    OsLayer::ResetProcessState();
    ApiError::Clear();
}

emulator::EmulatedHost& InstallEmulatedHost(const nlohmann::json& state) {
    ResetLibrary();
    auto host = emulator::EmulatedHost::fromJson(state, ::testing::TempDir());
    emulator::EmulatedHost& installed = *host;
    platform::SetHost(std::move(host));
    return installed;
}

std::vector<std::string> FixtureHostTexts() {
    const char* fixtures = std::getenv("KV_TEST_FIXTURES");
    EXPECT_NE(fixtures, nullptr) << "KV_TEST_FIXTURES names no folder";
    std::vector<std::string> texts;
    if (fixtures == nullptr)
        return texts;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(fixtures)) {
        if (entry.path().extension() != ".json")
            continue;
        std::ifstream in(entry.path(), std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        EXPECT_FALSE(text.str().empty()) << entry.path() << " cannot be read or is empty";
        texts.push_back(text.str());
    }
    // A folder without host files would leave the callers nothing to check.
    EXPECT_FALSE(texts.empty()) << fixtures << " holds no host file";
    return texts;
}

void ControllerMgrTest::TearDown() {
    mgr.reset();
    ResetLibrary();
    platform::SetHost(nullptr);
}

ControllerMgr& ControllerMgrTest::Discover(const nlohmann::json& machine) {
    mgr.reset();
    InstallEmulatedHost(machine);
    mgr = std::make_unique<ControllerMgr>();
    return *mgr;
}

}  // namespace test_support
