// The emulated host's registry calls: the keys the host file names under
// "registry" and the Enum keys of the present disks.
#include <cstdint>
#include <string>

#include "emulator/emulated_host.h"
#include "emulator/emulated_host_calls.h"
#include "emulator/machine_names.h"

namespace emulator {

using nlohmann::json;

namespace {

constexpr const char* kEnumKey = "SYSTEM\\CurrentControlSet\\Enum\\";

// True when `key` is `full` or one of its ancestors.
bool isKeyOrParent(const std::string& key, const std::string& full) {
    if (key.size() > full.size())
        return false;
    if (!equalsNoCase(key, full.substr(0, key.size())))
        return false;
    return key.size() == full.size() || full[key.size()] == '\\';
}

}  // namespace

bool EmulatedHost::registryKeyExists(const std::string& key) {
    const json& registry = machine().value("registry", json::object());
    for (auto it = registry.begin(); it != registry.end(); ++it) {
        if (isKeyOrParent(key, it.key()))
            return true;
    }
    // Each present disk has its Enum key with "Device Parameters" and,
    // unless the host file says otherwise, its "Disk" subkey.
    json& disks = list(DeviceKind::Disk);
    for (size_t i = 0; i < disks.size(); ++i) {
        if (!present(disks[i]))
            continue;
        std::string base = kEnumKey + instanceIdOf(DeviceKind::Disk, i) + "\\Device Parameters";
        if (disks[i].value("disk_parameters_key", true))
            base += "\\Disk";
        if (isKeyOrParent(key, base))
            return true;
    }
    return false;
}

json* EmulatedHost::registryValues(const std::string& key, bool create) {
    json& m = state_["machine"];
    json& registry = m["registry"];
    if (!registry.is_object())
        registry = json::object();
    for (auto it = registry.begin(); it != registry.end(); ++it) {
        if (equalsNoCase(it.key(), key))
            return &it.value();
    }
    if (!create)
        return nullptr;
    json& values = registry[key];
    values = json::object();
    return &values;
}

uint32_t EmulatedHost::regOpenKey(const char* subKey, uint32_t, platform::RegKey* key) {
    return transact<uint32_t>(faultsMayFire(), [&]() -> uint32_t {
        if (subKey == nullptr || key == nullptr)
            return platform::kErrorInvalidParameter;
        if (uint32_t error = osFault("registry", -1, -1))
            return error;
        if (!registryKeyExists(subKey))
            return platform::kErrorFileNotFound;
        *key = nextKey_++;
        keys_[*key] = subKey;
        return platform::kErrorSuccess;
    });
}

uint32_t EmulatedHost::regCreateKey(const char* subKey, uint32_t, platform::RegKey* key) {
    return transact<uint32_t>([&]() -> uint32_t {
        if (subKey == nullptr || key == nullptr)
            return platform::kErrorInvalidParameter;
        if (uint32_t error = osFault("registry", -1, -1))
            return error;
        if (!registryKeyExists(subKey)) {
            registryValues(subKey, true);
            markChanged();
        }
        *key = nextKey_++;
        keys_[*key] = subKey;
        return platform::kErrorSuccess;
    });
}

uint32_t EmulatedHost::valueKey(platform::RegKey key, const char* name, const std::string** path) {
    auto it = keys_.find(key);
    if (it == keys_.end())
        return platform::kErrorInvalidHandle;
    if (name == nullptr)
        return platform::kErrorInvalidParameter;
    *path = &it->second;
    return osFault("registry", -1, -1);
}

uint32_t EmulatedHost::regSetDword(platform::RegKey key, const char* name, uint32_t value) {
    return transact<uint32_t>([&]() -> uint32_t {
        const std::string* path = nullptr;
        if (uint32_t error = valueKey(key, name, &path))
            return error;
        (*registryValues(*path, true))[name] = value;
        markChanged();
        return platform::kErrorSuccess;
    });
}

uint32_t EmulatedHost::regDeleteValue(platform::RegKey key, const char* name) {
    return transact<uint32_t>([&]() -> uint32_t {
        const std::string* path = nullptr;
        if (uint32_t error = valueKey(key, name, &path))
            return error;
        json* values = registryValues(*path, false);
        if (values == nullptr || !values->contains(name))
            return platform::kErrorFileNotFound;
        values->erase(name);
        markChanged();
        return platform::kErrorSuccess;
    });
}

uint32_t EmulatedHost::regCloseKey(platform::RegKey key) {
    return keys_.erase(key) != 0 ? platform::kErrorSuccess : platform::kErrorInvalidHandle;
}

}  // namespace emulator
