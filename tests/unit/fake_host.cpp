#include "fake_host.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>

#include "api/bytes.h"

namespace fake_host {
namespace {

// Copies `text` into a caller buffer of `size` bytes, NUL included.
bool CopyOut(const std::string& text, char* buffer, uint32_t size) {
    if (buffer == nullptr || text.size() + 1 > size)
        return false;
    std::memcpy(buffer, text.c_str(), text.size() + 1);
    return true;
}

}  // namespace
}  // namespace fake_host

FakeHost& FakeHost::Install() {
    auto host = std::make_unique<FakeHost>();
    FakeHost& ref = *host;
    platform::SetHost(std::move(host));
    return ref;
}

void FakeHost::Uninstall() {
    platform::SetHost(nullptr);
}

FakeHost::Device& FakeHost::addController(const std::string& path, const std::string& instanceId,
                                          uint32_t devInst, std::optional<uint16_t> slot) {
    // The driver-information reply: the slot fields follow the 28-byte
    // header at block bytes 108 (field count) and 110 (slot).
    files[path].ioctl = [slot](uint32_t code, const std::vector<uint8_t>& in, uint8_t* out,
                               uint32_t outSize, uint32_t* returned) {
        if (code != kIoctlScsiMiniport || !slot || out == nullptr)
            return false;
        std::memcpy(out, in.data(), std::min<size_t>(in.size(), outSize));
        bytes::PutU16(out, outSize, 28 + 108, 2);
        bytes::PutU16(out, outSize, 28 + 110, *slot);
        *returned = outSize;
        return true;
    };
    Device device;
    device.path = path;
    device.instanceId = instanceId;
    device.devInst = devInst;
    auto& list = devices(platform::InterfaceClass::StoragePort);
    list.push_back(device);
    return list.back();
}

FakeHost::Device& FakeHost::addDisk(const std::string& path, const std::string& instanceId,
                                    uint32_t devInst, uint32_t parent, uint8_t targetId,
                                    uint32_t diskNumber) {
    files[path].ioctl = [targetId, diskNumber](uint32_t code, const std::vector<uint8_t>&,
                                               uint8_t* out, uint32_t outSize, uint32_t* returned) {
        if (code == kIoctlScsiGetAddress && outSize >= 8) {
            bytes::PutU32(out, outSize, 0, 8);
            bytes::PutU8(out, outSize, 6, targetId);
            *returned = 8;
            return true;
        }
        if (code == kIoctlStorageGetDeviceNumber && outSize >= 12) {
            bytes::PutU32(out, outSize, 0, 7);
            bytes::PutU32(out, outSize, 4, diskNumber);
            bytes::PutU32(out, outSize, 8, 0);
            *returned = 12;
            return true;
        }
        return false;
    };
    Device device;
    device.path = path;
    device.instanceId = instanceId;
    device.devInst = devInst;
    device.parent = parent;
    auto& list = devices(platform::InterfaceClass::Disk);
    list.push_back(device);
    return list.back();
}

FakeHost::Device& FakeHost::addVolume(const std::string& path,
                                      const std::vector<uint32_t>& diskNumbers) {
    files[path].ioctl = [diskNumbers](uint32_t code, const std::vector<uint8_t>&, uint8_t* out,
                                      uint32_t outSize, uint32_t* returned) {
        *returned = 0;
        if (code == kFsctlLockVolume || code == kFsctlDismountVolume ||
            code == kFsctlUnlockVolume) {
            return true;
        }
        if (code != kIoctlVolumeGetDiskExtents)
            return false;
        size_t needed = 8 + 24 * diskNumbers.size();
        if (outSize < needed)
            return false;
        bytes::PutU32(out, outSize, 0, static_cast<uint32_t>(diskNumbers.size()));
        for (size_t i = 0; i < diskNumbers.size(); ++i) {
            bytes::PutU32(out, outSize, 8 + 24 * i, diskNumbers[i]);
        }
        *returned = static_cast<uint32_t>(needed);
        return true;
    };
    Device device;
    device.path = path;
    device.instanceId = "STORAGE\\VOLUME\\" + path;
    auto& list = devices(platform::InterfaceClass::Volume);
    list.push_back(device);
    return list.back();
}

std::vector<FakeHost::IoctlCall> FakeHost::callsWithCode(uint32_t code) const {
    std::vector<IoctlCall> calls;
    for (const IoctlCall& call : ioctls) {
        if (call.code == code)
            calls.push_back(call);
    }
    return calls;
}

// --- SetupAPI and the configuration manager ---

std::vector<FakeHost::Device>* FakeHost::setDevices(platform::DevInfoSet set) {
    auto it = sets_.find(set);
    return it == sets_.end() ? nullptr : &devices(it->second);
}

FakeHost::Device* FakeHost::deviceOf(platform::DevInfoSet set, const platform::DeviceInfo& info) {
    std::vector<Device>* list = setDevices(set);
    if (list == nullptr || info.index >= list->size())
        return nullptr;
    Device& device = (*list)[info.index];
    return device.devInst == info.devInst ? &device : nullptr;
}

platform::DevInfoSet FakeHost::getClassDevs(platform::InterfaceClass cls) {
    if (failingClasses.count(cls) != 0) {
        lastError_ = platform::kErrorInvalidParameter;
        return platform::kInvalidDevInfoSet;
    }
    platform::DevInfoSet set = nextId_++;
    sets_[set] = cls;
    return set;
}

bool FakeHost::enumDeviceInterfaces(platform::DevInfoSet set, uint32_t index) {
    std::vector<Device>* list = setDevices(set);
    if (list == nullptr || index >= list->size()) {
        lastError_ = platform::kErrorNoMoreItems;
        return false;
    }
    return true;
}

bool FakeHost::getDeviceInterfaceDetail(platform::DevInfoSet set, uint32_t index, char* path,
                                        uint32_t pathSize, platform::DeviceInfo* info) {
    std::vector<Device>* list = setDevices(set);
    if (list == nullptr || index >= list->size()) {
        lastError_ = platform::kErrorNoMoreItems;
        return false;
    }
    const Device& device = (*list)[index];
    if (!fake_host::CopyOut(device.path, path, pathSize)) {
        lastError_ = platform::kErrorInsufficientBuffer;
        return false;
    }
    if (info != nullptr)
        *info = platform::DeviceInfo{device.devInst, index};
    return true;
}

bool FakeHost::getDeviceInstanceId(platform::DevInfoSet set, const platform::DeviceInfo& info,
                                   char* id, uint32_t idSize) {
    Device* device = deviceOf(set, info);
    if (device == nullptr)
        return false;
    if (!fake_host::CopyOut(device->instanceId, id, idSize)) {
        lastError_ = platform::kErrorInsufficientBuffer;
        return false;
    }
    return true;
}

bool FakeHost::getUiNumber(platform::DevInfoSet set, const platform::DeviceInfo& info,
                           uint32_t* uiNumber) {
    Device* device = deviceOf(set, info);
    if (device == nullptr || !device->uiNumber)
        return false;
    *uiNumber = *device->uiNumber;
    return true;
}

bool FakeHost::enumDeviceInfo(platform::DevInfoSet set, uint32_t index,
                              platform::DeviceInfo* info) {
    std::vector<Device>* list = setDevices(set);
    if (list == nullptr || index >= list->size()) {
        lastError_ = platform::kErrorNoMoreItems;
        return false;
    }
    *info = platform::DeviceInfo{(*list)[index].devInst, index};
    return true;
}

bool FakeHost::setRemoveInstallParams(platform::DevInfoSet set, const platform::DeviceInfo& info) {
    return deviceOf(set, info) != nullptr;
}

bool FakeHost::callClassInstallerRemove(platform::DevInfoSet set,
                                        const platform::DeviceInfo& info) {
    Device* device = deviceOf(set, info);
    if (device == nullptr || device->removeFails)
        return false;
    removedDevices.push_back(device->devInst);
    return true;
}

bool FakeHost::getDeviceInstallFlags(platform::DevInfoSet set, const platform::DeviceInfo& info,
                                     uint32_t* flags) {
    Device* device = deviceOf(set, info);
    if (device == nullptr || !device->installFlags)
        return false;
    *flags = *device->installFlags;
    return true;
}

void FakeHost::destroyDeviceInfoList(platform::DevInfoSet set) {
    sets_.erase(set);
}

bool FakeHost::getParent(uint32_t devInst, uint32_t* parent) {
    for (const auto& list : devices_) {
        for (const Device& device : list) {
            if (device.devInst != devInst || !device.parent)
                continue;
            *parent = *device.parent;
            return true;
        }
    }
    return false;
}

// --- Device I/O ---

platform::Handle FakeHost::createFile(const char* path, uint32_t access, uint32_t share) {
    std::string name = path != nullptr ? path : "";
    opens.push_back(OpenCall{name, access, share});
    if (files.count(name) == 0) {
        lastError_ = platform::kErrorFileNotFound;
        return platform::kInvalidHandle;
    }
    platform::Handle h = nextId_++;
    handles_[h] = name;
    return h;
}

bool FakeHost::deviceIoControl(platform::Handle h, uint32_t code, void* in, uint32_t inSize,
                               void* out, uint32_t outSize, uint32_t* returned) {
    auto it = handles_.find(h);
    if (it == handles_.end()) {
        lastError_ = platform::kErrorInvalidHandle;
        return false;
    }
    IoctlCall call;
    call.path = it->second;
    call.code = code;
    if (in != nullptr && inSize != 0) {
        const uint8_t* bytesIn = static_cast<const uint8_t*>(in);
        call.in.assign(bytesIn, bytesIn + inSize);
    }
    call.outSize = outSize;
    ioctls.push_back(call);

    uint32_t scratch = 0;
    if (returned == nullptr)
        returned = &scratch;
    *returned = 0;
    const File& file = files[it->second];
    if (file.failingCodes.count(code) != 0 || !file.ioctl) {
        lastError_ = platform::kErrorGenFailure;
        return false;
    }
    if (!file.ioctl(code, call.in, static_cast<uint8_t*>(out), out != nullptr ? outSize : 0,
                    returned)) {
        lastError_ = platform::kErrorGenFailure;
        return false;
    }
    return true;
}

bool FakeHost::closeHandle(platform::Handle h) {
    auto it = handles_.find(h);
    if (it == handles_.end()) {
        lastError_ = platform::kErrorInvalidHandle;
        return false;
    }
    closedPaths.push_back(it->second);
    handles_.erase(it);
    return true;
}

std::string FakeHost::formatMessage(uint32_t code) {
    return code == platform::kErrorFileNotFound ? "The system cannot find the file specified." : "";
}

// --- Registry ---

uint32_t FakeHost::regOpenKey(const char* subKey, uint32_t, platform::RegKey* key) {
    if (subKey == nullptr || key == nullptr)
        return platform::kErrorInvalidParameter;
    if (registry.count(subKey) == 0)
        return platform::kErrorFileNotFound;
    *key = nextId_++;
    keys_[*key] = subKey;
    return platform::kErrorSuccess;
}

uint32_t FakeHost::regCreateKey(const char* subKey, uint32_t, platform::RegKey* key) {
    if (subKey == nullptr || key == nullptr)
        return platform::kErrorInvalidParameter;
    if (createKeyError != 0)
        return createKeyError;
    registry[subKey];
    *key = nextId_++;
    keys_[*key] = subKey;
    return platform::kErrorSuccess;
}

uint32_t FakeHost::regSetDword(platform::RegKey key, const char* name, uint32_t value) {
    auto it = keys_.find(key);
    if (it == keys_.end() || name == nullptr)
        return platform::kErrorInvalidHandle;
    if (setValueError != 0)
        return setValueError;
    registry[it->second][name] = value;
    return platform::kErrorSuccess;
}

uint32_t FakeHost::regDeleteValue(platform::RegKey key, const char* name) {
    auto it = keys_.find(key);
    if (it == keys_.end() || name == nullptr)
        return platform::kErrorInvalidHandle;
    if (deleteValueError != 0)
        return deleteValueError;
    return registry[it->second].erase(name) != 0 ? platform::kErrorSuccess
                                                 : platform::kErrorFileNotFound;
}

uint32_t FakeHost::regCloseKey(platform::RegKey key) {
    return keys_.erase(key) != 0 ? platform::kErrorSuccess : platform::kErrorInvalidHandle;
}

// --- Shell folders and paths (Windows path rules) ---

bool FakeHost::getCommonAppDataFolder(char* path) {
    return commonAppData && fake_host::CopyOut(*commonAppData, path, platform::kMaxPath);
}

uint32_t FakeHost::getWindowsDirectory(char* path, uint32_t size) {
    if (!fake_host::CopyOut(windowsDirectory, path, size))
        return 0;
    return static_cast<uint32_t>(windowsDirectory.size());
}

bool FakeHost::pathStripToRoot(char* path) {
    if (path == nullptr)
        return false;
    std::string text(path);
    // "C:\..." keeps "C:\"; anything else keeps nothing.
    if (text.size() >= 2 && text[1] == ':') {
        return fake_host::CopyOut(text.substr(0, 2) + "\\", path, platform::kMaxPath);
    }
    path[0] = '\0';
    return false;
}

bool FakeHost::pathAppend(char* path, const char* more) {
    if (path == nullptr || more == nullptr)
        return false;
    std::string text(path);
    std::string tail(more);
    while (!tail.empty() && tail.front() == '\\')
        tail.erase(0, 1);
    if (!text.empty() && text.back() != '\\' && !tail.empty())
        text += '\\';
    text += tail;
    if (text.size() >= platform::kMaxPath)
        return false;
    return fake_host::CopyOut(text, path, platform::kMaxPath);
}

int FakeHost::createDirectory(const char* path) {
    std::string name = path != nullptr ? path : "";
    auto it = createDirectoryResults.find(name);
    int result = it != createDirectoryResults.end() ? it->second : 0;
    if (result == 0)
        createdDirectories.push_back(name);
    return result;
}

std::FILE* FakeHost::openForAppend(const char* path) {
    return path != nullptr ? std::fopen(path, "a") : nullptr;
}

// --- System information ---

bool FakeHost::getComputerNameEx(bool fullyQualified, char* name, uint32_t* size) {
    std::string text = hostName;
    if (fullyQualified && !domain.empty())
        text += "." + domain;
    if (size == nullptr)
        return false;
    if (!fake_host::CopyOut(text, name, *size)) {
        *size = static_cast<uint32_t>(text.size() + 1);
        lastError_ = 234;  // ERROR_MORE_DATA
        return false;
    }
    *size = static_cast<uint32_t>(text.size());
    return true;
}

bool FakeHost::getVersionEx(platform::OsVersionInfo* info) {
    if (!version || info == nullptr)
        return false;
    *info = *version;
    return true;
}

bool FakeHost::getNativeSystemInfo(uint16_t* arch) {
    if (!nativeArchitecture)
        return false;
    *arch = *nativeArchitecture;
    return true;
}

bool FakeHost::getProductInfo(uint32_t, uint32_t, uint32_t, uint32_t, uint32_t* productType) {
    if (!productInfo)
        return false;
    *productType = *productInfo;
    return true;
}

int FakeHost::getSystemMetrics(int index) {
    auto it = systemMetrics.find(index);
    return it != systemMetrics.end() ? it->second : 0;
}
