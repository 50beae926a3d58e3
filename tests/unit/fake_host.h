// FakeHost: a scripted stand-in for platform::HostSystem in unit tests.
//
// A test fills in the machine it needs (devices per interface class, files
// that answer device I/O controls, registry keys, system facts), installs
// the fake with Install() and afterwards reads what reached it: every
// open, every device I/O control with a copy of its input bytes, and the
// handles, device information sets and registry keys still open.
//
//     FakeHost& host = FakeHost::Install();
//     host.addController("\\\\?\\pci#ctl0", "PCI\\VEN_1D9F&DEV_1003\\0", 100, 4);
//     ... run the code under test ...
//     EXPECT_EQ(host.openHandleCount(), 0);
//
// Install() replaces the process-wide host; FakeHost::Uninstall() (or the
// next Install()) returns to the default host. ScopedFakeHost does both.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/host_system.h"

class FakeHost : public platform::HostSystem {
  public:
    // The Windows control codes the fake's devices answer.
    static constexpr uint32_t kIoctlScsiMiniport = 0x4D008;
    static constexpr uint32_t kIoctlScsiGetAddress = 0x41018;
    static constexpr uint32_t kIoctlStorageGetDeviceNumber = 0x2D1080;
    static constexpr uint32_t kIoctlVolumeGetDiskExtents = 0x560000;
    static constexpr uint32_t kFsctlLockVolume = 0x90018;
    static constexpr uint32_t kFsctlUnlockVolume = 0x9001C;
    static constexpr uint32_t kFsctlDismountVolume = 0x90020;

    // One device as SetupAPI lists it under an interface class.
    struct Device {
        std::string path;  // interface path
        std::string instanceId;
        uint32_t devInst = 0;
        std::optional<uint32_t> uiNumber;  // none: the property is absent
        std::optional<uint32_t> parent;    // CM_Get_Parent; none: it fails
        // Removal (DIF_REMOVE): whether it fails, and the install flags read
        // afterwards (none: they cannot be read).
        bool removeFails = false;
        std::optional<uint32_t> installFlags = 0u;
    };

    // Answers one device I/O control on an open file: `in` is a copy of the
    // input bytes (taken first, so in-place requests work); the handler
    // writes at most outSize bytes to `out` (may be null) and sets
    // *returned.
    using IoctlHandler = std::function<bool(uint32_t code, const std::vector<uint8_t>& in,
                                            uint8_t* out, uint32_t outSize, uint32_t* returned)>;

    // A path that createFile can open.
    struct File {
        IoctlHandler ioctl;               // none: every control fails
        std::set<uint32_t> failingCodes;  // controls that fail before the handler
    };

    // What reached deviceIoControl.
    struct IoctlCall {
        std::string path;
        uint32_t code = 0;
        std::vector<uint8_t> in;
        uint32_t outSize = 0;
    };

    // What reached createFile.
    struct OpenCall {
        std::string path;
        uint32_t access = 0;
        uint32_t share = 0;
    };

    // Installs a fresh fake as the process-wide host and returns it.
    static FakeHost& Install();
    static void Uninstall();

    // --- Machine building helpers ---
    // A storage-port interface whose driver answers the slot query with
    // `slot` (none: the query fails).
    Device& addController(const std::string& path, const std::string& instanceId, uint32_t devInst,
                          std::optional<uint16_t> slot);
    // A disk interface under `parent` whose device answers its SCSI address
    // and device number.
    Device& addDisk(const std::string& path, const std::string& instanceId, uint32_t devInst,
                    uint32_t parent, uint8_t targetId, uint32_t diskNumber);
    // A volume interface whose extents lie on `diskNumbers`, answering the
    // lock, dismount and unlock controls.
    Device& addVolume(const std::string& path, const std::vector<uint32_t>& diskNumbers);
    // A registry key below HKEY_LOCAL_MACHINE (backslash path).
    void addRegistryKey(const std::string& key) { registry[key]; }

    std::vector<Device>& devices(platform::InterfaceClass cls) {
        return devices_[static_cast<int>(cls)];
    }

    // Counts of what is still open.
    size_t openHandleCount() const { return handles_.size(); }
    size_t openSetCount() const { return sets_.size(); }
    size_t openKeyCount() const { return keys_.size(); }
    // The device I/O controls with `code`.
    std::vector<IoctlCall> callsWithCode(uint32_t code) const;

    // --- Scripted machine ---
    std::set<platform::InterfaceClass> failingClasses;  // getClassDevs fails
    std::map<std::string, File> files;
    std::map<std::string, std::map<std::string, uint32_t>> registry;  // key -> values
    uint32_t createKeyError = 0;    // RegCreateKeyExA result when not 0
    uint32_t setValueError = 0;     // RegSetValueExA result when not 0
    uint32_t deleteValueError = 0;  // RegDeleteValueA result when not 0 (else 0 or 2)

    std::optional<platform::OsVersionInfo> version;  // none: GetVersionExA fails
    std::optional<uint16_t> nativeArchitecture;      // none: not offered by kernel32
    uint16_t architecture = platform::kArchIntel;    // GetSystemInfo
    std::optional<uint32_t> productInfo;             // none: GetProductInfo not offered
    std::map<int, int> systemMetrics;
    bool administrator = true;
    std::string hostName = "fakehost";
    std::string domain;

    std::optional<std::string> commonAppData = std::string("C:\\ProgramData");  // none: fails
    std::string windowsDirectory = "C:\\Windows";
    std::map<std::string, int> createDirectoryResults;  // by path; others succeed

    // --- Records ---
    std::vector<OpenCall> opens;
    std::vector<IoctlCall> ioctls;
    std::vector<std::string> createdDirectories;
    std::vector<std::string> closedPaths;
    std::vector<uint32_t> removedDevices;  // device instances removed (DIF_REMOVE)
    uint32_t sleptMilliseconds = 0;

    // --- platform::HostSystem ---
    platform::DevInfoSet getClassDevs(platform::InterfaceClass cls) override;
    bool enumDeviceInterfaces(platform::DevInfoSet set, uint32_t index) override;
    bool getDeviceInterfaceDetail(platform::DevInfoSet set, uint32_t index, char* path,
                                  uint32_t pathSize, platform::DeviceInfo* info) override;
    bool getDeviceInstanceId(platform::DevInfoSet set, const platform::DeviceInfo& info, char* id,
                             uint32_t idSize) override;
    bool getUiNumber(platform::DevInfoSet set, const platform::DeviceInfo& info,
                     uint32_t* uiNumber) override;
    bool enumDeviceInfo(platform::DevInfoSet set, uint32_t index,
                        platform::DeviceInfo* info) override;
    bool setRemoveInstallParams(platform::DevInfoSet set,
                                const platform::DeviceInfo& info) override;
    bool callClassInstallerRemove(platform::DevInfoSet set,
                                  const platform::DeviceInfo& info) override;
    bool getDeviceInstallFlags(platform::DevInfoSet set, const platform::DeviceInfo& info,
                               uint32_t* flags) override;
    void destroyDeviceInfoList(platform::DevInfoSet set) override;
    bool getParent(uint32_t devInst, uint32_t* parent) override;

    platform::Handle createFile(const char* path, uint32_t access, uint32_t share) override;
    bool deviceIoControl(platform::Handle h, uint32_t code, void* in, uint32_t inSize, void* out,
                         uint32_t outSize, uint32_t* returned) override;
    bool closeHandle(platform::Handle h) override;
    uint32_t getLastError() override { return lastError_; }
    std::string formatMessage(uint32_t code) override;

    uint32_t regOpenKey(const char* subKey, uint32_t access, platform::RegKey* key) override;
    uint32_t regCreateKey(const char* subKey, uint32_t access, platform::RegKey* key) override;
    uint32_t regSetDword(platform::RegKey key, const char* name, uint32_t value) override;
    uint32_t regDeleteValue(platform::RegKey key, const char* name) override;
    uint32_t regCloseKey(platform::RegKey key) override;

    bool getCommonAppDataFolder(char* path) override;
    uint32_t getWindowsDirectory(char* path, uint32_t size) override;
    bool pathStripToRoot(char* path) override;
    bool pathAppend(char* path, const char* more) override;
    int createDirectory(const char* path) override;
    std::FILE* openForAppend(const char* path) override;

    bool getComputerNameEx(bool fullyQualified, char* name, uint32_t* size) override;
    bool getVersionEx(platform::OsVersionInfo* info) override;
    bool getNativeSystemInfo(uint16_t* architecture) override;
    uint16_t getSystemInfo() override { return architecture; }
    bool getProductInfo(uint32_t major, uint32_t minor, uint32_t spMajor, uint32_t spMinor,
                        uint32_t* productType) override;
    int getSystemMetrics(int index) override;
    bool isUserAnAdmin() override { return administrator; }
    void sleep(uint32_t milliseconds) override { sleptMilliseconds += milliseconds; }

  private:
    // The devices of an open set; null for an unknown set.
    std::vector<Device>* setDevices(platform::DevInfoSet set);
    Device* deviceOf(platform::DevInfoSet set, const platform::DeviceInfo& info);

    std::vector<Device> devices_[3];
    std::map<platform::DevInfoSet, platform::InterfaceClass> sets_;
    std::map<platform::Handle, std::string> handles_;
    std::map<platform::RegKey, std::string> keys_;
    std::intptr_t nextId_ = 1;
    uint32_t lastError_ = 0;
};

// Installs a fresh FakeHost for the guard's lifetime and returns to the
// default host afterwards. reset() starts over with another fresh fake
// (for tables of cases); the previous one is destroyed.
class ScopedFakeHost {
  public:
    ScopedFakeHost() : host_(&FakeHost::Install()) {}
    ~ScopedFakeHost() { FakeHost::Uninstall(); }
    ScopedFakeHost(const ScopedFakeHost&) = delete;
    ScopedFakeHost& operator=(const ScopedFakeHost&) = delete;

    FakeHost& reset() {
        host_ = &FakeHost::Install();
        return *host_;
    }
    FakeHost& operator*() { return *host_; }
    FakeHost* operator->() { return host_; }

  private:
    FakeHost* host_;
};
