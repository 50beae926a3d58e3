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

namespace {

// Whether `text` holds one of the three-letter `names` at `at`.
bool NameAt(const std::string& text, std::size_t at, const std::string& names) {
    for (std::size_t n = 0; n + 3 <= names.size(); n += 3) {
        if (text.compare(at, 3, names, n, 3) == 0)
            return true;
    }
    return false;
}

}  // namespace

std::string Cli(int code) {
    return KV_Exception(code).getMessage();
}

std::string AuditLineMessage(const std::string& line) {
    // 'w' a day's name, 'm' a month's, '#' a digit, '_' a digit or a blank;
    // every other character stands for itself.
    static const std::string kStart = "www mmm _# ##:##:## #### CLI [";
    const std::string refused = "not an audit line: " + line;
    if (line.size() <= kStart.size() || line.back() != ']')
        return refused;
    for (std::size_t i = 0; i < kStart.size(); ++i) {
        const char c = line[i];
        const bool digit = c >= '0' && c <= '9';
        const bool fits = kStart[i] == 'w' || kStart[i] == 'm' || (kStart[i] == '#' && digit) ||
                          (kStart[i] == '_' && (digit || c == ' ')) || c == kStart[i];
        if (!fits)
            return refused;
    }
    if (!NameAt(line, 0, "SunMonTueWedThuFriSat") ||
        !NameAt(line, 4, "JanFebMarAprMayJunJulAugSepOctNovDec")) {
        return refused;
    }
    return line.substr(kStart.size(), line.size() - kStart.size() - 1);
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
