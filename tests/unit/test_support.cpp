#include "test_support.h"

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
