// What the OS layer does to a unit's disks: the disk-cache registry value
// of its first disk, and the removal of its disks from Windows with the
// locking of the volumes on them.
#include <string>

#include "api/os/host_owners.h"
#include "api/os/os_layer.h"
#include "api/os/os_requests.h"

namespace {

constexpr const char* kCacheValueName = "UserWriteCacheSetting";
constexpr const char* kEnumKey = "SYSTEM\\CurrentControlSet\\Enum";
constexpr const char* kDiskParametersKey = "Device Parameters\\Disk";

// Holds the volume handles that a removal locked and unlocks and closes
// them on every path out of the removal.
class LockedVolumes {
  public:
    LockedVolumes() = default;
    ~LockedVolumes() { release(); }
    LockedVolumes(const LockedVolumes&) = delete;
    LockedVolumes& operator=(const LockedVolumes&) = delete;

    platform::Handle* handles() { return handles_; }
    int32_t* count() { return &count_; }
    void release() { OsLayer::UnlockVolumes(handles_, &count_); }

  private:
    platform::Handle handles_[kOsMaxLockedVolumes] = {};
    int32_t count_ = 0;
};

// The registry key of a disk's parameters.
std::string DiskKeyPath(const OsDiskEntry& disk) {
    return std::string(kEnumKey) + "\\" + disk.instanceId + "\\" + kDiskParametersKey;
}

// Finds the first disk of the unit: status 3 without the controller, 5
// without the disk.
uint32_t FindUnitDisk(const OsLayer& os, int32_t controller, int32_t unit,
                      const OsDiskEntry** disk) {
    const OsControllerEntry* entry = os.GetEntry(controller);
    if (entry == nullptr)
        return kOsBadController;
    if (unit < 0 || entry->diskCount <= 0)
        return kOsNoSuchUnit;
    *disk = OsLayer::FindDisk(*entry, static_cast<uint32_t>(unit), 0);
    return *disk != nullptr ? kOsSuccess : kOsNoSuchUnit;
}

}  // namespace

uint32_t OsLayer::SetCacheSetting(uint32_t controller, uint32_t unit, uint8_t value) {
    return SetDiskRegistryValue(static_cast<int32_t>(controller), static_cast<int32_t>(unit), value,
                                kCacheValueName);
}

uint32_t OsLayer::DelCacheSetting(uint32_t controller, uint32_t unit) {
    return DeleteDiskRegistryValue(static_cast<int32_t>(controller), static_cast<int32_t>(unit),
                                   kCacheValueName);
}

uint32_t OsLayer::SetDiskRegistryValue(int32_t controller, int32_t unit, uint8_t value,
                                       const char* valueName) {
    const OsDiskEntry* disk = nullptr;
    uint32_t status = FindUnitDisk(*this, controller, unit, &disk);
    if (status != kOsSuccess)
        return status;
    const std::string path = DiskKeyPath(*disk);
    os::RegKeyOwner existing;
    if (existing.open(path.c_str(), platform::kKeyRead | platform::kKeyWrite) !=
        platform::kErrorSuccess) {
        return kOsNotFound;
    }
    os::RegKeyOwner key;
    if (key.create(path.c_str(), platform::kKeyAllAccess) != platform::kErrorSuccess) {
        return kOsFailure;
    }
    return platform::Host().regSetDword(key.get(), valueName, value) == platform::kErrorSuccess
               ? kOsSuccess
               : kOsFailure;
}

uint32_t OsLayer::DeleteDiskRegistryValue(int32_t controller, int32_t unit, const char* valueName) {
    const OsDiskEntry* disk = nullptr;
    uint32_t status = FindUnitDisk(*this, controller, unit, &disk);
    if (status != kOsSuccess)
        return status;
    os::RegKeyOwner key;
    if (key.open(DiskKeyPath(*disk).c_str(), platform::kKeyRead | platform::kKeyWrite) !=
        platform::kErrorSuccess) {
        return kOsNotFound;
    }
    uint32_t rc = platform::Host().regDeleteValue(key.get(), valueName);
    return rc == platform::kErrorSuccess || rc == platform::kErrorFileNotFound ? kOsSuccess
                                                                               : kOsFailure;
}

void OsLayer::UnlockVolumes(platform::Handle* handles, int32_t* count) {
    if (handles == nullptr || count == nullptr)
        return;
    platform::HostSystem& host = platform::Host();
    int32_t held = *count < kOsMaxLockedVolumes ? *count : kOsMaxLockedVolumes;
    for (int32_t i = 0; i < held; ++i) {
        uint32_t returned = 0;
        host.deviceIoControl(handles[i], os::kFsctlUnlockVolume, nullptr, 0, nullptr, 0, &returned);
        host.closeHandle(handles[i]);
        handles[i] = platform::kInvalidHandle;
    }
    *count = 0;
}

uint32_t OsLayer::LockDiskVolumes(const OsDiskEntry& disk, platform::Handle* handles,
                                  int32_t* count) {
    platform::HostSystem& host = platform::Host();
    os::DevInfoSetOwner set(platform::InterfaceClass::Volume);
    if (!set.valid())
        return kOsFailure;
    for (uint32_t index = 0;; ++index) {
        if (!host.enumDeviceInterfaces(set.get(), index))
            break;
        char path[kOsPathSize] = {};
        platform::DeviceInfo info;
        if (!host.getDeviceInterfaceDetail(set.get(), index, path, sizeof path, &info))
            break;
        path[sizeof path - 1] = '\0';

        os::HandleOwner volume =
            os::HandleOwner::Open(path, platform::kGenericRead | platform::kGenericWrite,
                                  platform::kFileShareRead | platform::kFileShareWrite);
        if (!volume.valid())
            continue;
        uint8_t extents[os::kDiskExtentsSize] = {};
        uint32_t returned = 0;
        if (!host.deviceIoControl(volume.get(), os::kIoctlVolumeGetDiskExtents, nullptr, 0, extents,
                                  sizeof extents, &returned)) {
            continue;
        }
        int32_t matching = os::CountDiskExtents(extents, sizeof extents, returned, disk.diskNumber);

        if (handles != nullptr && matching > 0) {
            if (!host.deviceIoControl(volume.get(), os::kFsctlLockVolume, nullptr, 0, nullptr, 0,
                                      &returned)) {
                return kOsLockFailed;
            }
            if (count == nullptr || *count >= kOsMaxLockedVolumes)
                return kOsTooManyVolumes;
            if (!host.deviceIoControl(volume.get(), os::kFsctlDismountVolume, nullptr, 0, nullptr,
                                      0, &returned)) {
                return kOsLockFailed;
            }
            handles[(*count)++] = volume.release();
        } else if (count != nullptr) {
            *count += matching;
        }
    }
    return kOsSuccess;
}

uint32_t OsLayer::RemoveDiskDevice(const OsDiskEntry& disk) {
    LockedVolumes locked;
    uint32_t status = LockDiskVolumes(disk, locked.handles(), locked.count());
    if (status != kOsSuccess)
        return status;

    platform::HostSystem& host = platform::Host();
    os::DevInfoSetOwner set(platform::InterfaceClass::Disk);
    if (!set.valid())
        return kOsFailure;
    platform::DeviceInfo info;
    bool found = false;
    for (uint32_t index = 0; !found && host.enumDeviceInfo(set.get(), index, &info); ++index) {
        found = info.devInst == disk.deviceInstance;
    }
    if (!found)
        return kOsNotFound;

    locked.release();
    if (!host.setRemoveInstallParams(set.get(), info) ||
        !host.callClassInstallerRemove(set.get(), info)) {
        return kOsFailure;
    }
    uint32_t flags = 0;
    if (!host.getDeviceInstallFlags(set.get(), info, &flags))
        return kOsNeedsRestart;
    return (flags & (platform::kDiNeedRestart | platform::kDiNeedReboot)) != 0 ? kOsNeedsRestart
                                                                               : kOsSuccess;
}

uint32_t OsLayer::RemoveUnitDisks(int32_t controller, int32_t unit) {
    const OsControllerEntry* entry = GetEntry(controller);
    if (entry == nullptr)
        return kOsBadController;
    if (unit < 0)
        return kOsNoSuchUnit;
    bool needsRestart = false;
    for (uint32_t ordinal = 0; ordinal <= kOsMaxDiskOrdinal; ++ordinal) {
        const OsDiskEntry* disk = FindDisk(*entry, static_cast<uint32_t>(unit), ordinal);
        if (disk == nullptr) {
            if (ordinal == 0)
                return kOsNoSuchUnit;
            break;
        }
        uint32_t status = RemoveDiskDevice(*disk);
        if (status == kOsNeedsRestart) {
            needsRestart = true;
        } else if (status != kOsSuccess) {
            return status;
        }
    }
    return needsRestart ? kOsNeedsRestart : kOsSuccess;
}
