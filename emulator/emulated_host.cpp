#include "emulator/emulated_host.h"

#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <system_error>

namespace emulator {

namespace fs = std::filesystem;
using nlohmann::json;

namespace {

// Copies `text` into a caller buffer of `size` bytes, NUL included.
bool copyOut(const std::string& text, char* buffer, uint32_t size) {
    if (buffer == nullptr || text.size() + 1 > size) return false;
    std::memcpy(buffer, text.c_str(), text.size() + 1);
    return true;
}

std::string realHostName() {
    char name[256] = {};
    if (gethostname(name, sizeof name - 1) != 0 || name[0] == '\0') return "kivrahost";
    std::string text(name);
    return text.substr(0, text.find('.'));
}

void writeFile(const std::string& path, const json& state) {
    fs::path target(path);
    if (target.has_parent_path()) fs::create_directories(target.parent_path());
    fs::path temporary = target;
    temporary += ".tmp";
    {
        std::ofstream out(temporary, std::ios::trunc);
        out << state.dump(2) << '\n';
        if (!out) throw std::runtime_error("cannot write emulated host file " + path);
    }
    fs::rename(temporary, target);
}

}  // namespace

EmulatedHost::EmulatedHost(json state, std::string folder, std::string file)
    : state_(std::move(state)), folder_(std::move(folder)), file_(std::move(file)) {}

std::string EmulatedHost::defaultHostPath() {
    const char* state = std::getenv("XDG_STATE_HOME");
    std::string base;
    if (state != nullptr && state[0] != '\0') {
        base = state;
    } else {
        const char* home = std::getenv("HOME");
        base = std::string(home != nullptr ? home : ".") + "/.local/state";
    }
    return base + "/kv_cli/host.json";
}

std::unique_ptr<EmulatedHost> EmulatedHost::fromEnvironment() {
    const char* named = std::getenv("KV_EMULATED_HOST");
    return fromFile(named != nullptr && named[0] != '\0' ? named : defaultHostPath());
}

std::unique_ptr<EmulatedHost> EmulatedHost::fromFile(const std::string& path) {
    fs::path file = fs::absolute(path);
    json state;
    if (fs::exists(file)) {
        std::ifstream in(file);
        state = json::parse(in);
    } else {
        state = defaultHost();
        writeFile(file.string(), state);
    }
    return std::unique_ptr<EmulatedHost>(
        new EmulatedHost(std::move(state), file.parent_path().string(), file.string()));
}

std::unique_ptr<EmulatedHost> EmulatedHost::fromJson(const json& state, const std::string& folder) {
    return std::unique_ptr<EmulatedHost>(new EmulatedHost(state, folder, ""));
}

json EmulatedHost::defaultHost() {
    return json{
        {"format", 1},
        {"machine",
         {{"administrator", true},
          {"host_name", realHostName()},
          {"domain", ""},
          {"common_app_data", "ProgramData"},
          {"windows_directory", "Windows"},
          // Windows Server 2022 Standard on x64.
          {"version",
           {{"major", 10},
            {"minor", 0},
            {"build", 20348},
            {"platform_id", 2},
            {"service_pack", ""},
            {"service_pack_major", 0},
            {"service_pack_minor", 0},
            {"suite_mask", 0x110},
            {"product_type", 3},
            {"product_info", 7},
            {"architecture", platform::kArchAmd64},
            {"server_r2", 0}}}}},
    };
}

const json& EmulatedHost::machine() const {
    static const json empty = json::object();
    auto it = state_.find("machine");
    return it != state_.end() && it->is_object() ? *it : empty;
}

std::string EmulatedHost::resolve(const std::string& path) const {
    fs::path p(path);
    if (p.is_absolute()) return p.lexically_normal().string();
    return (fs::path(folder_) / p).lexically_normal().string();
}

// --- SetupAPI: no devices yet ---

platform::DevInfoSet EmulatedHost::getClassDevs(platform::InterfaceClass) { return 1; }
bool EmulatedHost::enumDeviceInterfaces(platform::DevInfoSet, uint32_t) {
    lastError_ = platform::kErrorNoMoreItems;
    return false;
}
bool EmulatedHost::getDeviceInterfaceDetail(platform::DevInfoSet, uint32_t, char*, uint32_t,
                                            platform::DeviceInfo*) {
    lastError_ = platform::kErrorNoMoreItems;
    return false;
}
bool EmulatedHost::getDeviceInstanceId(platform::DevInfoSet, const platform::DeviceInfo&, char*,
                                       uint32_t) {
    lastError_ = platform::kErrorInvalidParameter;
    return false;
}
bool EmulatedHost::getUiNumber(platform::DevInfoSet, const platform::DeviceInfo&, uint32_t*) {
    return false;
}
bool EmulatedHost::enumDeviceInfo(platform::DevInfoSet, uint32_t, platform::DeviceInfo*) {
    lastError_ = platform::kErrorNoMoreItems;
    return false;
}
bool EmulatedHost::setRemoveInstallParams(platform::DevInfoSet, const platform::DeviceInfo&) {
    return false;
}
bool EmulatedHost::callClassInstallerRemove(platform::DevInfoSet, const platform::DeviceInfo&) {
    return false;
}
bool EmulatedHost::getDeviceInstallFlags(platform::DevInfoSet, const platform::DeviceInfo&,
                                         uint32_t*) {
    return false;
}
void EmulatedHost::destroyDeviceInfoList(platform::DevInfoSet) {}
bool EmulatedHost::getParent(uint32_t, uint32_t*) { return false; }

// --- Device I/O: no devices yet ---

platform::Handle EmulatedHost::createFile(const char*, uint32_t, uint32_t) {
    lastError_ = platform::kErrorFileNotFound;
    return platform::kInvalidHandle;
}
bool EmulatedHost::deviceIoControl(platform::Handle, uint32_t, void*, uint32_t, void*, uint32_t,
                                   uint32_t*) {
    lastError_ = platform::kErrorInvalidHandle;
    return false;
}
bool EmulatedHost::closeHandle(platform::Handle) {
    lastError_ = platform::kErrorInvalidHandle;
    return false;
}
uint32_t EmulatedHost::getLastError() { return lastError_; }
std::string EmulatedHost::formatMessage(uint32_t) { return ""; }

// --- Registry: empty yet ---

uint32_t EmulatedHost::regOpenKey(const char*, uint32_t, platform::RegKey*) {
    return platform::kErrorFileNotFound;
}
uint32_t EmulatedHost::regCreateKey(const char*, uint32_t, platform::RegKey*) {
    return platform::kErrorAccessDenied;
}
uint32_t EmulatedHost::regSetDword(platform::RegKey, const char*, uint32_t) {
    return platform::kErrorInvalidHandle;
}
uint32_t EmulatedHost::regDeleteValue(platform::RegKey, const char*) {
    return platform::kErrorInvalidHandle;
}
uint32_t EmulatedHost::regCloseKey(platform::RegKey) { return platform::kErrorInvalidHandle; }

// --- Folders: the host file's folder plays the system drive ---

bool EmulatedHost::getCommonAppDataFolder(char* path) {
    std::string folder = resolve(machine().value("common_app_data", "ProgramData"));
    std::error_code ec;
    fs::create_directories(folder, ec);
    if (ec) return false;
    return copyOut(folder, path, platform::kMaxPath);
}

uint32_t EmulatedHost::getWindowsDirectory(char* path, uint32_t size) {
    std::string folder = resolve(machine().value("windows_directory", "Windows"));
    if (!copyOut(folder, path, size)) return 0;
    return static_cast<uint32_t>(folder.size());
}

bool EmulatedHost::pathStripToRoot(char* path) {
    if (path == nullptr) return false;
    // A path inside the host's folder has that folder as its drive root.
    std::string text(path);
    std::string root = folder_;
    if (text.compare(0, root.size(), root) != 0 ||
        (text.size() > root.size() && text[root.size()] != '/')) {
        root = "/";
    }
    return copyOut(root, path, platform::kMaxPath);
}

bool EmulatedHost::pathAppend(char* path, const char* more) {
    if (path == nullptr || more == nullptr) return false;
    std::string text(path);
    std::string tail(more);
    while (!tail.empty() && tail.front() == '/') tail.erase(0, 1);
    if (!text.empty() && text.back() != '/' && !tail.empty()) text += '/';
    text += tail;
    return copyOut(text, path, platform::kMaxPath);
}

int EmulatedHost::createDirectory(const char* path) {
    if (path == nullptr) return static_cast<int>(platform::kErrorInvalidParameter);
    std::error_code ec;
    if (fs::is_directory(path, ec)) return static_cast<int>(platform::kErrorAlreadyExists);
    if (fs::exists(path, ec)) return static_cast<int>(platform::kErrorFileExists);
    fs::create_directories(path, ec);
    if (ec) return static_cast<int>(platform::kErrorAccessDenied);
    return 0;
}

// --- System information ---

bool EmulatedHost::getComputerNameEx(bool fullyQualified, char* name, uint32_t* size) {
    const json& m = machine();
    std::string text = m.value("host_name", realHostName());
    std::string domain = m.value("domain", "");
    if (fullyQualified && !domain.empty()) text += "." + domain;
    if (size == nullptr) {
        lastError_ = platform::kErrorInvalidParameter;
        return false;
    }
    if (!copyOut(text, name, *size)) {
        *size = static_cast<uint32_t>(text.size() + 1);
        lastError_ = 234;  // ERROR_MORE_DATA
        return false;
    }
    *size = static_cast<uint32_t>(text.size());
    return true;
}

bool EmulatedHost::getVersionEx(platform::OsVersionInfo* info) {
    if (info == nullptr) return false;
    const json v = machine().value("version", json::object());
    info->major = v.value("major", 10u);
    info->minor = v.value("minor", 0u);
    info->build = v.value("build", 20348u);
    info->platformId = v.value("platform_id", 2u);
    info->servicePack = v.value("service_pack", "").substr(0, 127);
    info->servicePackMajor = v.value("service_pack_major", uint16_t{0});
    info->servicePackMinor = v.value("service_pack_minor", uint16_t{0});
    info->suiteMask = v.value("suite_mask", uint16_t{0});
    info->productType = v.value("product_type", uint8_t{3});
    return true;
}

bool EmulatedHost::getNativeSystemInfo(uint16_t* architecture) {
    const json v = machine().value("version", json::object());
    if (!v.value("native_system_info", true) || architecture == nullptr) return false;
    *architecture = v.value("architecture", platform::kArchAmd64);
    return true;
}

uint16_t EmulatedHost::getSystemInfo() {
    const json v = machine().value("version", json::object());
    return v.value("architecture", platform::kArchAmd64);
}

bool EmulatedHost::getProductInfo(uint32_t, uint32_t, uint32_t, uint32_t, uint32_t* productType) {
    const json v = machine().value("version", json::object());
    if (!v.value("get_product_info", true) || productType == nullptr) return false;
    *productType = v.value("product_info", 0u);
    return true;
}

int EmulatedHost::getSystemMetrics(int index) {
    if (index != platform::kSmServerR2) return 0;
    return machine().value("version", json::object()).value("server_r2", 0);
}

bool EmulatedHost::isUserAnAdmin() { return machine().value("administrator", true); }

// The emulated machine does not wait: tests run at full speed.
void EmulatedHost::sleep(uint32_t) {}

}  // namespace emulator
